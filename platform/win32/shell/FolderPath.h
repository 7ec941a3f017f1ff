// Folder paths as the shell's and the common dialogs' folder lists walk them: "C:\Media\"
// and "C:\Media" name one folder, a drive's root keeps its backslash, and above a root
// lie the drives ("").
#pragma once

#include <string>

namespace plat {

class FolderPath {
 public:
  // Without a trailing backslash, except for a drive's root ("C:\").
  static std::string folder(const std::string& path);
  // With one trailing backslash; "" stays "".
  static std::string withSlash(const std::string& path);
  // The folder holding a path, ending in a backslash; "" for a root.
  static std::string parent(const std::string& path);
};

}  // namespace plat

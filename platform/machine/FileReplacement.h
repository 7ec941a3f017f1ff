// The one crash-safe way a stored file is replaced. The new contents go to a file beside
// the old one ("<name>.<pid>.<n>.saving"), are flushed to disk, and are renamed over the
// old file in one step, after which the folder is flushed too: at every instant the name
// holds either the old file whole or the new one whole, whatever kills the process or
// cuts the power. A failed save leaves the old file and no temporary beside it.
//
// Readers call takeLeftover() first: an older way of saving deleted the old file before
// moving a finished "<name>.new" in, so a "<name>.new" found where the file is missing is
// the file. Temporaries of processes that died while saving are removed on the next save
// and when the file is next read (removeDeadTemporaries).
#pragma once

#include <filesystem>
#include <string_view>

namespace plat {

class FileReplacement {
 public:
  // 0 on success, else the errno of the step that failed (the old file is untouched).
  // With `openFile`, the new file stays open for reading and its descriptor is returned
  // there (the caller closes it), so the caller can tell later replacements from its own.
  static int replace(const std::filesystem::path& target, std::string_view contents, int* openFile = nullptr);
  // Renames `from` over `to` in one step and flushes the folder holding `to`: 0 or errno.
  static int renameDurably(const std::filesystem::path& from, const std::filesystem::path& to);
  // Flushes the folder's entries (names made, renamed or removed) to disk: 0 or errno.
  static int syncFolder(const std::filesystem::path& folder);
  // True when a leftover "<target>.new" was moved in because `target` was missing; the
  // dead savers' temporaries go either way.
  static bool takeLeftover(const std::filesystem::path& target);
  static std::filesystem::path leftoverOf(const std::filesystem::path& target);
  // Removes the "<target>.<pid>.<n>.saving" files of processes that no longer run.
  static void removeDeadTemporaries(const std::filesystem::path& target);
};

}  // namespace plat

// A directory search behind a find handle (FindFirstFileA/FindNextFileA). The matching
// entries are listed once, when the search starts, in the order Windows' file systems
// return them: sorted without case, "." and ".." first in any folder but a drive root.
#pragma once

#include <win32/file.h>
#include <win32/kernel/HandleTable.h>

#include <filesystem>
#include <string_view>
#include <vector>

namespace plat {

class FindSearch : public KernelObject {
 public:
  FindSearch(const std::filesystem::path& folder, std::string_view pattern, bool listDots);

  // Fills `data` with the next entry; false when none is left.
  bool next(WIN32_FIND_DATAA& data);

  // "*" and "?" wildcards, ASCII letters without case; "*.*" matches every name.
  static bool matches(std::string_view pattern, std::string_view name);
  // The attributes Windows would show for an entry of this name and kind.
  static DWORD attributes(std::string_view name, bool isDirectory);

 private:
  std::vector<WIN32_FIND_DATAA> m_entries;
  std::size_t m_next = 0;
};

}  // namespace plat

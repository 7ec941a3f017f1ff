#include <win32/file/FindSearch.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace plat {

namespace fs = std::filesystem;

namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string upperName(const char* name) {
  std::string text(name);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// 100-nanosecond intervals since 1601-01-01.
FILETIME toFileTime(const timespec& time) {
  constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
  const std::uint64_t ticks =
      static_cast<std::uint64_t>(time.tv_sec + kSecondsFrom1601To1970) * 10000000u + time.tv_nsec / 100;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

bool describe(const fs::path& path, const std::string& name, WIN32_FIND_DATAA& data) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;  // a dangling link shows as nothing
  data = WIN32_FIND_DATAA{};
  const bool isDirectory = S_ISDIR(info.st_mode);
  data.dwFileAttributes = FindSearch::attributes(name, isDirectory);
  data.ftLastWriteTime = toFileTime(info.st_mtim);
  data.ftCreationTime = data.ftLastWriteTime;
  data.ftLastAccessTime = toFileTime(info.st_atim);
  const auto size = isDirectory ? std::uint64_t{0} : static_cast<std::uint64_t>(info.st_size);
  data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  data.nFileSizeLow = static_cast<DWORD>(size);
  std::memcpy(data.cFileName, name.c_str(), name.size() + 1);
  return true;
}

}  // namespace

FindSearch::FindSearch(const fs::path& folder, std::string_view pattern, bool listDots) {
  std::error_code ec;
  // A name without wildcards is looked up before the folder is listed: asking whether
  // one file exists costs one lookup, however full its folder.
  if (!pattern.empty() && pattern.find_first_of("*?") == std::string_view::npos && pattern != "." && pattern != ".." &&
      pattern.size() < MAX_PATH) {
    const std::string name(pattern);
    WIN32_FIND_DATAA data;
    if (fs::exists(folder / name, ec) && describe(folder / name, name, data)) {
      m_entries.push_back(data);
      return;
    }
  }
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    WIN32_FIND_DATAA data;
    if (name.size() < MAX_PATH && matches(pattern, name) && describe(it->path(), name, data))
      m_entries.push_back(data);
  }
  std::sort(m_entries.begin(), m_entries.end(), [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
    return upperName(a.cFileName) < upperName(b.cFileName);
  });
  if (!listDots) return;
  std::vector<WIN32_FIND_DATAA> dots;
  for (const char* name : {".", ".."}) {
    WIN32_FIND_DATAA data;
    if (matches(pattern, name) && describe(folder / name, name, data)) dots.push_back(data);
  }
  m_entries.insert(m_entries.begin(), dots.begin(), dots.end());
}

bool FindSearch::next(WIN32_FIND_DATAA& data) {
  if (m_next >= m_entries.size()) return false;
  data = m_entries[m_next++];
  return true;
}

bool FindSearch::matches(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") pattern = "*";
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starAt = std::string_view::npos;  // the last "*" seen, to retry from
  std::size_t starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      starName = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
      ++p;
      ++n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

DWORD FindSearch::attributes(std::string_view name, bool isDirectory) {
  DWORD attributes = isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if (name.size() > 1 && name.front() == '.' && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  return attributes;
}

}  // namespace plat

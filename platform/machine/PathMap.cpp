#include <machine/PathMap.h>

#include <machine/IniDocument.h>

#include <cctype>
#include <system_error>

namespace plat {

namespace fs = std::filesystem;

namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Appends each component of `rest` ("a\b/c") to `base`, resolving case and "."/"..".
fs::path appendResolved(fs::path base, std::string_view rest) {
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = rest.size();
    std::string_view part = rest.substr(start, end - start);
    if (part == "..") {
      if (base.has_relative_path()) base = base.parent_path();
    } else if (!part.empty() && part != ".") {
      base /= resolveComponent(base, part);
    }
    start = end + 1;
  }
  return base;
}

}  // namespace

std::string resolveComponent(const fs::path& folder, std::string_view name) {
  std::error_code ec;
  if (fs::exists(folder / std::string(name), ec)) return std::string(name);
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (equalsNoCase(candidate, name)) return candidate;
  }
  return std::string(name);
}

void PathMap::mapDrive(char letter, const fs::path& folder) { m_drives[upper(letter)] = folder; }

bool PathMap::hasDrive(char letter) const { return m_drives.count(upper(letter)) != 0; }

fs::path PathMap::driveFolder(char letter) const {
  auto it = m_drives.find(upper(letter));
  return it == m_drives.end() ? fs::path() : it->second;
}

std::string PathMap::driveLetters() const {
  std::string letters;
  for (const auto& [letter, folder] : m_drives) letters += letter;
  return letters;
}

fs::path PathMap::toLinux(std::string_view windowsPath) const {
  if (windowsPath.size() >= 2 && windowsPath[1] == ':' && std::isalpha(static_cast<unsigned char>(windowsPath[0]))) {
    auto it = m_drives.find(upper(windowsPath[0]));
    // An unmapped drive has no folder: a path that names nothing on the machine.
    fs::path root = it == m_drives.end() ? fs::path("/nonexistent-drive-") += std::string(1, upper(windowsPath[0]))
                                         : it->second;
    return appendResolved(root, windowsPath.substr(2));
  }
  if (!windowsPath.empty() && windowsPath.front() == '/') return appendResolved("/", windowsPath.substr(1));
  if (!windowsPath.empty() && windowsPath.front() == '\\') {
    // Rooted on the current drive.
    const std::string currentName = toWindows(fs::current_path());
    return toLinux(currentName.substr(0, 2) + std::string(windowsPath));
  }
  return appendResolved(fs::current_path(), windowsPath);
}

std::string PathMap::toWindows(const fs::path& linuxPath) const {
  const fs::path absolute = fs::absolute(linuxPath).lexically_normal();
  const std::string text = absolute.string();
  char bestLetter = 0;
  std::size_t bestLength = 0;
  for (const auto& [letter, folder] : m_drives) {
    std::string prefix = folder.lexically_normal().string();
    while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
    const bool inside = text == prefix || (text.compare(0, prefix.size(), prefix) == 0 &&
                                           (prefix == "/" || text[prefix.size()] == '/'));
    if (inside && prefix.size() > bestLength) {
      bestLetter = letter;
      bestLength = prefix.size();
    }
  }
  if (!bestLetter) return text;
  std::string rest = text.substr(bestLength == 1 ? 1 : bestLength);
  if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
  std::string result = std::string(1, bestLetter) + ":\\" + rest;
  for (char& c : result)
    if (c == '/') c = '\\';
  // A trailing separator is kept only for a drive root ("C:\").
  if (result.size() > 3 && result.back() == '\\') result.pop_back();
  return result;
}

}  // namespace plat

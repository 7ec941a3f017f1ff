#include <win32/shell/FolderPath.h>

namespace plat {

std::string FolderPath::folder(const std::string& path) {
  if (path.size() > 3 && path.back() == '\\') return path.substr(0, path.size() - 1);
  return path;
}

std::string FolderPath::withSlash(const std::string& path) {
  return path.empty() || path.back() == '\\' ? path : path + "\\";
}

std::string FolderPath::parent(const std::string& path) {
  const std::string trimmed = folder(path);
  if (trimmed.size() <= 3) return "";
  const auto slash = trimmed.rfind('\\');
  return slash == std::string::npos ? "" : trimmed.substr(0, slash + 1);
}

}  // namespace plat

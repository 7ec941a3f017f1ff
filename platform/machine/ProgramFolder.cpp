#include <machine/ProgramFolder.h>

#include <cstdlib>
#include <mutex>
#include <system_error>

namespace plat {

namespace fs = std::filesystem;

namespace {

std::mutex g_lock;
fs::path g_programFolder;
fs::path g_moduleFolder;

fs::path executablePath() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() / "program" : exe;
}

}  // namespace

fs::path ProgramFolder::path() {
  std::lock_guard guard(g_lock);
  if (g_programFolder.empty()) {
    const char* env = std::getenv("ORVANE_PROGRAM_FOLDER");
    g_programFolder = env && *env ? fs::path(env) : executablePath().parent_path();
  }
  return g_programFolder;
}

void ProgramFolder::set(const fs::path& folder) {
  std::lock_guard guard(g_lock);
  g_programFolder = fs::absolute(folder);
}

std::string ProgramFolder::executableName() { return executablePath().filename().string(); }

fs::path ProgramFolder::moduleFolder() {
  {
    std::lock_guard guard(g_lock);
    if (g_moduleFolder.empty()) {
      if (const char* env = std::getenv("ORVANE_MODULE_FOLDER"); env && *env) g_moduleFolder = fs::path(env);
    }
    if (!g_moduleFolder.empty()) return g_moduleFolder;
  }
  return path();
}

void ProgramFolder::setModuleFolder(const fs::path& folder) {
  std::lock_guard guard(g_lock);
  g_moduleFolder = fs::absolute(folder);
}

std::vector<fs::path> ProgramFolder::moduleSearchFolders() {
  std::vector<fs::path> folders{path()};
  const fs::path modules = moduleFolder();
  if (modules != folders.front()) folders.push_back(modules);
  return folders;
}

}  // namespace plat

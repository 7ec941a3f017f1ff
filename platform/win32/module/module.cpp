#include <win32/module.h>

#include <machine/Machine.h>
#include <machine/ProgramFolder.h>
#include <win32/error.h>
#include <win32/module/ModuleTable.h>
#include <win32/module/SystemExports.h>

#include <dlfcn.h>

#include <cstring>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

template <class T>
T fail(DWORD error, T result) {
  SetLastError(error);
  return result;
}

bool hasFolder(std::string_view name) { return name.find_first_of("\\/") != std::string_view::npos; }

bool isAbsolute(std::string_view name) {
  return name.front() == '\\' || name.front() == '/' || (name.size() >= 2 && name[1] == ':');
}

// Windows' default extension: "Probe" is "Probe.dll", while "Probe." has no extension.
std::string withDefaultExtension(std::string_view name) {
  std::string result(name);
  const std::size_t separator = name.find_last_of("\\/");
  const std::string_view last = separator == std::string_view::npos ? name : name.substr(separator + 1);
  if (!last.empty() && last.back() == '.')
    result.pop_back();
  else if (last.find('.') == std::string_view::npos)
    result += ".dll";
  return result;
}

// `relative` ("Filter\Branchel.ax") under `folder`, each component found without case.
fs::path resolveUnder(fs::path folder, std::string_view relative) {
  while (!relative.empty()) {
    const std::size_t end = std::min(relative.find_first_of("\\/"), relative.size());
    const std::string_view part = relative.substr(0, end);
    if (part == "..")
      folder = folder.parent_path();
    else if (!part.empty() && part != ".")
      folder /= plat::resolveComponent(folder, part);
    relative.remove_prefix(std::min(end + 1, relative.size()));
  }
  return folder;
}

std::optional<fs::path> findModuleFile(std::string_view name) {
  std::error_code ec;
  if (isAbsolute(name)) {
    fs::path file = plat::Machine::current().paths().toLinux(name);
    if (fs::is_regular_file(file, ec)) return file;
    return std::nullopt;
  }
  for (const fs::path& folder : plat::ProgramFolder::moduleSearchFolders()) {
    fs::path file = resolveUnder(folder, name);
    if (fs::is_regular_file(file, ec)) return file;
  }
  return std::nullopt;
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR lpLibFileName) {
  if (!lpLibFileName || !*lpLibFileName) return fail(ERROR_INVALID_PARAMETER, HMODULE{});
  if (HMODULE builtIn = plat::SystemExports::module(lpLibFileName)) return builtIn;
  const std::optional<fs::path> file = findModuleFile(withDefaultExtension(lpLibFileName));
  if (!file) return fail(ERROR_MOD_NOT_FOUND, HMODULE{});
  return plat::ModuleTable::instance().load(*file);
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  plat::ModuleTable& modules = plat::ModuleTable::instance();
  if (!hModule) hModule = modules.program();
  void* found = nullptr;
  if (plat::SystemExports::isModule(hModule)) {
    if (!IS_INTRESOURCE(lpProcName)) found = plat::SystemExports::find(hModule, lpProcName);
  } else if (modules.contains(hModule)) {
    if (!IS_INTRESOURCE(lpProcName)) found = modules.symbol(hModule, lpProcName);
  } else {
    return fail(ERROR_MOD_NOT_FOUND, FARPROC{});
  }
  if (!found) return fail(ERROR_PROC_NOT_FOUND, FARPROC{});
  return reinterpret_cast<FARPROC>(found);
}

BOOL FreeLibrary(HMODULE hLibModule) {
  if (plat::SystemExports::isModule(hLibModule)) return TRUE;
  return plat::ModuleTable::instance().free(hLibModule) || fail(ERROR_MOD_NOT_FOUND, FALSE);
}

HMODULE GetModuleHandleA(LPCSTR lpModuleName) {
  plat::ModuleTable& modules = plat::ModuleTable::instance();
  if (!lpModuleName) return modules.program();
  if (!*lpModuleName) return fail(ERROR_MOD_NOT_FOUND, HMODULE{});
  if (HMODULE builtIn = plat::SystemExports::module(lpModuleName)) return builtIn;
  const std::string name = withDefaultExtension(lpModuleName);
  HMODULE found = nullptr;
  if (!hasFolder(name)) {
    found = modules.findByName(name);
  } else if (const std::optional<fs::path> file = findModuleFile(name)) {
    found = modules.findByFile(*file);
  }
  return found ? found : fail(ERROR_MOD_NOT_FOUND, HMODULE{});
}

BOOL GetModuleHandleExA(DWORD dwFlags, LPCSTR lpModuleName, HMODULE* phModule) {
  if (!phModule) return fail(ERROR_INVALID_PARAMETER, FALSE);
  *phModule = nullptr;
  if (!(dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS)) {
    *phModule = GetModuleHandleA(lpModuleName);
    return *phModule ? TRUE : FALSE;
  }
  Dl_info info{};
  if (!dladdr(lpModuleName, &info) || !info.dli_fname) return fail(ERROR_MOD_NOT_FOUND, FALSE);
  std::error_code ec;
  const fs::path file = fs::canonical(info.dli_fname, ec);
  plat::ModuleTable& modules = plat::ModuleTable::instance();
  HMODULE found = ec ? nullptr : modules.findByFile(file);
  // An address in the program itself (or a library it links) belongs to the program.
  if (!found && !ec && file == fs::canonical("/proc/self/exe", ec)) found = modules.program();
  if (!found) return fail(ERROR_MOD_NOT_FOUND, FALSE);
  *phModule = found;
  return TRUE;
}

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
  plat::ModuleTable& modules = plat::ModuleTable::instance();
  std::string name;
  if (plat::SystemExports::isModule(hModule)) {
    name = "C:\\WINDOWS\\system32\\" + plat::SystemExports::fileName(hModule);
  } else if (const std::optional<fs::path> file = modules.fileOf(hModule ? hModule : modules.program())) {
    name = plat::Machine::current().paths().toWindows(*file);
  } else {
    return fail(ERROR_MOD_NOT_FOUND, DWORD{0});
  }
  if (!lpFilename && nSize) return fail(ERROR_INVALID_PARAMETER, DWORD{0});
  if (nSize > name.size()) {
    std::memcpy(lpFilename, name.c_str(), name.size() + 1);
    return static_cast<DWORD>(name.size());
  }
  if (nSize) {
    std::memcpy(lpFilename, name.data(), nSize - 1);
    lpFilename[nSize - 1] = '\0';
  }
  return fail(ERROR_INSUFFICIENT_BUFFER, nSize);
}

#include <win32/module/ModuleTable.h>

#include <machine/IniDocument.h>
#include <machine/Log.h>
#include <machine/ProgramFolder.h>
#include <win32/error.h>
#include <win32/module.h>

#include <dlfcn.h>
#include <link.h>

namespace plat {

namespace fs = std::filesystem;

namespace {

HMODULE toModule(void* handle) { return static_cast<HMODULE>(handle); }
void* toHandle(HMODULE module) { return static_cast<void*>(module); }

}  // namespace

ModuleTable& ModuleTable::instance() {
  static ModuleTable* table = new ModuleTable;  // modules stay loaded to the end of the process
  return *table;
}

ModuleTable::ModuleTable() : m_program(toModule(dlopen(nullptr, RTLD_NOW))) {}

HMODULE ModuleTable::load(const fs::path& file) {
  // Outside the lock: the module's initialisers may load modules of their own.
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    PLAT_LOG("module", "cannot load %s: %s", file.c_str(), dlerror());
    SetLastError(ERROR_BAD_EXE_FORMAT);
    return nullptr;
  }
  std::lock_guard guard(m_lock);
  auto [it, added] = m_modules.try_emplace(toModule(handle), Entry{fs::absolute(file).lexically_normal()});
  // An entry holds one dlopen reference however often it was loaded.
  if (!added) dlclose(handle);
  ++it->second.loads;
  return it->first;
}

bool ModuleTable::free(HMODULE module) {
  void* unload = nullptr;
  {
    std::lock_guard guard(m_lock);
    if (module == m_program) return true;
    auto it = m_modules.find(module);
    if (it == m_modules.end()) return false;
    if (--it->second.loads == 0) {
      unload = toHandle(module);
      m_modules.erase(it);
    }
  }
  // Outside the lock: the module's destructors may free modules of their own.
  if (unload) dlclose(unload);
  return true;
}

HMODULE ModuleTable::findByName(std::string_view fileName) const {
  std::lock_guard guard(m_lock);
  for (const auto& [module, entry] : m_modules)
    if (equalsNoCase(entry.file.filename().string(), fileName)) return module;
  return nullptr;
}

HMODULE ModuleTable::findByFile(const fs::path& file) const {
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return nullptr;
  dlclose(handle);  // only asked; the load it counted is given back
  return contains(toModule(handle)) ? toModule(handle) : nullptr;
}

bool ModuleTable::contains(HMODULE module) const {
  std::lock_guard guard(m_lock);
  return module == m_program || m_modules.count(module) != 0;
}

std::optional<fs::path> ModuleTable::fileOf(HMODULE module) const {
  if (module == m_program) return ProgramFolder::path() / ProgramFolder::executableName();
  std::lock_guard guard(m_lock);
  auto it = m_modules.find(module);
  if (it == m_modules.end()) return std::nullopt;
  return it->second.file;
}

void* ModuleTable::symbol(HMODULE module, const char* name) const {
  std::lock_guard guard(m_lock);  // keeps the module loaded while it is searched
  if (module != m_program && m_modules.count(module) == 0) return nullptr;
  void* handle = toHandle(module);
  void* found = dlsym(handle, name);
  link_map* own = nullptr;
  if (!found || dlinfo(handle, RTLD_DI_LINKMAP, &own) != 0) return nullptr;
  Dl_info info{};
  link_map* holder = nullptr;
  if (!dladdr1(found, &info, reinterpret_cast<void**>(&holder), RTLD_DL_LINKMAP)) return nullptr;
  return holder == own ? found : nullptr;
}

}  // namespace plat

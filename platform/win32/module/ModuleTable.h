// The modules loaded into this process through LoadLibraryA. A module is an ELF shared
// object loaded with dlopen (RTLD_NOW | RTLD_LOCAL) and its HMODULE is the dlopen
// handle, so the same file reached by two names is one module. Loads are counted; the
// last FreeLibrary unloads it. The program itself is a module too, never unloaded.
#pragma once

#include <win32/types.h>

#include <filesystem>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace plat {

class ModuleTable {
 public:
  static ModuleTable& instance();

  // Loads the module file, or counts one more load of it; nullptr with the last error set.
  HMODULE load(const std::filesystem::path& file);
  // Counts one load off. False when the handle names no module.
  bool free(HMODULE module);

  HMODULE program() const { return m_program; }
  // The loaded module with this file name (without case), or nullptr.
  HMODULE findByName(std::string_view fileName) const;
  // The loaded module of this file, or nullptr.
  HMODULE findByFile(const std::filesystem::path& file) const;
  bool contains(HMODULE module) const;
  // The program's file is ProgramFolder::path() / executableName().
  std::optional<std::filesystem::path> fileOf(HMODULE module) const;
  // An export of the module itself, never one of the libraries it links; nullptr when
  // there is none or the module is not loaded.
  void* symbol(HMODULE module, const char* name) const;

 private:
  ModuleTable();

  struct Entry {
    std::filesystem::path file;
    int loads = 0;
  };

  mutable std::mutex m_lock;
  HMODULE m_program;
  std::unordered_map<HMODULE, Entry> m_modules;
};

}  // namespace plat

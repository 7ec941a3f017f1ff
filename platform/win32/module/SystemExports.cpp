#include <win32/module/SystemExports.h>

#include <cctype>
#include <map>
#include <mutex>

namespace plat {

namespace {

struct BuiltInModule {
  std::string fileName;
  std::map<std::string, void*, std::less<>> exports;
};

// Map nodes never move, so a module's address is its pseudo-handle.
struct Registry {
  std::mutex lock;
  std::map<std::string, BuiltInModule, std::less<>> modules;
};

// "KERNEL32.DLL" and "kernel32" are the same module; another extension stays part of the name.
std::string keyOf(std::string_view module) {
  std::string key(module);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (key.size() > 4 && key.compare(key.size() - 4, 4, ".dll") == 0) key.resize(key.size() - 4);
  return key;
}

BuiltInModule& moduleNamed(Registry& registry, const std::string& key) {
  auto [it, added] = registry.modules.try_emplace(key);
  if (added) it->second.fileName = key.find('.') == std::string::npos ? key + ".dll" : key;
  return it->second;
}

Registry& registry() {
  static Registry* instance = [] {
    auto* created = new Registry;  // outlives every static that may look a function up
    for (const char* name : {"kernel32", "user32", "gdi32", "advapi32", "shell32", "ole32", "oleaut32", "comctl32",
                             "winmm"})
      moduleNamed(*created, name);
    return created;
  }();
  return *instance;
}

const BuiltInModule* moduleAt(Registry& registry, HMODULE handle) {
  for (const auto& [key, module] : registry.modules)
    if (reinterpret_cast<HMODULE>(const_cast<BuiltInModule*>(&module)) == handle) return &module;
  return nullptr;
}

}  // namespace

void SystemExports::add(std::string_view module, std::string_view name, void* fn) {
  Registry& r = registry();
  std::lock_guard guard(r.lock);
  moduleNamed(r, keyOf(module)).exports[std::string(name)] = fn;
}

HMODULE SystemExports::module(std::string_view module) {
  if (module.find_first_of("\\/") != std::string_view::npos) return nullptr;
  Registry& r = registry();
  std::lock_guard guard(r.lock);
  auto it = r.modules.find(keyOf(module));
  return it == r.modules.end() ? nullptr : reinterpret_cast<HMODULE>(&it->second);
}

bool SystemExports::isModule(HMODULE module) {
  Registry& r = registry();
  std::lock_guard guard(r.lock);
  return moduleAt(r, module) != nullptr;
}

void* SystemExports::find(HMODULE module, std::string_view name) {
  Registry& r = registry();
  std::lock_guard guard(r.lock);
  const BuiltInModule* found = moduleAt(r, module);
  if (!found) return nullptr;
  auto it = found->exports.find(name);
  return it == found->exports.end() ? nullptr : it->second;
}

std::string SystemExports::fileName(HMODULE module) {
  Registry& r = registry();
  std::lock_guard guard(r.lock);
  const BuiltInModule* found = moduleAt(r, module);
  return found ? found->fileName : std::string();
}

}  // namespace plat

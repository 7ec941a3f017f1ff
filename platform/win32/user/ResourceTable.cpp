#include <win32/user/ResourceTable.h>

#include <machine/Machine.h>
#include <win32/module.h>

#include <dlfcn.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

namespace plat {

namespace fs = std::filesystem;

namespace {

struct Registered {
  fs::path file;
  const res::Module* module;
};

std::mutex& tableLock() {
  static std::mutex lock;
  return lock;
}

std::vector<Registered>& table() {
  static std::vector<Registered> registered;
  return registered;
}

fs::path programFile() {
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec);
}

// The file a module was loaded from, found from an address inside it.
fs::path fileContaining(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname || !*info.dli_fname) return programFile();
  std::error_code ec;
  const fs::path file = fs::weakly_canonical(fs::absolute(info.dli_fname), ec);
  return ec ? fs::path(info.dli_fname) : file;
}

bool sameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return a == b || fs::equivalent(a, b, ec);
}

// MAKEINTRESOURCE(id) or "#id"; -1 for a name that is neither.
int idOf(LPCSTR name) {
  if (!name) return -1;
  if (IS_INTRESOURCE(name)) return static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
  if (name[0] != '#') return -1;
  char* end = nullptr;
  const long id = std::strtol(name + 1, &end, 10);
  return end && *end == '\0' && end != name + 1 ? static_cast<int>(id) : -1;
}

template <class T>
const T* findById(const T* items, std::size_t count, int id) {
  const auto* end = items + count;
  const auto* it = std::find_if(items, end, [id](const T& item) { return item.id == id; });
  return it == end ? nullptr : it;
}

// A blob by number among the numbered ones, or by name (any case) among the named ones.
const res::Blob* findBlob(const res::Blob* items, std::size_t count, LPCSTR name) {
  const auto* end = items + count;
  const int id = idOf(name);
  const bool byName = name && !IS_INTRESOURCE(name) && name[0] != '#';
  const auto* it = std::find_if(items, end, [&](const res::Blob& item) {
    if (byName) return item.name && strcasecmp(item.name, name) == 0;
    return !item.name && item.id == id;
  });
  return it == end ? nullptr : it;
}

}  // namespace

ResourceTable::Registration::Registration(const res::Module* module) : m_module(module) {
  const fs::path file = fileContaining(module);
  std::lock_guard guard(tableLock());
  table().push_back({file, module});
}

ResourceTable::Registration::~Registration() {
  std::lock_guard guard(tableLock());
  std::erase_if(table(), [this](const Registered& r) { return r.module == m_module; });
}

const res::Module* ResourceTable::moduleOf(HINSTANCE module) {
  fs::path file;
  if (!module || module == GetModuleHandleA(nullptr)) {
    file = programFile();
  } else {
    char name[MAX_PATH] = {};
    if (!GetModuleFileNameA(module, name, sizeof name)) return nullptr;
    file = Machine::current().paths().toLinux(name);
  }
  std::lock_guard guard(tableLock());
  for (const Registered& r : table())
    if (sameFile(r.file, file)) return r.module;
  return nullptr;
}

const res::Dialog* ResourceTable::dialog(HINSTANCE module, LPCSTR name) {
  const res::Module* resources = moduleOf(module);
  return resources ? findById(resources->dialogs, resources->dialogCount, idOf(name)) : nullptr;
}

const res::Menu* ResourceTable::menu(HINSTANCE module, LPCSTR name) {
  const res::Module* resources = moduleOf(module);
  return resources ? findById(resources->menus, resources->menuCount, idOf(name)) : nullptr;
}

const res::Blob* ResourceTable::bitmap(HINSTANCE module, LPCSTR name) {
  const res::Module* resources = moduleOf(module);
  return resources ? findBlob(resources->bitmaps, resources->bitmapCount, name) : nullptr;
}

const res::Blob* ResourceTable::icon(HINSTANCE module, LPCSTR name) {
  const res::Module* resources = moduleOf(module);
  return resources ? findById(resources->icons, resources->iconCount, idOf(name)) : nullptr;
}

const res::Blob* ResourceTable::toolbar(HINSTANCE module, LPCSTR name) {
  const res::Module* resources = moduleOf(module);
  return resources ? findById(resources->toolbars, resources->toolbarCount, idOf(name)) : nullptr;
}

std::optional<std::string> ResourceTable::string(HINSTANCE module, UINT id) {
  const res::Module* resources = moduleOf(module);
  if (!resources) return std::nullopt;
  const auto* end = resources->strings + resources->stringCount;
  const auto* it = std::find_if(resources->strings, end, [id](const res::String& s) { return s.id == id; });
  if (it == end) return std::nullopt;
  return std::string(it->text);
}

}  // namespace plat

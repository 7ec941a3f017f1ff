#include <win32/registry/RegistryStore.h>

#include <machine/Log.h>
#include <machine/Machine.h>
#include <win32/registry.h>

namespace plat {

namespace {

constexpr const char* kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

// Generic and maximum rights a caller may ask for, mapped onto key rights.
constexpr REGSAM kGenericRead = 0x80000000;
constexpr REGSAM kGenericWrite = 0x40000000;
constexpr REGSAM kGenericAll = 0x10000000;
constexpr REGSAM kMaximumAllowed = 0x02000000;

REGSAM grantedAccess(REGSAM wanted) {
  if (wanted & (kGenericAll | kMaximumAllowed)) return KEY_ALL_ACCESS;
  REGSAM granted = wanted & KEY_ALL_ACCESS;
  if (wanted & kGenericRead) granted |= KEY_READ;
  if (wanted & kGenericWrite) granted |= KEY_WRITE;
  return granted;
}

// Index of a predefined key in the roots, or -1.
int rootIndex(HKEY handle) {
  const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
  for (int i = 0; i < 4; ++i)
    if (handle == roots[i]) return i;
  return -1;
}

RegistryRoots freshRoots() {
  RegistryRoots roots;
  for (const char* name : kRootNames) roots.push_back(std::make_shared<RegistryKey>(name));
  return roots;
}

// Splits "a\b\c" into names; one trailing "\" is ignored, a leading or doubled one is
// a bad path as on Windows.
LSTATUS splitPath(std::string_view path, std::vector<std::string_view>& names) {
  if (path.ends_with('\\')) path.remove_suffix(1);
  if (path.empty()) return ERROR_SUCCESS;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end == start) return ERROR_BAD_PATHNAME;
    names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return ERROR_SUCCESS;
}

RegistryValue stringValue(std::string_view text) {
  RegistryValue value{REG_SZ, {text.begin(), text.end()}};
  value.data.push_back(0);
  return value;
}

}  // namespace

namespace {

constexpr const char* kGraphModule = "quartz.dll";
constexpr const char* kGraphModuleClasses[] = {
    "{E436EBB3-524F-11CE-9F53-0020AF0BA770}",  // filter graph
    "{E436EBB1-524F-11CE-9F53-0020AF0BA770}",  // system clock
    "{1E651CC0-B199-11D0-8212-00C04FC32C45}",  // memory allocator
    "{BF87B6E1-8C27-11D0-B3F0-00AA003761C5}",  // capture graph builder
    "{62BE5D10-60EB-11D0-BD3B-00A0C911CE86}",  // system device enumerator
    "{CC58E280-8AA1-11D1-B3F1-00AA003761C5}",  // Smart Tee
    "{CF49D4E0-1115-11CE-B03A-0020AF0BA770}",  // AVI decompressor
    "{CD8743A1-3736-11D0-9E69-00C04FD7C15B}",  // overlay mixer
    "{70E102B0-5556-11CE-97C0-00AA0055595A}",  // video renderer
    "{6BC1CFFA-8FC1-4261-AC22-CFB4CC38DB50}",  // default video renderer
    "{51B4ABF3-748F-4E3B-A276-C828330E926A}",  // video mixing renderer 9
    "{79376820-07D0-11CF-A24D-0020AFD79767}",  // audio renderer
    "{C1F400A4-3F08-11D3-9F0B-006008039E37}",  // null renderer
    "{8596E5F0-0DA5-11D0-BD21-00A0C911CE86}",  // file writer
    "{E2510970-F137-11CE-8B67-00AA00A3F1A6}",  // AVI mux
    "{E436EBB5-524F-11CE-9F53-0020AF0BA770}",  // async file source
    "{3AE86B20-7BE8-11D1-ABE6-00A0C905F375}",  // MPEG-2 splitter
    "{AFB6C280-2C41-11D3-8A60-0000F81E0E4A}",  // MPEG-2 demultiplexer
    "{1B544C20-FD0B-11CE-8C63-00AA0044B51E}",  // AVI splitter
    "{D51BD5A1-7548-11CF-A520-0080C77EF58A}",  // WAVE parser
    "{FEB50740-7BEF-11CE-9BD9-0000E202599C}",  // MPEG video decoder
    "{4A2286E0-7BEF-11CE-9BD9-0000E202599C}",  // MPEG audio decoder
};

}  // namespace

RegistryStore::RegistryStore(Machine& machine) : m_file(machine.root() / "registry.ini"), m_roots(freshRoots()) {
  std::lock_guard guard(m_lock);
  auto writing = m_file.lockForWriting();
  if (m_file.exists()) {
    m_file.load(m_roots);
    return;
  }
  seed(machine.ini());
  if (!m_file.save(m_roots)) PLAT_LOG("registry", "cannot write the registry file");
}

void RegistryStore::seed(const IniDocument& ini) {
  auto put = [&](int root, std::string_view path, std::string_view name, std::string_view text) {
    std::vector<std::string_view> names;
    splitPath(path, names);
    auto key = m_roots[root];
    for (std::string_view part : names) key = key->addChild(part);
    key->setValue(name, stringValue(text));
  };
  constexpr int currentUser = 1;
  constexpr int localMachine = 2;
  const char* versionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  if (auto country = ini.value("Windows", "RegionCountry"))
    put(currentUser, "Control Panel\\International", "iCountry", *country);
  if (auto product = ini.value("Windows", "ProductName")) put(localMachine, versionKey, "ProductName", *product);
  auto major = ini.value("Windows", "MajorVersion");
  auto minor = ini.value("Windows", "MinorVersion");
  if (major && minor) put(localMachine, versionKey, "CurrentVersion", *major + "." + *minor);
  // The graph module's classes, registered as Windows registers its own: CoCreateInstance
  // loads the module on demand, so a program reaching the graph only through COM needs
  // no link to it.
  constexpr int classesRoot = 0;
  for (const char* clsid : kGraphModuleClasses) {
    const std::string server = std::string("CLSID\\") + clsid + "\\InprocServer32";
    put(classesRoot, server, "", kGraphModule);
    put(classesRoot, server, "ThreadingModel", "Both");
  }
}

template <class Change>
LSTATUS RegistryStore::change(Change&& apply) {
  std::lock_guard guard(m_lock);
  auto writing = m_file.lockForWriting();
  refresh();
  m_changed = false;
  const LSTATUS status = apply();
  if (m_changed && !m_file.save(m_roots)) PLAT_LOG("registry", "cannot write the registry file");
  return status;
}

void RegistryStore::refresh() {
  if (!m_file.changedOnDisk()) return;
  std::vector<std::pair<OpenKey*, std::vector<std::string>>> bound;
  for (auto& [handle, open] : m_handles)
    if (!open.key->isDeleted()) bound.emplace_back(&open, open.key->path());
  m_roots = freshRoots();
  m_file.load(m_roots);
  for (auto& [open, path] : bound) {
    if (auto key = find(path))
      open->key = key;
    else
      open->key->markDeleted();
  }
}

std::shared_ptr<RegistryKey> RegistryStore::find(const std::vector<std::string>& path) const {
  std::shared_ptr<RegistryKey> key;
  for (const auto& root : m_roots)
    if (root->name() == path.front()) key = root;
  for (std::size_t i = 1; key && i < path.size(); ++i) key = key->child(path[i]);
  return key;
}

LSTATUS RegistryStore::resolve(HKEY handle, REGSAM needed, std::shared_ptr<RegistryKey>& key) const {
  if (const int root = rootIndex(handle); root >= 0) {
    key = m_roots[root];
    return ERROR_SUCCESS;
  }
  auto it = m_handles.find(handle);
  if (it == m_handles.end()) return ERROR_INVALID_HANDLE;
  if (it->second.key->isDeleted()) return ERROR_KEY_DELETED;
  if ((needed & it->second.access) != needed) return ERROR_ACCESS_DENIED;
  key = it->second.key;
  return ERROR_SUCCESS;
}

HKEY RegistryStore::addHandle(std::shared_ptr<RegistryKey> key, REGSAM access) {
  HKEY handle = reinterpret_cast<HKEY>(m_nextHandle);
  m_nextHandle += 4;
  m_handles[handle] = {std::move(key), grantedAccess(access)};
  return handle;
}

LSTATUS RegistryStore::openKey(HKEY parent, std::string_view path, REGSAM access, HKEY& result) {
  std::lock_guard guard(m_lock);
  refresh();
  std::shared_ptr<RegistryKey> key;
  std::vector<std::string_view> names;
  if (LSTATUS status = resolve(parent, 0, key); status != ERROR_SUCCESS) return status;
  if (LSTATUS status = splitPath(path, names); status != ERROR_SUCCESS) return status;
  for (std::string_view name : names)
    if (!(key = key->child(name))) return ERROR_FILE_NOT_FOUND;
  result = addHandle(std::move(key), access);
  return ERROR_SUCCESS;
}

LSTATUS RegistryStore::createKey(HKEY parent, std::string_view path, REGSAM access, HKEY& result, bool& created) {
  return change([&]() -> LSTATUS {
    std::shared_ptr<RegistryKey> key;
    std::vector<std::string_view> names;
    if (LSTATUS status = resolve(parent, 0, key); status != ERROR_SUCCESS) return status;
    if (LSTATUS status = splitPath(path, names); status != ERROR_SUCCESS) return status;
    std::size_t existing = 0;
    for (; existing < names.size(); ++existing) {
      auto next = key->child(names[existing]);
      if (!next) break;
      key = std::move(next);
    }
    created = existing < names.size();
    if (created) {
      std::shared_ptr<RegistryKey> ignored;
      if (LSTATUS status = resolve(parent, KEY_CREATE_SUB_KEY, ignored); status != ERROR_SUCCESS) return status;
      for (std::size_t i = existing; i < names.size(); ++i) key = key->addChild(names[i]);
      m_changed = true;
    }
    result = addHandle(std::move(key), access);
    return ERROR_SUCCESS;
  });
}

LSTATUS RegistryStore::closeKey(HKEY key) {
  std::lock_guard guard(m_lock);
  if (rootIndex(key) >= 0) return ERROR_SUCCESS;
  return m_handles.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegistryStore::checkKey(HKEY handle) {
  std::lock_guard guard(m_lock);
  refresh();
  std::shared_ptr<RegistryKey> key;
  return resolve(handle, 0, key);
}

LSTATUS RegistryStore::deleteKey(HKEY parent, std::string_view path) {
  return change([&]() -> LSTATUS {
    std::shared_ptr<RegistryKey> key;
    std::vector<std::string_view> names;
    if (LSTATUS status = resolve(parent, 0, key); status != ERROR_SUCCESS) return status;
    if (LSTATUS status = splitPath(path, names); status != ERROR_SUCCESS) return status;
    for (std::string_view name : names)
      if (!(key = key->child(name))) return ERROR_FILE_NOT_FOUND;
    auto owner = key->parent();
    // A root has no parent; neither it nor a key with sub-keys can be deleted.
    if (!owner || !key->children().empty()) return ERROR_ACCESS_DENIED;
    owner->removeChild(key);
    m_changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegistryStore::queryValue(HKEY handle, std::string_view name, RegistryValue& value) {
  std::lock_guard guard(m_lock);
  refresh();
  std::shared_ptr<RegistryKey> key;
  if (LSTATUS status = resolve(handle, KEY_QUERY_VALUE, key); status != ERROR_SUCCESS) return status;
  const RegistryValue* found = key->value(name);
  if (!found) return ERROR_FILE_NOT_FOUND;
  value = *found;
  return ERROR_SUCCESS;
}

LSTATUS RegistryStore::setValue(HKEY handle, std::string_view name, RegistryValue value) {
  return change([&]() -> LSTATUS {
    std::shared_ptr<RegistryKey> key;
    if (LSTATUS status = resolve(handle, KEY_SET_VALUE, key); status != ERROR_SUCCESS) return status;
    key->setValue(name, std::move(value));
    m_changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegistryStore::deleteValue(HKEY handle, std::string_view name) {
  return change([&]() -> LSTATUS {
    std::shared_ptr<RegistryKey> key;
    if (LSTATUS status = resolve(handle, KEY_SET_VALUE, key); status != ERROR_SUCCESS) return status;
    if (!key->removeValue(name)) return ERROR_FILE_NOT_FOUND;
    m_changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegistryStore::subKeyName(HKEY handle, DWORD index, std::string& name) {
  std::lock_guard guard(m_lock);
  refresh();
  std::shared_ptr<RegistryKey> key;
  if (LSTATUS status = resolve(handle, KEY_ENUMERATE_SUB_KEYS, key); status != ERROR_SUCCESS) return status;
  if (index >= key->children().size()) return ERROR_NO_MORE_ITEMS;
  name = key->children()[index]->name();
  return ERROR_SUCCESS;
}

LSTATUS RegistryStore::valueAt(HKEY handle, DWORD index, std::string& name, RegistryValue& value) {
  std::lock_guard guard(m_lock);
  refresh();
  std::shared_ptr<RegistryKey> key;
  if (LSTATUS status = resolve(handle, KEY_QUERY_VALUE, key); status != ERROR_SUCCESS) return status;
  if (index >= key->values().size()) return ERROR_NO_MORE_ITEMS;
  name = key->values()[index].name;
  value = key->values()[index].value;
  return ERROR_SUCCESS;
}

LSTATUS RegistryStore::keyInfo(HKEY handle, RegistryKeyInfo& info) {
  std::lock_guard guard(m_lock);
  refresh();
  std::shared_ptr<RegistryKey> key;
  if (LSTATUS status = resolve(handle, KEY_QUERY_VALUE, key); status != ERROR_SUCCESS) return status;
  info = key->info();
  return ERROR_SUCCESS;
}

}  // namespace plat

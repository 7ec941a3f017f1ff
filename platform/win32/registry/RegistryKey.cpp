#include <win32/registry/RegistryKey.h>

#include <machine/IniDocument.h>

#include <algorithm>
#include <cctype>

namespace plat {

bool registryNameLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
  });
}

void RegistryKey::markDeleted() {
  m_deleted = true;
  m_parent.reset();
}

std::vector<std::string> RegistryKey::path() const {
  std::vector<std::string> names{m_name};
  for (auto key = parent(); key; key = key->parent()) names.push_back(key->name());
  std::reverse(names.begin(), names.end());
  return names;
}

std::shared_ptr<RegistryKey> RegistryKey::child(std::string_view name) const {
  auto it = std::lower_bound(m_children.begin(), m_children.end(), name,
                             [](const auto& key, std::string_view n) { return registryNameLess(key->name(), n); });
  return it != m_children.end() && equalsNoCase((*it)->name(), name) ? *it : nullptr;
}

std::shared_ptr<RegistryKey> RegistryKey::addChild(std::string_view name) {
  auto it = std::lower_bound(m_children.begin(), m_children.end(), name,
                             [](const auto& key, std::string_view n) { return registryNameLess(key->name(), n); });
  if (it != m_children.end() && equalsNoCase((*it)->name(), name)) return *it;
  auto key = std::make_shared<RegistryKey>(std::string(name));
  key->m_parent = weak_from_this();
  m_children.insert(it, key);
  return key;
}

void RegistryKey::removeChild(const std::shared_ptr<RegistryKey>& child) {
  std::erase(m_children, child);
  child->markDeleted();
}

const RegistryValue* RegistryKey::value(std::string_view name) const {
  for (const NamedValue& entry : m_values)
    if (equalsNoCase(entry.name, name)) return &entry.value;
  return nullptr;
}

void RegistryKey::setValue(std::string_view name, RegistryValue value) {
  for (NamedValue& entry : m_values) {
    if (equalsNoCase(entry.name, name)) {
      entry.value = std::move(value);
      return;
    }
  }
  m_values.push_back({std::string(name), std::move(value)});
}

bool RegistryKey::removeValue(std::string_view name) {
  return std::erase_if(m_values, [&](const NamedValue& entry) { return equalsNoCase(entry.name, name); }) != 0;
}

RegistryKeyInfo RegistryKey::info() const {
  RegistryKeyInfo info;
  info.subKeys = static_cast<DWORD>(m_children.size());
  info.values = static_cast<DWORD>(m_values.size());
  for (const auto& key : m_children)
    info.maxSubKeyLength = std::max(info.maxSubKeyLength, static_cast<DWORD>(key->name().size()));
  for (const NamedValue& entry : m_values) {
    info.maxValueNameLength = std::max(info.maxValueNameLength, static_cast<DWORD>(entry.name.size()));
    info.maxValueSize = std::max(info.maxValueSize, static_cast<DWORD>(entry.value.data.size()));
  }
  return info;
}

}  // namespace plat

// One key of the registry tree: its name, its values and its sub-keys.
//
// Names compare without case and keep their first spelling. Sub-keys are held in name
// order without case (upper-cased, as Windows NT's hives sort them) and values in the
// order they were first set, which is the order enumeration reports. Open handles share
// ownership of a key, so a key deleted while open stays alive and reports itself deleted.
#pragma once

#include <win32/types.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

struct RegistryValue {
  DWORD type = 0;
  std::vector<BYTE> data;

  bool operator==(const RegistryValue&) const = default;
};

// Counts and longest lengths (without terminating NULs) for RegQueryInfoKey.
struct RegistryKeyInfo {
  DWORD subKeys = 0;
  DWORD maxSubKeyLength = 0;
  DWORD values = 0;
  DWORD maxValueNameLength = 0;
  DWORD maxValueSize = 0;
};

class RegistryKey : public std::enable_shared_from_this<RegistryKey> {
 public:
  struct NamedValue {
    std::string name;
    RegistryValue value;
  };

  explicit RegistryKey(std::string name) : m_name(std::move(name)) {}
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  const std::string& name() const { return m_name; }
  bool isDeleted() const { return m_deleted; }
  // Cuts the key from its parent for good; handles on it then fail with ERROR_KEY_DELETED.
  void markDeleted();
  std::shared_ptr<RegistryKey> parent() const { return m_parent.lock(); }
  // Names from the root key down to this one.
  std::vector<std::string> path() const;

  std::shared_ptr<RegistryKey> child(std::string_view name) const;
  // The existing child of that name, or a new one spelt as given.
  std::shared_ptr<RegistryKey> addChild(std::string_view name);
  // Unlinks the child and marks it deleted.
  void removeChild(const std::shared_ptr<RegistryKey>& child);
  const std::vector<std::shared_ptr<RegistryKey>>& children() const { return m_children; }

  const RegistryValue* value(std::string_view name) const;
  void setValue(std::string_view name, RegistryValue value);
  bool removeValue(std::string_view name);
  const std::vector<NamedValue>& values() const { return m_values; }

  RegistryKeyInfo info() const;

 private:
  std::string m_name;
  std::weak_ptr<RegistryKey> m_parent;
  bool m_deleted = false;
  std::vector<std::shared_ptr<RegistryKey>> m_children;
  std::vector<NamedValue> m_values;
};

// Orders names as the registry enumerates them: upper-cased, byte by byte.
bool registryNameLess(std::string_view a, std::string_view b);

}  // namespace plat

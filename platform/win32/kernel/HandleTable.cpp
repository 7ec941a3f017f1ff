#include <win32/kernel/HandleTable.h>

namespace plat {

HandleTable& HandleTable::instance() {
  static HandleTable* table = new HandleTable;  // outlives every static that may close handles
  return *table;
}

HANDLE HandleTable::add(std::shared_ptr<KernelObject> object) {
  std::lock_guard guard(m_lock);
  // Multiples of 4, as Windows hands them out; never 0 or INVALID_HANDLE_VALUE.
  m_next += 4;
  HANDLE handle = reinterpret_cast<HANDLE>(m_next);
  m_objects.emplace(handle, std::move(object));
  return handle;
}

std::shared_ptr<KernelObject> HandleTable::get(HANDLE handle) const {
  std::lock_guard guard(m_lock);
  auto it = m_objects.find(handle);
  return it == m_objects.end() ? nullptr : it->second;
}

bool HandleTable::close(HANDLE handle) {
  std::shared_ptr<KernelObject> released;  // destroyed outside the lock
  std::lock_guard guard(m_lock);
  auto it = m_objects.find(handle);
  if (it == m_objects.end()) return false;
  released = std::move(it->second);
  m_objects.erase(it);
  return true;
}

std::size_t HandleTable::size() const {
  std::lock_guard guard(m_lock);
  return m_objects.size();
}

}  // namespace plat

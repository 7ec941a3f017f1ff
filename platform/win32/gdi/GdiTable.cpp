#include <win32/gdi/GdiTable.h>

#include <algorithm>

namespace plat {

GdiTable& GdiTable::instance() {
  static GdiTable table;
  return table;
}

HGDIOBJ GdiTable::add(std::shared_ptr<GdiObject> object) {
  std::lock_guard guard(m_lock);
  m_next += 4;
  HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(m_next);
  object->setHandle(handle);
  m_objects.emplace(handle, std::move(object));
  return handle;
}

std::shared_ptr<GdiObject> GdiTable::get(const void* handle) const {
  std::lock_guard guard(m_lock);
  auto it = m_objects.find(handle);
  return it == m_objects.end() ? nullptr : it->second;
}

bool GdiTable::remove(const void* handle) {
  std::shared_ptr<GdiObject> dying;  // released after the lock
  std::lock_guard guard(m_lock);
  auto it = m_objects.find(handle);
  if (it == m_objects.end()) return false;
  dying = std::move(it->second);
  m_objects.erase(it);
  return true;
}

std::size_t GdiTable::count(DWORD objectType) const {
  std::lock_guard guard(m_lock);
  std::size_t n = 0;
  for (const auto& [handle, object] : m_objects)
    if (!object->isStock() && object->objectType() == objectType) ++n;
  return n;
}

std::size_t GdiTable::count() const {
  std::lock_guard guard(m_lock);
  return static_cast<std::size_t>(
      std::count_if(m_objects.begin(), m_objects.end(), [](const auto& entry) { return !entry.second->isStock(); }));
}

}  // namespace plat

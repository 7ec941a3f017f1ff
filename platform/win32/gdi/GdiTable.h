// The process's GDI handles: HGDIOBJ and HDC values and the objects behind them. The
// table owns one reference per handle; a device context that has an object selected
// holds another, so drawing never meets a freed object.
#pragma once

#include <win32/error.h>
#include <win32/gdi/GdiObject.h>

#include <mutex>
#include <unordered_map>

namespace plat {

class GdiTable {
 public:
  static GdiTable& instance();

  HGDIOBJ add(std::shared_ptr<GdiObject> object);
  std::shared_ptr<GdiObject> get(const void* handle) const;
  template <class T>
  std::shared_ptr<T> getAs(const void* handle) const {
    return std::dynamic_pointer_cast<T>(get(handle));
  }
  // The object of the kind asked for, or null with ERROR_INVALID_HANDLE as the last error.
  template <class T>
  static std::shared_ptr<T> lookup(const void* handle) {
    std::shared_ptr<T> object = instance().getAs<T>(handle);
    if (!object) SetLastError(ERROR_INVALID_HANDLE);
    return object;
  }
  // False when the handle is not open.
  bool remove(const void* handle);
  // Live objects of one kind (OBJ_BITMAP…), stock objects excluded: what leak checks count.
  std::size_t count(DWORD objectType) const;
  // Live objects of every kind, stock objects excluded.
  std::size_t count() const;

 private:
  mutable std::mutex m_lock;
  std::uintptr_t m_next = 0x10000;
  std::unordered_map<const void*, std::shared_ptr<GdiObject>> m_objects;
};

}  // namespace plat

// The process's kernel handles. Every object a HANDLE names (file, mutex, event,
// thread, find search, waitable timer…) derives from KernelObject; the table owns a
// reference per handle, so CloseHandle drops the handle while a thread still using the
// object keeps it alive.
#pragma once

#include <win32/types.h>

#include <memory>
#include <mutex>
#include <unordered_map>

namespace plat {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

class HandleTable {
 public:
  static HandleTable& instance();

  HANDLE add(std::shared_ptr<KernelObject> object);
  std::shared_ptr<KernelObject> get(HANDLE handle) const;
  template <class T>
  std::shared_ptr<T> getAs(HANDLE handle) const {
    return std::dynamic_pointer_cast<T>(get(handle));
  }
  // False when the handle is not open.
  bool close(HANDLE handle);
  std::size_t size() const;

 private:
  mutable std::mutex m_lock;
  std::uintptr_t m_next = 0x100;
  std::unordered_map<HANDLE, std::shared_ptr<KernelObject>> m_objects;
};

}  // namespace plat

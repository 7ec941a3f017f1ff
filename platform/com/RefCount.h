// The reference count of a platform COM object, thread safe, starting at one reference
// (the creator's). AddRef/Release of the object forward here and delete the object when
// release() reaches zero.
#pragma once

#include <win32/types.h>

#include <atomic>

namespace plat {

class RefCount {
 public:
  ULONG addRef() { return ++m_count; }
  ULONG release() { return --m_count; }
  ULONG count() const { return m_count.load(); }

 private:
  std::atomic<ULONG> m_count{1};
};

}  // namespace plat

// An owning interface pointer for platform internals and tests: one reference, released
// when the ComPtr goes, so a forgotten Release shows up as a failing count, not a leak.
#pragma once

#include <com/unknwn.h>

#include <utility>

namespace plat {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes a new reference.
  ComPtr(T* p) : m_p(p) {  // NOLINT(google-explicit-constructor): used like a raw interface pointer
    if (m_p) m_p->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
  ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  ~ComPtr() { reset(); }

  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(m_p, other.m_p);
    return *this;
  }

  // Adopts a reference the caller already owns.
  static ComPtr adopt(T* p) {
    ComPtr result;
    result.m_p = p;
    return result;
  }

  T* get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

  // Gives up the reference to the caller.
  T* detach() { return std::exchange(m_p, nullptr); }
  void reset() {
    if (T* p = std::exchange(m_p, nullptr)) p->Release();
  }
  // For out-parameters: drops the current reference and hands out the slot.
  T** put() {
    reset();
    return &m_p;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }

  template <class U>
  HRESULT queryInterface(REFIID iid, ComPtr<U>& out) const {
    return m_p ? m_p->QueryInterface(iid, out.putVoid()) : E_POINTER;
  }

 private:
  T* m_p = nullptr;
};

}  // namespace plat

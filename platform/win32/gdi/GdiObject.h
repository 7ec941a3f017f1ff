// What a GDI handle names: a pen, brush, font, bitmap, region or device context.
//
// Objects count how many device-context states hold them selected, because a selected
// object cannot be deleted (DeleteObject fails, as on Windows) and a bitmap can be
// selected into one device context at a time. Stock objects are never deleted.
#pragma once

#include <win32/types.h>

#include <atomic>
#include <memory>

namespace plat {

class GdiObject {
 public:
  GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  virtual ~GdiObject() = default;

  // OBJ_PEN, OBJ_BRUSH, OBJ_DC, OBJ_FONT, OBJ_BITMAP, OBJ_REGION or OBJ_MEMDC.
  virtual DWORD objectType() const = 0;
  // GetObject: fills the object's record into `out` (at most `size` bytes) and returns the
  // bytes written, or the record size when `out` is null; 0 when the kind has no record.
  virtual int describe(int size, void* out) const = 0;

  HGDIOBJ handle() const { return m_handle; }
  void setHandle(HGDIOBJ handle) { m_handle = handle; }
  bool isStock() const { return m_stock; }
  void markStock() { m_stock = true; }

  bool isSelected() const { return m_selections.load() > 0; }
  // The device context that holds it, while selected (for bitmaps, which have one owner).
  const void* selectionOwner() const { return m_owner; }
  void addSelection(const void* owner);
  void removeSelection();

 private:
  HGDIOBJ m_handle = nullptr;
  bool m_stock = false;
  std::atomic<int> m_selections{0};
  const void* m_owner = nullptr;
};

// A reference to an object selected into a device-context state; copies count as
// selections too, so a state saved by SaveDC keeps its objects selected.
template <class T>
class Selected {
 public:
  Selected() = default;
  Selected(std::shared_ptr<T> object, const void* owner) : m_object(std::move(object)), m_owner(owner) {
    if (m_object) m_object->addSelection(m_owner);
  }
  Selected(const Selected& other) : Selected(other.m_object, other.m_owner) {}
  Selected& operator=(const Selected& other) {
    if (this != &other) {
      Selected copy(other);
      std::swap(m_object, copy.m_object);
      std::swap(m_owner, copy.m_owner);
    }
    return *this;
  }
  ~Selected() {
    if (m_object) m_object->removeSelection();
  }

  T* get() const { return m_object.get(); }
  T* operator->() const { return m_object.get(); }
  T& operator*() const { return *m_object; }
  const std::shared_ptr<T>& shared() const { return m_object; }
  explicit operator bool() const { return m_object != nullptr; }

 private:
  std::shared_ptr<T> m_object;
  const void* m_owner = nullptr;
};

}  // namespace plat

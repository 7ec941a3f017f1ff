// The base of the MFC drawing objects: a C++ object owning a GDI handle, deleted with it.
//
// FromHandle gives the object a handle is attached to, or a temporary object of the asked
// class for a handle nobody attached (one per thread and handle, kept until
// DeleteTempMap, which the thread's idle time calls); a temporary object never deletes
// its handle.
#pragma once

#include <mfc/CObject.h>
#include <win32/gdi.h>

#include <map>
#include <memory>
#include <typeindex>
#include <utility>

class CGdiObject : public CObject {
 public:
  CGdiObject() = default;
  ~CGdiObject() override;

  HGDIOBJ m_hObject = nullptr;
  operator HGDIOBJ() const { return m_hObject; }  // NOLINT: MFC's implicit conversion
  HGDIOBJ GetSafeHandle() const { return m_hObject; }

  static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);
  static void PASCAL DeleteTempMap();

  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  BOOL CreateStockObject(int nIndex);
  int GetObject(int nCount, LPVOID lpObject) const;
  UINT GetObjectType() const;

 protected:
  // The attached object of class T, or a temporary T for the handle.
  template <class T>
  static T* fromHandleAs(HGDIOBJ hObject) {
    if (!hObject) return nullptr;
    if (T* attached = dynamic_cast<T*>(attachedTo(hObject))) return attached;
    std::unique_ptr<CGdiObject>& slot = temporaries()[{hObject, std::type_index(typeid(T))}];
    if (!slot) {
      slot = std::make_unique<T>();
      slot->m_hObject = hObject;
      slot->m_temporary = true;
    }
    return static_cast<T*>(slot.get());
  }

 private:
  using TemporaryMap = std::map<std::pair<HGDIOBJ, std::type_index>, std::unique_ptr<CGdiObject>>;
  static CGdiObject* attachedTo(HGDIOBJ hObject);
  static TemporaryMap& temporaries();

  bool m_temporary = false;
};

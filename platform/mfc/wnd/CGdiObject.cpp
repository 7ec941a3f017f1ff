#include <mfc/wnd/CGdiObject.h>

#include <mutex>

namespace {

std::mutex& permanentLock() {
  static std::mutex lock;
  return lock;
}

std::map<HGDIOBJ, CGdiObject*>& permanentMap() {
  static auto* map = new std::map<HGDIOBJ, CGdiObject*>;
  return *map;
}

}  // namespace

CGdiObject::~CGdiObject() {
  if (m_temporary) return;
  DeleteObject();
}

CGdiObject::TemporaryMap& CGdiObject::temporaries() {
  thread_local TemporaryMap map;
  return map;
}

CGdiObject* CGdiObject::attachedTo(HGDIOBJ hObject) {
  std::lock_guard guard(permanentLock());
  const auto it = permanentMap().find(hObject);
  return it == permanentMap().end() ? nullptr : it->second;
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) { return fromHandleAs<CGdiObject>(hObject); }

void PASCAL CGdiObject::DeleteTempMap() { temporaries().clear(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject || m_hObject) return FALSE;
  m_hObject = hObject;
  std::lock_guard guard(permanentLock());
  permanentMap()[hObject] = this;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ handle = m_hObject;
  if (handle && !m_temporary) {
    std::lock_guard guard(permanentLock());
    auto it = permanentMap().find(handle);
    if (it != permanentMap().end() && it->second == this) permanentMap().erase(it);
  }
  m_hObject = nullptr;
  return handle;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int nIndex) { return (m_hObject = ::GetStockObject(nIndex)) != nullptr; }

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectA(m_hObject, nCount, lpObject); }

UINT CGdiObject::GetObjectType() const { return static_cast<UINT>(::GetObjectType(m_hObject)); }

#include <mfc/wnd/CMenu.h>

#include <mfc/wnd/CWnd.h>
#include <mfc/wnd/CWinApp.h>

#include <map>
#include <memory>

namespace {

// The temporary objects FromHandle hands out, one per handle.
std::map<HMENU, std::unique_ptr<CMenu>>& temporaries() {
  thread_local std::map<HMENU, std::unique_ptr<CMenu>> map;
  return map;
}

void forgetTemporary(HMENU hMenu) { temporaries().erase(hMenu); }

}  // namespace

CMenu::~CMenu() {
  if (!m_temporary) DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) {
  if (!hMenu) return nullptr;
  auto& slot = temporaries()[hMenu];
  if (!slot) {
    slot = std::make_unique<CMenu>();
    slot->m_hMenu = hMenu;
    slot->m_temporary = true;
  }
  return slot.get();
}

void PASCAL CMenu::DeleteTempMap() { temporaries().clear(); }

BOOL CMenu::Attach(HMENU hMenu) {
  if (!hMenu || m_hMenu) return FALSE;
  m_hMenu = hMenu;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU hMenu = m_hMenu;
  m_hMenu = nullptr;
  return hMenu;
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
  return Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  HMENU hMenu = Detach();
  forgetTemporary(hMenu);
  return ::DestroyMenu(hMenu);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  const int length = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
  if (length <= 0) {
    rString.Empty();
    return 0;
  }
  const int copied = ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(length + 1), length + 1, nFlags);
  rString.ReleaseBuffer(copied);
  return copied;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->GetSafeHwnd() : nullptr, lpRect);
}

#include "skin/CSubclassWnd.h"

#include "skin/CSubclassWndMap.h"

IMPLEMENT_DYNAMIC(CSubclassWnd, CObject)

CSubclassWnd::CSubclassWnd() : m_hWnd(nullptr), m_pOldWndProc(nullptr), m_pNext(nullptr) {}

CSubclassWnd::~CSubclassWnd() {
  if (m_hWnd) HookWindow(static_cast<HWND>(nullptr));
}

BOOL CSubclassWnd::HookWindow(CWnd* pWnd) { return HookWindow(pWnd ? pWnd->GetSafeHwnd() : nullptr); }

BOOL CSubclassWnd::HookWindow(HWND hWnd) {
  if (hWnd) {
    if (hWnd == m_hWnd) return TRUE;
    if (!::IsWindow(hWnd)) return FALSE;
    // A hook sits on one window at a time; hooking it again elsewhere moves it, so its
    // chain link can never point back at itself.
    if (m_hWnd) HookWindow(static_cast<HWND>(nullptr));
    m_hWnd = hWnd;
    CSubclassWndMap::GetHookMap().Add(hWnd, this);
  } else if (m_hWnd) {
    CSubclassWndMap::GetHookMap().Remove(this);
    m_pNext = nullptr;
    m_hWnd = nullptr;
  }
  return TRUE;
}

LRESULT CSubclassWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_pNext) return m_pNext->WindowProc(msg, wParam, lParam);
  if (!m_pOldWndProc) return ::DefWindowProc(m_hWnd, msg, wParam, lParam);
  return ::CallWindowProc(m_pOldWndProc, m_hWnd, msg, wParam, lParam);
}

LRESULT CSubclassWnd::Default() {
  // The base handling, not the derived one: a derived WindowProc calls Default for
  // what it does not take.
  const MSG& curMsg = AfxGetThreadState()->m_lastSentMsg;
  return CSubclassWnd::WindowProc(curMsg.message, curMsg.wParam, curMsg.lParam);
}

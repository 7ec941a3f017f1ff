#include "skin/CSubclassWndMap.h"

#include "skin/CSubclassWnd.h"

namespace {

constexpr UINT kHashTableSize = 10;

}  // namespace

CSubclassWndMap::CSubclassWndMap() { InitHashTable(kHashTableSize); }

CSubclassWndMap& CSubclassWndMap::GetHookMap() {
  static CSubclassWndMap theHookMap;
  return theHookMap;
}

void CSubclassWndMap::Add(HWND hWnd, CSubclassWnd* pSubclassWnd) {
  pSubclassWnd->m_pNext = Lookup(hWnd);
  SetAt(hWnd, pSubclassWnd);
  if (pSubclassWnd->m_pNext) {
    pSubclassWnd->m_pOldWndProc = pSubclassWnd->m_pNext->m_pOldWndProc;
  } else {
    pSubclassWnd->m_pOldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookWndProc)));
  }
}

void CSubclassWndMap::Remove(CSubclassWnd* pUnHook) {
  const HWND hWnd = pUnHook->m_hWnd;
  CSubclassWnd* pHook = Lookup(hWnd);
  if (pHook == pUnHook) {
    if (pHook->m_pNext) {
      SetAt(hWnd, pHook->m_pNext);
    } else {
      RemoveKey(hWnd);
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pHook->m_pOldWndProc));
    }
    return;
  }
  for (; pHook; pHook = pHook->m_pNext) {
    if (pHook->m_pNext == pUnHook) {
      pHook->m_pNext = pUnHook->m_pNext;
      return;
    }
  }
}

void CSubclassWndMap::RemoveAll(HWND hWnd) {
  while (CSubclassWnd* pSubclassWnd = Lookup(hWnd)) pSubclassWnd->HookWindow(static_cast<HWND>(nullptr));
}

CSubclassWnd* CSubclassWndMap::Lookup(HWND hWnd) const {
  void* pFound = nullptr;
  return CMapPtrToPtr::Lookup(hWnd, pFound) ? static_cast<CSubclassWnd*>(pFound) : nullptr;
}

LRESULT CALLBACK CSubclassWndMap::HookWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MSG& curMsg = AfxGetThreadState()->m_lastSentMsg;
  const MSG oldMsg = curMsg;
  curMsg.hwnd = hWnd;
  curMsg.message = msg;
  curMsg.wParam = wParam;
  curMsg.lParam = lParam;

  LRESULT lResult = 0;
  CSubclassWnd* pSubclassWnd = GetHookMap().Lookup(hWnd);
  if (!pSubclassWnd) {
    // Reached after the window lost its last hook while another procedure still chains
    // to this one: nothing to hand on to but the default.
    lResult = ::DefWindowProc(hWnd, msg, wParam, lParam);
  } else if (msg == WM_NCDESTROY) {
    const WNDPROC pOldWndProc = pSubclassWnd->m_pOldWndProc;
    GetHookMap().RemoveAll(hWnd);
    lResult = pOldWndProc ? ::CallWindowProc(pOldWndProc, hWnd, msg, wParam, lParam)
                          : ::DefWindowProc(hWnd, msg, wParam, lParam);
  } else {
    lResult = pSubclassWnd->WindowProc(msg, wParam, lParam);
  }
  curMsg = oldMsg;
  return lResult;
}

#include <mfc/wnd/CToolTipCtrl.h>

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  return CreateEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}

void CToolTipCtrl::Activate(BOOL bActivate) { ::SendMessageA(m_hWnd, TTM_ACTIVATE, bActivate, 0); }

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  if (!pWnd) return FALSE;
  TOOLINFOA info = ToolInfo(pWnd, lpRectTool ? nIDTool : 0, lpszText);
  if (lpRectTool) info.rect = *lpRectTool;
  return static_cast<BOOL>(::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

int CToolTipCtrl::GetToolCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)); }

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  if (!pWnd) return;
  TOOLINFOA info = ToolInfo(pWnd, nIDTool, lpszText);
  ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg) { ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }

TOOLINFOA CToolTipCtrl::ToolInfo(CWnd* pWnd, UINT_PTR nIDTool, LPCTSTR lpszText) {
  TOOLINFOA info{};
  info.cbSize = sizeof(info);
  info.hwnd = pWnd->GetSafeHwnd();
  info.uId = nIDTool;
  // Id 0 names the tool that is the whole window.
  if (nIDTool == 0) {
    info.uFlags = TTF_IDISHWND;
    info.uId = reinterpret_cast<UINT_PTR>(info.hwnd);
  }
  info.lpszText = const_cast<LPSTR>(lpszText);
  return info;
}

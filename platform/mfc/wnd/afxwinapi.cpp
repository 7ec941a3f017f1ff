#include <mfc/wnd/afxwinapi.h>

#include <mfc/wnd/CWinApp.h>
#include <mfc/wnd/CWnd.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
  CWnd* owner = CWnd::GetSafeOwner();
  return ::MessageBoxA(owner ? owner->m_hWnd : nullptr, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  text.LoadString(nIDPrompt);
  return AfxMessageBox(text, nType, nIDHelp);
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  static std::mutex lock;
  static std::set<std::string> names;
  char name[128];
  std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), nClassStyle,
                static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  std::lock_guard guard(lock);
  const auto it = names.insert(name).first;
  WNDCLASSA cls{};
  cls.style = nClassStyle;
  cls.lpfnWndProc = DefWindowProcA;
  cls.hInstance = AfxGetInstanceHandle();
  cls.hIcon = hIcon;
  cls.hCursor = hCursor;
  cls.hbrBackground = hbrBackground;
  cls.lpszClassName = it->c_str();
  // Each machine has its own window system, so the class is registered wherever it is missing.
  ::RegisterClassA(&cls);
  return it->c_str();
}

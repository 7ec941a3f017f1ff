#include <mfc/wnd/CFrameWnd.h>

#include <mfc/wnd/CWinApp.h>
#include <mfc/wnd/afxwinapi.h>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd() = default;

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR, DWORD dwExStyle, void*) {
  if (!lpszClassName)
    lpszClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  const bool byDefault = rect.left == CW_USEDEFAULT;
  const int width = byDefault ? CW_USEDEFAULT : rect.right - rect.left;
  const int height = byDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, width, height,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
}

void CFrameWnd::PostNcDestroy() { delete this; }

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* app = AfxGetApp();
  return nCode == CN_COMMAND && app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

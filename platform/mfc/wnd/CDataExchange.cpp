#include <mfc/wnd/CDataExchange.h>

#include <mfc/wnd/CWnd.h>

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (!pDX || !pDX->m_pDlgWnd || rControl.m_hWnd) return;
  if (HWND control = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC)) rControl.SubclassWindow(control);
}

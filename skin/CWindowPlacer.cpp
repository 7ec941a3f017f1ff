#include "skin/CWindowPlacer.h"

BOOL CWindowPlacer::PlaceWindow(CWnd* pWnd, const RECT& rect, CWnd* pReference) {
  if (!pWnd || !pReference) return FALSE;
  CRect rcReference;
  pReference->GetWindowRect(&rcReference);
  return pWnd->SetWindowPos(&CWnd::wndTopMost, rect.left, rect.top, rect.right - rect.left,
                            rcReference.bottom - rect.top, SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

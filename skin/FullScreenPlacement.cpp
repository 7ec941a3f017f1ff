#include "skin/FullScreenPlacement.h"

WINDOWPLACEMENT FullScreenPlacement(const CWnd& wnd, BOOL bKeepTop) {
  CRect rcWindow;
  wnd.GetWindowRect(&rcWindow);
  CRect rcClient;
  wnd.GetClientRect(&rcClient);
  CPoint origin(0, 0);
  wnd.ClientToScreen(&origin);
  const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
  const int cyScreen = GetSystemMetrics(SM_CYSCREEN);

  WINDOWPLACEMENT placement{};
  placement.length = sizeof(WINDOWPLACEMENT);
  placement.flags = 0;
  placement.showCmd = SW_SHOWNORMAL;
  placement.rcNormalPosition.left = rcWindow.left - origin.x;
  placement.rcNormalPosition.top = bKeepTop ? rcWindow.top - origin.y : 0;
  placement.rcNormalPosition.right = rcWindow.right - (origin.x + rcClient.Width()) + cxScreen;
  placement.rcNormalPosition.bottom = rcWindow.bottom - (origin.y + rcClient.Height()) + cyScreen;
  return placement;
}

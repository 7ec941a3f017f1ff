// Places a window (the docking control bar) above all others without activating it: at
// the rectangle's left and top, the rectangle's width, reaching down to the bottom of a
// reference window.
#pragma once

#include <mfc/afxwin.h>

class CWindowPlacer {
 public:
  static BOOL PlaceWindow(CWnd* pWnd, const RECT& rect, CWnd* pReference);
};

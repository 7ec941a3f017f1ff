// Drawing a window's standard scroll bars in its frame, in Windows' classic look: the
// arrow buttons (grey when there is nothing to scroll, pushed while pressed), the track in
// the scroll-bar colour and the raised thumb; and the corner between two bars in the face
// colour. Painted with the frame (WM_NCPAINT) and by the press that tracks a bar.
#pragma once

#include <win32/user/ScrollBarGeometry.h>

namespace plat {

class ScrollBarPainter {
 public:
  // `hdc` is on the whole window; the geometry is in window coordinates.
  static void paint(HDC hdc, const ScrollBarGeometry& bar, ScrollBarGeometry::Part pressed);
  static void paintCorner(HDC hdc, const RECT& corner);
  // The bar as the window's state has it now, drawn at once.
  static void repaint(HWND hwnd, int bar, ScrollBarGeometry::Part pressed);
};

}  // namespace plat

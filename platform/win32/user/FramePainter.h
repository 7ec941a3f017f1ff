// DefWindowProcA's drawing of a window's frame (WM_NCPAINT, and WM_NCACTIVATE's look), as
// Windows' classic look draws it in the system colours and metrics: a one-pixel border
// (WS_BORDER), or the raised dialog or sizing frame over the face colour; a sunken client
// edge (WS_EX_CLIENTEDGE); and the caption: a bar shaded from the active (or inactive)
// caption colour to its gradient colour, the small icon of a window with a system menu
// that is no dialog, the title in the caption font, and the close, maximise and minimise
// buttons its styles ask for; and the standard scroll bars (plat::ScrollBarPainter). The
// client area is left to the window.
#pragma once

#include <win32/types.h>

namespace plat {

class FramePainter {
 public:
  static void paint(HWND hwnd);
  // WM_NCACTIVATE: the frame takes the active or inactive look and is drawn again.
  static void activate(HWND hwnd, bool active);
  // The frame drawn again as the window draws it (WM_NCPAINT).
  static void repaint(HWND hwnd);
};

}  // namespace plat

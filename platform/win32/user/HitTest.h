// Which window the mouse is over: the deepest visible, enabled window at a screen point
// inside the window's region (GDI's SetWindowRgn), asked with WM_NCHITTEST on the way down
// (a window of the calling thread answering HTTRANSPARENT lets the point through to what
// lies beneath, as statics do). The answer of the window found comes with it.
#pragma once

#include <win32/types.h>

namespace plat {

class HitTest {
 public:
  struct Result {
    HWND hwnd = nullptr;
    LRESULT code = 0;  // HTNOWHERE
  };

  static Result at(POINT screen);
};

}  // namespace plat

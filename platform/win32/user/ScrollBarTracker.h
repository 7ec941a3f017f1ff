// The modal loop DefWindowProcA runs when the user presses a window's standard scroll bar
// (WM_SYSCOMMAND SC_VSCROLL or SC_HSCROLL): the window takes the capture. An arrow or the
// track beside the thumb sends its line or page request (WM_VSCROLL or WM_HSCROLL) at once
// and again while the button stays down over that part, first after kFirstDelay and then
// every kRepeatDelay milliseconds of the machine clock, so paging stops where the thumb
// reaches the pointer. The thumb follows the pointer with SB_THUMBTRACK requests (the
// position also in GetScrollInfo's nTrackPos) and lets go with SB_THUMBPOSITION. Every
// press ends with SB_ENDSCROLL. Other messages keep being dispatched meanwhile.
#pragma once

#include <win32/types.h>

namespace plat {

class ScrollBarTracker {
 public:
  static constexpr UINT kFirstDelay = 300;
  static constexpr UINT kRepeatDelay = 50;

  // `bar` is SB_VERT or SB_HORZ; `start` the press's screen point.
  static void run(HWND hwnd, int bar, POINT start);

 private:
  static POINT inWindow(HWND hwnd, POINT screen);
  static void setTrackPosition(HWND hwnd, int bar, int position);
};

}  // namespace plat

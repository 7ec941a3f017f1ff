// The modal loop DefWindowProcA runs when the user drags a window by its caption
// (SC_MOVE) or a sizing border (SC_SIZE): the window takes the capture and follows the
// pointer until the button comes up (Escape puts it back), with WM_ENTERSIZEMOVE,
// WM_MOVING or WM_SIZING for each step and WM_EXITSIZEMOVE at the end. Other messages
// keep being dispatched meanwhile.
#pragma once

#include <win32/types.h>

namespace plat {

class SizeMoveLoop {
 public:
  // `command` is WM_SYSCOMMAND's wParam: SC_MOVE, or SC_SIZE plus the WMSZ_ edge.
  static void run(HWND hwnd, WPARAM command, POINT start);

 private:
  static RECT follow(RECT start, POINT delta, int edge);
};

}  // namespace plat

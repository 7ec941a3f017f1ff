// Focus, activation and capture of the calling thread's windows, with the messages
// Windows sends when they change hands: WM_NCACTIVATE and WM_ACTIVATE to the window losing
// and then the window gaining activation (which DefWindowProcA answers by taking the
// focus), WM_KILLFOCUS to the old focus and WM_SETFOCUS to the new one, WM_CAPTURECHANGED
// to the window losing the capture after it has lost it.
#pragma once

#include <win32/types.h>

namespace plat {

class FocusManager {
 public:
  static HWND setFocus(HWND hwnd);
  static HWND focus();
  // Activates the top-level window (raising it); returns the previously active window.
  static HWND activate(HWND hwnd, bool byClick = false);
  static HWND active();
  static HWND setCapture(HWND hwnd);
  static bool releaseCapture();
  static HWND capture();
  static HWND foreground();

  // A window is going away or being hidden: capture, focus and activation inside it move
  // elsewhere (activation to its owner or the next visible top-level window of the thread).
  static void windowLeaving(HWND hwnd);
};

}  // namespace plat

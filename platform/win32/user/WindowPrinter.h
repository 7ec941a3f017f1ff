// DefWindowProcA's drawing of a window into a caller's device context (WM_PRINT,
// WM_PRINTCLIENT). The window is drawn from the pixels it has painted in its own
// surface; the background and client parts go through the window's messages, so a window
// that paints itself in WM_PRINTCLIENT is printed its own way. Children are printed back
// to front at their places.
#pragma once

#include <win32/gdi/Region.h>

namespace plat {

class WindowPrinter {
 public:
  static LRESULT print(HWND hwnd, HDC hdc, LPARAM flags);
  static LRESULT printClient(HWND hwnd, HDC hdc);

 private:
  // Copies the part of the window's pixels in `area` (coordinates of the window's client
  // area, or of the whole window) to the same place of `hdc`.
  static void copyPixels(HWND hwnd, bool wholeWindow, const Region& area, HDC hdc);
  static void printChildren(HWND hwnd, HDC hdc, LPARAM flags);
  // The window's client rectangle in its own window coordinates.
  static RECT clientInWindow(HWND hwnd);
};

}  // namespace plat

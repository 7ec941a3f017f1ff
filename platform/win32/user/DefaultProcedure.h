// What DefWindowProcA does: the system's default handling of the messages a window
// procedure passes on (texts, the frame, hit testing, closing, system commands, moving
// and sizing by the caption and borders, activation answers, cursor, painting validation,
// and turning position changes into WM_MOVE and WM_SIZE).
#pragma once

#include <win32/types.h>

namespace plat {

class DefaultProcedure {
 public:
  static LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT setText(HWND hwnd, LPCSTR text);
  static LRESULT getText(HWND hwnd, WPARAM size, LPSTR buffer);
  static LRESULT calcSize(HWND hwnd, LPARAM lParam, bool params);
  static LRESULT hitTest(HWND hwnd, LPARAM lParam);
  static LRESULT sysCommand(HWND hwnd, WPARAM command, LPARAM point);
  static LRESULT setCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
  static LRESULT icon(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT eraseBackground(HWND hwnd, HDC hdc);
  static HWND parentOf(HWND hwnd);
};

}  // namespace plat

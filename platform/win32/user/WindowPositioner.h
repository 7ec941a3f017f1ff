// Moving, sizing, stacking, showing, minimizing and maximizing windows, with the messages
// Windows sends for it: WM_WINDOWPOSCHANGING (which may still change the position),
// WM_NCCALCSIZE when the size or the frame changes, activation, WM_WINDOWPOSCHANGED (from
// which DefWindowProcA makes WM_MOVE and WM_SIZE), and WM_SHOWWINDOW from ShowWindow.
#pragma once

#include <win32/user/window.h>

#include <vector>

namespace plat {

class UserSystem;

class WindowPositioner {
 public:
  static bool setWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
  // Returns whether the window was visible before.
  static bool show(HWND hwnd, int command);
  // WM_GETMINMAXINFO, filled with the defaults before the window may change them.
  static MINMAXINFO minMaxInfo(HWND hwnd);

  // Puts a top-level window in front of its z-order group (topmost or not), its owned
  // windows in front of it; a child in front of its siblings. Call with the user lock held.
  static void raise(UserSystem& system, HWND hwnd);

  // DefWindowProcA's part: keeping a resizable window within its tracking sizes, and
  // turning a position change into WM_MOVE and WM_SIZE.
  static void defaultPosChanging(HWND hwnd, WINDOWPOS& pos);
  static void defaultPosChanged(HWND hwnd, const WINDOWPOS& pos);

  // Flags set in WM_WINDOWPOSCHANGED when the client area kept its place or size.
  static constexpr UINT kNoClientSize = 0x0800;
  static constexpr UINT kNoClientMove = 0x1000;

 private:
  static void restack(UserSystem& system, HWND hwnd, HWND insertAfter);
  static RECT minimizedRect(HWND hwnd);
  // A minimized window's owned windows (and theirs) are hidden with it and come back when
  // it is restored, each told with WM_SHOWWINDOW and SW_PARENTCLOSING / SW_PARENTOPENING.
  static void hideOwnedWindows(HWND owner);
  static void showOwnedWindows(HWND owner);
};

}  // namespace plat

// Application bars (the shell's SHAppBarMessage): windows that register themselves as
// desktop bars along a screen edge, one of them per edge the auto-hide bar. The stand-in
// keeps the registered bars and the auto-hide bar of each edge for the whole machine
// process; it reserves no screen space (ABM_SETPOS and ABM_QUERYPOS give back the
// rectangle asked for) and sends no notifications. plat::AppBars lets tests read it.
#pragma once

#include <win32/types.h>

#include <vector>

#define ABM_NEW 0x00000000
#define ABM_REMOVE 0x00000001
#define ABM_QUERYPOS 0x00000002
#define ABM_SETPOS 0x00000003
#define ABM_GETSTATE 0x00000004
#define ABM_GETTASKBARPOS 0x00000005
#define ABM_ACTIVATE 0x00000006
#define ABM_GETAUTOHIDEBAR 0x00000007
#define ABM_SETAUTOHIDEBAR 0x00000008
#define ABM_WINDOWPOSCHANGED 0x00000009

#define ABE_LEFT 0
#define ABE_TOP 1
#define ABE_RIGHT 2
#define ABE_BOTTOM 3

struct APPBARDATA {
  DWORD cbSize;
  HWND hWnd;
  UINT uCallbackMessage;
  UINT uEdge;
  RECT rc;
  LPARAM lParam;
};
using PAPPBARDATA = APPBARDATA*;

// ABM_NEW: TRUE when the window was not registered yet. ABM_REMOVE: TRUE. ABM_GETAUTOHIDEBAR:
// the edge's auto-hide bar or NULL. ABM_SETAUTOHIDEBAR (lParam TRUE to register, FALSE to
// unregister): FALSE when another window is the edge's auto-hide bar, or when unregistering
// a window that is not. ABM_ACTIVATE, ABM_WINDOWPOSCHANGED: TRUE for a registered bar.
UINT_PTR SHAppBarMessage(DWORD dwMessage, PAPPBARDATA pData);

namespace plat {

struct AppBars {
  // The registered bars, in registration order.
  static std::vector<HWND> registered();
  static UINT callbackMessage(HWND hwnd);
  static HWND autoHideBar(UINT edge);
  // Forgets every bar (a test's fresh machine).
  static void reset();
};

}  // namespace plat

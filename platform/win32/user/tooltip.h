// The tooltip control ("tooltips_class32"): a popup owned by the window whose tools it
// describes. A tool is a rectangle of a window's client area (or, with TTF_IDISHWND, a
// whole window) with a text. The control learns of the mouse from the messages relayed
// to it (TTM_RELAYEVENT); the tip shows once the mouse has stayed on a tool for the
// initial delay and hides after the autopop time, when the mouse leaves the tool (seen in
// a relayed message or by watching the pointer while a tip is pending or up), on a button
// press, or when the control is deactivated. A new control is active.
// Texts are copied; callback texts and resource string ids are not supported.
#pragma once

#include <win32/types.h>
#include <win32/user/message.h>

#define TOOLTIPS_CLASSA "tooltips_class32"
#define TOOLTIPS_CLASS TOOLTIPS_CLASSA

#define TTF_IDISHWND 0x0001

#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_ADDTOOLA (WM_USER + 4)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_UPDATETIPTEXTA (WM_USER + 12)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_ADDTOOL TTM_ADDTOOLA
#define TTM_UPDATETIPTEXT TTM_UPDATETIPTEXTA

struct TOOLINFOA {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;
  UINT_PTR uId;
  RECT rect;
  HINSTANCE hinst;
  LPSTR lpszText;
  LPARAM lParam;
  void* lpReserved;
};
using LPTOOLINFOA = TOOLINFOA*;
using TTTOOLINFOA = TOOLINFOA;
using TOOLINFO = TOOLINFOA;
using LPTOOLINFO = LPTOOLINFOA;

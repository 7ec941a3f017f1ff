// Scroll bars drawn in a window's non-client area by the program itself: the window is
// subclassed, its bars' state kept in a per-window record ("CoolSBSubclassPtr"), and the
// CoolSB_ functions stand in for the system scroll functions. On a window that was not
// initialised every CoolSB_ function is the system function. The bars are drawn from the
// nine skin pictures of CoolScrollSkin, or, when the resources lack them, with the system's
// arrow glyphs and a checkered track. The part under the pointer is drawn hot; pressing an
// arrow or the track scrolls once at once, then after 300 ms every 55 ms; dragging the
// thumb tracks. The position never passes max - page + 1, nor max when the page is 0.
//
// A bar may carry buttons of the caller's beside its arrows; one released over sends
// WM_COMMAND with its id to the window. The window keeps its WS_HSCROLL and WS_VSCROLL
// bits for the bars shown, but its own procedure never makes room for system bars.
#pragma once

#include <mfc/afxwin.h>

struct CoolScrollButton {
  // Where a button sits: before the first arrow (top or left), or after the second.
  static constexpr UINT kAtStart = 0;
  static constexpr UINT kAtEnd = 1;
  // State bits.
  static constexpr UINT kPushed = 0x01;

  UINT id;          // the command sent when it is released over
  int size;         // pixels along the bar; 0 or less: as long as the bar is thick
  UINT placement;
  UINT state;
  // The caller's pictures, stretched over the button (not freed here); without them the
  // button is a plain raised or sunken face.
  HBITMAP normal;
  HBITMAP pressed;
};

struct CoolScrollBar {
  static constexpr UINT kShown = 0x08;
  static constexpr UINT kAlwaysShow = 0x04;
  static constexpr int kMaxButtons = 8;

  UINT flags;
  SCROLLINFO info;
  int hotPart;
  int pressedPart;
  int size;
  int minThumb;
  CoolScrollButton buttons[kMaxButtons];
  int buttonCount;
};

struct CoolScrollWnd {
  CoolScrollBar bars[2];
  WNDPROC oldProc;
  BOOL leftScrollbar;
  BOOL sizing;
  HWND notify;
};

BOOL InitializeCoolSB(HWND hwnd);
HRESULT UninitializeCoolSB(HWND hwnd);
BOOL CoolSB_GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi);
int CoolSB_GetScrollPos(HWND hwnd, int nBar);
BOOL CoolSB_GetScrollRange(HWND hwnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos);
int CoolSB_SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL fRedraw);
int CoolSB_SetScrollPos(HWND hwnd, int nBar, int nPos, BOOL fRedraw);
int CoolSB_SetScrollRange(HWND hwnd, int nBar, int nMinPos, int nMaxPos, BOOL fRedraw);
BOOL CoolSB_ShowScrollBar(HWND hwnd, int wBar, BOOL fShow);
// -1: the default for the Windows version.
BOOL CoolSB_SetMinThumbSize(HWND hwnd, UINT wBar, UINT size);
BOOL CoolSB_SetSize(HWND hwnd, int wBar, int nSize, int nSize2);
// Adds a copy of the button after the bar's others of its placement; FALSE when the bar
// is full or the window has no cool scroll bars. Buttons that leave no room for the two
// arrows are not shown.
BOOL CoolSB_InsertButton(HWND hwnd, int wBar, const CoolScrollButton* pButton);
// Removes the button at that index, or the first with that command id, closing the gap;
// TRUE when one was removed.
BOOL CoolSB_RemoveButton(HWND hwnd, int wBar, UINT uCmdOrIndex, BOOL fByCommand);

// Scroll bars drawn in a window's non-client area by the program itself: the window is
// subclassed, its bars' state kept in a per-window record ("CoolSBSubclassPtr"), and the
// CoolSB_ functions stand in for the system scroll functions. On a window that was not
// initialised every CoolSB_ function is the system function. Without skin bitmaps the bars
// are drawn with the system's arrow glyphs and a checkered track. Pressing an arrow or the
// track scrolls once at once, then after 300 ms every 55 ms; dragging the thumb tracks.
// The position never passes max - page + 1, nor max when the page is 0.
#pragma once

#include <mfc/afxwin.h>

struct CoolScrollBar {
  static constexpr UINT kShown = 0x08;
  static constexpr UINT kAlwaysShow = 0x04;

  UINT flags;
  SCROLLINFO info;
  int hotPart;
  int pressedPart;
  int size;
  int minThumb;
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

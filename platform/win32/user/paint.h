// Invalidation and painting. A window collects an update region (InvalidateRect,
// InvalidateRgn, being shown, growing); while it is visible and the region is not empty,
// its thread's message loop hands out WM_PAINT after posted messages and input.
// BeginPaint sends an owed WM_NCPAINT, empties the region, returns a GDI device context
// on the client area clipped to it and sends WM_ERASEBKGND when asked (DefWindowProcA
// fills with the class brush); EndPaint releases the device context. The region-handle
// calls (InvalidateRgn, ValidateRgn, GetUpdateRgn, RedrawWindow) are in win32/gdi/windowdc.h.
#pragma once

#include <win32/types.h>

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
// lpRect NULL means the whole client area.
BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
BOOL ValidateRect(HWND hWnd, const RECT* lpRect);
// The update region's bounds (lpRect may be NULL); nonzero when it is not empty. With
// bErase an owed WM_ERASEBKGND is sent first.
BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase);
// Sends WM_PAINT at once when the window has something to paint.
BOOL UpdateWindow(HWND hWnd);

// WM_PRINT and WM_PRINTCLIENT flags. DefWindowProcA's WM_PRINT draws the window into the
// given device context as a window context would show it: the frame, the background
// (WM_ERASEBKGND), the client (WM_PRINTCLIENT) and the children, each as asked; its
// WM_PRINTCLIENT copies the client pixels the window last painted, outside its children.
#define PRF_CHECKVISIBLE 0x00000001
#define PRF_NONCLIENT 0x00000002
#define PRF_CLIENT 0x00000004
#define PRF_ERASEBKGND 0x00000008
#define PRF_CHILDREN 0x00000010
#define PRF_OWNED 0x00000020

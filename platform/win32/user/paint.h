// Invalidation and painting. A window collects an update rectangle (InvalidateRect, being
// shown, growing); while it is visible and the rectangle is not empty, its thread's
// message loop hands out WM_PAINT after posted messages and input. BeginPaint validates,
// returns a GDI device context on the client area clipped to the update rectangle, and
// sends WM_ERASEBKGND when asked (DefWindowProcA fills with the class brush); EndPaint
// releases the device context.
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
// Sends WM_PAINT at once when the window has something to paint.
BOOL UpdateWindow(HWND hWnd);

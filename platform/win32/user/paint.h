// Invalidation and painting. A window collects an update rectangle (InvalidateRect, being
// shown, growing); while it is visible and the rectangle is not empty, its thread's
// message loop hands out WM_PAINT after posted messages and input. BeginPaint validates,
// sends WM_ERASEBKGND when asked and returns a device context for the client area;
// EndPaint releases it. Pixels belong to GDI: until it exists the device context is a
// placeholder that only knows its window (win32/user/DeviceContext.h).
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

// Drawing on windows and the screen: client, window and screen device contexts, window
// regions, layered windows, and invalidation by region and RedrawWindow.
//
// A client context's origin is the client area's top-left, a window context's the
// window's top-left (so a window can paint its own frame); both clip to what of the
// window can be seen. GetDC(NULL) is the screen as it is composed at that moment; what is
// drawn on it lasts until the screen is composed again.
// SetWindowRgn hands the region to the window: the handle is no longer the caller's.
// Update regions are exact: InvalidateRgn and ValidateRgn add and take the region itself
// (client coordinates; a null region means the whole client area).
#pragma once

#include <win32/types.h>

HDC GetDC(HWND hWnd);
HDC GetWindowDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);

// Region in window coordinates; null removes the window's region.
int SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL bRedraw);
// Copies the window's region into hRgn; ERROR when the window has none.
int GetWindowRgn(HWND hWnd, HRGN hRgn);

#define LWA_COLORKEY 0x00000001
#define LWA_ALPHA 0x00000002
// For windows with WS_EX_LAYERED; also found by GetProcAddress in "user32".
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags);

BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase);
BOOL ValidateRgn(HWND hWnd, HRGN hRgn);
// Copies the update region into hRgn and returns its kind (ERROR for a bad handle). With
// bErase an owed WM_ERASEBKGND is sent first.
int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase);

#define RDW_INVALIDATE 0x0001
#define RDW_INTERNALPAINT 0x0002
#define RDW_ERASE 0x0004
#define RDW_VALIDATE 0x0008
#define RDW_NOINTERNALPAINT 0x0010
#define RDW_NOERASE 0x0020
#define RDW_NOCHILDREN 0x0040
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100
#define RDW_ERASENOW 0x0200
#define RDW_FRAME 0x0400
#define RDW_NOFRAME 0x0800

// The area is hrgnUpdate, else lprcUpdate, else the whole client area; with
// RDW_ALLCHILDREN the part of it on each child goes to the child too. RDW_FRAME with
// RDW_INVALIDATE owes the window a WM_NCPAINT, sent by its next BeginPaint as on
// Windows; RDW_UPDATENOW paints what is invalid at once, parents before children.
BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags);

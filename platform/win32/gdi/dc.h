// Device contexts: memory device contexts over bitmaps, their state (colours, modes,
// origins, the current position), SaveDC/RestoreDC, clipping and device capabilities.
// Window, client and screen device contexts come from GetDC, GetWindowDC and
// BeginPaint (win32/gdi/paint.h).
//
// Logical units are pixels in every mapping mode; the window and viewport origins move
// them. A clip region is kept in device units, as on Windows.
#pragma once

#include <win32/types.h>

// GetDeviceCaps indexes.
#define DRIVERVERSION 0
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define DESKTOPVERTRES 117
#define DESKTOPHORZRES 118
#define DT_RASDISPLAY 1
#define RC_BITBLT 1
#define RC_BITMAP64 8
#define RC_DI_BITMAP 0x0080
#define RC_DIBTODEV 0x0200
#define RC_STRETCHBLT 0x0800

// Mapping modes.
#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_LOENGLISH 4
#define MM_HIENGLISH 5
#define MM_TWIPS 6
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Clip region combination and the kinds of region the clip calls report.
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3

HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
// The new saved state's level (1 for the first), 0 on failure.
int SaveDC(HDC hdc);
// A positive level restores that state; a negative one counts back from the newest.
BOOL RestoreDC(HDC hdc, int nSavedDC);
int GetDeviceCaps(HDC hdc, int index);

int SetMapMode(HDC hdc, int iMode);
int GetMapMode(HDC hdc);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL GetWindowOrgEx(HDC hdc, LPPOINT lppoint);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppoint);
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL GetBrushOrgEx(HDC hdc, LPPOINT lppt);

COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
// Pixels added after each character of the text drawn and measured (TextOut, DrawText,
// GetTextExtentPoint32); the old value, 0x80000000 for a bad context.
int SetTextCharacterExtra(HDC hdc, int extra);
int GetTextCharacterExtra(HDC hdc);

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
// A null region removes the clip region.
int SelectClipRgn(HDC hdc, HRGN hrgn);
int ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode);
// The smallest rectangle around what may be drawn, in logical units.
int GetClipBox(HDC hdc, LPRECT lprect);

// Icons and cursors as pictures: drawn with their mask (the screen shows through where
// the mask is set) and colours; copied and destroyed.
//
// Icons made from icon files (.ico/.cur, with bitmap or PNG images) carry pixels. Icon
// and cursor handles the window system hands out without pixels (standard cursors and
// icons) can be copied and destroyed like any other, and draw nothing.
#pragma once

#include <win32/types.h>

#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_DEFAULTSIZE 0x0008

#define ERROR_INVALID_CURSOR_HANDLE 1402L
#define ERROR_INVALID_ICON_HANDLE 1405L

// At the icon size of the system metrics (SM_CXICON × SM_CYICON).
BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon);
// cx or cy 0: the icon's own size, or the system's with DI_DEFAULTSIZE.
BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
                HBRUSH hbrFlickerFreeDraw, UINT diFlags);
HICON CopyIcon(HICON hIcon);
#define CopyCursor(pcur) (static_cast<HCURSOR>(CopyIcon(static_cast<HICON>(pcur))))
BOOL DestroyIcon(HICON hIcon);
BOOL DestroyCursor(HCURSOR hCursor);

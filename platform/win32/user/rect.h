// The rectangle helpers of the window system. Right and bottom are exclusive.
#pragma once

#include <win32/types.h>

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);
BOOL SetRectEmpty(LPRECT lprc);
BOOL IsRectEmpty(const RECT* lprc);
BOOL PtInRect(const RECT* lprc, POINT pt);
BOOL OffsetRect(LPRECT lprc, int dx, int dy);
BOOL InflateRect(LPRECT lprc, int dx, int dy);
// FALSE (and an empty result) when they do not overlap.
BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
BOOL EqualRect(const RECT* lprc1, const RECT* lprc2);

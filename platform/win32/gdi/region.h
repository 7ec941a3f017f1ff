// Regions: exact sets of pixels kept as banded rectangles. Combining reports the kind
// of the result (NULLREGION, SIMPLEREGION for one rectangle, COMPLEXREGION) or ERROR.
#pragma once

#include <win32/gdi/dc.h>

#define RDH_RECTANGLES 1

struct RGNDATAHEADER {
  DWORD dwSize;
  DWORD iType;
  DWORD nCount;
  DWORD nRgnSize;
  RECT rcBound;
};
static_assert(sizeof(RGNDATAHEADER) == 32);

struct RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];
};
using LPRGNDATA = RGNDATA*;
using PRGNDATA = RGNDATA*;

struct XFORM {
  FLOAT eM11;
  FLOAT eM12;
  FLOAT eM21;
  FLOAT eM22;
  FLOAT eDx;
  FLOAT eDy;
};
using LPXFORM = XFORM*;

HRGN CreateRectRgn(int x1, int y1, int x2, int y2);
HRGN CreateRectRgnIndirect(const RECT* lprect);
int CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode);
// The rectangles of `lpData` in any order. With a transform, it may scale and move
// (eM12 and eM21 zero); each rectangle's corners are transformed and rounded.
HRGN ExtCreateRegion(const XFORM* lpx, DWORD nCount, const RGNDATA* lpData);
// Bytes needed when lpRgnData is null; nCount when it fits; 0 when it does not.
DWORD GetRegionData(HRGN hrgn, DWORD nCount, LPRGNDATA lpRgnData);
int GetRgnBox(HRGN hrgn, LPRECT lprc);
int OffsetRgn(HRGN hrgn, int x, int y);
BOOL PtInRegion(HRGN hrgn, int x, int y);
BOOL EqualRgn(HRGN hrgn1, HRGN hrgn2);

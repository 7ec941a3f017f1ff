#include <win32/gdi/region.h>

#include <win32/error.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/RegionObject.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using plat::GdiTable;
using plat::Region;
using plat::RegionObject;

std::shared_ptr<RegionObject> regionOf(HRGN hrgn) { return GdiTable::lookup<RegionObject>(hrgn); }

int kindOf(const Region& region) { return static_cast<int>(region.shape()); }

HRGN addRegion(Region region) {
  return static_cast<HRGN>(GdiTable::instance().add(std::make_shared<RegionObject>(std::move(region))));
}

RECT normalised(int x1, int y1, int x2, int y2) {
  return RECT{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

LONG transformed(LONG v, FLOAT scale, FLOAT offset) {
  return static_cast<LONG>(std::lround(static_cast<double>(v) * scale + offset));
}

}  // namespace

HRGN CreateRectRgn(int x1, int y1, int x2, int y2) { return addRegion(Region(normalised(x1, y1, x2, y2))); }

HRGN CreateRectRgnIndirect(const RECT* lprect) {
  if (!lprect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

int CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode) {
  auto dst = regionOf(hrgnDst);
  auto a = regionOf(hrgnSrc1);
  if (!dst || !a) return ERROR;
  if (iMode == RGN_COPY) {
    dst->region() = a->region();
    return kindOf(dst->region());
  }
  auto b = regionOf(hrgnSrc2);
  if (!b) return ERROR;
  switch (iMode) {
    case RGN_AND:
      dst->region() = a->region().intersected(b->region());
      break;
    case RGN_OR:
      // Adding to the destination itself, the common way to grow a region block by block.
      if (dst == a)
        dst->region().unite(b->region());
      else
        dst->region() = a->region().united(b->region());
      break;
    case RGN_XOR:
      dst->region() = a->region().xored(b->region());
      break;
    case RGN_DIFF:
      dst->region() = a->region().subtracted(b->region());
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
  }
  return kindOf(dst->region());
}

HRGN ExtCreateRegion(const XFORM* lpx, DWORD nCount, const RGNDATA* lpData) {
  const bool headerFits = lpData && nCount >= sizeof(RGNDATAHEADER);
  if (!headerFits || lpData->rdh.dwSize < sizeof(RGNDATAHEADER) || lpData->rdh.dwSize > nCount || lpData->rdh.iType != RDH_RECTANGLES ||
      (nCount - lpData->rdh.dwSize) / sizeof(RECT) < lpData->rdh.nCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (lpx && (lpx->eM12 != 0.0f || lpx->eM21 != 0.0f)) {
    SetLastError(ERROR_INVALID_PARAMETER);  // turning and shearing are not supported
    return nullptr;
  }
  std::vector<RECT> rects(lpData->rdh.nCount);
  if (!rects.empty())
    std::memcpy(rects.data(), reinterpret_cast<const char*>(lpData) + lpData->rdh.dwSize, rects.size() * sizeof(RECT));
  if (lpx) {
    for (RECT& r : rects) {
      r = normalised(transformed(r.left, lpx->eM11, lpx->eDx), transformed(r.top, lpx->eM22, lpx->eDy),
                     transformed(r.right, lpx->eM11, lpx->eDx), transformed(r.bottom, lpx->eM22, lpx->eDy));
    }
  }
  return addRegion(Region::fromRects(rects));
}

DWORD GetRegionData(HRGN hrgn, DWORD nCount, LPRGNDATA lpRgnData) {
  auto region = regionOf(hrgn);
  if (!region) return 0;
  const std::vector<RECT>& rects = region->region().rects();
  const DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  if (!lpRgnData) return needed;
  if (nCount < needed) {
    SetLastError(ERROR_MORE_DATA);
    return 0;
  }
  lpRgnData->rdh.dwSize = sizeof(RGNDATAHEADER);
  lpRgnData->rdh.iType = RDH_RECTANGLES;
  lpRgnData->rdh.nCount = static_cast<DWORD>(rects.size());
  lpRgnData->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  lpRgnData->rdh.rcBound = region->region().bounds();
  if (!rects.empty()) std::memcpy(lpRgnData->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return nCount;
}

int GetRgnBox(HRGN hrgn, LPRECT lprc) {
  auto region = regionOf(hrgn);
  if (!region || !lprc) return ERROR;
  *lprc = region->region().bounds();
  return kindOf(region->region());
}

int OffsetRgn(HRGN hrgn, int x, int y) {
  auto region = regionOf(hrgn);
  if (!region) return ERROR;
  region->region().translate(x, y);
  return kindOf(region->region());
}

BOOL PtInRegion(HRGN hrgn, int x, int y) {
  auto region = regionOf(hrgn);
  return region && region->region().contains(x, y) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN hrgn1, HRGN hrgn2) {
  auto a = regionOf(hrgn1);
  auto b = regionOf(hrgn2);
  if (!a || !b) return ERROR;
  return a->region() == b->region() ? TRUE : FALSE;
}

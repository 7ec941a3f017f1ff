#include <win32/gdi/draw.h>

#include <win32/error.h>
#include <win32/gdi/Blitter.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/Painter.h>
#include <win32/gdi/bitmap.h>
#include <win32/user/metrics.h>

#include <algorithm>

namespace {

using plat::DrawingContext;
using plat::GdiTable;

std::shared_ptr<DrawingContext> dcOf(HDC hdc) { return GdiTable::lookup<DrawingContext>(hdc); }

// A brush handle, or a system colour index plus one as window classes give it.
std::shared_ptr<plat::BrushObject> brushOf(HBRUSH hbr) {
  const auto value = reinterpret_cast<std::uintptr_t>(hbr);
  if (value >= 1 && value <= COLOR_MENUBAR + 1) return plat::BrushObject::solid(GetSysColor(static_cast<int>(value - 1)));
  return GdiTable::lookup<plat::BrushObject>(hbr);
}

RECT normalised(const RECT& r) {
  return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
              std::max(r.top, r.bottom)};
}

}  // namespace

HPEN CreatePen(int iStyle, int cWidth, COLORREF color) {
  if (iStyle < PS_SOLID || iStyle > PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return static_cast<HPEN>(GdiTable::instance().add(std::make_shared<plat::PenObject>(iStyle, cWidth, color)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(GdiTable::instance().add(plat::BrushObject::solid(color)));
}

HBRUSH CreatePatternBrush(HBITMAP hbm) {
  auto bitmap = GdiTable::lookup<plat::BitmapObject>(hbm);
  if (!bitmap) return nullptr;
  return static_cast<HBRUSH>(
      GdiTable::instance().add(plat::BrushObject::pattern(bitmap->surface().clone(), hbm)));
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  auto dc = dcOf(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->state().position;
  dc->state().position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  auto dc = dcOf(hdc);
  if (!dc) return FALSE;
  const POINT from = dc->state().position;
  plat::Painter(*dc).line(dc->toDevice(from.x, from.y), dc->toDevice(x, y), *dc->state().pen);
  dc->state().position = POINT{x, y};
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  auto dc = dcOf(hdc);
  if (!dc) return FALSE;
  const RECT r = normalised(dc->toDevice(RECT{left, top, right, bottom}));
  const plat::PenObject& pen = *dc->state().pen;
  // Without a pen the fill stops one pixel short on the right and bottom, as on Windows.
  const LONG inset = pen.isNull() ? 0 : pen.width();
  const RECT inside = pen.isNull() ? RECT{r.left, r.top, r.right - 1, r.bottom - 1}
                                   : RECT{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
  if (inside.left < inside.right && inside.top < inside.bottom)
    plat::Blitter::transfer(*dc, inside, nullptr, PATCOPY);
  plat::Painter(*dc).outline(r, pen);
  return TRUE;
}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  auto dc = dcOf(hDC);
  auto brush = brushOf(hbr);
  if (!dc || !brush || !lprc) return 0;
  plat::Blitter::transfer(*dc, dc->toDevice(*lprc), nullptr, PATCOPY, *brush);
  return 1;
}

int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  auto dc = dcOf(hDC);
  auto brush = brushOf(hbr);
  if (!dc || !brush || !lprc) return 0;
  const RECT r = dc->toDevice(*lprc);
  if (r.left >= r.right || r.top >= r.bottom) return 1;
  for (const RECT& side : {RECT{r.left, r.top, r.right, r.top + 1}, RECT{r.left, r.bottom - 1, r.right, r.bottom},
                           RECT{r.left, r.top, r.left + 1, r.bottom}, RECT{r.right - 1, r.top, r.right, r.bottom}})
    plat::Blitter::transfer(*dc, side, nullptr, PATCOPY, *brush);
  return 1;
}

BOOL DrawFocusRect(HDC hDC, const RECT* lprc) {
  auto dc = dcOf(hDC);
  if (!dc || !lprc) return FALSE;
  plat::Painter(*dc).invertDottedOutline(dc->toDevice(*lprc));
  return TRUE;
}

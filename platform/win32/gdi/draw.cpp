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

namespace {

// One ring of a 3-D edge: top and left in one colour, bottom and right in the other.
void edgeRing(plat::Painter& painter, const RECT& r, UINT sides, COLORREF topLeft, COLORREF bottomRight) {
  const plat::Pixel tl = plat::pixelFromColorRef(topLeft);
  const plat::Pixel br = plat::pixelFromColorRef(bottomRight);
  if (sides & BF_LEFT) painter.fillSolid(RECT{r.left, r.top, r.left + 1, r.bottom}, tl);
  if (sides & BF_TOP) painter.fillSolid(RECT{r.left, r.top, r.right, r.top + 1}, tl);
  if (sides & BF_RIGHT) painter.fillSolid(RECT{r.right - 1, r.top, r.right, r.bottom}, br);
  if (sides & BF_BOTTOM) painter.fillSolid(RECT{r.left, r.bottom - 1, r.right, r.bottom}, br);
}

RECT shrunk(const RECT& r, UINT sides) {
  return RECT{r.left + ((sides & BF_LEFT) ? 1 : 0), r.top + ((sides & BF_TOP) ? 1 : 0),
              r.right - ((sides & BF_RIGHT) ? 1 : 0), r.bottom - ((sides & BF_BOTTOM) ? 1 : 0)};
}

// Draws the edges of a device rectangle and returns what is left inside them.
RECT drawEdges(DrawingContext& dc, RECT r, UINT edge, UINT flags) {
  plat::Painter painter(dc);
  const UINT sides = flags & BF_RECT;
  if (edge & BDR_OUTER) {
    const bool raised = edge & BDR_RAISEDOUTER;
    edgeRing(painter, r, sides, GetSysColor(raised ? COLOR_3DLIGHT : COLOR_3DSHADOW),
             GetSysColor(raised ? COLOR_3DDKSHADOW : COLOR_3DHILIGHT));
    r = shrunk(r, sides);
  }
  if (edge & BDR_INNER) {
    const bool raised = edge & BDR_RAISEDINNER;
    edgeRing(painter, r, sides, GetSysColor(raised ? COLOR_3DHILIGHT : COLOR_3DDKSHADOW),
             GetSysColor(raised ? COLOR_3DSHADOW : COLOR_3DLIGHT));
    r = shrunk(r, sides);
  }
  if (flags & BF_MIDDLE) painter.fillSolid(r, plat::pixelFromColorRef(GetSysColor(COLOR_3DFACE)));
  return r;
}

// A filled triangle pointing `direction` (DFCS_SCROLLUP…) inside a device rectangle.
void arrow(DrawingContext& dc, const RECT& r, UINT direction, COLORREF color, int shift) {
  plat::Painter painter(dc);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const int size = std::max(2, std::min(w, h) / 3);  // length of the arrow's point
  const int cx = r.left + w / 2 + shift;
  const int cy = r.top + h / 2 + shift;
  const plat::Pixel pixel = plat::pixelFromColorRef(color);
  for (int i = 0; i < size; ++i) {
    // Row (or column) i from the point: 2i + 1 pixels across.
    switch (direction) {
      case DFCS_SCROLLUP:
        painter.fillSolid(RECT{cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i + 1}, pixel);
        break;
      case DFCS_SCROLLDOWN:
        painter.fillSolid(RECT{cx - i, cy + size / 2 - i, cx + i + 1, cy + size / 2 - i + 1}, pixel);
        break;
      case DFCS_SCROLLLEFT:
        painter.fillSolid(RECT{cx - size / 2 + i, cy - i, cx - size / 2 + i + 1, cy + i + 1}, pixel);
        break;
      default:
        painter.fillSolid(RECT{cx + size / 2 - i, cy - i, cx + size / 2 - i + 1, cy + i + 1}, pixel);
        break;
    }
  }
}

}  // namespace

BOOL DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags) {
  auto dc = dcOf(hdc);
  if (!dc || !qrc) return FALSE;
  const RECT inside = drawEdges(*dc, dc->toDevice(*qrc), edge, grfFlags);
  if (grfFlags & BF_ADJUST) {
    const POINT a = dc->toLogical(POINT{inside.left, inside.top});
    const POINT b = dc->toLogical(POINT{inside.right, inside.bottom});
    *qrc = RECT{a.x, a.y, b.x, b.y};
  }
  return TRUE;
}

BOOL DrawFrameControl(HDC hdc, LPRECT lprc, UINT uType, UINT uState) {
  auto dc = dcOf(hdc);
  const UINT direction = uState & 0xFF;
  if (!dc || !lprc || uType != DFC_SCROLL || direction > DFCS_SCROLLRIGHT) {
    if (dc) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT r = dc->toDevice(*lprc);
  const bool pushed = uState & DFCS_PUSHED;
  const UINT edge = (uState & DFCS_FLAT) ? 0 : pushed ? EDGE_SUNKEN : EDGE_RAISED;
  const RECT face = drawEdges(*dc, r, edge, BF_RECT | BF_MIDDLE);
  // A pushed arrow moves one pixel down and right; an inactive one is grey with a light shadow.
  const int shift = pushed ? 1 : 0;
  if (uState & DFCS_INACTIVE) {
    arrow(*dc, face, direction, GetSysColor(COLOR_3DHILIGHT), shift + 1);
    arrow(*dc, face, direction, GetSysColor(COLOR_GRAYTEXT), shift);
  } else {
    arrow(*dc, face, direction, GetSysColor(COLOR_BTNTEXT), shift);
  }
  return TRUE;
}

BOOL DrawFocusRect(HDC hDC, const RECT* lprc) {
  auto dc = dcOf(hDC);
  if (!dc || !lprc) return FALSE;
  plat::Painter(*dc).invertDottedOutline(dc->toDevice(*lprc));
  return TRUE;
}

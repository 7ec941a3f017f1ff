#include <win32/user/ScrollBarPainter.h>

#include <win32/gdi/draw.h>
#include <win32/gdi/windowdc.h>
#include <win32/user/metrics.h>

namespace plat {

namespace {

using Part = ScrollBarGeometry::Part;

void fill(HDC hdc, const RECT& rect, int colour) {
  FillRect(hdc, &rect, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(colour + 1)));
}

UINT arrowState(const ScrollBarGeometry& bar, bool atStart, Part pressed) {
  UINT state = bar.vertical() ? (atStart ? DFCS_SCROLLUP : DFCS_SCROLLDOWN)
                              : (atStart ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
  if (!bar.enabled()) state |= DFCS_INACTIVE;
  if (pressed == (atStart ? Part::LineUp : Part::LineDown)) state |= DFCS_PUSHED;
  return state;
}

}  // namespace

void ScrollBarPainter::paint(HDC hdc, const ScrollBarGeometry& bar, Part pressed) {
  for (const bool atStart : {true, false}) {
    RECT arrow = bar.arrow(atStart);
    DrawFrameControl(hdc, &arrow, DFC_SCROLL, arrowState(bar, atStart, pressed));
  }
  fill(hdc, bar.trackPart(true), COLOR_SCROLLBAR);
  fill(hdc, bar.trackPart(false), COLOR_SCROLLBAR);
  RECT thumb = bar.thumb();
  if (thumb.right <= thumb.left) return;
  fill(hdc, thumb, COLOR_BTNFACE);
  DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT);
}

void ScrollBarPainter::paintCorner(HDC hdc, const RECT& corner) { fill(hdc, corner, COLOR_BTNFACE); }

void ScrollBarPainter::repaint(HWND hwnd, int bar, Part pressed) {
  const auto geometry = ScrollBarGeometry::of(hwnd, bar);
  if (!geometry) return;
  HDC hdc = GetWindowDC(hwnd);
  if (!hdc) return;
  paint(hdc, *geometry, pressed);
  ReleaseDC(hwnd, hdc);
}

}  // namespace plat

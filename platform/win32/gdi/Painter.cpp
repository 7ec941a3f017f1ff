#include <win32/gdi/Painter.h>

#include <cstdlib>

namespace plat {

void Painter::fillSolid(const RECT& device, Pixel color) {
  Surface& surface = m_dc.surface();
  m_dc.forEachSurfaceRect(device, [&](const RECT& r) { surface.fill(r, color); });
}

void Painter::plot(int x, int y, Pixel color, int width) {
  if (width == 1) {
    if (const auto at = m_dc.surfacePoint(x, y)) m_dc.surface().setPixel(at->x, at->y, color);
    return;
  }
  const int half = width / 2;
  fillSolid(RECT{x - half, y - half, x - half + width, y - half + width}, color);
}

void Painter::line(POINT from, POINT to, const PenObject& pen) {
  if (pen.isNull()) return;
  const Pixel color = pixelFromColorRef(pen.color());
  const int width = pen.width();
  if (width == 1 && (from.x == to.x || from.y == to.y)) {
    // Straight lines as one fill: the end point is left out.
    const RECT r = from.y == to.y ? (from.x <= to.x ? RECT{from.x, from.y, to.x, from.y + 1}
                                                     : RECT{to.x + 1, from.y, from.x + 1, from.y + 1})
                                  : (from.y <= to.y ? RECT{from.x, from.y, from.x + 1, to.y}
                                                     : RECT{from.x, to.y + 1, from.x + 1, from.y + 1});
    fillSolid(r, color);
    return;
  }
  // Bresenham from `from`, stopping before `to`.
  const int dx = std::abs(to.x - from.x);
  const int dy = -std::abs(to.y - from.y);
  const int sx = from.x < to.x ? 1 : -1;
  const int sy = from.y < to.y ? 1 : -1;
  int err = dx + dy;
  int x = from.x;
  int y = from.y;
  while (x != to.x || y != to.y) {
    plot(x, y, color, width);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void Painter::outline(const RECT& r, const PenObject& pen) {
  if (pen.isNull()) return;
  const Pixel color = pixelFromColorRef(pen.color());
  const LONG w = pen.width();
  fillSolid(RECT{r.left, r.top, r.right, r.top + w}, color);
  fillSolid(RECT{r.left, r.bottom - w, r.right, r.bottom}, color);
  fillSolid(RECT{r.left, r.top + w, r.left + w, r.bottom - w}, color);
  fillSolid(RECT{r.right - w, r.top + w, r.right, r.bottom - w}, color);
}

void Painter::invertDottedOutline(const RECT& r) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  Surface& surface = m_dc.surface();
  const POINT origin = m_dc.origin();
  const auto invertRun = [&](const RECT& side) {
    m_dc.forEachSurfaceRect(side, [&](const RECT& s) {
      for (int y = s.top; y < s.bottom; ++y) {
        for (int x = s.left; x < s.right; ++x) {
          if (((x - origin.x - r.left) + (y - origin.y - r.top)) & 1) continue;
          surface.setPixel(x, y, surface.pixel(x, y) ^ kWhitePixel);
        }
      }
    });
  };
  invertRun(RECT{r.left, r.top, r.right, r.top + 1});
  if (r.bottom - r.top > 1) invertRun(RECT{r.left, r.bottom - 1, r.right, r.bottom});
  invertRun(RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1});
  if (r.right - r.left > 1) invertRun(RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1});
}

}  // namespace plat

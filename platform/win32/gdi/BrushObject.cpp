#include <win32/gdi/BrushObject.h>

#include <win32/gdi/draw.h>
#include <win32/gdi/object.h>

#include <algorithm>
#include <cstring>

namespace plat {

std::shared_ptr<BrushObject> BrushObject::solid(COLORREF color) {
  return std::shared_ptr<BrushObject>(new BrushObject(Style::Solid, color & 0xFFFFFF));
}

std::shared_ptr<BrushObject> BrushObject::hollow() {
  return std::shared_ptr<BrushObject>(new BrushObject(Style::Hollow, 0));
}

std::shared_ptr<BrushObject> BrushObject::pattern(Surface pattern, HBITMAP patternHandle) {
  std::shared_ptr<BrushObject> brush(new BrushObject(Style::Pattern, 0));
  brush->m_pattern.emplace(std::move(pattern));
  brush->m_patternHandle = patternHandle;
  return brush;
}

DWORD BrushObject::objectType() const { return OBJ_BRUSH; }

int BrushObject::describe(int size, void* out) const {
  if (!out) return sizeof(LOGBRUSH);
  LOGBRUSH lb{};
  switch (m_style) {
    case Style::Solid:
      lb.lbStyle = BS_SOLID;
      lb.lbColor = m_color;
      break;
    case Style::Hollow:
      lb.lbStyle = BS_NULL;
      break;
    case Style::Pattern:
      lb.lbStyle = BS_PATTERN;
      lb.lbHatch = reinterpret_cast<ULONG_PTR>(m_patternHandle);
      break;
  }
  const int n = std::min<int>(size, sizeof(LOGBRUSH));
  std::memcpy(out, &lb, static_cast<std::size_t>(n));
  return n;
}

void BrushObject::fillSpan(int x, int y, int count, POINT brushOrigin, Pixel text, Pixel background,
                           Pixel* out) const {
  if (m_style != Style::Pattern) {
    std::fill(out, out + count, pixelFromColorRef(m_color));
    return;
  }
  const Surface& p = *m_pattern;
  const int w = p.width();
  const int h = p.height();
  const int py = ((y - brushOrigin.y) % h + h) % h;
  int px = ((x - brushOrigin.x) % w + w) % w;
  for (int i = 0; i < count; ++i) {
    Pixel v = p.pixel(px, py);
    if (p.isMono()) v = v == kBlackPixel ? text : background;
    out[i] = v;
    if (++px == w) px = 0;
  }
}

}  // namespace plat

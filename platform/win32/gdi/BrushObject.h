// A brush: a solid colour, nothing (the null brush) or a pattern tiled from the brush
// origin. A monochrome pattern takes its colours from the device context it paints.
#pragma once

#include <win32/gdi/GdiObject.h>
#include <win32/gdi/Surface.h>

#include <optional>

namespace plat {

class BrushObject : public GdiObject {
 public:
  static std::shared_ptr<BrushObject> solid(COLORREF color);
  static std::shared_ptr<BrushObject> hollow();
  // `patternHandle` is the bitmap it was made from, reported by GetObject.
  static std::shared_ptr<BrushObject> pattern(Surface pattern, HBITMAP patternHandle);

  DWORD objectType() const override;
  int describe(int size, void* out) const override;

  bool isHollow() const { return m_style == Style::Hollow; }
  // The brush's pixels for `count` device pixels from (x, y).
  void fillSpan(int x, int y, int count, POINT brushOrigin, Pixel text, Pixel background, Pixel* out) const;

 private:
  enum class Style { Solid, Hollow, Pattern };
  BrushObject(Style style, COLORREF color) : m_style(style), m_color(color) {}

  Style m_style;
  COLORREF m_color;
  std::optional<Surface> m_pattern;
  HBITMAP m_patternHandle = nullptr;
};

}  // namespace plat

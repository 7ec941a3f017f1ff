// A pen: style, width and colour. Every style but PS_NULL draws solid lines.
#pragma once

#include <win32/gdi/GdiObject.h>

namespace plat {

class PenObject : public GdiObject {
 public:
  PenObject(int style, int width, COLORREF color) : m_style(style), m_width(width < 1 ? 1 : width), m_color(color & 0xFFFFFF) {}

  DWORD objectType() const override;
  int describe(int size, void* out) const override;

  bool isNull() const;
  int width() const { return m_width; }
  COLORREF color() const { return m_color; }

 private:
  int m_style;
  int m_width;
  COLORREF m_color;
};

}  // namespace plat

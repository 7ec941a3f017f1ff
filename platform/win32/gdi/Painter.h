// Drawing primitives on a device context in device units, clipped as the context
// clips: solid fills, pen lines (end point left out, as LineTo draws them) and the
// dotted XOR outline of focus rectangles.
#pragma once

#include <win32/gdi/DrawingContext.h>

namespace plat {

class Painter {
 public:
  explicit Painter(DrawingContext& dc) : m_dc(dc) {}

  void fillSolid(const RECT& device, Pixel color);
  // A line of the pen from `from` up to, but not including, `to`.
  void line(POINT from, POINT to, const PenObject& pen);
  // The outline of the pen inside `device` (Rectangle's frame).
  void outline(const RECT& device, const PenObject& pen);
  // Inverts every other pixel of the rectangle's outline, the first at its top-left.
  void invertDottedOutline(const RECT& device);

 private:
  void plot(int x, int y, Pixel color, int width);

  DrawingContext& m_dc;
};

}  // namespace plat

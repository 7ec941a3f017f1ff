#include "Faces.h"

#include "Glyphs.h"

namespace skingen {

void drawFace(Canvas& canvas, const Box& box, double radius, const theme::StateLook& look) {
  canvas.fill(Shape::roundRect(box.left, box.top, box.right, box.bottom, radius), Paint::solid(look.rim));
  canvas.fill(Shape::roundRect(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, radius - 1),
              Paint::vertical(look.faceTop, look.faceBottom, box.top, box.bottom));
}

void drawGlyph(Canvas& canvas, const std::string& name, double cx, double cy, double size, Rgb colour) {
  canvas.fill(glyph(name, cx, cy, size), Paint::solid(colour));
}

}  // namespace skingen

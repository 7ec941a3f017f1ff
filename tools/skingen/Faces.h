// Pieces every painter shares: a rounded face with a one-pixel rim in a button state's
// colours, and an icon placed on a canvas.
#pragma once

#include "Canvas.h"
#include "Theme.h"

#include <string>

namespace skingen {

void drawFace(Canvas& canvas, const Box& box, double radius, const theme::StateLook& look);
void drawGlyph(Canvas& canvas, const std::string& name, double cx, double cy, double size, Rgb colour);

}  // namespace skingen

// The pictures of a skinned window's labels and radio buttons: a label is a pale readout
// panel the window stretches behind its text (the text itself is the window's), a radio
// picture holds the button's unchecked and checked image side by side, its caption in it.
#pragma once

#include "Canvas.h"
#include "Description.h"
#include "TextPainter.h"

#include <string>

namespace skingen {

Canvas drawLabelPanel(int width, int height);
// A dark readout for labels that write white.
Canvas drawDarkLabelPanel(int width, int height);
// Twice `width` wide: unchecked on the left, checked on the right.
Canvas drawRadioPicture(int width, int height, const std::string& caption, TextPainter& text);
// The same over the window's background at the radio's place, so its corners match what
// lies around it.
Canvas drawRadioPicture(const Canvas& background, const Rect& place, const std::string& caption, TextPainter& text);

}  // namespace skingen

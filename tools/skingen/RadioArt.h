// The picture strip of a latching radio button (the video editor's track choice): five
// images side by side, each the size of the button's rectangle, drawn over the window's
// background at that place: normal, hover, checked, checked with hover, disabled. A
// checked button shows a lit mark at its right end.
#pragma once

#include "Canvas.h"
#include "Description.h"
#include "TextPainter.h"

namespace skingen {

Canvas drawRadioStrip(const WindowButton& button, const Canvas& background, TextPainter& text);

}  // namespace skingen

// The picture strip of a skinned window's button: four images side by side (normal,
// hover, pressed, disabled), each the size of the button's rectangle, drawn over the
// window's own background at that place so its corners blend in.
#pragma once

#include "Canvas.h"
#include "Description.h"
#include "TextPainter.h"

namespace skingen {

Canvas drawButtonStrip(const WindowButton& button, const Canvas& background, const Rect& place, TextPainter& text);

// A latching button's five images: normal, hover, checked, checked with hover, disabled.
Canvas drawLatchStrip(const WindowButton& button, const Canvas& background, TextPainter& text);

}  // namespace skingen

// The control bar's five whole-bar pictures: the bar in its normal, hovered, pressed
// and disabled looks (every button and the progress bar drawn in that state over the same
// body), and the mask: magenta where the bar is not, black body, and each control's hit
// area in pure white.
#pragma once

#include "Canvas.h"
#include "Description.h"
#include "TextPainter.h"

namespace skingen {

struct BarPictures {
  Canvas normal, mask, hovered, pressed, disabled;
};

BarPictures drawBar(const BarSkin& bar, TextPainter& text);

// The colour of the controls' hit areas in the mask, as written into the skin file.
inline constexpr Rgb kBarHitColour{255, 255, 255};

}  // namespace skingen

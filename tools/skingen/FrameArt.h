// A framed window's pictures: the frame picture whose nine parts, active above inactive,
// the skinned frame cuts out (rounded top corners keyed out in magenta, a caption bar with
// the program's picture at its left), and the strips of its bar buttons drawn over the
// program's button band.
#pragma once

#include "Canvas.h"
#include "Description.h"
#include "TextPainter.h"

#include <string>

namespace skingen {

// The frame's measures: caption bar height, side width, bottom height, and the width of
// the corner and middle parts.
inline constexpr int kFrameTop = 26;
inline constexpr int kFrameSide = 4;
inline constexpr int kFrameBottom = 4;
inline constexpr int kFramePart = 16;
// The height of one look's block in the picture: active at 0, inactive below it.
inline constexpr int kFrameBlock = kFrameTop + kFramePart + kFrameBottom;

Canvas drawFramePicture();
// The nine part rectangles of the look (0 active, 1 inactive) as the skin file names them.
std::string framePartLines(int look);
// The four-state strip of a bar button over the band it sits on.
Canvas drawFrameButtonStrip(const WindowButton& button, TextPainter& text);

}  // namespace skingen

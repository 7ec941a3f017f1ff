// The background of a skinned window at a given client size, drawn in the 1024 × 768
// design space scaled to that size: the gradient, the caption strip with the title, and
// the panels and video frames the window's kind asks for ("launcher", "tv", "channel",
// "pic", "settings", "player" or "video").
#pragma once

#include "Canvas.h"
#include "Description.h"
#include "TextPainter.h"

namespace skingen {

Canvas drawBackground(const WindowSkin& skin, int width, int height, TextPainter& text);

}  // namespace skingen

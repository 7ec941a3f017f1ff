// The icon shapes of buttons and resources, by name ("play", "gear", "tv" …), drawn in a
// square of the given size around a centre. Each is one plain shape; the caller colours it.
#pragma once

#include "Shape.h"

#include <string>

namespace skingen {

// Throws std::runtime_error for an unknown name.
Shape glyph(const std::string& name, double cx, double cy, double size);
bool hasGlyph(const std::string& name);

}  // namespace skingen

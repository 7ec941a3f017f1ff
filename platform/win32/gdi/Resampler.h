// The filtered scale behind HALFTONE stretching: each output pixel is the area average
// of the source pixels it covers when shrinking, and a bilinear blend of the nearest
// four when enlarging. Separable, in fixed point.
#pragma once

#include <win32/gdi/Surface.h>

namespace plat {

class Resampler {
 public:
  // Scales `source` (a rectangle inside `surface`) to width × height, mirrored as asked,
  // and returns the piece `part` of the result (coordinates inside width × height) as a
  // 32-bit surface.
  static Surface scale(const Surface& surface, const RECT& source, int width, int height, bool flipX, bool flipY,
                       const RECT& part);
};

}  // namespace plat

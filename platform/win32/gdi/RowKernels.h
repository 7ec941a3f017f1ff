// Whole-row pixel loops for the blits that need no general pipeline: a colour source
// copied or combined (SRCCOPY, SRCPAINT, SRCAND, SRCINVERT) into a colour destination of
// 24 or 32 bits, and the destination-only operations (DSTINVERT, BLACKNESS, WHITENESS).
// Each loop works on a row's bytes in place, without unpacking to pixel words first,
// and is written so that the compiler vectorises it; the result is the general path's to
// the byte, the unused byte of a 32-bit pixel included (written as 0).
#pragma once

#include <win32/gdi/Surface.h>

#include <cstdint>

namespace plat {

class RowKernels {
 public:
  // `source` null when the operation reads none.
  using Kernel = void (*)(const std::uint8_t* source, std::uint8_t* dest, int count);

  // The loop for raster operation `rop` from `source` to `dest` pixels, or null when the
  // general pipeline must do it (monochrome, patterns, other operations).
  static Kernel find(std::uint8_t rop, PixelFormat source, PixelFormat dest);
  static Kernel find(std::uint8_t rop, PixelFormat dest);
};

}  // namespace plat

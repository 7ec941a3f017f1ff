// Block transfers into a device context: the raster operation applied row by row over
// the drawable parts of the destination, with the monochrome conversion rules, the
// brush pattern aligned to the brush origin, and stretching by nearest pixel or through
// the resampler (HALFTONE).
#pragma once

#include <win32/gdi/DrawingContext.h>

#include <optional>

namespace plat {

class Blitter {
 public:
  struct Source {
    const Surface& surface;
    // Surface position of the pixel that lands on the destination rectangle's top-left.
    int x;
    int y;
    // The source context's background colour: the colour that becomes 1 in a monochrome
    // destination.
    Pixel background;
  };

  // `device`: destination rectangle in device units. `source` may be null when the
  // operation does not read one.
  static void transfer(DrawingContext& dst, const RECT& device, const Source* source, DWORD rop);
  // A transfer with another brush than the selected one (FillRect).
  static void transfer(DrawingContext& dst, const RECT& device, const Source* source, DWORD rop,
                       const BrushObject& brush);
  // Copies the source pixels whose mask pixel (same place in `mask`) is black.
  static void transferMasked(DrawingContext& dst, const RECT& device, const Source& source, const Surface& mask);
  // Copies the source pixels that are not `key`.
  static void transferKeyed(DrawingContext& dst, const RECT& device, const Source& source, Pixel key);

  struct Stretch {
    RECT device;  // destination, normalised
    RECT source;  // surface rectangle of the source, normalised
    bool flipX;
    bool flipY;
    bool halftone;
  };
  static void stretch(DrawingContext& dst, const Stretch& how, const Surface& source, Pixel background, DWORD rop,
                      std::optional<Pixel> key);
};

}  // namespace plat

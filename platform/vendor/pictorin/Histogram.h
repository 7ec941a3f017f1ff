// The colour histogram of 24-bit pixels (red, green, blue and lightness, 256 bins each)
// and its drawing as curves over a rectangle of a device context.
#pragma once

#include <win32/gdi.h>
#include <win32/types.h>

#include <cstdint>

class Histogram {
 public:
  static void count(const std::uint8_t* bits, int width, int height, int stride, int channelMask, DWORD* counts,
                    DWORD* maxima);
  static void draw(HDC hdc, const RECT& rect, int colorCount, int channelMask, const DWORD* counts,
                   const DWORD* maxima, const COLORREF* colors);
};

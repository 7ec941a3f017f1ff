// The four colour adjustments, in place on rows of 24-bit pixels (blue, green, red).
// Lightness and contrast map each byte through a table; saturation and hue mix the three
// channels of a pixel in fixed point. The caller has checked the layout.
#pragma once

#include <cstdint>

class PixelAdjust {
 public:
  static void lightness(std::uint8_t* bits, int width, int height, int stride, int value);
  static void contrast(std::uint8_t* bits, int width, int height, int stride, int value);
  static void saturation(std::uint8_t* bits, int width, int height, int stride, int value);
  static void hue(std::uint8_t* bits, int width, int height, int stride, int value);
};

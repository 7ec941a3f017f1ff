// YUY2 (Y0 U Y1 V) to RGB in integer arithmetic (BT.601 studio range), one row at a
// time: the hot path of the AVI Decompressor, the video renderers and RGB capture. And
// 4:2:0 planes into YUY2, the MPEG video decoder's output.
#pragma once

#include <cstdint>

namespace plat {

class Yuy2Converter {
 public:
  // `width` pixels to 3 (B, G, R) or 4 (B, G, R, 0) bytes each.
  static void toBgr(const std::uint8_t* yuy2, int width, std::uint8_t* out, int bytesPerPixel);
  // `width` pixels to 0x00RRGGBB words.
  static void toPacked(const std::uint8_t* yuy2, int width, std::uint32_t* out);
  // An even `width` of pixels from a row of luma and the chroma rows (of width / 2) it
  // shares with its neighbour row, interleaved as YUY2.
  static void fromPlanes(const std::uint8_t* y, const std::uint8_t* u, const std::uint8_t* v, int width,
                         std::uint8_t* out);
};

}  // namespace plat

// The pictures the simulated capture hardware sees, painted as packed YUY2 (Y0 U Y1 V):
//
// - a station: a background in a colour of its own (from its channel number), a white
//   bar sweeping left to right once every four seconds, the channel number large at the
//   top left and the station's name below it;
// - an external source: eight colour bars with the source's name;
// - no signal: snow, different in every frame.
//
// Pictures depend only on the scene, the time and the frame number, so a test can say
// what any pixel must be.
#pragma once

#include <machine/Broadcast.h>

#include <cstdint>

namespace plat {

struct Rgb {
  std::uint8_t r, g, b;
};

class TestPicture {
 public:
  // width must be even; stride in bytes (at least width * 2).
  static void paintYuy2(const Scene& scene, std::int64_t timeMs, std::uint64_t frame, int width, int height,
                        std::uint8_t* out, int stride);
  // A station's background colour.
  static Rgb stationColour(int number);
  // Where the sweeping bar starts and how wide it is, for a picture of this width.
  static int barLeft(std::int64_t timeMs, int width);
  static int barWidth(int width) { return width / 16 > 1 ? width / 16 : 2; }

  // BT.601 studio-range conversions used by the pictures and by the renderers.
  static void rgbToYuv(Rgb rgb, std::uint8_t& y, std::uint8_t& u, std::uint8_t& v);
  static Rgb yuvToRgb(std::uint8_t y, std::uint8_t u, std::uint8_t v);
};

}  // namespace plat

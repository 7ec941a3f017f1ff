// Pictures that carry their own frame number: the upper half shows the number in binary
// as eight stripes across the picture (white for 1, black for 0, the highest bit on the
// left), the lower half is blue. Stripes and halves are wide enough to come through
// MPEG and JPEG coding and any scaling, so a picture read back from a screen, a bitmap or
// a decoded file tells which source frame it is, and that it stands the right way up.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

struct IBasicVideo;

namespace dstest {

class NumberedPicture {
 public:
  static constexpr int kLargest = 255;

  struct Rgb {
    int r, g, b;
  };
  // The colour of frame `number` at (x, y) of a width × height picture.
  static Rgb colourAt(int number, int x, int y, int width, int height);
  // The number a picture shows, reading it through `at` (the colour at a fraction of
  // its width and height, from the top left); -1 when the picture shows none, or shows
  // it upside down.
  static int read(const std::function<Rgb(double fx, double fy)>& at);
  // The same from packed pixels: blue, green, red (and a fourth byte at 32 bits) of
  // `stride` bytes a row, the top row first unless `bottomUp`.
  static int read(const std::uint8_t* pixels, int width, int height, int bytesPerPixel, int stride, bool bottomUp);
  // The same from a renderer's current picture; -2 when it has none.
  static int read(IBasicVideo& video);
  static Rgb fromYuv(int y, int u, int v);
  // The numbers the first `count` pictures of a file show, decoded with FFmpeg (-1 for
  // a picture that shows none); fewer when the file has fewer.
  static std::vector<int> numbersIn(const std::filesystem::path& file, int count);
  // Where a file's first picture starts on its time line, which players count from the
  // file's first packet (sound may lead): 100-ns units, read with FFmpeg.
  static std::int64_t firstPictureTime(const std::filesystem::path& file);
  // The frame of a stream of rateNum / rateDen frames a second shown at `time` (100-ns
  // units from the first frame's start): the last one starting at or before it.
  static int shownAt(std::int64_t time, int rateNum, int rateDen);
};

}  // namespace dstest

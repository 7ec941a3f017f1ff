// The 3 x 3 smoothing filters on 24-bit pixels, a row at a time: the three source rows
// around it (the edge row standing in beyond the picture) give, per byte, the column
// sums (Gaussian) or the sorted column triples (median), and each output byte combines
// the columns of its own channel one pixel left and right. Every step is a plain loop
// over bytes, which the compiler turns into vector instructions; large pictures are filtered in bands of
// rows on up to four threads.
#pragma once

#include <cstdint>

class Smoothing {
 public:
  static void gauss(const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride);
  static void median(const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride);
};

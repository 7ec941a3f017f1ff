// The 3 x 3 smoothing filters on 24-bit pixels, per channel, the edge pixels standing in
// for those beyond the picture. A row is a flat array of bytes whose neighbours of the
// same channel sit 3 bytes away; blocks of rows are walked down 32 bytes at a time, each
// source row's part worked out once for the three output rows it touches. One thread:
// the callers smooth one picture at a time on the window's thread.
#pragma once

#include <cstdint>

class Smoothing {
 public:
  static void gauss(const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride);
  static void median(const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride);
};

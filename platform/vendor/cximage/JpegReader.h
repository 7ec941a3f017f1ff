// Decodes a JPEG file held in memory with libjpeg-turbo, straight into BGR rows, at a
// scale of 1/1, 1/2, 1/4 or 1/8: the smaller scales skip most of the inverse transform,
// which is what makes thumbnails cheap. A file that ends before its picture does is
// refused rather than shown half grey.
#pragma once

#include "CxImagePixels.h"

#include <cstdint>
#include <span>

class JpegReader {
 public:
  // The picture's full size from its header; null on success, else why it was refused.
  static const char* readSize(std::span<const std::uint8_t> file, int& width, int& height);
  // Null on success, else why the file was refused.
  static const char* read(std::span<const std::uint8_t> file, int denominator, DecodedPicture& out);
};

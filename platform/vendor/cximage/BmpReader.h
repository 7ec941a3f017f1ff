// Decodes a BMP file held in memory: an information header of 40 bytes or one of its
// longer versions, uncompressed, 1, 4, 8, 24 or 32 bits a pixel, bottom-up or top-down.
// Everything it reads is checked against the file's size first.
#pragma once

#include "CxImagePixels.h"

#include <cstdint>
#include <span>

class BmpReader {
 public:
  // Null on success, else why the file was refused.
  static const char* read(std::span<const std::uint8_t> file, DecodedPicture& out);
};

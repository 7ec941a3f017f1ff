// Decodes a PNG file held in memory with libpng's simplified reader, every colour type
// and depth turned into BGR rows; transparent pixels are laid over white, as thumbnails
// show them.
#pragma once

#include "CxImagePixels.h"

#include <cstdint>
#include <span>

class PngReader {
 public:
  // Null on success, else why the file was refused.
  static const char* read(std::span<const std::uint8_t> file, DecodedPicture& out);
};

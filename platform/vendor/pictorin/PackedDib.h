// Packed DIBs as the library hands them out: a 40-byte header, no colour table, 24-bit
// bottom-up rows padded to 4 bytes, in a movable global block. Reading a BMP file checks
// every size against the file before a byte is copied.
#pragma once

#include <win32/gdi.h>
#include <win32/types.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class PackedDib {
 public:
  static bool sizeAllowed(long long width, long long height);
  static std::size_t strideOf(long long width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }
  // The pixel layout every function taking bare pixels accepts.
  static bool layoutAllowed(int width, int height, int srcBytesPerPixel, int dstBytesPerPixel, int stride);

  // A new block holding the BMP file's picture, or NULL.
  static HGLOBAL fromFile(std::span<const std::uint8_t> file);
  // The BMP file of a DIB of `size` bytes; false (nothing written) when the header does not
  // describe a 24-bit picture that fits the block.
  static bool toFile(const std::uint8_t* dib, std::size_t size, std::vector<std::uint8_t>& file);
  // The header of a DIB that fits `size` bytes, or null.
  static const BITMAPINFOHEADER* header(const std::uint8_t* dib, std::size_t size);
  // Where the bits of a packed DIB start, from its header alone.
  static std::size_t bitsOffset(const BITMAPINFOHEADER& header);
};

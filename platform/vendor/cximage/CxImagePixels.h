// What a CxImage holds: the file's bytes (a JPEG is decoded again at a larger scale when a
// drawing needs it) and the decoded pixels, 24-bit rows top-down, each padded to 4 bytes
// as a DIB's rows are, so they go into a DIB section as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rows;

  static std::size_t strideOf(int width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }
  std::size_t stride() const { return strideOf(width); }
  std::uint8_t* row(int y) { return rows.data() + static_cast<std::size_t>(y) * stride(); }
  // Sizes the rows for a picture, zeroed.
  void resize(int w, int h);
};

class CxImagePixels {
 public:
  // A picture no larger than the library's caps (a side and the whole area).
  static bool sizeAllowed(long long width, long long height);

  std::vector<std::uint8_t> file;
  DecodedPicture picture;
  // The scale the picture was decoded at: 1 for full size, 2, 4 or 8 for a JPEG's fractions.
  int denominator = 1;
};

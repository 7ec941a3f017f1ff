// Pictures for tests and benchmarks: a picture of known pixels and its bytes as a BMP,
// JPEG or PNG file, made with the same libraries the program reads them with, and PNG
// files (screenshots) read back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace test {

struct TestPicture {
  int width = 0;
  int height = 0;
  // Blue, green, red, top row first, no padding.
  std::vector<std::uint8_t> bgr;

  // Smooth colour ramps across and down, shifted by `seed`, so every picture differs.
  static TestPicture ramps(int width, int height, int seed = 0);
  static TestPicture solid(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r);
  std::uint8_t* at(int x, int y) { return &bgr[(static_cast<std::size_t>(y) * width + x) * 3]; }
  const std::uint8_t* at(int x, int y) const { return &bgr[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

// An uncompressed 24-bit BMP file (bottom-up unless `topDown`).
std::vector<std::uint8_t> BmpBytes(const TestPicture& picture, bool topDown = false);
// An 8-bit BMP whose palette holds the picture's first 256 colours met.
std::vector<std::uint8_t> PaletteBmpBytes(const TestPicture& picture);
std::vector<std::uint8_t> JpegBytes(const TestPicture& picture, int quality = 90);
std::vector<std::uint8_t> PngBytes(const TestPicture& picture);
void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
// A PNG file's pixels (a screenshot's); an empty picture when it cannot be read.
TestPicture ReadPngFile(const std::filesystem::path& file);

}  // namespace test

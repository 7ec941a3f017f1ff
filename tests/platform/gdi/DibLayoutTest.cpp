// Rows of bit-field pixels (16-bit 5-5-5 and 5-6-5, 32-bit with narrow, wide and empty
// fields) against the scaling rule written out per pixel: a field of n bits becomes
// round(v * 255 / (2^n - 1)), a field wider than 8 bits keeps its top 8.
#include <win32/gdi/DibLayout.h>

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <random>
#include <vector>

namespace {

using plat::DibLayout;
using plat::Pixel;

std::uint32_t scaled(DWORD value, DWORD mask) {
  if (!mask) return 0;
  const int bits = std::popcount(mask);
  const std::uint32_t v = (value & mask) >> std::countr_zero(mask);
  if (bits >= 8) return v >> (bits - 8);
  return (v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1);
}

TEST(DibLayoutTest, BitFieldRowsScaleEveryFieldAsThePerPixelRule) {
  struct Case {
    WORD bitCount;
    DWORD compression;
    DWORD masks[3];
  };
  const Case cases[] = {
      {16, BI_RGB, {0x7C00, 0x03E0, 0x001F}},
      {16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
      {16, BI_BITFIELDS, {0x0F00, 0x00F0, 0x000F}},
      {32, BI_BITFIELDS, {0x00FF0000, 0x0000FF00, 0x000000FF}},
      {32, BI_BITFIELDS, {0x3FF00000, 0x000FFC00, 0x000003FF}},  // 10 bits: the general way
      {32, BI_BITFIELDS, {0x00FF0000, 0, 0x000000FF}},
  };
  std::mt19937 rng(29);
  for (const Case& c : cases) {
    const int width = 37;
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), width, 1, 1, c.bitCount, c.compression, 0, 0, 0, 0, 0};
    const auto layout =
        DibLayout::from(header, reinterpret_cast<const std::uint8_t*>(c.masks), c.compression == BI_RGB ? 0 : 12);
    ASSERT_TRUE(layout) << std::hex << c.masks[0];
    std::vector<std::uint8_t> row(static_cast<std::size_t>(layout->stride()));
    for (auto& b : row) b = static_cast<std::uint8_t>(rng());
    std::vector<Pixel> out(static_cast<std::size_t>(width));
    layout->readRow(row.data(), out.data());
    const int bytes = c.bitCount / 8;
    for (int x = 0; x < width; ++x) {
      DWORD v = 0;
      std::memcpy(&v, row.data() + x * bytes, static_cast<std::size_t>(bytes));
      const Pixel expected = scaled(v, c.masks[0]) << 16 | scaled(v, c.masks[1]) << 8 | scaled(v, c.masks[2]);
      ASSERT_EQ(out[static_cast<std::size_t>(x)], expected) << std::hex << "masks " << c.masks[0] << ", pixel " << x;
    }
  }
}

}  // namespace

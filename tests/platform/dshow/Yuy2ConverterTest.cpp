// The vectorised YUY2 converter against the plain per-pixel formula (BT.601 studio range
// in integers) on random rows, in each of its outputs; and 4:2:0 planes interleaved into
// YUY2 byte by byte.
#include <dshow/filters/Yuy2Converter.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using plat::Yuy2Converter;

// 0x00RRGGBB of pixel x of a row, one pixel at a time.
std::uint32_t referencePixel(const std::vector<std::uint8_t>& row, int x) {
  const auto clip = [](int v) { return static_cast<std::uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
  const std::size_t pair = static_cast<std::size_t>(x / 2) * 4;
  const int luma = row[pair + static_cast<std::size_t>(x % 2) * 2];
  const int d = row[pair + 1] - 128;
  const int e = pair + 3 < row.size() ? row[pair + 3] - 128 : 0;
  const int c = 298 * (luma - 16);
  return clip((c + 409 * e + 128) >> 8) << 16 | clip((c - 100 * d - 208 * e + 128) >> 8) << 8 |
         clip((c + 516 * d + 128) >> 8);
}

TEST(Yuy2ConverterTest, EveryOutputMatchesThePerPixelFormulaOnRandomRows) {
  std::mt19937 rng(5);
  for (int width : {1, 2, 3, 7, 16, 33, 720, 721}) {
    // Exactly the row's bytes, so that reading past it shows under the address sanitizer.
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 2);
    for (auto& b : row) b = static_cast<std::uint8_t>(rng());
    std::vector<std::uint32_t> packed(static_cast<std::size_t>(width));
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(width) * 3);
    std::vector<std::uint8_t> bgrx(static_cast<std::size_t>(width) * 4, 0xAA);
    Yuy2Converter::toPacked(row.data(), width, packed.data());
    Yuy2Converter::toBgr(row.data(), width, bgr.data(), 3);
    Yuy2Converter::toBgr(row.data(), width, bgrx.data(), 4);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t expected = referencePixel(row, x);
      const auto i = static_cast<std::size_t>(x);
      ASSERT_EQ(packed[i], expected) << "width " << width << ", pixel " << x;
      ASSERT_EQ(bgr[3 * i] | bgr[3 * i + 1] << 8 | bgr[3 * i + 2] << 16, static_cast<int>(expected));
      ASSERT_EQ(bgrx[4 * i] | bgrx[4 * i + 1] << 8 | bgrx[4 * i + 2] << 16 | bgrx[4 * i + 3] << 24,
                static_cast<int>(expected));
    }
  }
}

TEST(Yuy2ConverterTest, PlanesInterleaveAsLumaULumaVOnRandomRows) {
  std::mt19937 rng(7);
  // Below, at and past the vector widths, and a picture's width.
  for (int width : {2, 30, 32, 34, 64, 66, 126, 720}) {
    const auto half = static_cast<std::size_t>(width / 2);
    // Exactly the rows' bytes, so that reading or writing past them shows under the
    // address sanitizer.
    std::vector<std::uint8_t> y(half * 2), u(half), v(half);
    for (auto* plane : {&y, &u, &v})
      for (auto& b : *plane) b = static_cast<std::uint8_t>(rng());
    std::vector<std::uint8_t> out(half * 4);
    Yuy2Converter::fromPlanes(y.data(), u.data(), v.data(), width, out.data());
    for (std::size_t pair = 0; pair < half; ++pair) {
      ASSERT_EQ(out[4 * pair], y[2 * pair]) << "width " << width << ", pair " << pair;
      ASSERT_EQ(out[4 * pair + 1], u[pair]);
      ASSERT_EQ(out[4 * pair + 2], y[2 * pair + 1]);
      ASSERT_EQ(out[4 * pair + 3], v[pair]);
    }
  }
}

}  // namespace

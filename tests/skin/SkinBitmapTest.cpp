#include "GdiTestSupport.h"

#include "skin/SkinBitmap.h"

#include <mfc/afx.h>

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr COLORREF kKey = 0xFF00FF;  // magenta: the same read as RGB or as blue/green/red

// Every pixel of the bitmap agrees with the region: in it exactly when not transparent.
void ExpectRegionMatchesPixels(HRGN hRegion, int cx, int cy, const std::function<bool(int, int)>& opaque) {
  ASSERT_NE(hRegion, nullptr);
  for (int y = -1; y <= cy; ++y) {
    for (int x = -1; x <= cx; ++x) {
      const bool inside = x >= 0 && y >= 0 && x < cx && y < cy && opaque(x, y);
      ASSERT_EQ(PtInRegion(hRegion, x, y) != FALSE, inside) << x << "," << y;
    }
  }
}

TEST(BitmapToRegionTest, MatchesABruteForceScanOfRandomPixels) {
  std::mt19937 random(7);
  std::vector<bool> opaque(37 * 23);
  for (std::size_t i = 0; i < opaque.size(); ++i) opaque[i] = random() % 3 != 0;
  const auto isOpaque = [&](int x, int y) { return opaque[static_cast<std::size_t>(y) * 37 + x]; };
  HBITMAP hBitmap = test::MakeBitmap(37, 23, [&](int x, int y) { return isOpaque(x, y) ? RGB(x * 5, y * 9, 40) : kKey; });
  HRGN hRegion = BitmapToRegion(hBitmap, kKey);
  ExpectRegionMatchesPixels(hRegion, 37, 23, isOpaque);
  DeleteObject(hRegion);
  DeleteObject(hBitmap);
}

// A 32-bit section is read where its bits lie, bottom-up or top-down, as any bitmap is.
TEST(BitmapToRegionTest, SectionsOfEitherRowOrderGiveTheRegionOfTheirPixels) {
  const auto opaque = [](int x, int y) { return (x * 3 + y * 7) % 5 != 0; };
  for (const LONG height : {17L, -17L}) {
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 29, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP hSection = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(hSection, nullptr);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < 17; ++y) {
      const int row = height > 0 ? 16 - y : y;
      for (int x = 0; x < 29; ++x) pixels[row * 29 + x] = opaque(x, y) ? 0x00102030 : 0x00FF00FF;
    }
    HRGN hRegion = BitmapToRegion(hSection, kKey);
    ExpectRegionMatchesPixels(hRegion, 29, 17, opaque);
    DeleteObject(hRegion);
    DeleteObject(hSection);
  }
}

TEST(BitmapToRegionTest, AnOpaqueBitmapIsOneRectangleAndATransparentOneIsEmpty) {
  HBITMAP hOpaque = test::MakeBitmap(12, 9, [](int, int) { return RGB(1, 2, 3); });
  HRGN hRegion = BitmapToRegion(hOpaque, kKey);
  RECT box{};
  EXPECT_EQ(GetRgnBox(hRegion, &box), SIMPLEREGION);
  EXPECT_EQ(CRect(box), CRect(0, 0, 12, 9));
  DeleteObject(hRegion);

  HBITMAP hClear = test::MakeBitmap(12, 9, [](int, int) { return kKey; });
  hRegion = BitmapToRegion(hClear, kKey);
  ASSERT_NE(hRegion, nullptr);
  EXPECT_EQ(GetRgnBox(hRegion, &box), NULLREGION);
  DeleteObject(hRegion);
  DeleteObject(hOpaque);
  DeleteObject(hClear);
}

TEST(BitmapToRegionTest, ManyRectanglesAreJoinedAcrossBlocks) {
  // A checkerboard of 120 x 90 has 5400 one-pixel rectangles: three blocks.
  const auto opaque = [](int x, int y) { return (x + y) % 2 == 0; };
  HBITMAP hBitmap = test::MakeBitmap(120, 90, [&](int x, int y) { return opaque(x, y) ? RGB(0, 0, 0) : kKey; });
  HRGN hRegion = BitmapToRegion(hBitmap, kKey);
  ExpectRegionMatchesPixels(hRegion, 120, 90, opaque);
  DeleteObject(hRegion);
  DeleteObject(hBitmap);
}

TEST(BitmapToRegionTest, TheMaskColourIsMatchedAsBlueGreenRed) {
  // "MaskColor 10,20,30" is read as 10 + 20 * 256 + 30 * 65536 and matches blue 10,
  // green 20, red 30, which as a GDI colour is RGB(30, 20, 10).
  const COLORREF mask = 10 + 20 * 256 + 30 * 65536;
  HBITMAP hBitmap = test::MakeBitmap(4, 1, [](int x, int) { return x < 2 ? RGB(30, 20, 10) : RGB(10, 20, 30); });
  HRGN hRegion = BitmapToRegion(hBitmap, mask);
  ExpectRegionMatchesPixels(hRegion, 4, 1, [](int x, int) { return x >= 2; });
  DeleteObject(hRegion);
  DeleteObject(hBitmap);
}

TEST(BitmapToRegionTest, ToleranceWidensTheTransparentRangeUpwardsOnly) {
  // Blue values 100..104 and 99 in one row; with tolerance 3 on blue, 100..103 vanish.
  HBITMAP hBitmap = test::MakeBitmap(6, 1, [](int x, int) { return RGB(0, 0, x == 5 ? 99 : 100 + x); });
  HRGN hRegion = BitmapToRegion(hBitmap, 100, 3);
  ExpectRegionMatchesPixels(hRegion, 6, 1, [](int x, int) { return x >= 4; });
  DeleteObject(hRegion);

  // 250 + 10 stays within the byte: 250..255 are transparent.
  HBITMAP hHigh = test::MakeBitmap(2, 1, [](int x, int) { return RGB(0, 0, x == 0 ? 255 : 249); });
  hRegion = BitmapToRegion(hHigh, 250, 10);
  ExpectRegionMatchesPixels(hRegion, 2, 1, [](int x, int) { return x == 1; });
  DeleteObject(hRegion);
  DeleteObject(hBitmap);
  DeleteObject(hHigh);
}

TEST(BitmapToRegionTest, NoBitmapGivesNoRegion) {
  EXPECT_EQ(BitmapToRegion(nullptr, kKey), nullptr);
}

class DrawFrameBitmapTest : public ::testing::Test {
 protected:
  // A 30 x 20 framed image: a red top edge 3 high, green left edge 4 wide, blue right
  // edge 5 wide, yellow bottom edge 2 high, and a black centre.
  static COLORREF Source(int x, int y) {
    if (y < 3) return RGB(255, 0, 0);
    if (y >= 18) return RGB(255, 255, 0);
    if (x < 4) return RGB(0, 255, 0);
    if (x >= 25) return RGB(0, 0, 255);
    return RGB(0, 0, 0);
  }
};

TEST_F(DrawFrameBitmapTest, StretchesTheFourEdgesAndLeavesTheCentre) {
  HBITMAP hSource = test::MakeBitmap(30, 20, Source);
  test::MemoryCanvas canvas(100, 80, RGB(128, 128, 128));
  const RECT dest{10, 10, 90, 70};
  DrawFrameBitmap(canvas.dc(), dest, hSource, RECT{0, 0, 30, 20}, 4, 3, 5, 2);

  EXPECT_EQ(canvas.pixel(50, 10), RGB(255, 0, 0));   // top edge, stretched across
  EXPECT_EQ(canvas.pixel(89, 12), RGB(255, 0, 0));
  EXPECT_EQ(canvas.pixel(11, 40), RGB(0, 255, 0));   // left edge
  EXPECT_EQ(canvas.pixel(87, 40), RGB(0, 0, 255));   // right edge
  EXPECT_EQ(canvas.pixel(50, 69), RGB(255, 255, 0)); // bottom edge
  EXPECT_EQ(canvas.pixel(50, 40), RGB(128, 128, 128));  // centre untouched
  EXPECT_EQ(canvas.pixel(5, 5), RGB(128, 128, 128));    // outside untouched
  EXPECT_EQ(canvas.pixel(95, 75), RGB(128, 128, 128));

  // The clip is gone afterwards.
  RECT clip{};
  GetClipBox(canvas.dc(), &clip);
  EXPECT_EQ(CRect(clip), CRect(0, 0, 100, 80));
  DeleteObject(hSource);
}

TEST_F(DrawFrameBitmapTest, ASourceRectangleInsideALargerImageIsUsed) {
  // The framed image sits at (7, 5) in a larger picture whose outside is white.
  HBITMAP hSource = test::MakeBitmap(50, 40, [](int x, int y) {
    const int fx = x - 7;
    const int fy = y - 5;
    return fx >= 0 && fy >= 0 && fx < 30 && fy < 20 ? Source(fx, fy) : RGB(255, 255, 255);
  });
  test::MemoryCanvas canvas(60, 40, RGB(128, 128, 128));
  DrawFrameBitmap(canvas.dc(), RECT{0, 0, 60, 40}, hSource, RECT{7, 5, 37, 25}, 4, 3, 5, 2);
  EXPECT_EQ(canvas.pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.pixel(0, 20), RGB(0, 255, 0));
  EXPECT_EQ(canvas.pixel(59, 20), RGB(0, 0, 255));
  EXPECT_EQ(canvas.pixel(30, 39), RGB(255, 255, 0));
  DeleteObject(hSource);
}

TEST_F(DrawFrameBitmapTest, ImpossibleMarginsDrawWhatTheyCanAndNothingOutside) {
  HBITMAP hSource = test::MakeBitmap(30, 20, Source);
  test::MemoryCanvas canvas(40, 40, RGB(128, 128, 128));
  // A right margin of -1 cannot make a strip: drawing stops after the left edge.
  DrawFrameBitmap(canvas.dc(), RECT{0, 0, 40, 40}, hSource, RECT{0, 0, 30, 20}, 4, 3, -1, -1);
  EXPECT_EQ(canvas.pixel(20, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.pixel(1, 20), RGB(0, 255, 0));
  EXPECT_EQ(canvas.pixel(39, 20), RGB(128, 128, 128));
  DrawFrameBitmap(nullptr, RECT{0, 0, 40, 40}, hSource, RECT{0, 0, 30, 20}, 1, 1, 1, 1);
  DrawFrameBitmap(canvas.dc(), RECT{0, 0, 40, 40}, nullptr, RECT{0, 0, 30, 20}, 1, 1, 1, 1);
  DeleteObject(hSource);
}

}  // namespace

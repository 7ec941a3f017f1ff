// Blits clip their source to its bitmap as Windows does, whatever rectangle they are given:
// a destination pixel whose source pixel lies outside the bitmap is left as it was, the
// others come from their own source pixels, stretched or not, filtered or not, mirrored
// or not; coordinates past GDI's device space fail the call.
#include "Canvas.h"

#include <climits>

namespace {

using test::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);

// A 4 × 4 source: left half red, right half blue.
class BlitSourceClipTest : public ::testing::TestWithParam<int> {
 protected:
  BlitSourceClipTest() : source(4, 4), target(8, 8) {
    source.fill(kRed);
    for (int y = 0; y < 4; ++y)
      for (int x = 2; x < 4; ++x) SetPixel(source.dc(), x, y, kBlue);
    target.fill(kWhite);
    SetStretchBltMode(target.dc(), GetParam());
  }
  Canvas source;
  Canvas target;
};

TEST_P(BlitSourceClipTest, ASourcePastTheRightAndBottomEdgesDrawsOnlyWhatTheBitmapHolds) {
  // Source columns 2..5 and rows 2..5 doubled: only columns 2, 3 and rows 2, 3 exist.
  ASSERT_TRUE(StretchBlt(target.dc(), 0, 0, 8, 8, source.dc(), 2, 2, 4, 4, SRCCOPY));
  EXPECT_EQ(target.count(kBlue, RECT{0, 0, 4, 4}), 16);
  EXPECT_EQ(target.count(kWhite, RECT{4, 0, 8, 8}), 32);
  EXPECT_EQ(target.count(kWhite, RECT{0, 4, 4, 8}), 16);
}

TEST_P(BlitSourceClipTest, ASourceBeforeTheLeftAndTopEdgesDrawsOnlyWhatTheBitmapHolds) {
  ASSERT_TRUE(StretchBlt(target.dc(), 0, 0, 8, 8, source.dc(), -2, -2, 4, 4, SRCCOPY));
  EXPECT_EQ(target.count(kWhite, RECT{0, 0, 4, 8}), 32);
  EXPECT_EQ(target.count(kWhite, RECT{4, 0, 8, 4}), 16);
  EXPECT_EQ(target.count(kRed, RECT{4, 4, 8, 8}), 16);
}

TEST_P(BlitSourceClipTest, AMirroredStretchClipsFromTheFarEnd) {
  // Source columns 2..5 mirrored: the destination's right half shows 2 and 3, blue.
  ASSERT_TRUE(StretchBlt(target.dc(), 7, 0, -8, 4, source.dc(), 2, 0, 4, 4, SRCCOPY));
  EXPECT_EQ(target.count(kWhite, RECT{0, 0, 4, 4}), 16);
  EXPECT_EQ(target.count(kBlue, RECT{4, 0, 8, 4}), 16);
}

TEST_P(BlitSourceClipTest, ASourceWhollyOutsideDrawsNothing) {
  for (const POINT at : {POINT{4, 0}, POINT{0, 4}, POINT{-4, 0}, POINT{100000, 100000}, POINT{-100000, 5}}) {
    ASSERT_TRUE(StretchBlt(target.dc(), 0, 0, 8, 8, source.dc(), at.x, at.y, 4, 4, SRCCOPY));
    EXPECT_EQ(target.count(kWhite), 64) << at.x << "," << at.y;
  }
  ASSERT_TRUE(TransparentBlt(target.dc(), 0, 0, 8, 8, source.dc(), 5, 5, 4, 4, kRed));
  EXPECT_EQ(target.count(kWhite), 64);
}

TEST_P(BlitSourceClipTest, ASourceSpanningFarPastTheBitmapMapsItsOwnPartOnly) {
  // 400 source columns onto 8: each destination pixel stands for 50; the bitmap's 4
  // columns are the first destination pixel's.
  ASSERT_TRUE(StretchBlt(target.dc(), 0, 0, 8, 8, source.dc(), 0, 0, 400, 4, SRCCOPY));
  EXPECT_NE(target.at(0, 0), kWhite);
  EXPECT_EQ(target.count(kWhite, RECT{1, 0, 8, 8}), 56);
}

INSTANTIATE_TEST_SUITE_P(Modes, BlitSourceClipTest, ::testing::Values(COLORONCOLOR, HALFTONE));

TEST(BlitDeviceSpaceTest, CoordinatesPastTheDeviceSpaceFailAndDrawNothing) {
  Canvas source(4, 4);
  source.fill(kRed);
  Canvas target(8, 8);
  target.fill(kWhite);
  EXPECT_FALSE(StretchBlt(target.dc(), 0, 0, 8, 8, source.dc(), INT_MAX, INT_MAX, INT_MAX, INT_MAX, SRCCOPY));
  EXPECT_FALSE(StretchBlt(target.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, source.dc(), 0, 0, 4, 4, SRCCOPY));
  EXPECT_FALSE(StretchBlt(target.dc(), 0, 0, 8, 8, source.dc(), INT_MIN, 0, -1, 4, SRCCOPY));
  EXPECT_FALSE(BitBlt(target.dc(), 0, 0, INT_MAX, 8, source.dc(), 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(target.dc(), 0, 0, 8, 8, source.dc(), INT_MIN, INT_MIN, SRCCOPY));
  EXPECT_FALSE(PatBlt(target.dc(), INT_MAX, 0, INT_MAX, 8, BLACKNESS));
  EXPECT_FALSE(TransparentBlt(target.dc(), 0, 0, 8, 8, source.dc(), INT_MAX, 0, INT_MAX, 4, kWhite));
  EXPECT_EQ(target.count(kWhite), 64);

  // The device space's own edge still draws what lies on the bitmap.
  constexpr int kEdge = 1 << 27;
  EXPECT_TRUE(StretchBlt(target.dc(), 0, 0, 8, 8, source.dc(), kEdge - 8, 0, 8, 4, SRCCOPY));
  EXPECT_TRUE(BitBlt(target.dc(), 0, 0, 8, 8, source.dc(), -kEdge, 0, SRCCOPY));
  EXPECT_EQ(target.count(kWhite), 64);
  EXPECT_TRUE(StretchBlt(target.dc(), 0, 0, 8, 8, source.dc(), 0, 0, kEdge, kEdge, SRCCOPY));
  EXPECT_EQ(target.at(0, 0), kRed);
}

}  // namespace

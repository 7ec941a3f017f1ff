#include "GdiTestSupport.h"

#include "skin/CSliderPart.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kInk = RGB(10, 120, 30);

// A 6 x 4 image: the key colour on the left half, ink on the right.
HBITMAP MakeHalfKeyed() { return test::MakeBitmap(6, 4, [](int x, int) { return x < 3 ? kKey : kInk; }); }

TEST(CSliderPartMaskTest, MarksTheKeyColourAndBlackensItInTheImage) {
  HBITMAP hImage = MakeHalfKeyed();
  HBITMAP hMask = CSliderPart::CreateMask(hImage, kKey, 0, 0);
  ASSERT_NE(hMask, nullptr);
  BITMAP bm{};
  GetObject(hMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(test::BitmapPixel(hMask, 0, 0), RGB(255, 255, 255));  // 1: transparent
  EXPECT_EQ(test::BitmapPixel(hMask, 5, 3), RGB(0, 0, 0));        // 0: opaque
  EXPECT_EQ(test::BitmapPixel(hImage, 1, 1), RGB(0, 0, 0));
  EXPECT_EQ(test::BitmapPixel(hImage, 4, 1), kInk);
  DeleteObject(hMask);
  DeleteObject(hImage);
}

TEST(CSliderPartMaskTest, TheKeyOfAllOnesTakesThePixelAtThePoint) {
  HBITMAP hImage = MakeHalfKeyed();
  // The pixel at (4, 2) is ink: now the ink is transparent.
  HBITMAP hMask = CSliderPart::CreateMask(hImage, 0xFF000000, 4, 2);
  EXPECT_EQ(test::BitmapPixel(hMask, 5, 0), RGB(255, 255, 255));
  EXPECT_EQ(test::BitmapPixel(hMask, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(test::BitmapPixel(hImage, 5, 0), RGB(0, 0, 0));
  EXPECT_EQ(test::BitmapPixel(hImage, 0, 0), kKey);
  DeleteObject(hMask);
  DeleteObject(hImage);
}

TEST(CSliderPartTest, LoadsFromTheProgramsResources) {
  CSliderPart part;
  ASSERT_TRUE(part.Load(150, 151, TRUE, 0xFF000000, 0, 0));
  EXPECT_TRUE(part.IsLoaded());
  EXPECT_TRUE(part.HasActive());
  EXPECT_TRUE(part.IsTransparent());
  EXPECT_EQ(part.Size().cx, 24);
  EXPECT_EQ(part.Size().cy, 14);
  EXPECT_NE(part.NormalMask(), nullptr);
  EXPECT_NE(part.ActiveMask(), nullptr);
  // The rim, keyed by pixel (0, 0), is black in the image now.
  EXPECT_EQ(test::BitmapPixel(part.Normal(), 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(test::BitmapPixel(part.Normal(), 10, 6), RGB(255, 255, 255));

  ASSERT_TRUE(part.Load(148, 0, FALSE, 0, 0, 0));
  EXPECT_FALSE(part.HasActive());
  EXPECT_EQ(part.NormalMask(), nullptr);
  EXPECT_EQ(part.Active(), nullptr);
}

TEST(CSliderPartTest, AMissingNormalImageChangesNothingAndAMissingActiveOneDropsThePart) {
  CSliderPart part;
  ASSERT_TRUE(part.Load(148, 149, FALSE, 0, 0, 0));
  HBITMAP hBefore = part.Normal();
  EXPECT_FALSE(part.Load(999, 0, FALSE, 0, 0, 0));
  EXPECT_TRUE(part.IsLoaded());
  EXPECT_EQ(part.Normal(), hBefore);

  EXPECT_FALSE(part.Load(150, 999, TRUE, 0xFF000000, 0, 0));
  EXPECT_FALSE(part.IsLoaded());
  EXPECT_EQ(part.Normal(), nullptr);
  EXPECT_EQ(part.NormalMask(), nullptr);

  ASSERT_TRUE(part.Load(148, 0, FALSE, 0, 0, 0));
  EXPECT_TRUE(part.Load(0, 0, FALSE, 0, 0, 0));  // id 0 unloads
  EXPECT_FALSE(part.IsLoaded());
  EXPECT_EQ(part.Normal(), nullptr);
}

}  // namespace

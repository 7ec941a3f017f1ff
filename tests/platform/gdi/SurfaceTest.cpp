#include <win32/gdi/Surface.h>

#include <gtest/gtest.h>

namespace {

using plat::PixelFormat;
using plat::Surface;

TEST(SurfaceTest, RowsFollowTheDibLayout) {
  Surface top(3, 2, PixelFormat::Bgr24, false);
  Surface bottom(3, 2, PixelFormat::Bgr24, true);
  EXPECT_EQ(top.stride(), 12);  // 9 bytes padded to 4
  top.setPixel(1, 0, 0x112233);
  bottom.setPixel(1, 0, 0x112233);
  // Top-down: picture row 0 is stored first; bottom-up: last. Bytes are blue, green, red.
  EXPECT_EQ(top.bits()[3], 0x33);
  EXPECT_EQ(top.bits()[5], 0x11);
  EXPECT_EQ(bottom.bits()[12 + 3], 0x33);
  EXPECT_EQ(bottom.pixel(1, 0), 0x112233u);
}

TEST(SurfaceTest, MonoPixelsAreBitsMostSignificantFirst) {
  Surface mono(10, 1, PixelFormat::Mono1);
  EXPECT_EQ(mono.stride(), 4);
  mono.setPixel(0, 0, plat::kWhitePixel);
  mono.setPixel(9, 0, 0xC0C0C0);  // light grey becomes white
  mono.setPixel(8, 0, 0x404040);  // dark grey becomes black
  EXPECT_EQ(mono.bits()[0], 0x80);
  EXPECT_EQ(mono.bits()[1], 0x40);
  EXPECT_EQ(mono.pixel(9, 0), plat::kWhitePixel);
  EXPECT_EQ(mono.pixel(8, 0), plat::kBlackPixel);
}

TEST(SurfaceTest, ColourRefAndPixelOrderSwapRedAndBlue) {
  EXPECT_EQ(plat::pixelFromColorRef(RGB(0x11, 0x22, 0x33)), 0x112233u);
  EXPECT_EQ(plat::colorRefFromPixel(0x112233), RGB(0x11, 0x22, 0x33));
}

TEST(SurfaceTest, FillStaysInsideTheSurface) {
  Surface s(4, 4, PixelFormat::Bgrx32);
  s.fill(RECT{-2, 2, 10, 10}, 0xFF0000);
  EXPECT_EQ(s.pixel(0, 1), 0u);
  EXPECT_EQ(s.pixel(0, 2), 0xFF0000u);
  EXPECT_EQ(s.pixel(3, 3), 0xFF0000u);
}

}  // namespace

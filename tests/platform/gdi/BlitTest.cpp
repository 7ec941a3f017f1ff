#include "Canvas.h"

#include <win32/gdi.h>

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

using test::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(BlitTest, RasterOperationsCombinePatternSourceAndDestination) {
  struct Case {
    DWORD rop;
    std::function<COLORREF(COLORREF, COLORREF, COLORREF)> expected;  // (P, S, D)
  };
  const Case cases[] = {
      {SRCCOPY, [](COLORREF, COLORREF s, COLORREF) { return s; }},
      {SRCPAINT, [](COLORREF, COLORREF s, COLORREF d) { return s | d; }},
      {SRCAND, [](COLORREF, COLORREF s, COLORREF d) { return s & d; }},
      {SRCINVERT, [](COLORREF, COLORREF s, COLORREF d) { return s ^ d; }},
      {SRCERASE, [](COLORREF, COLORREF s, COLORREF d) { return s & (~d & 0xFFFFFF); }},
      {NOTSRCCOPY, [](COLORREF, COLORREF s, COLORREF) { return ~s & 0xFFFFFF; }},
      {NOTSRCERASE, [](COLORREF, COLORREF s, COLORREF d) { return ~(s | d) & 0xFFFFFF; }},
      {MERGECOPY, [](COLORREF p, COLORREF s, COLORREF) { return p & s; }},
      {MERGEPAINT, [](COLORREF, COLORREF s, COLORREF d) { return (~s & 0xFFFFFF) | d; }},
      {PATCOPY, [](COLORREF p, COLORREF, COLORREF) { return p; }},
      {PATPAINT, [](COLORREF p, COLORREF s, COLORREF d) { return p | (~s & 0xFFFFFF) | d; }},
      {PATINVERT, [](COLORREF p, COLORREF, COLORREF d) { return p ^ d; }},
      {DSTINVERT, [](COLORREF, COLORREF, COLORREF d) { return ~d & 0xFFFFFF; }},
      {BLACKNESS, [](COLORREF, COLORREF, COLORREF) { return COLORREF{0}; }},
      {WHITENESS, [](COLORREF, COLORREF, COLORREF) { return COLORREF{0xFFFFFF}; }},
  };
  std::mt19937 rng(5);
  Canvas src(8, 1);
  Canvas dst(8, 1);
  const COLORREF pattern = RGB(0x5A, 0xC3, 0x0F);
  HBRUSH brush = CreateSolidBrush(pattern);
  HGDIOBJ oldBrush = SelectObject(dst.dc(), brush);
  for (const Case& c : cases) {
    COLORREF s[8], d[8];
    for (int x = 0; x < 8; ++x) {
      s[x] = rng() & 0xFFFFFF;
      d[x] = rng() & 0xFFFFFF;
      SetPixel(src.dc(), x, 0, s[x]);
      SetPixel(dst.dc(), x, 0, d[x]);
    }
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 8, 1, src.dc(), 0, 0, c.rop));
    for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.at(x, 0), c.expected(pattern, s[x], d[x])) << std::hex << c.rop;
  }
  SelectObject(dst.dc(), oldBrush);
  DeleteObject(brush);
}

TEST(BlitTest, ColourToMonoMakesTheSourceBackgroundWhite) {
  Canvas colour(3, 1);
  SetPixel(colour.dc(), 0, 0, RGB(255, 0, 255));
  SetPixel(colour.dc(), 1, 0, RGB(255, 255, 255));
  SetPixel(colour.dc(), 2, 0, RGB(10, 20, 30));
  Canvas mono(3, 1, 1);
  SetBkColor(colour.dc(), RGB(255, 0, 255));
  BitBlt(mono.dc(), 0, 0, 3, 1, colour.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(mono.at(0, 0), kWhite);
  EXPECT_EQ(mono.at(1, 0), kBlack) << "white is not the background colour, so it becomes 0";
  EXPECT_EQ(mono.at(2, 0), kBlack);
}

TEST(BlitTest, MonoToColourUsesTheDestinationTextAndBackgroundColours) {
  Canvas mono(2, 1, 1);
  SetPixel(mono.dc(), 0, 0, kBlack);
  SetPixel(mono.dc(), 1, 0, kWhite);
  Canvas colour(2, 1);
  SetTextColor(colour.dc(), RGB(1, 2, 3));
  SetBkColor(colour.dc(), RGB(200, 100, 50));
  SetTextColor(mono.dc(), RGB(90, 90, 90));  // the source's colours play no part
  BitBlt(colour.dc(), 0, 0, 2, 1, mono.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(colour.at(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(colour.at(1, 0), RGB(200, 100, 50));
}

// A slider's transparent drawing: a mask from the key colour, the key painted black in
// the image, then mask SRCAND and image SRCPAINT over a background.
TEST(BlitTest, MaskAndPaintDrawAnImageWithATransparentColour) {
  const COLORREF key = RGB(255, 0, 255);
  Canvas image(4, 1);
  const COLORREF px[4] = {key, RGB(200, 10, 10), key, RGB(10, 200, 10)};
  for (int x = 0; x < 4; ++x) SetPixel(image.dc(), x, 0, px[x]);
  Canvas mask(4, 1, 1);
  SetBkColor(image.dc(), key);
  BitBlt(mask.dc(), 0, 0, 4, 1, image.dc(), 0, 0, SRCCOPY);
  SetTextColor(image.dc(), kWhite);
  SetBkColor(image.dc(), kBlack);
  BitBlt(image.dc(), 0, 0, 4, 1, mask.dc(), 0, 0, SRCAND);
  EXPECT_EQ(image.at(0, 0), kBlack);
  EXPECT_EQ(image.at(1, 0), RGB(200, 10, 10));

  Canvas screen(4, 1);
  screen.fill(RGB(30, 60, 90));
  SetTextColor(screen.dc(), kBlack);
  SetBkColor(screen.dc(), kWhite);
  BitBlt(screen.dc(), 0, 0, 4, 1, mask.dc(), 0, 0, SRCAND);
  BitBlt(screen.dc(), 0, 0, 4, 1, image.dc(), 0, 0, SRCPAINT);
  EXPECT_EQ(screen.at(0, 0), RGB(30, 60, 90));
  EXPECT_EQ(screen.at(1, 0), RGB(200, 10, 10));
  EXPECT_EQ(screen.at(2, 0), RGB(30, 60, 90));
  EXPECT_EQ(screen.at(3, 0), RGB(10, 200, 10));
}

TEST(BlitTest, ColourOnColourStretchRepeatsAndDropsWholePixels) {
  Canvas src(2, 2);
  SetPixel(src.dc(), 0, 0, RGB(255, 0, 0));
  SetPixel(src.dc(), 1, 0, RGB(0, 255, 0));
  SetPixel(src.dc(), 0, 1, RGB(0, 0, 255));
  SetPixel(src.dc(), 1, 1, kWhite);
  Canvas big(6, 4);
  EXPECT_EQ(SetStretchBltMode(big.dc(), COLORONCOLOR), BLACKONWHITE);
  ASSERT_TRUE(StretchBlt(big.dc(), 0, 0, 6, 4, src.dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(big.count(RGB(255, 0, 0), RECT{0, 0, 3, 2}), 6);
  EXPECT_EQ(big.count(RGB(0, 255, 0), RECT{3, 0, 6, 2}), 6);
  EXPECT_EQ(big.count(RGB(0, 0, 255), RECT{0, 2, 3, 4}), 6);
  EXPECT_EQ(big.count(kWhite, RECT{3, 2, 6, 4}), 6);
  // A negative destination width mirrors.
  Canvas mirror(2, 2);
  StretchBlt(mirror.dc(), 1, 0, -2, 2, src.dc(), 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(mirror.at(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(mirror.at(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(mirror.at(0, 1), kWhite);
}

TEST(BlitTest, HalftoneAveragesWhenShrinkingAndBlendsWhenEnlarging) {
  // A 4 × 4 checkerboard of black and white halves to grey.
  Canvas checker(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) SetPixel(checker.dc(), x, y, (x + y) % 2 ? kWhite : kBlack);
  Canvas small(2, 2);
  SetStretchBltMode(small.dc(), HALFTONE);
  StretchBlt(small.dc(), 0, 0, 2, 2, checker.dc(), 0, 0, 4, 4, SRCCOPY);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) {
      const COLORREF c = small.at(x, y);
      EXPECT_NEAR(GetRValue(c), 128, 1);
      EXPECT_EQ(GetRValue(c), GetGValue(c));
    }
  // COLORONCOLOR picks pixels instead: pure black or white.
  SetStretchBltMode(small.dc(), COLORONCOLOR);
  StretchBlt(small.dc(), 0, 0, 2, 2, checker.dc(), 0, 0, 4, 4, SRCCOPY);
  EXPECT_TRUE(small.at(0, 0) == kBlack || small.at(0, 0) == kWhite);

  // Enlarging a black | white pair gives a ramp between them; a flat colour stays exact.
  Canvas pair(2, 1);
  SetPixel(pair.dc(), 0, 0, kBlack);
  SetPixel(pair.dc(), 1, 0, kWhite);
  Canvas ramp(8, 1);
  SetStretchBltMode(ramp.dc(), HALFTONE);
  StretchBlt(ramp.dc(), 0, 0, 8, 1, pair.dc(), 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(ramp.at(0, 0), kBlack);
  EXPECT_EQ(ramp.at(7, 0), kWhite);
  for (int x = 1; x < 8; ++x) EXPECT_GE(GetRValue(ramp.at(x, 0)), GetRValue(ramp.at(x - 1, 0)));
  EXPECT_GT(GetRValue(ramp.at(4, 0)), 0);
  EXPECT_LT(GetRValue(ramp.at(3, 0)), 255);

  Canvas flat(3, 3);
  flat.fill(RGB(17, 99, 201));
  Canvas scaled(7, 5);
  SetStretchBltMode(scaled.dc(), HALFTONE);
  StretchBlt(scaled.dc(), 0, 0, 7, 5, flat.dc(), 0, 0, 3, 3, SRCCOPY);
  EXPECT_EQ(scaled.count(RGB(17, 99, 201)), 35);
}

TEST(BlitTest, ClippingLimitsEveryDrawingCall) {
  Canvas canvas(10, 10);
  canvas.fill(kBlack);
  EXPECT_EQ(IntersectClipRect(canvas.dc(), 2, 2, 8, 8), SIMPLEREGION);
  HRGN hole = CreateRectRgn(4, 0, 6, 10);
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc(), hole, RGN_DIFF), COMPLEXREGION);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 10, 10};
  FillRect(canvas.dc(), &all, red);
  EXPECT_EQ(canvas.count(RGB(255, 0, 0)), 6 * 6 - 2 * 6);
  EXPECT_EQ(canvas.at(4, 4), kBlack);
  EXPECT_EQ(canvas.at(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), CLR_INVALID) << "outside the clip";
  RECT box;
  EXPECT_EQ(GetClipBox(canvas.dc(), &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.right, 8);
  EXPECT_EQ(SelectClipRgn(canvas.dc(), nullptr), SIMPLEREGION);
  // Selecting a region is selecting a clip region (a copy: the region stays the caller's).
  HRGN corner = CreateRectRgn(0, 0, 2, 2);
  EXPECT_EQ(SelectObject(canvas.dc(), corner), reinterpret_cast<HGDIOBJ>(SIMPLEREGION));
  EXPECT_TRUE(DeleteObject(corner));
  EXPECT_EQ(GetPixel(canvas.dc(), 3, 3), CLR_INVALID);
  SelectClipRgn(canvas.dc(), nullptr);
  FillRect(canvas.dc(), &all, red);
  EXPECT_EQ(canvas.count(RGB(255, 0, 0)), 100);
  DeleteObject(hole);
  DeleteObject(red);
}

TEST(BlitTest, ClipRegionIsInDeviceUnitsAndRectanglesInLogicalOnes) {
  Canvas canvas(10, 10);
  canvas.fill(kBlack);
  SetViewportOrgEx(canvas.dc(), 3, 0, nullptr);
  SetWindowOrgEx(canvas.dc(), 0, -2, nullptr);  // logical (0, 0) lands on device (3, 2)
  HRGN region = CreateRectRgn(0, 0, 5, 10);      // device units: not moved by the origins
  SelectClipRgn(canvas.dc(), region);
  PatBlt(canvas.dc(), 0, 0, 4, 4, WHITENESS);
  EXPECT_EQ(canvas.count(kWhite), 2 * 4) << "device x 3..4 inside the clip, y 2..5";
  EXPECT_EQ(canvas.at(3, 2), kWhite);
  EXPECT_EQ(canvas.at(5, 2), kBlack);
  EXPECT_EQ(canvas.at(3, 6), kBlack);
  DeleteObject(region);
}

TEST(BlitTest, PatternBrushesTileFromTheBrushOrigin) {
  const std::uint8_t bits[] = {0x80, 0, 0, 0};  // 2 × 2 mono: 1 0 / 0 0
  HBITMAP pattern = CreateBitmap(2, 2, 1, 1, bits);
  HBRUSH brush = CreatePatternBrush(pattern);
  DeleteObject(pattern);  // the brush keeps its own copy
  Canvas canvas(4, 4);
  SetTextColor(canvas.dc(), RGB(0, 0, 255));      // 0 bits
  SetBkColor(canvas.dc(), RGB(255, 255, 0));      // 1 bits
  SelectObject(canvas.dc(), brush);
  PatBlt(canvas.dc(), 0, 0, 4, 4, PATCOPY);
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 255, 0));
  EXPECT_EQ(canvas.at(2, 2), RGB(255, 255, 0));
  EXPECT_EQ(canvas.at(1, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.count(RGB(255, 255, 0)), 4);
  SetBrushOrgEx(canvas.dc(), 1, 1, nullptr);
  PatBlt(canvas.dc(), 0, 0, 4, 4, PATCOPY);
  EXPECT_EQ(canvas.at(1, 1), RGB(255, 255, 0));
  EXPECT_EQ(canvas.at(0, 0), RGB(0, 0, 255));
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  LOGBRUSH lb{};
  GetObjectA(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_PATTERN));
  DeleteObject(brush);
}

TEST(BlitTest, TransparentBltLeavesTheKeyColourOut) {
  Canvas src(2, 1);
  SetPixel(src.dc(), 0, 0, RGB(0, 255, 0));
  SetPixel(src.dc(), 1, 0, RGB(9, 9, 9));
  Canvas dst(4, 1);
  dst.fill(kBlack);
  ASSERT_TRUE(TransparentBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, 2, 1, RGB(0, 255, 0)));
  EXPECT_EQ(dst.at(0, 0), kBlack);
  EXPECT_EQ(dst.at(1, 0), kBlack);
  EXPECT_EQ(dst.at(2, 0), RGB(9, 9, 9));
  EXPECT_EQ(dst.at(3, 0), RGB(9, 9, 9));
}

TEST(BlitTest, OverlappingCopyWithinOneBitmapMovesThePicture) {
  Canvas canvas(6, 1);
  for (int x = 0; x < 6; ++x) SetPixel(canvas.dc(), x, 0, RGB(x * 10, 0, 0));
  BitBlt(canvas.dc(), 1, 0, 5, 1, canvas.dc(), 0, 0, SRCCOPY);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(canvas.at(x, 0), RGB((x - 1) * 10, 0, 0));
}

TEST(BlitTest, SourceOutsideItsBitmapIsNotCopied) {
  Canvas src(2, 2);
  src.fill(RGB(1, 1, 1));
  Canvas dst(4, 4);
  dst.fill(kBlack);
  BitBlt(dst.dc(), 0, 0, 4, 4, src.dc(), -1, -1, SRCCOPY);
  EXPECT_EQ(dst.at(0, 0), kBlack);
  EXPECT_EQ(dst.at(1, 1), RGB(1, 1, 1));
  EXPECT_EQ(dst.at(2, 2), RGB(1, 1, 1));
  EXPECT_EQ(dst.at(3, 3), kBlack);
}

}  // namespace

#include "Canvas.h"

#include <win32/error.h>
#include <win32/gdi.h>
#include <win32/gdi/GdiTable.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using test::Canvas;

BITMAPINFO dibHeader(int width, int height, int bits) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = height;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = static_cast<WORD>(bits);
  return bmi;
}

TEST(BitmapTest, NewMemoryContextHoldsAMonochromeBitmapSoCompatibleBitmapsAreMono) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 4);
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidth, 8);
  EXPECT_EQ(bm.bmHeight, 4);
  EXPECT_EQ(bm.bmWidthBytes, 2);  // device-dependent rows pad to 2 bytes

  // With a colour bitmap selected, compatible bitmaps are colour; a zero size is 1 × 1 mono.
  HBITMAP colour = CreateBitmap(2, 2, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, colour);
  HBITMAP second = CreateCompatibleBitmap(dc, 3, 3);
  GetObjectA(second, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  HBITMAP empty = CreateCompatibleBitmap(dc, 0, 5);
  GetObjectA(empty, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);

  SelectObject(dc, old);
  for (HBITMAP b : {bitmap, colour, second, empty}) EXPECT_TRUE(DeleteObject(b));
  DeleteDC(dc);
}

TEST(BitmapTest, SelectedObjectsCannotBeDeletedAndABitmapHasOneContext) {
  const std::size_t before = plat::GdiTable::instance().count(OBJ_BITMAP);
  HDC a = CreateCompatibleDC(nullptr);
  HDC b = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  HGDIOBJ stock = SelectObject(a, bitmap);
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(GetObjectType(stock), static_cast<DWORD>(OBJ_BITMAP));
  EXPECT_EQ(SelectObject(b, bitmap), nullptr) << "already selected into another context";
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_EQ(SelectObject(a, stock), bitmap);
  EXPECT_NE(SelectObject(b, bitmap), nullptr);
  SelectObject(b, stock);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteObject(bitmap)) << "deleted twice";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))) << "stock objects ignore deletion";
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_FALSE(DeleteObject(a)) << "a device context is not deleted by DeleteObject";
  DeleteDC(a);
  DeleteDC(b);
  EXPECT_EQ(plat::GdiTable::instance().count(OBJ_BITMAP), before);
}

TEST(BitmapTest, SaveDcKeepsObjectsSelectedUntilRestored) {
  Canvas canvas(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  const int level = SaveDC(canvas.dc());
  EXPECT_EQ(level, 1);
  HGDIOBJ oldPen = SelectObject(canvas.dc(), pen);
  SetTextColor(canvas.dc(), RGB(9, 9, 9));
  SaveDC(canvas.dc());
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_TRUE(RestoreDC(canvas.dc(), -1));
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen);
  EXPECT_TRUE(RestoreDC(canvas.dc(), level));
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), oldPen);
  EXPECT_EQ(GetTextColor(canvas.dc()), RGB(0, 0, 0));
  EXPECT_FALSE(RestoreDC(canvas.dc(), 1)) << "no saved state left";
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(BitmapTest, DibSectionBitsAreThePixelsInEitherRowOrder) {
  HDC dc = CreateCompatibleDC(nullptr);
  for (int height : {3, -3}) {
    BITMAPINFO bmi = dibHeader(2, height, 32);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    ASSERT_NE(bits, nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    SetPixel(dc, 1, 0, RGB(0x10, 0x20, 0x30));  // top row, right pixel
    const auto* px = static_cast<const std::uint32_t*>(bits);
    const int stored = height > 0 ? 2 * 2 + 1 : 1;  // bottom-up: top row stored last
    EXPECT_EQ(px[stored], 0x102030u) << "height " << height;
    // The program's writes show through GetPixel.
    const_cast<std::uint32_t*>(px)[0] = 0x00FF0000;
    EXPECT_EQ(GetPixel(dc, 0, height > 0 ? 2 : 0), RGB(0xFF, 0, 0));
    DIBSECTION ds{};
    EXPECT_EQ(GetObjectA(dib, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biHeight, height);
    SelectObject(dc, old);
    DeleteObject(dib);
  }
  DeleteDC(dc);
}

TEST(BitmapTest, GetDibitsAndSetDibitsRoundTripInEveryDepth) {
  Canvas canvas(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) SetPixel(canvas.dc(), x, y, (x + y) % 2 ? RGB(255, 255, 255) : RGB(x * 40, y * 80, 7));

  // Format query.
  BITMAPINFO query{};
  query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  EXPECT_NE(GetDIBits(canvas.dc(), canvas.bitmap(), 0, 3, nullptr, &query, DIB_RGB_COLORS), 0);
  EXPECT_EQ(query.bmiHeader.biBitCount, 32);
  EXPECT_EQ(query.bmiHeader.biSizeImage, 5u * 4 * 3);

  for (int bits : {24, 32}) {
    BITMAPINFO bmi = dibHeader(5, 3, bits);  // bottom-up
    std::vector<std::uint8_t> data(static_cast<std::size_t>(((5 * bits + 31) / 32) * 4 * 3));
    ASSERT_EQ(GetDIBits(canvas.dc(), canvas.bitmap(), 0, 3, data.data(), &bmi, DIB_RGB_COLORS), 3);
    // Bottom-up: the first stored row is picture row 2; pixel (0, 2) is (0, 160, 7).
    EXPECT_EQ(data[0], 7);
    EXPECT_EQ(data[1], 160);
    EXPECT_EQ(data[2], 0);
    Canvas copy(5, 3);
    ASSERT_EQ(SetDIBits(copy.dc(), copy.bitmap(), 0, 3, data.data(), &bmi, DIB_RGB_COLORS), 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(copy.at(x, y), canvas.at(x, y)) << bits << " bits at " << x << "," << y;
  }

  // 1 bit: white stays 1, everything else 0; the colour table is black then white.
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colors[2];
  } mono{};
  mono.h = dibHeader(5, -3, 1).bmiHeader;
  std::vector<std::uint8_t> data(4 * 3);
  ASSERT_EQ(GetDIBits(canvas.dc(), canvas.bitmap(), 0, 3, data.data(), reinterpret_cast<BITMAPINFO*>(&mono),
                      DIB_RGB_COLORS),
            3);
  EXPECT_EQ(mono.colors[1].rgbRed, 255);
  EXPECT_EQ(data[0] & 0xF8, 0x50);  // row 0: 0 1 0 1 0
  EXPECT_EQ(data[4] & 0xF8, 0xA8);  // row 1: 1 0 1 0 1
}

TEST(BitmapTest, SetDibitsReadsPalettedAndSixteenBitRows) {
  Canvas canvas(4, 1);
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colors[16];
  } four{};
  four.h = dibHeader(4, 1, 4).bmiHeader;
  four.h.biClrUsed = 3;
  four.colors[0] = RGBQUAD{0, 0, 255, 0};
  four.colors[1] = RGBQUAD{0, 255, 0, 0};
  four.colors[2] = RGBQUAD{255, 0, 0, 0};
  const std::uint8_t row[4] = {0x01, 0x2F, 0, 0};  // indexes 0 1 2 15 (15 is past the table)
  ASSERT_EQ(SetDIBits(nullptr, canvas.bitmap(), 0, 1, row, reinterpret_cast<BITMAPINFO*>(&four), DIB_RGB_COLORS), 1);
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(2, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(3, 0), RGB(255, 0, 0));

  BITMAPINFO sixteen = dibHeader(4, 1, 16);
  const std::uint16_t px[4] = {0x7C00, 0x03E0, 0x001F, 0x7FFF};  // 5-5-5
  ASSERT_EQ(SetDIBits(nullptr, canvas.bitmap(), 0, 1, px, &sixteen, DIB_RGB_COLORS), 1);
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(1, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(2, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(3, 0), RGB(255, 255, 255));
}

TEST(BitmapTest, BadRequestsFailWithAnError) {
  EXPECT_EQ(CreateBitmap(0, 5, 1, 32, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(5, 5, 1, 7, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  BITMAPINFO bmi = dibHeader(100000, 100000, 32);
  EXPECT_EQ(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
  EXPECT_FALSE(BitBlt(reinterpret_cast<HDC>(0x1234), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

TEST(BitmapTest, CreateBitmapTakesRowsPaddedToTwoBytes) {
  const std::uint8_t bits[] = {0xA0, 0x00, 0x40, 0x00};  // 3 × 2 mono: 1 0 1 / 0 1 0
  HBITMAP mono = CreateBitmap(3, 2, 1, 1, bits);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, mono);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0, 0, 0));
  SelectObject(dc, old);
  DeleteObject(mono);
  DeleteDC(dc);
}

}  // namespace

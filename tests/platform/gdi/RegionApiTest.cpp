#include "Canvas.h"

#include <win32/error.h>
#include <win32/gdi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<RECT> rectsOf(HRGN rgn) {
  const DWORD size = GetRegionData(rgn, 0, nullptr);
  std::vector<char> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  EXPECT_EQ(GetRegionData(rgn, size, data), size);
  std::vector<RECT> rects(data->rdh.nCount);
  if (!rects.empty()) std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
  return rects;
}

// A region data block as the skin's region builder fills it.
std::vector<char> regionData(const std::vector<RECT>& rects) {
  std::vector<char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(rects.size());
  if (!rects.empty()) std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return buffer;
}

TEST(RegionApiTest, CombineReportsTheKindOfTheResult) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(5, 5, 15, 15);
  HRGN dst = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(dst, a, b, RGN_AND), SIMPLEREGION);
  RECT box;
  EXPECT_EQ(GetRgnBox(dst, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.bottom, 10);
  EXPECT_EQ(CombineRgn(dst, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(rectsOf(dst).size(), 3u);
  EXPECT_EQ(CombineRgn(dst, a, b, RGN_XOR), COMPLEXREGION);
  EXPECT_FALSE(PtInRegion(dst, 7, 7));
  EXPECT_TRUE(PtInRegion(dst, 12, 12));
  EXPECT_EQ(CombineRgn(dst, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(dst, b, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(dst, b));
  EXPECT_EQ(CombineRgn(dst, a, b, 99), ERROR);
  EXPECT_EQ(CombineRgn(dst, a, nullptr, RGN_OR), ERROR);
  // The destination may be one of the sources.
  EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(a, 14, 14));
  for (HRGN r : {a, b, dst}) DeleteObject(r);
}

TEST(RegionApiTest, RectRegionsNormaliseAndOffset) {
  HRGN r = CreateRectRgn(10, 8, 2, 4);
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.top, 4);
  EXPECT_EQ(OffsetRgn(r, -2, 1), SIMPLEREGION);
  GetRgnBox(r, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.bottom, 9);
  EXPECT_FALSE(PtInRegion(r, 8, 5)) << "right edge is outside";
  HRGN empty = CreateRectRgn(3, 3, 3, 9);
  EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
  DeleteObject(r);
  DeleteObject(empty);
}

TEST(RegionApiTest, ExtCreateRegionJoinsRowsAndReportsThemBack) {
  // Rows of opaque runs, as a bitmap scan gives them: two rows of the same run merge.
  const std::vector<RECT> rows{{0, 0, 4, 1}, {6, 0, 8, 1}, {0, 1, 4, 2}, {6, 1, 8, 2}, {2, 2, 3, 3}};
  std::vector<char> data = regionData(rows);
  HRGN rgn = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
  ASSERT_NE(rgn, nullptr);
  const std::vector<RECT> back = rectsOf(rgn);
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back[0].bottom, 2);
  EXPECT_EQ(back[2].left, 2);
  const DWORD needed = GetRegionData(rgn, 0, nullptr);
  EXPECT_EQ(needed, sizeof(RGNDATAHEADER) + 3 * sizeof(RECT));
  std::vector<char> small(needed - 1);
  EXPECT_EQ(GetRegionData(rgn, needed - 1, reinterpret_cast<RGNDATA*>(small.data())), 0u);
  auto* full = reinterpret_cast<RGNDATA*>(data.data());
  GetRegionData(rgn, static_cast<DWORD>(data.size()), full);
  EXPECT_EQ(full->rdh.rcBound.right, 8);
  EXPECT_EQ(full->rdh.rcBound.bottom, 3);
  DeleteObject(rgn);
}

TEST(RegionApiTest, ExtCreateRegionScalesAndMovesWithATransform) {
  const std::vector<RECT> rows{{0, 0, 2, 1}, {4, 0, 5, 1}, {0, 1, 5, 2}};
  std::vector<char> data = regionData(rows);
  const XFORM xf{2.0f, 0.0f, 0.0f, 3.0f, 10.0f, 1.0f};
  HRGN rgn = ExtCreateRegion(&xf, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
  ASSERT_NE(rgn, nullptr);
  // Every pixel of the result is the image of a pixel of the source.
  for (int y = -2; y < 12; ++y) {
    for (int x = 0; x < 30; ++x) {
      const int sx = (x - 10) / 2;
      const int sy = (y - 1) / 3;
      const bool inSource = x >= 10 && y >= 1 &&
                            ((sy == 0 && (sx < 2 || sx == 4) && sx >= 0) || (sy == 1 && sx >= 0 && sx < 5));
      EXPECT_EQ(PtInRegion(rgn, x, y) != FALSE, inSource) << x << "," << y;
    }
  }
  const XFORM turn{0.0f, 1.0f, -1.0f, 0.0f, 0.0f, 0.0f};
  EXPECT_EQ(ExtCreateRegion(&turn, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data())), nullptr);
  DeleteObject(rgn);
}

TEST(RegionApiTest, ExtCreateRegionRefusesBrokenData) {
  std::vector<char> data = regionData({{0, 0, 1, 1}, {1, 1, 2, 2}});
  auto* rgnData = reinterpret_cast<RGNDATA*>(data.data());
  EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()) - 1, rgnData), nullptr)
      << "count says more rectangles than the size holds";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  rgnData->rdh.iType = 2;
  EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rgnData), nullptr);
  EXPECT_EQ(ExtCreateRegion(nullptr, 8, rgnData), nullptr);
  EXPECT_EQ(ExtCreateRegion(nullptr, 100, nullptr), nullptr);
  EXPECT_EQ(CreateRectRgnIndirect(nullptr), nullptr);
}

// The skins' region from a bitmap: rows scanned for runs of non-key pixels, flushed to
// the result in blocks through ExtCreateRegion and RGN_OR.
HRGN regionFromBitmap(HDC dc, int width, int height, COLORREF key, std::size_t block) {
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  std::vector<RECT> pending;
  const auto flush = [&] {
    std::vector<char> data = regionData(pending);
    HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    CombineRgn(result, result, part, RGN_OR);
    DeleteObject(part);
    pending.clear();
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width;) {
      const int x0 = x;
      while (x < width && GetPixel(dc, x, y) != key) ++x;
      if (x > x0) pending.push_back(RECT{x0, y, x, y + 1});
      if (pending.size() == block) flush();
      ++x;
    }
  }
  flush();
  return result;
}

TEST(RegionApiTest, BitmapRegionsAreExactWhateverTheBlockSize) {
  test::Canvas canvas(40, 30);
  canvas.fill(RGB(255, 0, 255));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      if ((x * 7 + y * 3) % 5 < 2 || (x > 10 && x < 30 && y > 5 && y < 20)) SetPixel(canvas.dc(), x, y, RGB(1, 1, 1));
  HRGN whole = regionFromBitmap(canvas.dc(), 40, 30, RGB(255, 0, 255), 100000);
  HRGN blocks = regionFromBitmap(canvas.dc(), 40, 30, RGB(255, 0, 255), 7);
  EXPECT_TRUE(EqualRgn(whole, blocks));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(PtInRegion(whole, x, y) != FALSE, canvas.at(x, y) != RGB(255, 0, 255)) << x << "," << y;
  DeleteObject(whole);
  DeleteObject(blocks);

  test::Canvas opaque(8, 8);
  opaque.fill(RGB(1, 2, 3));
  HRGN box = regionFromBitmap(opaque.dc(), 8, 8, RGB(255, 0, 255), 2000);
  EXPECT_EQ(rectsOf(box).size(), 1u) << "one rectangle per row joined into one";
  DeleteObject(box);
  opaque.fill(RGB(255, 0, 255));
  HRGN none = regionFromBitmap(opaque.dc(), 8, 8, RGB(255, 0, 255), 2000);
  RECT r;
  EXPECT_EQ(GetRgnBox(none, &r), NULLREGION);
  DeleteObject(none);
}

}  // namespace

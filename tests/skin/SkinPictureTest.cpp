#include "GdiTestSupport.h"
#include "SkinFolder.h"

#include "skin/SkinBitmap.h"

#include <fstream>
#include <iterator>
#include <string>

namespace {

class SkinPictureTest : public test::MachineTest {
 protected:
  test::SkinFolder folder{machine(), "Skin"};
};

COLORREF Gradient(int x, int y) { return RGB(x * 10, y * 20, 100); }

TEST_F(SkinPictureTest, APictureFileBecomesTheCallersBitmap) {
  const CString path = folder.writeBitmap("bk.bmp", 13, 7, Gradient);
  HBITMAP hBitmap = nullptr;
  SIZE size{};
  ASSERT_TRUE(LoadPictureFile(path, hBitmap, size));
  ASSERT_NE(hBitmap, nullptr);
  EXPECT_EQ(size.cx, 13);
  EXPECT_EQ(size.cy, 7);
  EXPECT_EQ(test::BitmapPixel(hBitmap, 0, 0), Gradient(0, 0));
  EXPECT_EQ(test::BitmapPixel(hBitmap, 12, 6), Gradient(12, 6));

  // A second load replaces the first bitmap, which is deleted.
  HBITMAP hFirst = hBitmap;
  ASSERT_TRUE(LoadPictureFile(path, hBitmap, size));
  EXPECT_NE(hBitmap, hFirst);
  EXPECT_EQ(GetObjectType(hFirst), 0u);
  DeleteObject(hBitmap);
}

TEST_F(SkinPictureTest, MissingEmptyAndBrokenFilesLeaveTheBitmapAlone) {
  HBITMAP hKeep = test::MakeBitmap(2, 2, Gradient);
  HBITMAP hBitmap = hKeep;
  SIZE size{5, 6};
  EXPECT_FALSE(LoadPictureFile(folder.windowsPath("missing.bmp"), hBitmap, size));
  EXPECT_FALSE(LoadPictureFile(folder.writeBytes("empty.bmp", ""), hBitmap, size));
  EXPECT_FALSE(LoadPictureFile(folder.writeBytes("text.bmp", "not a picture at all"), hBitmap, size));

  // A real bitmap file cut short in its pixels.
  folder.writeBitmap("whole.bmp", 40, 40, Gradient);
  std::ifstream in(folder.linuxPath("whole.bmp"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_FALSE(LoadPictureFile(folder.writeBytes("cut.bmp", bytes.substr(0, 100)), hBitmap, size));

  EXPECT_EQ(hBitmap, hKeep);
  EXPECT_EQ(size.cx, 5);
  EXPECT_EQ(size.cy, 6);
  DeleteObject(hKeep);
}

TEST(CutBitmapTest, CutsARectangleOneToOne) {
  HBITMAP hStrip = test::MakeBitmap(40, 10, Gradient);
  HBITMAP hImage = CutBitmap(hStrip, 20, 3, 10, 5);
  ASSERT_NE(hImage, nullptr);
  BITMAP bm{};
  GetObject(hImage, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 10);
  EXPECT_EQ(bm.bmHeight, 5);
  EXPECT_EQ(test::BitmapPixel(hImage, 0, 0), Gradient(20, 3));
  EXPECT_EQ(test::BitmapPixel(hImage, 9, 4), Gradient(29, 7));
  DeleteObject(hImage);

  EXPECT_EQ(CutBitmap(nullptr, 0, 0, 10, 10), nullptr);
  EXPECT_EQ(CutBitmap(hStrip, 0, 0, 0, 10), nullptr);
  EXPECT_EQ(CutBitmap(hStrip, 0, 0, 10, -1), nullptr);
  DeleteObject(hStrip);
}

}  // namespace

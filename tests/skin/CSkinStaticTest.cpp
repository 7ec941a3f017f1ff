#include "ControlTest.h"

#include "skin/CSkinStatic.h"

namespace {

class CSkinStaticTest : public test::ControlTest {
 protected:
  static COLORREF Colour(int i) { return RGB(40 * i, 255 - 30 * i, 7 * i); }
};

TEST_F(CSkinStaticTest, ShowsTheFirstPictureThenThePictureOfTheCommand) {
  std::vector<HBITMAP> sources;
  for (int i = 0; i < 6; ++i) sources.push_back(test::MakeBitmap(8, 8, [i](int, int) { return Colour(i); }));
  CSkinStatic picture;
  ASSERT_TRUE(picture.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 90, 50), parent(), 9));
  picture.SetBitmaps(sources[0], sources[1], sources[2], sources[3], sources[4], sources[5]);
  for (HBITMAP hSource : sources) DeleteObject(hSource);  // the static keeps copies
  EXPECT_EQ(pixel(picture.m_hWnd, 40, 20), Colour(0));
  picture.ShowPictureForCommand(nullptr, 5006);
  EXPECT_EQ(pixel(picture.m_hWnd, 40, 20), Colour(2));
  picture.ShowPictureForCommand(nullptr, 5010);
  EXPECT_EQ(pixel(picture.m_hWnd, 40, 20), Colour(2));
  picture.ShowPictureForCommand(nullptr, 5009);
  EXPECT_EQ(pixel(picture.m_hWnd, 40, 20), Colour(5));
}

TEST_F(CSkinStaticTest, ReleasesItsCopies) {
  HBITMAP hSource = test::MakeBitmap(4, 4, [](int, int) { return Colour(1); });
  const std::size_t before = liveBitmaps();
  {
    CSkinStatic picture;
    ASSERT_TRUE(picture.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 90, 50), parent(), 9));
    picture.SetBitmaps(hSource, hSource, hSource, hSource, hSource, hSource);
    picture.SetBitmaps(hSource, hSource, hSource, hSource, hSource, hSource);
    picture.ShowPictureForCommand(nullptr, 5005);
    EXPECT_EQ(liveBitmaps(), before + 7);
  }
  EXPECT_EQ(liveBitmaps(), before);
  DeleteObject(hSource);
}

}  // namespace

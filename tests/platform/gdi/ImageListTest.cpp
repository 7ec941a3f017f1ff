#include "WindowTest.h"

#include "Canvas.h"

#include <win32/gdi/imagelist.h>

namespace test {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

using ImageListTest = WindowGdiTest;

// A strip of two 2 × 1 images: (red, key) and (key, green).
void strip(Canvas& c) {
  SetPixel(c.dc(), 0, 0, kRed);
  SetPixel(c.dc(), 1, 0, kKey);
  SetPixel(c.dc(), 2, 0, kKey);
  SetPixel(c.dc(), 3, 0, kGreen);
}

TEST_F(ImageListTest, AddMaskedCutsTheStripAndDrawsTransparently) {
  HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR24 | ILC_MASK, 4, 4);
  ASSERT_NE(list, nullptr);
  Canvas bitmap(4, 1);
  strip(bitmap);
  SelectObject(bitmap.dc(), GetStockObject(BLACK_PEN));  // keep the bitmap selected: AddMasked works on it
  EXPECT_EQ(ImageList_AddMasked(list, bitmap.bitmap(), kKey), 0);
  EXPECT_EQ(ImageList_GetImageCount(list), 2);
  EXPECT_EQ(bitmap.at(1, 0), RGB(0, 0, 0)) << "the mask colour turned black in the caller's bitmap";

  Canvas target(4, 1);
  target.fill(RGB(7, 7, 7));
  ASSERT_TRUE(ImageList_Draw(list, 0, target.dc(), 0, 0, ILD_NORMAL));
  ASSERT_TRUE(ImageList_Draw(list, 1, target.dc(), 2, 0, ILD_TRANSPARENT));
  EXPECT_EQ(target.at(0, 0), kRed);
  EXPECT_EQ(target.at(1, 0), RGB(7, 7, 7));
  EXPECT_EQ(target.at(2, 0), RGB(7, 7, 7));
  EXPECT_EQ(target.at(3, 0), kGreen);
  // ILD_MASK shows the mask itself: white where transparent.
  ImageList_Draw(list, 0, target.dc(), 0, 0, ILD_MASK);
  EXPECT_EQ(target.at(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(target.at(1, 0), RGB(255, 255, 255));
  EXPECT_FALSE(ImageList_Draw(list, 2, target.dc(), 0, 0, ILD_NORMAL)) << "no third image";
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx, 2);
  EXPECT_TRUE(ImageList_Destroy(list));
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
}

TEST_F(ImageListTest, ListsWithoutMaskCopyAndAddTakesAnExplicitMask) {
  HIMAGELIST plain = ImageList_Create(2, 1, ILC_COLOR24, 1, 1);
  Canvas bitmap(4, 1);
  strip(bitmap);
  EXPECT_EQ(ImageList_Add(plain, bitmap.bitmap(), nullptr), 0);
  EXPECT_EQ(ImageList_Add(plain, bitmap.bitmap(), nullptr), 2);
  EXPECT_EQ(ImageList_GetImageCount(plain), 4);
  Canvas target(2, 1);
  ImageList_Draw(plain, 1, target.dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(target.at(0, 0), kKey) << "nothing is transparent without a mask";

  HIMAGELIST masked = ImageList_Create(2, 1, ILC_COLOR24 | ILC_MASK, 1, 1);
  Canvas mask(4, 1, 1);
  SetPixel(mask.dc(), 0, 0, RGB(255, 255, 255));  // first pixel transparent
  ImageList_Add(masked, bitmap.bitmap(), mask.bitmap());
  target.fill(RGB(9, 9, 9));
  ImageList_Draw(masked, 0, target.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(target.at(0, 0), RGB(9, 9, 9));
  EXPECT_EQ(target.at(1, 0), kKey);
  EXPECT_EQ(ImageList_Add(masked, nullptr, nullptr), -1);
  ImageList_Destroy(plain);
  ImageList_Destroy(masked);
}

TEST_F(ImageListTest, TheDragImageFollowsThePointerOnTheScreen) {
  HWND hwnd = create(RECT{100, 100, 200, 200});
  paint(hwnd, RGB(1, 1, 1));
  HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR24 | ILC_MASK, 1, 1);
  Canvas bitmap(4, 1);
  strip(bitmap);
  ImageList_AddMasked(list, bitmap.bitmap(), kKey);
  ASSERT_TRUE(ImageList_BeginDrag(list, 0, 1, 0));
  EXPECT_EQ(screenAt(110, 110), RGB(1, 1, 1)) << "not shown before DragEnter";
  ASSERT_TRUE(ImageList_DragEnter(hwnd, 10, 10));
  EXPECT_EQ(screenAt(109, 110), kRed) << "hot spot one pixel in";
  EXPECT_EQ(screenAt(110, 110), RGB(1, 1, 1)) << "transparent part";
  ImageList_DragMove(20, 30);
  EXPECT_EQ(screenAt(119, 130), kRed);
  EXPECT_EQ(screenAt(109, 110), RGB(1, 1, 1));
  ImageList_DragLeave(hwnd);
  EXPECT_EQ(screenAt(119, 130), RGB(1, 1, 1));
  ImageList_EndDrag();
  EXPECT_FALSE(ImageList_DragEnter(hwnd, 0, 0));
  ImageList_Destroy(list);
}

TEST_F(ImageListTest, SetCountReplaceAndRemoveKeepTheOtherImagesInOrder) {
  HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR24, 0, 1);
  ASSERT_TRUE(ImageList_SetImageCount(list, 3));
  EXPECT_EQ(ImageList_GetImageCount(list), 3);
  Canvas red(2, 1), green(2, 1), blue(2, 1);
  red.fill(kRed);
  green.fill(kGreen);
  blue.fill(RGB(0, 0, 255));
  EXPECT_TRUE(ImageList_Replace(list, 0, red.bitmap(), nullptr));
  EXPECT_TRUE(ImageList_Replace(list, 1, green.bitmap(), nullptr));
  EXPECT_TRUE(ImageList_Replace(list, 2, blue.bitmap(), nullptr));
  EXPECT_FALSE(ImageList_Replace(list, 3, blue.bitmap(), nullptr)) << "past the last image";
  EXPECT_FALSE(ImageList_Replace(list, -1, blue.bitmap(), nullptr));

  // Removing the middle image moves the last one down.
  EXPECT_TRUE(ImageList_Remove(list, 1));
  EXPECT_FALSE(ImageList_Remove(list, 2));
  Canvas target(2, 1);
  ImageList_Draw(list, 1, target.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(target.at(0, 0), RGB(0, 0, 255));
  ImageList_Draw(list, 0, target.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(target.at(1, 0), kRed);

  // A new slot is blank; shrinking drops the last images; -1 removes them all.
  ASSERT_TRUE(ImageList_SetImageCount(list, 3));
  ImageList_Draw(list, 2, target.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(target.at(0, 0), RGB(0, 0, 0));
  ASSERT_TRUE(ImageList_SetImageCount(list, 1));
  EXPECT_EQ(ImageList_GetImageCount(list), 1);
  EXPECT_TRUE(ImageList_Remove(list, -1));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  ImageList_Destroy(list);
  EXPECT_FALSE(ImageList_SetImageCount(list, 1));
}

}  // namespace
}  // namespace test

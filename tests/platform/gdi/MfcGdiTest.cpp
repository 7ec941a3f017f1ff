#include "Canvas.h"
#include "WindowTest.h"

#include <mfc/wnd/CWnd.h>
#include <mfc/wnd/afxgdi.h>
#include <win32/gdi/GdiTable.h>

namespace test {
namespace {

class MfcGdiTest : public WindowGdiTest {
 protected:
  void TearDown() override {
    CGdiObject::DeleteTempMap();
    CDC::DeleteTempMap();
    WindowGdiTest::TearDown();
  }
};

TEST_F(MfcGdiTest, ObjectsDeleteTheirHandlesAndSelectionGivesThePreviousObject) {
  const std::size_t pens = plat::GdiTable::instance().count(OBJ_PEN);
  {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(8, 8, 1, 32, nullptr));
    CBitmap* oldBitmap = dc.SelectObject(&bitmap);
    ASSERT_NE(oldBitmap, nullptr);
    EXPECT_NE(oldBitmap, &bitmap) << "a temporary object for the stock bitmap";
    EXPECT_EQ(dc.GetCurrentBitmap(), &bitmap) << "an attached handle gives its own object";
    CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
    CPen* oldPen = dc.SelectObject(&pen);
    EXPECT_EQ(plat::GdiTable::instance().count(OBJ_PEN), pens + 1);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBitmap);
    BITMAP bm{};
    EXPECT_EQ(bitmap.GetBitmap(&bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 8);
  }
  EXPECT_EQ(plat::GdiTable::instance().count(OBJ_PEN), pens) << "the pen went with its object";
}

TEST_F(MfcGdiTest, FillSolidRectLeavesTheBackgroundColourAndDraw3dRectFramesInside) {
  test::Canvas canvas(6, 6);
  canvas.fill(RGB(0, 0, 0));
  CDC* dc = CDC::FromHandle(canvas.dc());
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(CDC::FromHandle(canvas.dc()), dc) << "one temporary object per handle";
  dc->Draw3dRect(CRect(1, 1, 5, 5), RGB(255, 255, 255), RGB(128, 128, 128));
  EXPECT_EQ(canvas.at(1, 1), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(3, 1), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(4, 1), RGB(128, 128, 128)) << "the right edge owns the top-right corner";
  EXPECT_EQ(canvas.at(1, 4), RGB(128, 128, 128)) << "the bottom edge owns the bottom-left corner";
  EXPECT_EQ(canvas.at(4, 4), RGB(128, 128, 128));
  EXPECT_EQ(canvas.at(2, 2), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(dc->GetBkColor(), RGB(128, 128, 128)) << "FillSolidRect leaves its colour as the background";
}

TEST_F(MfcGdiTest, PointFontsTurnTenthsOfAPointIntoPixels) {
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(90, "MS Sans Serif"));
  LOGFONTA lf{};
  font.GetLogFont(&lf);
  EXPECT_EQ(lf.lfHeight, -12) << "9 points at 96 dpi";
  EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  CFont tiny;
  tiny.CreatePointFont(15, "System");
  tiny.GetLogFont(&lf);
  EXPECT_EQ(lf.lfHeight, -2);
}

TEST_F(MfcGdiTest, RegionsCombineThroughTheirObjects) {
  CRgn a, b, c;
  a.CreateRectRgn(0, 0, 10, 10);
  b.CreateRectRgn(5, 0, 15, 10);
  c.CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(c.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
  RECT box;
  c.GetRgnBox(&box);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.right, 10);
  EXPECT_EQ(c.CopyRgn(&a), SIMPLEREGION);
  EXPECT_TRUE(c.EqualRgn(&a));
  EXPECT_TRUE(a.PtInRegion(CPoint(9, 9)));
  c.OffsetRgn(1, 1);
  EXPECT_FALSE(c.EqualRgn(&a));
}

TEST_F(MfcGdiTest, WindowContextsPaintTheWindow) {
  HWND hwnd = create(RECT{10, 10, 60, 60});
  CWnd* wnd = CWnd::FromHandle(hwnd);
  {
    CClientDC dc(wnd);
    dc.FillSolidRect(0, 0, 50, 50, RGB(9, 8, 7));
  }
  EXPECT_EQ(screenAt(20, 20), RGB(9, 8, 7));
  {
    CWindowDC dc(wnd);
    dc.SetPixel(0, 0, RGB(1, 1, 1));
  }
  EXPECT_EQ(screenAt(10, 10), RGB(1, 1, 1));
  {
    CClientDC screen(nullptr);
    EXPECT_EQ(screen.GetPixel(20, 20), RGB(9, 8, 7));
  }
}

TEST_F(MfcGdiTest, ImageListsAddAndDrawThroughTheirObjects) {
  CImageList list;
  ASSERT_TRUE(list.Create(2, 1, ILC_COLOR24 | ILC_MASK, 1, 1));
  test::Canvas source(2, 1);
  SetPixel(source.dc(), 0, 0, RGB(255, 0, 255));
  SetPixel(source.dc(), 1, 0, RGB(5, 5, 5));
  CBitmap* bitmap = CBitmap::FromHandle(source.bitmap());
  EXPECT_EQ(list.Add(bitmap, RGB(255, 0, 255)), 0);
  EXPECT_EQ(list.GetImageCount(), 1);
  test::Canvas target(2, 1);
  target.fill(RGB(200, 200, 200));
  EXPECT_TRUE(list.Draw(CDC::FromHandle(target.dc()), 0, CPoint(0, 0), ILD_TRANSPARENT));
  EXPECT_EQ(target.at(0, 0), RGB(200, 200, 200));
  EXPECT_EQ(target.at(1, 0), RGB(5, 5, 5));
  HIMAGELIST handle = list.m_hImageList;
  EXPECT_TRUE(list.DeleteImageList());
  EXPECT_EQ(ImageList_GetImageCount(handle), 0);
}

}  // namespace
}  // namespace test

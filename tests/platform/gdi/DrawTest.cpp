#include "Canvas.h"

#include <support/TestMachine.h>
#include <win32/user/metrics.h>

#include <win32/gdi.h>

#include <gtest/gtest.h>

namespace {

using test::Canvas;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

TEST(DrawTest, LineToLeavesTheEndPointOut) {
  Canvas canvas(10, 10);
  canvas.fill(kBlack);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HGDIOBJ old = SelectObject(canvas.dc(), pen);
  MoveToEx(canvas.dc(), 1, 1, nullptr);
  LineTo(canvas.dc(), 6, 1);
  EXPECT_EQ(canvas.count(kRed), 5);
  EXPECT_EQ(canvas.at(5, 1), kRed);
  EXPECT_EQ(canvas.at(6, 1), kBlack);
  // Backwards, vertical and diagonal lines too; the position follows.
  LineTo(canvas.dc(), 6, 6);
  EXPECT_EQ(canvas.at(6, 1), kRed);
  EXPECT_EQ(canvas.at(6, 6), kBlack);
  LineTo(canvas.dc(), 1, 1);
  EXPECT_EQ(canvas.at(4, 4), kRed);
  EXPECT_EQ(canvas.at(1, 1), kRed);  // drawn by the first line
  POINT at;
  MoveToEx(canvas.dc(), 0, 0, &at);
  EXPECT_EQ(at.x, 1);
  EXPECT_EQ(at.y, 1);
  EXPECT_EQ(canvas.count(kRed), 5 + 5 + 5 - 0);
  SelectObject(canvas.dc(), old);
  DeleteObject(pen);
}

TEST(DrawTest, RectangleFramesWithThePenAndFillsWithTheBrush) {
  Canvas canvas(8, 8);
  canvas.fill(kBlack);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(canvas.dc(), pen);
  SelectObject(canvas.dc(), brush);
  Rectangle(canvas.dc(), 1, 1, 6, 5);
  EXPECT_EQ(canvas.count(kRed), 2 * 5 + 2 * 2);
  EXPECT_EQ(canvas.count(RGB(0, 0, 255)), 3 * 2);
  EXPECT_EQ(canvas.at(5, 4), kRed);
  EXPECT_EQ(canvas.at(6, 5), kBlack);
  // A null pen fills one pixel short of the right and bottom edges.
  canvas.fill(kBlack);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  Rectangle(canvas.dc(), 1, 1, 6, 5);
  EXPECT_EQ(canvas.count(RGB(0, 0, 255)), 4 * 3);
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(pen);
  DeleteObject(brush);
}

TEST(DrawTest, FillAndFrameRectUseTheGivenBrush) {
  Canvas canvas(6, 6);
  canvas.fill(kBlack);
  HBRUSH brush = CreateSolidBrush(kRed);
  RECT r{1, 1, 5, 4};
  FrameRect(canvas.dc(), &r, brush);
  EXPECT_EQ(canvas.count(kRed), 4 * 2 + 2 * 1);
  EXPECT_EQ(canvas.at(2, 2), kBlack);
  FillRect(canvas.dc(), &r, brush);
  EXPECT_EQ(canvas.count(kRed), 12);
  EXPECT_EQ(canvas.at(5, 4), kBlack);
  RECT hollow{0, 0, 6, 6};
  FillRect(canvas.dc(), &hollow, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(canvas.count(kRed), 12);
  DeleteObject(brush);
}

TEST(DrawTest, FocusRectangleIsDottedXorAndASecondCallErasesIt) {
  Canvas canvas(8, 6);
  canvas.fill(RGB(10, 20, 30));
  RECT r{1, 1, 7, 5};
  DrawFocusRect(canvas.dc(), &r);
  const COLORREF inverted = RGB(245, 235, 225);
  EXPECT_EQ(canvas.at(1, 1), inverted);
  EXPECT_EQ(canvas.at(2, 1), RGB(10, 20, 30));
  EXPECT_EQ(canvas.at(3, 1), inverted);
  EXPECT_EQ(canvas.at(3, 3), RGB(10, 20, 30)) << "inside untouched";
  EXPECT_GT(canvas.count(inverted), 6);
  DrawFocusRect(canvas.dc(), &r);
  EXPECT_EQ(canvas.count(RGB(10, 20, 30)), 48);
}

TEST(DrawTest, OriginsMoveWhatIsDrawn) {
  Canvas canvas(6, 6);
  canvas.fill(kBlack);
  SetWindowOrgEx(canvas.dc(), 2, 2, nullptr);
  SetPixel(canvas.dc(), 3, 3, kRed);
  EXPECT_EQ(canvas.at(1, 1), kRed);
  POINT old;
  SetViewportOrgEx(canvas.dc(), 1, 0, &old);
  EXPECT_EQ(old.x, 0);
  EXPECT_EQ(GetPixel(canvas.dc(), 2, 3), kRed);
}

TEST(DrawTest, PensAndBrushesDescribeThemselves) {
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
  LOGPEN lp{};
  EXPECT_EQ(GetObjectA(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
  LOGBRUSH lb{};
  GetObjectA(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(lb.lbColor, RGB(4, 5, 6));
  EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
  DeleteObject(pen);
  DeleteObject(brush);
}

}  // namespace

namespace {

class SystemColourDrawTest : public test::MachineTest {};

TEST_F(SystemColourDrawTest, DrawEdgeUsesTheThreeDColoursInTwoRings) {
  Canvas canvas(10, 10);
  canvas.fill(RGB(1, 1, 1));
  RECT r{1, 1, 9, 9};
  ASSERT_TRUE(DrawEdge(canvas.dc(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
  EXPECT_EQ(canvas.at(1, 1), GetSysColor(COLOR_3DSHADOW));   // outer top-left
  EXPECT_EQ(canvas.at(8, 8), GetSysColor(COLOR_3DHILIGHT));  // outer bottom-right
  EXPECT_EQ(canvas.at(2, 2), GetSysColor(COLOR_3DDKSHADOW)); // inner top-left
  EXPECT_EQ(canvas.at(7, 7), GetSysColor(COLOR_3DLIGHT));    // inner bottom-right
  EXPECT_EQ(canvas.at(4, 4), RGB(1, 1, 1));
  EXPECT_EQ(r.left, 3);
  EXPECT_EQ(r.bottom, 7) << "BF_ADJUST leaves the inside";
  // Only the bottom edge.
  canvas.fill(RGB(1, 1, 1));
  RECT bottom{0, 0, 10, 10};
  DrawEdge(canvas.dc(), &bottom, EDGE_SUNKEN, BF_BOTTOM);
  EXPECT_EQ(canvas.count(RGB(1, 1, 1)), 80);
  EXPECT_EQ(canvas.at(5, 9), GetSysColor(COLOR_3DHILIGHT));
}

TEST_F(SystemColourDrawTest, SystemColourBrushesFillWithTheColourOfTheIndex) {
  machine().ini().setValue("Colors", "COLOR_WINDOW", "10 20 30");
  Canvas canvas(4, 4);
  RECT r{0, 0, 4, 4};
  FillRect(canvas.dc(), &r, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  EXPECT_EQ(canvas.at(2, 2), RGB(10, 20, 30));
}

TEST_F(SystemColourDrawTest, ScrollArrowsPointTheirWay) {
  Canvas canvas(16, 16);
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);
  RECT r{0, 0, 16, 16};
  ASSERT_TRUE(DrawFrameControl(canvas.dc(), &r, DFC_SCROLL, DFCS_SCROLLUP));
  EXPECT_GT(canvas.count(text), 3);
  EXPECT_EQ(canvas.at(3, 3), GetSysColor(COLOR_3DFACE));
  // An arrow pointing up is wide at the bottom: the lowest inked row holds the most ink.
  int widestRow = -1, widest = 0;
  for (int y = 0; y < 16; ++y) {
    const int n = canvas.count(text, RECT{0, y, 16, y + 1});
    if (n >= widest && n > 0) {
      widest = n;
      widestRow = y;
    }
  }
  int lowestRow = -1;
  for (int y = 0; y < 16; ++y)
    if (canvas.count(text, RECT{0, y, 16, y + 1}) > 0) lowestRow = y;
  EXPECT_EQ(widestRow, lowestRow);
  ASSERT_TRUE(DrawFrameControl(canvas.dc(), &r, DFC_SCROLL, DFCS_SCROLLDOWN));
  for (int y = 0; y < 16; ++y)
    if (canvas.count(text, RECT{0, y, 16, y + 1}) > 0) {
      EXPECT_EQ(canvas.count(text, RECT{0, y, 16, y + 1}), widest) << "pointing down: widest at the top";
      break;
    }
  DrawFrameControl(canvas.dc(), &r, DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_INACTIVE);
  EXPECT_EQ(canvas.count(text), 0) << "inactive arrows are grey";
  EXPECT_GT(canvas.count(GetSysColor(COLOR_GRAYTEXT)), 0);
  EXPECT_FALSE(DrawFrameControl(canvas.dc(), &r, 99, 0));
}

}  // namespace

#include "Canvas.h"

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

// Update regions: invalidation and validation by exact regions, what BeginPaint clips to,
// RedrawWindow over a window and its children, the frame paint arriving through the
// queue, and what showing, sizing and moving a window gives to paint.
#include "WindowTest.h"

#include <robot/Screenshot.h>
#include <win32/gdi.h>

namespace test {
namespace {

COLORREF g_fill = RGB(0, 0, 255);
RECT g_rcPaint{};

// Records like the recorder and fills all it may paint with g_fill.
LRESULT CALLBACK fillingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return recordingProc(hwnd, message, wParam, lParam);
  MessageRecorder::instance().add({hwnd, message, wParam, lParam});
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  g_rcPaint = ps.rcPaint;
  HBRUSH brush = CreateSolidBrush(g_fill);
  RECT all{-1000, -1000, 1000, 1000};
  FillRect(hdc, &all, brush);
  DeleteObject(brush);
  EndPaint(hwnd, &ps);
  return 0;
}

// Fills all it may paint with the colour kept in its user data.
LRESULT CALLBACK colouredProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
  RECT all{-1000, -1000, 1000, 1000};
  FillRect(hdc, &all, brush);
  DeleteObject(brush);
  EndPaint(hwnd, &ps);
  return 0;
}

class UpdateRegionTest : public UserTest {
 protected:
  UpdateRegionTest() {
    registerClass("Filler", fillingProc);
    registerClass("Coloured", colouredProc);
  }

  HWND createColoured(RECT r, COLORREF colour, DWORD style, HWND parent) {
    HWND hwnd = CreateWindowExA(0, "Coloured", "", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                nullptr, nullptr, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    return hwnd;
  }

  HWND createFiller(RECT r, DWORD style = WS_POPUP | WS_VISIBLE, HWND parent = nullptr) {
    return CreateWindowExA(0, "Filler", "", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr,
                           nullptr, nullptr);
  }

  // A shown window painted all blue, with nothing left to paint.
  HWND paintedWindow(RECT r = RECT{0, 0, 100, 100}) {
    g_fill = RGB(0, 0, 255);
    HWND hwnd = createFiller(r);
    pump();
    recorder().clear();
    g_fill = RGB(255, 0, 0);
    return hwnd;
  }

  static HRGN lShape() {
    HRGN shape = CreateRectRgn(10, 10, 30, 50);
    HRGN foot = CreateRectRgn(10, 40, 60, 50);
    CombineRgn(shape, shape, foot, RGN_OR);
    DeleteObject(foot);
    return shape;
  }

  static COLORREF at(HWND hwnd, int x, int y) { return plat::Screenshot::windowPixel(hwnd, x, y); }
};

TEST_F(UpdateRegionTest, PaintingReachesExactlyTheInvalidRegion) {
  HWND hwnd = paintedWindow();
  HRGN shape = lShape();
  InvalidateRgn(hwnd, shape, FALSE);
  DeleteObject(shape);
  pump();
  EXPECT_EQ(recorder().of(hwnd, {WM_PAINT}).size(), 1u);
  EXPECT_EQ(g_rcPaint.left, 10);
  EXPECT_EQ(g_rcPaint.top, 10);
  EXPECT_EQ(g_rcPaint.right, 60);
  EXPECT_EQ(g_rcPaint.bottom, 50);
  EXPECT_EQ(at(hwnd, 15, 15), RGB(255, 0, 0));
  EXPECT_EQ(at(hwnd, 55, 45), RGB(255, 0, 0));
  // Inside the bounds but outside the region: untouched.
  EXPECT_EQ(at(hwnd, 45, 20), RGB(0, 0, 255));
  EXPECT_EQ(at(hwnd, 60, 45), RGB(0, 0, 255));
  EXPECT_EQ(at(hwnd, 9, 15), RGB(0, 0, 255));
}

TEST_F(UpdateRegionTest, ValidationTakesPartsAwayAndEmptiesTheRegion) {
  HWND hwnd = paintedWindow();
  HRGN shape = lShape();
  InvalidateRgn(hwnd, shape, FALSE);
  RECT upper{0, 0, 100, 20};
  ValidateRect(hwnd, &upper);

  HRGN update = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetUpdateRgn(hwnd, update, FALSE), COMPLEXREGION);
  HRGN expected = lShape();
  HRGN upperRgn = CreateRectRgnIndirect(&upper);
  CombineRgn(expected, expected, upperRgn, RGN_DIFF);
  EXPECT_TRUE(EqualRgn(update, expected));
  RECT bounds{};
  EXPECT_TRUE(GetUpdateRect(hwnd, &bounds, FALSE));
  EXPECT_EQ(bounds.top, 20);
  EXPECT_EQ(bounds.right, 60);

  // Validating the rest, even by a region larger than it, leaves nothing to paint.
  ValidateRgn(hwnd, shape);
  EXPECT_EQ(GetUpdateRgn(hwnd, update, FALSE), NULLREGION);
  EXPECT_FALSE(GetUpdateRect(hwnd, &bounds, FALSE));
  pump();
  EXPECT_TRUE(recorder().of(hwnd, {WM_PAINT}).empty());
  EXPECT_EQ(at(hwnd, 15, 45), RGB(0, 0, 255));
  for (HRGN r : {shape, update, expected, upperRgn}) DeleteObject(r);
}

TEST_F(UpdateRegionTest, InvalidationIsClippedToTheClientArea) {
  HWND hwnd = paintedWindow(RECT{0, 0, 50, 40});
  RECT beyond{40, -10, 500, 20};
  InvalidateRect(hwnd, &beyond, FALSE);
  RECT bounds{};
  ASSERT_TRUE(GetUpdateRect(hwnd, &bounds, FALSE));
  EXPECT_EQ(bounds.left, 40);
  EXPECT_EQ(bounds.top, 0);
  EXPECT_EQ(bounds.right, 50);
  EXPECT_EQ(bounds.bottom, 20);
  RECT outside{60, 60, 80, 80};
  ValidateRect(hwnd, nullptr);
  InvalidateRect(hwnd, &outside, FALSE);
  pump();
  EXPECT_TRUE(recorder().of(hwnd, {WM_PAINT}).empty());
}

TEST_F(UpdateRegionTest, AnEraseTheWindowDoesNotDoStaysOwed) {
  HWND hwnd = paintedWindow();
  RECT part{0, 0, 10, 10};
  InvalidateRect(hwnd, &part, TRUE);
  GetUpdateRect(hwnd, nullptr, TRUE);
  GetUpdateRect(hwnd, nullptr, TRUE);
  // The recorder's class has no brush: the erase stays owed and BeginPaint asks again.
  EXPECT_EQ(recorder().of(hwnd, {WM_ERASEBKGND}).size(), 2u);
  pump();
  EXPECT_EQ(recorder().of(hwnd, {WM_ERASEBKGND}).size(), 3u);
}

TEST_F(UpdateRegionTest, TheFramePaintComesThroughTheQueueBeforeTheErase) {
  HWND hwnd = paintedWindow();
  ASSERT_TRUE(RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME));
  EXPECT_TRUE(recorder().of(hwnd, {WM_NCPAINT}).empty());
  pump();
  const std::vector<UINT> expected{WM_PAINT, WM_NCPAINT, WM_ERASEBKGND};
  EXPECT_EQ(recorder().of(hwnd, {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}), expected);
  // Only the frame owed still brings a paint, with nothing to draw in the client.
  recorder().clear();
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  ValidateRect(hwnd, nullptr);
  pump();
  EXPECT_TRUE(recorder().of(hwnd, {WM_PAINT, WM_NCPAINT}).empty());
}

TEST_F(UpdateRegionTest, RedrawWindowCarriesItsAreaToTheChildrenAtTheirPlaces) {
  HWND parent = paintedWindow(RECT{0, 0, 100, 100});
  g_fill = RGB(0, 0, 255);
  HWND child = createFiller(RECT{50, 50, 90, 90}, WS_CHILD | WS_VISIBLE, parent);
  pump();
  recorder().clear();
  g_fill = RGB(255, 0, 0);

  RECT corner{40, 40, 60, 60};
  RedrawWindow(parent, &corner, nullptr, RDW_INVALIDATE);
  RECT bounds{};
  EXPECT_FALSE(GetUpdateRect(child, &bounds, FALSE));  // without RDW_ALLCHILDREN
  RedrawWindow(parent, &corner, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  ASSERT_TRUE(GetUpdateRect(child, &bounds, FALSE));
  EXPECT_EQ(bounds.left, 0);
  EXPECT_EQ(bounds.top, 0);
  EXPECT_EQ(bounds.right, 10);
  EXPECT_EQ(bounds.bottom, 10);

  RedrawWindow(parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const std::vector<std::pair<HWND, UINT>> order{{parent, WM_PAINT}, {child, WM_PAINT}};
  EXPECT_EQ(recorder().sequence({WM_PAINT}), order);
  EXPECT_EQ(at(parent, 45, 45), RGB(255, 0, 0));
  EXPECT_EQ(at(parent, 55, 55), RGB(255, 0, 0));  // the child's pixel, repainted
  EXPECT_EQ(at(parent, 65, 65), RGB(0, 0, 255));

  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  RedrawWindow(parent, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
  EXPECT_FALSE(GetUpdateRect(parent, nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE));
}

// What a child leaves when it is hidden, destroyed or moved is repainted by its parent and
// by the siblings that were under it, each only there; a moved child paints itself anew
// at its new place. With SWP_NOREDRAW nothing is repainted.
TEST_F(UpdateRegionTest, WhatAChildUncoversIsRepaintedByItsParentAndTheSiblingsUnderIt) {
  g_fill = RGB(0, 0, 255);
  HWND parent = createFiller(RECT{0, 0, 100, 100});
  HWND upper = createFiller(RECT{20, 20, 60, 60}, WS_CHILD | WS_VISIBLE, parent);
  HWND lower = createFiller(RECT{50, 50, 80, 80}, WS_CHILD | WS_VISIBLE, parent);  // made last: below
  HWND doomed = createFiller(RECT{5, 70, 25, 90}, WS_CHILD | WS_VISIBLE, parent);
  HWND mover = createFiller(RECT{70, 5, 90, 25}, WS_CHILD | WS_VISIBLE, parent);
  pump();
  g_fill = RGB(255, 0, 0);
  recorder().clear();
  ShowWindow(upper, SW_HIDE);
  EXPECT_TRUE(GetUpdateRect(parent, nullptr, FALSE));
  pump();
  EXPECT_EQ(at(parent, 30, 30), RGB(255, 0, 0)) << "the parent under the hidden child";
  EXPECT_EQ(at(parent, 59, 45), RGB(255, 0, 0));
  EXPECT_EQ(at(parent, 55, 55), RGB(255, 0, 0)) << "the sibling's part that was under it";
  EXPECT_EQ(at(parent, 75, 75), RGB(0, 0, 255)) << "the rest of the sibling";
  EXPECT_EQ(at(parent, 10, 10), RGB(0, 0, 255)) << "the rest of the parent";
  EXPECT_EQ(at(parent, 60, 45), RGB(0, 0, 255));

  g_fill = RGB(0, 255, 0);
  DestroyWindow(doomed);
  pump();
  EXPECT_EQ(at(parent, 15, 80), RGB(0, 255, 0));
  EXPECT_EQ(at(parent, 30, 30), RGB(255, 0, 0));

  g_fill = RGB(255, 255, 0);
  SetWindowPos(mover, nullptr, 75, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pump();
  EXPECT_EQ(at(parent, 72, 10), RGB(255, 255, 0)) << "left behind";
  EXPECT_EQ(at(parent, 94, 10), RGB(255, 255, 0)) << "the child at its new place";
  EXPECT_EQ(at(parent, 30, 30), RGB(255, 0, 0));

  g_fill = RGB(0, 255, 255);
  SetWindowPos(lower, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  pump();
  EXPECT_EQ(at(parent, 75, 75), RGB(0, 0, 255));
}

// Children paint into their top-level window's pixels, under which a parent painting
// without WS_CLIPCHILDREN draws too: what the system redraws of a window it redraws of
// the children in it.
TEST_F(UpdateRegionTest, AWindowShownSizedOrMovedIsRedrawnWithItsChildren) {
  constexpr COLORREF kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0);
  HWND top = createColoured(RECT{0, 0, 200, 200}, kBlue, WS_POPUP | WS_VISIBLE, nullptr);
  HWND panel = createColoured(RECT{10, 10, 110, 110}, kGreen, WS_CHILD | WS_VISIBLE, top);
  HWND item = createColoured(RECT{20, 20, 60, 60}, kRed, WS_CHILD | WS_VISIBLE, panel);
  pump();
  ASSERT_EQ(at(top, 40, 40), kRed);

  // Shown again, the panel paints over where its item lies; the item follows.
  ShowWindow(panel, SW_HIDE);
  pump();
  ShowWindow(panel, SW_SHOW);
  pump();
  EXPECT_EQ(at(top, 40, 40), kRed);
  EXPECT_EQ(at(top, 15, 15), kGreen);

  // Sized, the top-level window paints its whole client, and the panel and item follow.
  SetWindowPos(top, nullptr, 0, 0, 250, 250, SWP_NOMOVE | SWP_NOZORDER);
  pump();
  EXPECT_EQ(at(top, 40, 40), kRed);
  EXPECT_EQ(at(top, 15, 15), kGreen);

  // Moved, the panel and its item are drawn at their new place.
  SetWindowPos(panel, nullptr, 120, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  pump();
  EXPECT_EQ(at(top, 150, 150), kRed);
  EXPECT_EQ(at(top, 125, 125), kGreen);

  // Asked not to redraw, nothing is given to paint.
  SetWindowPos(panel, nullptr, 100, 100, 90, 90, SWP_NOZORDER | SWP_NOREDRAW);
  EXPECT_FALSE(GetUpdateRect(panel, nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(item, nullptr, FALSE));
  // A hidden child is left alone until it is shown.
  ShowWindow(item, SW_HIDE);
  SetWindowPos(panel, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(GetUpdateRect(panel, nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(item, nullptr, FALSE));
}

}  // namespace
}  // namespace test

#include "WindowTest.h"

#include <win32/module.h>

namespace test {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

using WindowDcTest = WindowGdiTest;

TEST_F(WindowDcTest, ClientAndWindowContextsStartAtTheirAreas) {
  HWND hwnd = create(RECT{100, 50, 300, 200}, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  POINT client{0, 0};
  ClientToScreen(hwnd, &client);
  ASSERT_GT(client.y, 50) << "a caption above the client area";
  paint(hwnd, kBlue, true);
  HDC dc = GetDC(hwnd);
  SetPixel(dc, 0, 0, kRed);
  SetPixel(dc, -1, -1, kRed);  // outside the client area: clipped
  ReleaseDC(hwnd, dc);
  EXPECT_EQ(screenAt(client.x, client.y), kRed);
  EXPECT_EQ(screenAt(client.x - 1, client.y - 1), kBlue);
  HDC whole = GetWindowDC(hwnd);
  SetPixel(whole, 0, 0, kGreen);
  ReleaseDC(hwnd, whole);
  EXPECT_EQ(screenAt(100, 50), kGreen);
  EXPECT_EQ(screenAt(99, 50), desktop());
  EXPECT_EQ(ReleaseDC(hwnd, whole), 0) << "released twice";
}

TEST_F(WindowDcTest, ChildrenPaintIntoTheirTopLevelWindowAndAreClippedByTheirParent) {
  HWND parent = create(RECT{0, 0, 100, 100});
  HWND child = create(RECT{80, 10, 130, 40}, WS_CHILD | WS_VISIBLE, parent);
  paint(parent, kBlue);
  paint(child, kRed);
  EXPECT_EQ(screenAt(85, 15), kRed);
  EXPECT_EQ(screenAt(99, 39), kRed);
  EXPECT_EQ(screenAt(100, 15), desktop()) << "the part of the child outside its parent is not drawn";
  EXPECT_EQ(screenAt(50, 50), kBlue);
  // Without WS_CLIPCHILDREN the parent paints over its child.
  paint(parent, kBlue);
  EXPECT_EQ(screenAt(85, 15), kBlue);
}

TEST_F(WindowDcTest, ClipChildrenAndClipSiblingsKeepOthersPixels) {
  HWND parent = create(RECT{0, 0, 100, 100}, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND lower = create(RECT{10, 10, 60, 60}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, parent);
  HWND upper = create(RECT{40, 40, 90, 90}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, parent);
  // The last child created is at the bottom of the z-order: bring `upper` to the top.
  SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  paint(upper, kGreen);
  paint(lower, kRed);
  paint(parent, kBlue);
  EXPECT_EQ(screenAt(20, 20), kRed);
  EXPECT_EQ(screenAt(50, 50), kGreen) << "the lower sibling does not paint under the upper one";
  EXPECT_EQ(screenAt(80, 80), kGreen);
  EXPECT_EQ(screenAt(5, 5), kBlue);
  EXPECT_EQ(screenAt(95, 5), kBlue);
}

TEST_F(WindowDcTest, WindowRegionShapesTheWindowOnScreenAndInHitTests) {
  HWND hwnd = create(RECT{10, 10, 110, 110});
  HRGN shape = CreateRectRgn(0, 0, 50, 50);
  HRGN second = CreateRectRgn(50, 50, 100, 100);
  CombineRgn(shape, shape, second, RGN_OR);
  DeleteObject(second);
  ASSERT_TRUE(SetWindowRgn(hwnd, shape, TRUE));
  EXPECT_FALSE(DeleteObject(shape)) << "the window owns the region";
  paint(hwnd, kRed);
  EXPECT_EQ(screenAt(20, 20), kRed);
  EXPECT_EQ(screenAt(100, 100), kRed);
  EXPECT_EQ(screenAt(90, 20), desktop());
  EXPECT_EQ(screenAt(20, 90), desktop());

  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(hwnd, copy), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(copy, 60, 60));
  EXPECT_FALSE(PtInRegion(copy, 60, 10));
  EXPECT_TRUE(plat::WindowGraphics::current().regionContains(hwnd, POINT{10, 10}));
  EXPECT_FALSE(plat::WindowGraphics::current().regionContains(hwnd, POINT{80, 10}));

  EXPECT_TRUE(SetWindowRgn(hwnd, nullptr, FALSE));
  EXPECT_EQ(GetWindowRgn(hwnd, copy), ERROR);
  paint(hwnd, kRed);
  EXPECT_EQ(screenAt(90, 20), kRed);
  DeleteObject(copy);
}

TEST_F(WindowDcTest, PaintingIsClippedToTheWindowRegion) {
  HWND hwnd = create(RECT{0, 0, 40, 40});
  paint(hwnd, kBlue);
  SetWindowRgn(hwnd, CreateRectRgn(0, 0, 20, 40), FALSE);
  paint(hwnd, kRed);
  // Lift the region again: the right half kept what was there before.
  SetWindowRgn(hwnd, nullptr, FALSE);
  EXPECT_EQ(screenAt(10, 10), kRed);
  EXPECT_EQ(screenAt(30, 10), kBlue);
}

TEST_F(WindowDcTest, ScreenComposesWindowsInZOrder) {
  HWND back = create(RECT{0, 0, 60, 60});
  HWND front = create(RECT{30, 30, 90, 90});
  SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  paint(back, kRed);
  paint(front, kGreen);
  EXPECT_EQ(screenAt(10, 10), kRed);
  EXPECT_EQ(screenAt(45, 45), kGreen);
  EXPECT_EQ(screenAt(80, 80), kGreen);
  SetWindowPos(back, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(screenAt(45, 45), kRed);
  ShowWindow(back, SW_HIDE);
  EXPECT_EQ(screenAt(45, 45), kGreen);
  EXPECT_EQ(screenAt(10, 10), desktop());
  // The screen's own context reads what is shown.
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, 45, 45), kGreen);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 1024);
  // Bitmaps compatible with the screen are in the screen's format.
  HBITMAP compatible = CreateCompatibleBitmap(screen, 2, 2);
  BITMAP bm{};
  GetObjectA(compatible, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  DeleteObject(compatible);
  ReleaseDC(nullptr, screen);
}

// Taking the screen's context reads nothing yet: its pixels are the screen as it is when
// they are first read, with what windows drew after the context was taken.
TEST_F(WindowDcTest, TheScreenContextShowsTheScreenAsItIsWhenItIsRead) {
  HWND window = create(RECT{0, 0, 60, 60});
  paint(window, kRed);
  HDC screen = GetDC(nullptr);
  paint(window, kGreen);
  EXPECT_EQ(GetPixel(screen, 10, 10), kGreen);
  EXPECT_EQ(GetPixel(screen, 70, 70), desktop());
  EXPECT_EQ(GetPixel(screen, 1024, 0), CLR_INVALID) << "off the screen";
  ReleaseDC(nullptr, screen);
}

TEST_F(WindowDcTest, LayeredWindowsBlendAndKeyOutAColour) {
  HWND back = create(RECT{0, 0, 50, 50});
  paint(back, RGB(0, 0, 200));
  HWND tip = create(RECT{0, 0, 50, 50}, WS_POPUP | WS_VISIBLE, nullptr, WS_EX_LAYERED);
  SetWindowPos(tip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  paint(tip, RGB(200, 0, 0));
  HDC dc = GetDC(tip);
  SetPixel(dc, 5, 5, RGB(1, 2, 3));
  ReleaseDC(tip, dc);

  // Looked up at run time, as the tooltip does.
  using SetLayered = BOOL (*)(HWND, COLORREF, BYTE, DWORD);
  auto fn = reinterpret_cast<SetLayered>(GetProcAddress(GetModuleHandleA("user32"), "SetLayeredWindowAttributes"));
  ASSERT_NE(fn, nullptr);
  ASSERT_TRUE(fn(tip, RGB(1, 2, 3), 128, LWA_ALPHA | LWA_COLORKEY));
  const COLORREF mixed = screenAt(20, 20);
  EXPECT_NEAR(GetRValue(mixed), 100, 1);
  EXPECT_NEAR(GetBValue(mixed), 100, 1);
  EXPECT_EQ(screenAt(5, 5), RGB(0, 0, 200)) << "the key colour is see-through";
  ASSERT_TRUE(fn(tip, 0, 0, LWA_ALPHA));
  EXPECT_EQ(screenAt(20, 20), RGB(0, 0, 200)) << "fully transparent";
  EXPECT_FALSE(SetLayeredWindowAttributes(back, 0, 10, LWA_ALPHA)) << "not a layered window";
}

TEST_F(WindowDcTest, HiddenWindowsDrawNothingAndDeadWindowsGiveNoContext) {
  HWND hwnd = create(RECT{0, 0, 20, 20}, WS_POPUP);
  HDC dc = GetDC(hwnd);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(SetPixel(dc, 1, 1, kRed), CLR_INVALID);
  ReleaseDC(hwnd, dc);
  DestroyWindow(hwnd);
  EXPECT_EQ(GetDC(hwnd), nullptr);
}

TEST_F(WindowDcTest, RedrawWindowInvalidatesPaintsAndSendsTheFramePaint) {
  HWND hwnd = create(RECT{0, 0, 50, 50});
  pump();
  s_messages.clear();
  ASSERT_TRUE(RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW));
  EXPECT_EQ(s_messages[WM_NCPAINT], 1);
  EXPECT_EQ(s_messages[WM_PAINT], 1);
  s_messages.clear();
  HRGN rgn = CreateRectRgn(5, 5, 10, 10);
  InvalidateRgn(hwnd, rgn, FALSE);
  DeleteObject(rgn);
  pump();
  EXPECT_EQ(s_messages[WM_PAINT], 1);
  EXPECT_EQ(s_messages[WM_NCPAINT], 0);
}

}  // namespace
}  // namespace test

namespace test {
namespace {

TEST_F(WindowDcTest, WhatADestroyedWindowHadGoesWithTheNextComposition) {
  HWND hwnd = create(RECT{0, 0, 30, 30}, WS_POPUP | WS_VISIBLE, nullptr, WS_EX_LAYERED);
  SetWindowRgn(hwnd, CreateRectRgn(0, 0, 10, 10), FALSE);
  paint(hwnd, kRed);
  plat::WindowGraphics& graphics = plat::WindowGraphics::current();
  ASSERT_TRUE(graphics.regionOf(hwnd));
  DestroyWindow(hwnd);
  screenAt(0, 0);
  EXPECT_FALSE(graphics.regionOf(hwnd));
  EXPECT_TRUE(graphics.regionContains(hwnd, POINT{20, 20}));
}

}  // namespace
}  // namespace test

// Windows whose edges lie at the ends of the int range: they draw, show and read back only
// where they have pixels, and never past them.
#include "WindowTest.h"

#include <win32/gdi/PictureFile.h>

#include <climits>

namespace test {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr RECT kEverywhere{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

class FarWindowTest : public WindowGdiTest {
 protected:
  HWND createAt(int x, int y, int cx, int cy, DWORD style = WS_POPUP | WS_VISIBLE, HWND parent = nullptr) {
    return CreateWindowExA(0, "GdiTestWindow", "", style, x, y, cx, cy, parent, nullptr, nullptr, nullptr);
  }
  COLORREF pixelOf(HWND hwnd, int x, int y) { return plat::Screenshot::windowPixel(hwnd, x, y); }
};

TEST_F(FarWindowTest, TopLevelWindowsKeepAndShowThePixelsNearTheirTopLeft) {
  // From left of the screen to near the end of the int range.
  HWND wide = createAt(-100, 10, INT_MAX, 50);
  paint(wide, kRed, true, kEverywhere);
  EXPECT_EQ(screenAt(0, 10), kRed);
  EXPECT_EQ(screenAt(1023, 59), kRed);
  EXPECT_EQ(screenAt(0, 60), desktop());
  EXPECT_EQ(plat::Screenshot::screenPixel(1023, 59), kRed);
  const int last = plat::WindowGraphics::kLargestSide - 1;
  EXPECT_EQ(pixelOf(wide, last, 49), kRed);
  EXPECT_EQ(pixelOf(wide, last + 1, 0), CLR_INVALID) << "no pixels past the largest side";
  EXPECT_EQ(pixelOf(wide, INT_MAX - 1, 0), CLR_INVALID);

  // From the start of the int range onto the screen: the part on the screen lies past the
  // pixels a window keeps, so what is under it shows.
  HWND behind = createAt(INT_MIN + 200, 100, INT_MAX, 50);
  paint(behind, kGreen, true, kEverywhere);
  EXPECT_EQ(screenAt(100, 120), desktop());
  EXPECT_EQ(plat::Screenshot::screenPixel(100, 120), desktop());
  EXPECT_EQ(pixelOf(behind, 0, 0), kGreen);

  // At the end of the int range, off the screen, with a frame and a client area.
  HWND end = createAt(INT_MAX - 10, INT_MAX - 10, 100, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  paint(end, kBlue, true, kEverywhere);
  EXPECT_EQ(pixelOf(end, 9, 9), kBlue);
  EXPECT_EQ(pixelOf(end, 10, 0), CLR_INVALID);
  EXPECT_EQ(plat::Screenshot::screenPixel(0, 0), desktop());
}

TEST_F(FarWindowTest, AWindowMovedFromOneEndOfTheRangeToTheOtherKeepsItsClientInItsFrame) {
  HWND framed = createAt(INT_MIN, INT_MIN, 100, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  RECT before{};
  ASSERT_TRUE(GetWindowRect(framed, &before));
  ASSERT_TRUE(SetWindowPos(framed, nullptr, INT_MAX - 200, INT_MAX - 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
  RECT window{};
  RECT client{};
  ASSERT_TRUE(GetWindowRect(framed, &window));
  ASSERT_TRUE(GetClientRect(framed, &client));
  POINT origin{0, 0};
  ASSERT_TRUE(ClientToScreen(framed, &origin));
  EXPECT_EQ(window.left, INT_MAX - 200);
  EXPECT_EQ(window.right - window.left, before.right - before.left) << "moved, not sized";
  EXPECT_GT(origin.x, window.left);
  EXPECT_LT(origin.x + client.right, window.right + 1);
  EXPECT_GT(origin.y, window.top);

  // And back, by the whole range.
  ASSERT_TRUE(MoveWindow(framed, INT_MIN, INT_MIN, 150, 150, TRUE));
  ASSERT_TRUE(GetWindowRect(framed, &window));
  origin = POINT{0, 0};
  ASSERT_TRUE(ClientToScreen(framed, &origin));
  EXPECT_EQ(window.left, INT_MIN);
  EXPECT_GT(origin.x, window.left);
  EXPECT_LT(origin.x, window.left + 150);
}

TEST_F(FarWindowTest, ChildrenDrawOnlyInsideTheirParentWhereverTheyReach) {
  HWND parent = createAt(100, 100, 200, 150, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND onward = createAt(150, 100, INT_MAX, INT_MAX, WS_CHILD | WS_VISIBLE, parent);
  HWND from = createAt(INT_MIN + 50, 10, INT_MAX, 20, WS_CHILD | WS_VISIBLE, parent);
  HWND far = createAt(INT_MAX - 10, INT_MAX - 10, 100, 100, WS_CHILD | WS_VISIBLE, parent);
  paint(onward, kRed, false, kEverywhere);
  paint(from, kGreen, false, kEverywhere);
  paint(far, kYellow, false, kEverywhere);
  paint(parent, kBlue, false, kEverywhere);

  EXPECT_EQ(screenAt(250, 200), kRed);
  EXPECT_EQ(screenAt(299, 249), kRed);
  EXPECT_EQ(screenAt(249, 199), kBlue) << "the parent clipped around its children";
  EXPECT_EQ(screenAt(300, 200), desktop());
  EXPECT_EQ(screenAt(250, 250), desktop());
  EXPECT_EQ(screenAt(100, 110), kGreen);
  EXPECT_EQ(screenAt(148, 129), kGreen);
  EXPECT_EQ(screenAt(149, 110), kBlue);
  EXPECT_EQ(screenAt(99, 110), desktop());
  const auto screen = plat::VirtualScreen::current().compose();
  int yellow = 0;
  for (int y = 0; y < screen->height(); ++y)
    for (int x = 0; x < screen->width(); ++x) yellow += plat::colorRefFromPixel(screen->pixel(x, y)) == kYellow;
  EXPECT_EQ(yellow, 0) << "a child far past its parent draws nowhere";
}

// A child's picture is what of it lies on its top-level window; past that it has no pixel.
TEST_F(FarWindowTest, AChildsPictureIsThePartOfItOnItsTopLevelWindow) {
  HWND parent = createAt(100, 100, 200, 150);
  HWND onward = createAt(150, 100, INT_MAX, INT_MAX, WS_CHILD | WS_VISIBLE, parent);
  HWND from = createAt(INT_MIN + 50, 10, INT_MAX, 20, WS_CHILD | WS_VISIBLE, parent);
  HWND far = createAt(INT_MAX - 10, INT_MAX - 10, 100, 100, WS_CHILD | WS_VISIBLE, parent);
  paint(onward, kRed, false, kEverywhere);
  paint(from, kGreen, false, kEverywhere);

  EXPECT_EQ(pixelOf(onward, 0, 0), kRed);
  EXPECT_EQ(pixelOf(onward, 49, 49), kRed);
  EXPECT_EQ(pixelOf(onward, 50, 0), CLR_INVALID);
  EXPECT_EQ(pixelOf(onward, 0, 50), CLR_INVALID);
  EXPECT_EQ(pixelOf(onward, INT_MAX - 1, INT_MAX - 1), CLR_INVALID);
  EXPECT_EQ(pixelOf(from, INT_MAX - 2, 19), kGreen);
  EXPECT_EQ(pixelOf(from, INT_MAX - 49, 0), kGreen);
  EXPECT_EQ(pixelOf(from, INT_MAX - 50, 0), CLR_INVALID);
  EXPECT_EQ(pixelOf(from, 0, 0), CLR_INVALID);
  EXPECT_EQ(pixelOf(far, 0, 0), CLR_INVALID);

  const auto file = machine().root() / "onward.png";
  ASSERT_TRUE(plat::Screenshot::saveWindow(onward, file));
  const auto picture = plat::PictureFile::load(file);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels.width(), 50);
  EXPECT_EQ(picture->pixels.height(), 50);
}

// Regions reaching the ends of the int range, on windows away from the screen's origin.
TEST_F(FarWindowTest, WindowRegionsReachingTheEndsOfTheIntRangeShapeTheWindow) {
  HWND right = createAt(10, 10, 100, 100);
  SetWindowRgn(right, CreateRectRgn(50, 0, INT_MAX, INT_MAX), FALSE);
  HWND left = createAt(-10, 200, 100, 100);
  SetWindowRgn(left, CreateRectRgn(INT_MIN, INT_MIN, 50, INT_MAX), FALSE);
  paint(right, kRed, true);
  paint(left, kGreen, true);
  EXPECT_EQ(screenAt(59, 20), desktop());
  EXPECT_EQ(screenAt(60, 20), kRed);
  EXPECT_EQ(screenAt(109, 109), kRed);
  EXPECT_EQ(screenAt(0, 200), kGreen);
  EXPECT_EQ(screenAt(39, 299), kGreen);
  EXPECT_EQ(screenAt(40, 200), desktop());
}

}  // namespace
}  // namespace test

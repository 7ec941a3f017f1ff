#include "WindowTest.h"

#include <win32/gdi/PictureFile.h>

#include <cstring>

namespace test {
namespace {

using ScreenshotTest = WindowGdiTest;

// A window with a caption in text, a picture stretched from a bitmap and a shape cut by
// its region, saved and read back as a picture.
TEST_F(ScreenshotTest, AShapedWindowWithTextAndAPictureReadsBackAsAPicture) {
  HWND hwnd = create(RECT{40, 30, 240, 150});
  HRGN shape = CreateRectRgn(0, 0, 200, 100);
  HRGN notch = CreateRectRgn(170, 0, 200, 30);
  CombineRgn(shape, shape, notch, RGN_DIFF);
  DeleteObject(notch);
  SetWindowRgn(hwnd, shape, FALSE);

  paint(hwnd, RGB(236, 233, 216));
  HDC dc = GetDC(hwnd);
  HFONT font = CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 128));
  RECT caption{0, 0, 170, 30};
  DrawTextA(dc, "Orvane test", -1, &caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldFont);
  DeleteObject(font);

  HDC memory = CreateCompatibleDC(dc);
  HBITMAP picture = CreateCompatibleBitmap(dc, 4, 2);
  HGDIOBJ oldBitmap = SelectObject(memory, picture);
  for (int x = 0; x < 4; ++x) {
    SetPixel(memory, x, 0, RGB(255, x * 80, 0));
    SetPixel(memory, x, 1, RGB(0, x * 80, 255));
  }
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, 10, 40, 80, 40, memory, 0, 0, 4, 2, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(hwnd, dc);

  const auto folder = machine().root();
  ASSERT_TRUE(plat::Screenshot::saveWindow(hwnd, folder / "window.png"));
  ASSERT_TRUE(plat::Screenshot::saveScreen(folder / "screen.png"));
  const auto window = plat::PictureFile::load(folder / "window.png");
  const auto screen = plat::PictureFile::load(folder / "screen.png");
  ASSERT_TRUE(window);
  ASSERT_TRUE(screen);
  EXPECT_EQ(window->pixels.width(), 200);
  EXPECT_EQ(screen->pixels.width(), 1024);
  EXPECT_EQ(screen->pixels.height(), 768);

  const auto at = [](const plat::PictureFile::Picture& p, int x, int y) {
    return plat::colorRefFromPixel(p.pixels.pixel(x, y));
  };
  // Shape: the notch shows the desktop, in the window's picture and on the screen.
  EXPECT_EQ(at(*window, 190, 10), desktop());
  EXPECT_EQ(at(*screen, 40 + 190, 30 + 10), desktop());
  EXPECT_EQ(at(*window, 190, 50), RGB(236, 233, 216));
  EXPECT_EQ(at(*window, 5, 110), desktop()) << "below the region";
  // The picture: red at the top-left, blue at the bottom-left, a blend between.
  EXPECT_EQ(GetRValue(at(*window, 12, 42)), 255);
  EXPECT_EQ(GetBValue(at(*window, 12, 78)), 255);
  EXPECT_EQ(at(*screen, 40 + 12, 30 + 42), at(*window, 12, 42));
  // The caption: dark blue ink inside the caption band, centred.
  int ink = 0, left = 200, right = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 170; ++x)
      if (at(*window, x, y) == RGB(0, 0, 128)) {
        ++ink;
        left = std::min(left, x);
        right = std::max(right, x);
      }
  EXPECT_GT(ink, 100);
  EXPECT_NEAR((left + right) / 2.0, 85, 4);
  EXPECT_EQ(plat::Screenshot::windowPixel(hwnd, 190, 10), desktop());
  EXPECT_EQ(plat::Screenshot::screenPixel(40 + 190, 30 + 50), RGB(236, 233, 216));
  EXPECT_EQ(plat::Screenshot::screenPixel(-1, 0), CLR_INVALID);
  EXPECT_FALSE(plat::Screenshot::saveWindow(reinterpret_cast<HWND>(0x77), folder / "none.png"));
}

// Children paint into their top-level window: their picture is what shows there.
TEST_F(ScreenshotTest, AChildWindowsPixelsAreWhatItPainted) {
  HWND parent = create(RECT{20, 20, 220, 170});
  paint(parent, RGB(0, 0, 255));
  HWND child = create(RECT{30, 40, 90, 80}, WS_CHILD | WS_VISIBLE, parent);
  paint(child, RGB(255, 0, 0));
  EXPECT_EQ(plat::Screenshot::windowPixel(child, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(plat::Screenshot::windowPixel(child, 59, 39), RGB(255, 0, 0));
  EXPECT_EQ(plat::Screenshot::windowPixel(child, 60, 0), CLR_INVALID);
  EXPECT_EQ(plat::Screenshot::windowPixel(parent, 29, 40), RGB(0, 0, 255));
  EXPECT_EQ(plat::Screenshot::windowPixel(parent, 30, 40), RGB(255, 0, 0));
}

TEST_F(ScreenshotTest, DumpWritesTheScreenWhereAsked) {
  create(RECT{0, 0, 10, 10});
  setenv("ORVANE_SCREENSHOT_DIR", machine().root().c_str(), 1);
  const auto file = plat::Screenshot::dump("failure");
  unsetenv("ORVANE_SCREENSHOT_DIR");
  EXPECT_EQ(file, machine().root() / "failure.png");
  EXPECT_TRUE(plat::PictureFile::load(file));
}

}  // namespace
}  // namespace test

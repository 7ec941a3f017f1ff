// Painting reaches GDI: the class brush erases and BeginPaint's device context draws
// into the window's own pixels, clipped to what asked to be painted.
#include "WindowTest.h"

#include <robot/Screenshot.h>
#include <win32/gdi.h>

namespace test {
namespace {

class PaintPixelsTest : public UserTest {};

TEST_F(PaintPixelsTest, TheClassBrushErasesAndPaintDrawsInsideTheUpdateArea) {
  static HBRUSH blue = nullptr;
  blue = CreateSolidBrush(RGB(0, 0, 255));
  WNDCLASSA cls{};
  cls.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      RECT all{0, 0, 100, 100};
      FillRect(hdc, &all, blue);
      EndPaint(hwnd, &ps);
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  };
  cls.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
  cls.lpszClassName = "Painted";
  RegisterClassA(&cls);
  HWND hwnd = CreateWindowExA(0, "Painted", "", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr, nullptr, nullptr,
                              nullptr);
  pump();
  EXPECT_EQ(plat::Screenshot::windowPixel(hwnd, 50, 50), RGB(0, 0, 255));
  // Only the invalid part is drawn again.
  RECT part{0, 0, 10, 10};
  DeleteObject(blue);
  blue = CreateSolidBrush(RGB(0, 255, 0));
  InvalidateRect(hwnd, &part, FALSE);
  pump();
  EXPECT_EQ(plat::Screenshot::windowPixel(hwnd, 5, 5), RGB(0, 255, 0));
  EXPECT_EQ(plat::Screenshot::windowPixel(hwnd, 50, 50), RGB(0, 0, 255));
}

}  // namespace
}  // namespace test

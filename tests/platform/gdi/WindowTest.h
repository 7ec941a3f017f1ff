// Windows for the GDI tests: a class whose procedure counts messages and leaves the rest
// to DefWindowProcA, windows of it, a message pump, and reading the composed screen. A
// failed test leaves the screen beside its log as "<suite>.<test>.png".
#pragma once

#include <robot/Screenshot.h>
#include <support/TestMachine.h>
#include <win32/gdi.h>
#include <win32/gdi/VirtualScreen.h>
#include <win32/gdi/WindowGraphics.h>
#include <win32/user.h>

#include <gtest/gtest.h>

#include <map>

namespace test {

class WindowGdiTest : public MachineTest {
 protected:
  static inline std::map<UINT, int> s_messages;

  void SetUp() override {
    s_messages.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
      ++s_messages[msg];
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    };
    wc.lpszClassName = "GdiTestWindow";
    RegisterClassA(&wc);
  }

  void TearDown() override {
    if (!HasFailure()) return;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    plat::Screenshot::dump(std::string(info->test_suite_name()) + "." + info->name());
  }

  HWND create(RECT r, DWORD style = WS_POPUP | WS_VISIBLE, HWND parent = nullptr, DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, "GdiTestWindow", "", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           parent, nullptr, nullptr, nullptr);
  }

  void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  // Fills a window's client area (or whole window) through a device context on it, as
  // far as `all` reaches.
  void paint(HWND hwnd, COLORREF color, bool whole = false, RECT all = RECT{-5000, -5000, 5000, 5000}) {
    HDC dc = whole ? GetWindowDC(hwnd) : GetDC(hwnd);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
  }

  COLORREF screenAt(int x, int y) {
    const auto frame = plat::VirtualScreen::current().compose();
    return plat::colorRefFromPixel(frame->pixel(x, y));
  }
  COLORREF desktop() { return GetSysColor(COLOR_DESKTOP); }
};

}  // namespace test

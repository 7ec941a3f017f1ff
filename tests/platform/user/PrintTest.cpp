// WM_PRINT's default drawing of a window and its children into a memory device context.
#include "WindowTest.h"

#include <robot/Screenshot.h>
#include <win32/gdi.h>

namespace test {
namespace {

class PrintTest : public UserTest {
 protected:
  void SetUp() override {
    WNDCLASSA cls{};
    cls.lpfnWndProc = recordingProc;
    cls.hbrBackground = CreateSolidBrush(RGB(255, 255, 0));
    cls.lpszClassName = "Yellow";
    RegisterClassA(&cls);
    m_memory = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    m_bitmap = CreateCompatibleBitmap(screen, 100, 100);
    ReleaseDC(nullptr, screen);
    m_old = SelectObject(m_memory, m_bitmap);
    fill(nullptr, RGB(0, 255, 0));
  }
  void TearDown() override {
    SelectObject(m_memory, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_memory);
  }

  // Fills a window's client (or the memory bitmap for null) through a device context.
  void fill(HWND hwnd, COLORREF color) {
    HDC dc = hwnd ? GetDC(hwnd) : m_memory;
    HBRUSH brush = CreateSolidBrush(color);
    RECT all{0, 0, 1000, 1000};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    if (hwnd) ReleaseDC(hwnd, dc);
  }

  COLORREF printed(int x, int y) { return GetPixel(m_memory, x, y); }

  HDC m_memory = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
};

TEST_F(PrintTest, ClientAndChildrenArePrintedAtTheirPlaces) {
  HWND parent = CreateWindowExA(0, "Yellow", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 60, 60, nullptr, nullptr,
                                nullptr, nullptr);
  HWND child = createRecorder("", WS_CHILD | WS_VISIBLE, parent, 1, RECT{20, 20, 40, 40});
  pump();
  HDC frame = GetWindowDC(parent);
  RECT whole{0, 0, 60, 60};
  FillRect(frame, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(parent, frame);
  fill(parent, RGB(255, 0, 0));
  fill(child, RGB(0, 0, 255));
  // The parent's border is one pixel: its client starts at (1, 1).
  SendMessageA(parent, WM_PRINT, reinterpret_cast<WPARAM>(m_memory), PRF_CLIENT);
  EXPECT_EQ(printed(0, 0), RGB(0, 255, 0));  // frame not asked for
  EXPECT_EQ(printed(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(printed(25, 25), RGB(0, 255, 0));  // the child's place is left alone
  EXPECT_EQ(printed(61, 30), RGB(0, 255, 0));

  SendMessageA(parent, WM_PRINT, reinterpret_cast<WPARAM>(m_memory), PRF_CLIENT | PRF_CHILDREN | PRF_NONCLIENT);
  EXPECT_EQ(printed(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(printed(59, 59), RGB(0, 0, 0));
  EXPECT_EQ(printed(60, 60), RGB(0, 255, 0));
  EXPECT_EQ(printed(21, 21), RGB(0, 0, 255));
  EXPECT_EQ(printed(20, 20), RGB(255, 0, 0));
}

TEST_F(PrintTest, TheBackgroundIsErasedWhenAskedAndHiddenWindowsCanBeSkipped) {
  HWND hwnd = CreateWindowExA(0, "Yellow", "", WS_POPUP, 0, 0, 30, 30, nullptr, nullptr, nullptr, nullptr);
  SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(m_memory), PRF_CHECKVISIBLE | PRF_ERASEBKGND);
  EXPECT_EQ(printed(5, 5), RGB(0, 255, 0));
  SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(m_memory), PRF_ERASEBKGND);
  EXPECT_EQ(printed(5, 5), RGB(255, 255, 0));
  EXPECT_EQ(printed(30, 30), RGB(0, 255, 0));  // the erase stays inside the client
  const std::vector<UINT> expected{WM_PRINT, WM_PRINT, WM_ERASEBKGND};  // none for the hidden one
  EXPECT_EQ(recorder().of(hwnd, {WM_PRINT, WM_ERASEBKGND, WM_PRINTCLIENT}), expected);
}

}  // namespace
}  // namespace test

// Invalidation and WM_PAINT.
#include "WindowTest.h"

namespace test {
namespace {

class PaintTest : public UserTest {};

TEST_F(PaintTest, AShownWindowGetsOnePaintAndBeginPaintValidates) {
  HWND hwnd = createRecorder("paint", WS_POPUP | WS_VISIBLE, nullptr, 0, RECT{0, 0, 100, 50});
  pump();
  EXPECT_EQ(recorder().of(hwnd, {WM_PAINT}).size(), 1u);
  recorder().clear();
  pump();
  EXPECT_TRUE(recorder().of(hwnd, {WM_PAINT}).empty());
}

TEST_F(PaintTest, BeginPaintReportsTheInvalidAreaAndErases) {
  static RECT painted{};
  static BOOL mustErase = TRUE;
  registerClass("Painter", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      painted = ps.rcPaint;
      mustErase = ps.fErase;
      EXPECT_NE(hdc, nullptr);
      EndPaint(hwnd, &ps);
      return 0;
    }
    return recordingProc(hwnd, message, wParam, lParam);
  });
  HWND hwnd = CreateWindowExA(0, "Painter", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
  pump();
  recorder().clear();
  RECT a{10, 10, 20, 20};
  RECT b{30, 5, 40, 15};
  InvalidateRect(hwnd, &a, TRUE);
  InvalidateRect(hwnd, &b, FALSE);
  pump();
  EXPECT_EQ(painted.left, 10);
  EXPECT_EQ(painted.top, 5);
  EXPECT_EQ(painted.right, 40);
  EXPECT_EQ(painted.bottom, 20);
  EXPECT_EQ(recorder().of(hwnd, {WM_ERASEBKGND}).size(), 1u);
  EXPECT_TRUE(mustErase);  // the class has no background brush
}

TEST_F(PaintTest, HiddenWindowsAreNotPaintedAndUpdateWindowPaintsAtOnce) {
  HWND hwnd = createRecorder("hidden", WS_POPUP);
  InvalidateRect(hwnd, nullptr, FALSE);
  pump();
  EXPECT_TRUE(recorder().of(hwnd, {WM_PAINT}).empty());
  ShowWindow(hwnd, SW_SHOWNA);
  InvalidateRect(hwnd, nullptr, FALSE);
  recorder().clear();
  UpdateWindow(hwnd);
  EXPECT_EQ(recorder().of(hwnd, {WM_PAINT}).size(), 1u);
  ValidateRect(hwnd, nullptr);
  recorder().clear();
  pump();
  EXPECT_TRUE(recorder().of(hwnd, {WM_PAINT}).empty());
}

}  // namespace
}  // namespace test

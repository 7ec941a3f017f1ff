// The thread's caret: made hidden, shown and hidden by count, placed in client coordinates,
// gone with its window; drawn inverted on the screen while it shows; and the edit control
// carrying it at its caret index while it has the focus.
#include "WindowTest.h"

#include <robot/Robot.h>
#include <robot/Screenshot.h>
#include <win32/gdi.h>

namespace test {
namespace {

LRESULT CALLBACK WhiteProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class CaretTest : public UserTest {
 protected:
  void SetUp() override {
    registerClass("White", WhiteProc);
    window = CreateWindowExA(0, "White", "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr, nullptr,
                             nullptr);
    robot.pumpUntilIdle();
  }
  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);
  }
  static GUITHREADINFO Info() {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    GetGUIThreadInfo(0, &gui);
    return gui;
  }
  static COLORREF At(int x, int y) { return plat::Screenshot::screenPixel(100 + x, 100 + y); }

  plat::Robot robot;
  HWND window = nullptr;
};

TEST_F(CaretTest, ACaretIsMadeHiddenAndShowsOnceEveryHideIsTakenBack) {
  POINT at{};
  EXPECT_FALSE(GetCaretPos(&at));
  EXPECT_FALSE(SetCaretPos(1, 1));
  EXPECT_FALSE(ShowCaret(nullptr));
  EXPECT_FALSE(DestroyCaret());
  EXPECT_FALSE(CreateCaret(window, reinterpret_cast<HBITMAP>(1), 2, 10));

  ASSERT_TRUE(CreateCaret(window, nullptr, 2, 10));
  ASSERT_TRUE(SetCaretPos(5, 5));
  ASSERT_TRUE(GetCaretPos(&at));
  EXPECT_EQ(at.x, 5);
  GUITHREADINFO gui = Info();
  EXPECT_EQ(gui.hwndCaret, window);
  EXPECT_EQ(gui.flags & GUI_CARETBLINKING, 0u);
  EXPECT_EQ(gui.rcCaret.right - gui.rcCaret.left, 2);
  EXPECT_EQ(gui.rcCaret.bottom - gui.rcCaret.top, 10);
  EXPECT_EQ(At(5, 5), RGB(255, 255, 255));

  // Shown: its rectangle is the window's pixels inverted, and nothing beside it.
  ASSERT_TRUE(ShowCaret(window));
  EXPECT_NE(Info().flags & GUI_CARETBLINKING, 0u);
  EXPECT_EQ(At(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(At(6, 14), RGB(0, 0, 0));
  EXPECT_EQ(At(7, 5), RGB(255, 255, 255));
  EXPECT_EQ(At(5, 15), RGB(255, 255, 255));
  EXPECT_EQ(At(4, 5), RGB(255, 255, 255));

  // Two hides need two shows; a show for another window does nothing.
  HideCaret(nullptr);
  HideCaret(window);
  EXPECT_TRUE(ShowCaret(window));
  EXPECT_EQ(Info().flags & GUI_CARETBLINKING, 0u);
  HWND other = createRecorder("Other");
  EXPECT_FALSE(ShowCaret(other));
  EXPECT_FALSE(HideCaret(other));
  EXPECT_TRUE(ShowCaret(nullptr));
  EXPECT_NE(Info().flags & GUI_CARETBLINKING, 0u);
  // More shows than hides leave it shown.
  EXPECT_TRUE(ShowCaret(nullptr));
  HideCaret(nullptr);
  EXPECT_EQ(Info().flags & GUI_CARETBLINKING, 0u);
  ShowCaret(nullptr);

  // A new caret replaces the old one, hidden again.
  ASSERT_TRUE(CreateCaret(other, nullptr, 0, 0));
  gui = Info();
  EXPECT_EQ(gui.hwndCaret, other);
  EXPECT_EQ(gui.rcCaret.right - gui.rcCaret.left, GetSystemMetrics(SM_CXBORDER));
  EXPECT_EQ(At(5, 5), RGB(255, 255, 255));
  EXPECT_TRUE(DestroyCaret());
  EXPECT_EQ(Info().hwndCaret, nullptr);
  DestroyWindow(other);
}

TEST_F(CaretTest, TheCaretShowsOnlyInsideItsVisibleWindowAndGoesWithIt) {
  ASSERT_TRUE(CreateCaret(window, nullptr, 4, 30));
  ShowCaret(window);
  // Past the client area's bottom nothing is inverted.
  SetCaretPos(10, 80);
  EXPECT_EQ(At(10, 99), RGB(0, 0, 0));
  EXPECT_EQ(At(10, 100), GetSysColor(COLOR_DESKTOP));
  ShowWindow(window, SW_HIDE);
  robot.pumpUntilIdle();
  EXPECT_EQ(Info().flags & GUI_CARETBLINKING, GUI_CARETBLINKING);
  EXPECT_NE(At(10, 99), RGB(0, 0, 0));
  ShowWindow(window, SW_SHOW);
  robot.pumpUntilIdle();
  EXPECT_EQ(At(10, 99), RGB(0, 0, 0));
  DestroyWindow(window);
  POINT at{};
  EXPECT_FALSE(GetCaretPos(&at));
  EXPECT_EQ(Info().hwndCaret, nullptr);
}

TEST_F(CaretTest, AFocusedEditCarriesTheCaretAtItsCaretIndex) {
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 150, 22, window, nullptr, nullptr, nullptr);
  EXPECT_EQ(Info().hwndCaret, nullptr);
  SetFocus(edit);
  EXPECT_EQ(Info().hwndCaret, edit);
  EXPECT_NE(Info().flags & GUI_CARETBLINKING, 0u);
  POINT start{};
  ASSERT_TRUE(GetCaretPos(&start));
  const DWORD margins = static_cast<DWORD>(SendMessageA(edit, EM_GETMARGINS, 0, 0));
  EXPECT_EQ(start.x, static_cast<int>(LOWORD(margins)));

  robot.type("Orvane");
  HDC hdc = GetDC(edit);
  HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  GetTextExtentPoint32A(hdc, "Orvane", 6, &size);
  SelectObject(hdc, old);
  ReleaseDC(edit, hdc);
  POINT end{};
  ASSERT_TRUE(GetCaretPos(&end));
  EXPECT_EQ(end.x, start.x + size.cx);
  EXPECT_EQ(end.y, start.y);
  // On screen the caret inverts the edit's white field at that place.
  robot.pumpUntilIdle();
  POINT screen{end.x, end.y + 2};
  ClientToScreen(edit, &screen);
  EXPECT_EQ(plat::Screenshot::screenPixel(screen.x, screen.y), RGB(0, 0, 0));
  EXPECT_EQ(plat::Screenshot::windowPixel(edit, end.x, end.y + 2), RGB(255, 255, 255));

  robot.key(VK_HOME);
  POINT home{};
  GetCaretPos(&home);
  EXPECT_EQ(home.x, start.x);
  SendMessageA(edit, EM_SETSEL, 2, 2);
  POINT two{};
  GetCaretPos(&two);
  EXPECT_GT(two.x, start.x);
  EXPECT_LT(two.x, end.x);

  // Losing the focus ends the caret.
  SetFocus(window);
  EXPECT_EQ(Info().hwndCaret, nullptr);
  DestroyWindow(edit);
}

}  // namespace
}  // namespace test

// The robot in a test's own process: input as the system delivers it, time through the
// manual clock, answers to message boxes.
#include <robot/Robot.h>
#include <support/TestMachine.h>
#include <win32/error.h>
#include <win32/user.h>

#include <string>
#include <vector>

namespace test {
namespace {

struct Seen {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> g_seen;

LRESULT CALLBACK watchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  g_seen.push_back({hwnd, message, wParam, lParam});
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class RobotTest : public MachineTest {
 protected:
  RobotTest() {
    g_seen.clear();
    WNDCLASSA cls{};
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = watchProc;
    cls.lpszClassName = "Watched";
    RegisterClassA(&cls);
  }
  HWND window(const char* title, DWORD style, RECT r, HWND parent = nullptr, int id = 0) {
    return CreateWindowExA(0, "Watched", title, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  std::vector<UINT> seen(HWND hwnd, const std::vector<UINT>& wanted) const {
    std::vector<UINT> out;
    for (const Seen& s : g_seen)
      if (s.hwnd == hwnd && std::find(wanted.begin(), wanted.end(), s.message) != wanted.end()) out.push_back(s.message);
    return out;
  }
  const Seen* first(HWND hwnd, UINT message) const {
    for (const Seen& s : g_seen)
      if (s.hwnd == hwnd && s.message == message) return &s;
    return nullptr;
  }
  plat::Robot robot;
};

TEST_F(RobotTest, AClickHitTestsActivatesAndLandsInClientCoordinates) {
  HWND back = window("back", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 400, 300});
  HWND front = window("front", WS_POPUP | WS_VISIBLE, RECT{500, 0, 700, 200});
  robot.pumpUntilIdle();
  ASSERT_EQ(GetActiveWindow(), front);
  g_seen.clear();
  robot.click(POINT{100, 100});
  EXPECT_EQ(GetActiveWindow(), back);
  EXPECT_EQ(seen(back, {WM_NCHITTEST, WM_MOUSEACTIVATE, WM_ACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN, WM_LBUTTONUP}),
            (std::vector<UINT>{WM_NCHITTEST, WM_MOUSEACTIVATE, WM_ACTIVATE, WM_SETCURSOR, WM_NCHITTEST,
                               WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_EQ(LOWORD(first(back, WM_ACTIVATE)->wParam), WA_CLICKACTIVE);
  const Seen* down = first(back, WM_LBUTTONDOWN);
  // Client coordinates: the overlapped window's frame is 4 pixels and its caption 19.
  EXPECT_EQ(GET_X_LPARAM(down->lParam), 96);
  EXPECT_EQ(GET_Y_LPARAM(down->lParam), 100 - 4 - 19);
  EXPECT_EQ(down->wParam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 100);
}

TEST_F(RobotTest, ClicksOnTheFrameComeAsNonClientMessages) {
  HWND hwnd = window("framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 400, 300});
  robot.pumpUntilIdle();
  g_seen.clear();
  robot.click(POINT{200, 10});
  const Seen* down = first(hwnd, WM_NCLBUTTONDOWN);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->wParam, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(first(hwnd, WM_LBUTTONDOWN), nullptr);
}

TEST_F(RobotTest, ADragKeepsGoingToTheWindowHoldingTheCapture) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    const LRESULT result = watchProc(hwnd, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN) SetCapture(hwnd);
    if (message == WM_LBUTTONUP) ReleaseCapture();
    return result;
  };
  cls.lpszClassName = "Dragger";
  RegisterClassA(&cls);
  HWND dragger = CreateWindowExA(0, "Dragger", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                 nullptr);
  HWND other = window("other", WS_POPUP | WS_VISIBLE, RECT{200, 0, 300, 100});
  robot.pumpUntilIdle();
  g_seen.clear();
  robot.drag(POINT{50, 50}, POINT{250, 60});
  EXPECT_TRUE(seen(other, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE}).empty());
  EXPECT_EQ(seen(dragger, {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_CAPTURECHANGED}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_CAPTURECHANGED}));
  const Seen* up = first(dragger, WM_LBUTTONUP);
  EXPECT_EQ(GET_X_LPARAM(up->lParam), 250);
  EXPECT_EQ(GET_Y_LPARAM(up->lParam), 60);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(RobotTest, DraggingTheCaptionMovesTheWindowAndABorderSizesIt) {
  HWND hwnd = window("framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 400, 300});
  robot.pumpUntilIdle();
  g_seen.clear();
  robot.drag(POINT{200, 110}, POINT{260, 150});
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 160);
  EXPECT_EQ(r.top, 140);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(seen(hwnd, {WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE}),
            (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE}));
  EXPECT_EQ(GetCapture(), nullptr);

  g_seen.clear();
  robot.drag(POINT{r.right - 2, r.bottom - 2}, POINT{r.right + 48, r.bottom + 18});
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 350);
  EXPECT_EQ(r.bottom - r.top, 220);
  const Seen* sizing = first(hwnd, WM_SIZING);
  ASSERT_NE(sizing, nullptr);
  EXPECT_EQ(sizing->wParam, static_cast<WPARAM>(WMSZ_BOTTOMRIGHT));
}

TEST_F(RobotTest, AWindowCanLetItsClientAreaDragItLikeACaption) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_LBUTTONDOWN) {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &pt);
      PostMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  };
  cls.lpszClassName = "Skinned";
  RegisterClassA(&cls);
  HWND hwnd = CreateWindowExA(0, "Skinned", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                              nullptr);
  robot.pumpUntilIdle();
  robot.drag(POINT{50, 50}, POINT{80, 40});
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, -10);
}

TEST_F(RobotTest, DoubleClicksNeedTheClassToAskForThem) {
  HWND wants = window("wants", WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  robot.pumpUntilIdle();
  g_seen.clear();
  robot.doubleClick(wants);
  EXPECT_EQ(seen(wants, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  HWND button = CreateWindowExA(0, "BUTTON", "b", WS_POPUP | WS_VISIBLE, 200, 0, 50, 20, nullptr, nullptr, nullptr,
                                nullptr);
  robot.pumpUntilIdle();
  EXPECT_NE(button, nullptr);
}

TEST_F(RobotTest, KeysGoToTheFocusAndBecomeCharacters) {
  HWND top = window("top", WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 300});
  HWND field = window("field", WS_CHILD | WS_VISIBLE, RECT{10, 10, 100, 30}, top, 5);
  SetFocus(field);
  g_seen.clear();
  EXPECT_TRUE(robot.type("Hi1"));
  std::string typed;
  for (const Seen& s : g_seen)
    if (s.hwnd == field && s.message == WM_CHAR) typed += static_cast<char>(s.wParam);
  EXPECT_EQ(typed, "Hi1");
  EXPECT_FALSE(robot.type("~"));
  robot.press(VK_CONTROL);
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  EXPECT_LT(GetAsyncKeyState(VK_CONTROL), 0);
  robot.release(VK_CONTROL);
  EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 0);
  g_seen.clear();
  robot.press(VK_MENU);
  robot.key(VK_F4);
  robot.release(VK_MENU);
  // Alt+F4 is a system key, which the default procedure turns into closing the window.
  EXPECT_FALSE(IsWindow(top));
}

TEST_F(RobotTest, KeyStateFollowsTheKeysEvenWithoutAWindow) {
  robot.press(VK_SHIFT);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  robot.release(VK_SHIFT);
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
  robot.key(VK_CAPITAL);
  EXPECT_EQ(GetKeyState(VK_CAPITAL), 1);  // up, toggled on
}

TEST_F(RobotTest, AdvancingFiresEveryTimerAsOftenAsRealTimeWould) {
  HWND hwnd = window("clock", WS_POPUP, RECT{0, 0, 10, 10});
  SetTimer(hwnd, 1, 1000, nullptr);
  SetTimer(hwnd, 3, 3000, nullptr);
  g_seen.clear();
  robot.advance(6500);
  std::vector<WPARAM> order;
  for (const Seen& s : g_seen)
    if (s.message == WM_TIMER) order.push_back(s.wParam);
  EXPECT_EQ(order, (std::vector<WPARAM>{1, 1, 1, 3, 1, 1, 1, 3}));
  EXPECT_EQ(machine().clock().tickMs() % 1000, 500u);
}

TEST_F(RobotTest, ARightClickBringsUpTheContextMenuRequest) {
  HWND top = window("top", WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  HWND child = window("child", WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 60}, top, 4);
  robot.pumpUntilIdle();
  g_seen.clear();
  robot.rightClick(POINT{20, 20});
  EXPECT_EQ(seen(child, {WM_RBUTTONDOWN, WM_RBUTTONUP}), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
  // A child passes WM_CONTEXTMENU on to its parent when it does not handle it.
  robot.pumpUntilIdle();
  SendMessageA(child, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(child), MAKELPARAM(20, 20));
  EXPECT_NE(first(top, WM_CONTEXTMENU), nullptr);
}

TEST_F(RobotTest, PumpingStopsAtQuitAndKeepsItsCode) {
  HWND hwnd = window("w", WS_POPUP, RECT{0, 0, 10, 10});
  PostMessageA(hwnd, WM_USER, 0, 0);
  PostQuitMessage(7);
  PostMessageA(hwnd, WM_USER + 1, 0, 0);
  robot.pumpUntilIdle();
  EXPECT_TRUE(robot.quitRequested());
  EXPECT_EQ(robot.quitCode(), 7);
  EXPECT_EQ(seen(hwnd, {WM_USER, WM_USER + 1}), (std::vector<UINT>{WM_USER, WM_USER + 1}));
  // Once quit, the robot leaves the rest alone.
  PostMessageA(hwnd, WM_USER + 2, 0, 0);
  robot.pumpUntilIdle();
  EXPECT_TRUE(seen(hwnd, {WM_USER + 2}).empty());
}

TEST_F(RobotTest, MessageBoxesAreAnsweredAndRecorded) {
  robot.answerNextMessageBox(IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "Overwrite?", "Question", MB_YESNO), IDNO);
  const auto boxes = robot.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Overwrite?");
  EXPECT_EQ(boxes[0].answer, IDNO);
}

TEST_F(RobotTest, ADialogButtonClickedByTheRobotReportsToItsParent) {
  HWND dialog = window("dialog", WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 200});
  HWND button = CreateWindowExA(0, "BUTTON", "Go", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, dialog,
                                reinterpret_cast<HMENU>(77), nullptr, nullptr);
  robot.pumpUntilIdle();
  g_seen.clear();
  robot.click(button);
  const Seen* command = first(dialog, WM_COMMAND);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(LOWORD(command->wParam), 77);
  EXPECT_EQ(HIWORD(command->wParam), BN_CLICKED);
  EXPECT_EQ(reinterpret_cast<HWND>(command->lParam), button);
  EXPECT_EQ(robot.findWindow("Watched", "dialog"), dialog);
  EXPECT_EQ(robot.control(dialog, 77), button);
  EXPECT_EQ(robot.text(button), "Go");
}

}  // namespace
}  // namespace test

// Activation, focus, capture, enabling and showing.
#include "WindowTest.h"

namespace test {
namespace {

using Sequence = std::vector<std::pair<HWND, UINT>>;

class FocusTest : public UserTest {};

TEST_F(FocusTest, ShowingAWindowActivatesItAndGivesItTheFocus) {
  HWND first = createRecorder("first", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_EQ(GetFocus(), first);
  HWND second = createRecorder("second", WS_OVERLAPPEDWINDOW);
  recorder().clear();
  ShowWindow(second, SW_SHOW);
  const Sequence expected = {{second, WM_SHOWWINDOW}, {first, WM_NCACTIVATE}, {first, WM_ACTIVATE},
                             {second, WM_NCACTIVATE}, {second, WM_ACTIVATE},  {first, WM_KILLFOCUS},
                             {second, WM_SETFOCUS}};
  EXPECT_EQ(recorder().sequence({WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS}), expected);
  EXPECT_EQ(GetActiveWindow(), second);
  EXPECT_EQ(GetForegroundWindow(), second);
  EXPECT_EQ(GetWindow(first, GW_HWNDFIRST), second);
}

TEST_F(FocusTest, FocusOnAChildActivatesItsTopLevelWindow) {
  HWND a = createRecorder("a", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND b = createRecorder("b", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = createRecorder("child", WS_CHILD | WS_VISIBLE, a, 1);
  ASSERT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(SetFocus(child), b);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), child);
  recorder().clear();
  EXPECT_EQ(SetFocus(nullptr), child);
  EXPECT_EQ(recorder().of(child, {WM_KILLFOCUS}).size(), 1u);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(FocusTest, HidingTheActiveWindowActivatesItsOwner) {
  HWND owner = createRecorder("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND other = createRecorder("other", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND owned = createRecorder("owned", WS_POPUP | WS_VISIBLE, owner);
  ASSERT_EQ(GetActiveWindow(), owned);
  ShowWindow(owned, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(owned));
  EXPECT_EQ(GetActiveWindow(), owner);
  DestroyWindow(owner);
  EXPECT_EQ(GetActiveWindow(), other);
}

TEST_F(FocusTest, ShowWindowReportsThePreviousVisibility) {
  HWND hwnd = createRecorder("shown", WS_POPUP);
  EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWNOACTIVATE));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_NE(GetActiveWindow(), hwnd);
  EXPECT_TRUE(ShowWindow(hwnd, SW_HIDE));
  recorder().clear();
  EXPECT_FALSE(ShowWindow(hwnd, SW_HIDE));
  EXPECT_TRUE(recorder().of(hwnd, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING}).empty());
  // A child is visible only while its parent is.
  HWND child = createRecorder("child", WS_CHILD | WS_VISIBLE, hwnd, 3);
  EXPECT_FALSE(IsWindowVisible(child));
  ShowWindow(hwnd, SW_SHOWNA);
  EXPECT_TRUE(IsWindowVisible(child));
}

TEST_F(FocusTest, CaptureChangesAreToldToTheLoserAfterwards) {
  static HWND captureDuringNotice = reinterpret_cast<HWND>(1);
  registerClass("Loser", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_CAPTURECHANGED) captureDuringNotice = GetCapture();
    return recordingProc(hwnd, message, wParam, lParam);
  });
  HWND loser = CreateWindowExA(0, "Loser", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  HWND winner = createRecorder("winner", WS_POPUP);
  EXPECT_EQ(SetCapture(loser), nullptr);
  EXPECT_EQ(SetCapture(winner), loser);
  EXPECT_EQ(captureDuringNotice, winner);
  const auto all = recorder().all();
  const auto notice = std::find_if(all.begin(), all.end(), [](const Recorded& r) { return r.message == WM_CAPTURECHANGED; });
  ASSERT_NE(notice, all.end());
  EXPECT_EQ(notice->lParam, reinterpret_cast<LPARAM>(winner));
  recorder().clear();
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(recorder().of(winner, {WM_CAPTURECHANGED}).size(), 1u);
}

TEST_F(FocusTest, EnableWindowReturnsThePreviousDisabledState) {
  HWND hwnd = createRecorder("enable", WS_POPUP | WS_VISIBLE);
  SetFocus(hwnd);
  EXPECT_FALSE(EnableWindow(hwnd, FALSE));
  EXPECT_FALSE(IsWindowEnabled(hwnd));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(EnableWindow(hwnd, FALSE));
  recorder().clear();
  EXPECT_TRUE(EnableWindow(hwnd, TRUE));
  EXPECT_EQ(recorder().of(hwnd, {WM_ENABLE}).size(), 1u);
  EXPECT_FALSE(EnableWindow(hwnd, TRUE));
}

TEST_F(FocusTest, KeyStateAndCursorAreWhatTheInputLeft) {
  EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
  SetCursorPos(100, 200);
  POINT pt;
  GetCursorPos(&pt);
  EXPECT_EQ(pt.x, 100);
  EXPECT_EQ(pt.y, 200);
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(ShowCursor(FALSE), -2);
  EXPECT_EQ(ShowCursor(TRUE), -1);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
  EXPECT_NE(LoadCursorA(nullptr, IDC_WAIT), arrow);
  EXPECT_EQ(SetCursor(arrow), nullptr);
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(LoadCursorA(reinterpret_cast<HINSTANCE>(0x1000), MAKEINTRESOURCEA(106)), nullptr);
}

}  // namespace
}  // namespace test

// The tooltip control on the manual clock: a tip appears once the mouse has stayed on a
// tool for the initial delay, with the tool's text, below the pointer, and goes again on
// the autopop time, when the mouse leaves, on a press, or when deactivated.
#include "WindowTest.h"

#include <mfc/afxwin.h>

#include <string>

namespace test {
namespace {

class TooltipTest : public UserTest {
 protected:
  void SetUp() override {
    owner = createRecorder("Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, RECT{100, 100, 500, 400});
    tip = CreateWindowExA(0, TOOLTIPS_CLASS, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
    ASSERT_NE(tip, nullptr);
  }
  // The tooltip goes with its owner.
  void TearDown() override {
    if (IsWindow(owner)) DestroyWindow(owner);
  }

  BOOL addTool(UINT_PTR id, RECT rect, const char* text, UINT cbSize = sizeof(TOOLINFOA)) {
    TOOLINFOA info{};
    info.cbSize = cbSize;
    info.hwnd = owner;
    info.uId = id;
    info.rect = rect;
    info.lpszText = const_cast<LPSTR>(text);
    return static_cast<BOOL>(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
  }
  // The pointer at (x, y) of the owner's client area, told to the tooltip.
  void relay(UINT message, int x, int y) {
    POINT screen{x, y};
    ClientToScreen(owner, &screen);
    SetCursorPos(screen.x, screen.y);
    MSG msg{owner, message, 0, MAKELPARAM(x, y), 0, screen};
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  }
  void advance(std::uint64_t ms) {
    machine().clock().advance(ms);
    pump();
  }
  bool shown() const { return IsWindowVisible(tip) != FALSE; }
  std::string shownText() const {
    char text[256] = {};
    GetWindowTextA(tip, text, sizeof(text));
    return text;
  }

  HWND owner = nullptr;
  HWND tip = nullptr;
};

TEST_F(TooltipTest, TheTipAppearsAfterTheInitialDelayAndPopsAfterTheAutopopTime) {
  ASSERT_TRUE(addTool(1, RECT{10, 10, 60, 40}, "Play"));
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  relay(WM_MOUSEMOVE, 20, 20);
  advance(499);
  EXPECT_FALSE(shown());
  advance(1);
  ASSERT_TRUE(shown());
  EXPECT_EQ(shownText(), "Play");
  // Below the pointer, over everything, and sized to its text.
  POINT pointer;
  GetCursorPos(&pointer);
  RECT rect;
  GetWindowRect(tip, &rect);
  EXPECT_EQ(rect.left, pointer.x);
  EXPECT_GT(rect.top, pointer.y);
  EXPECT_GT(rect.right - rect.left, 10);
  EXPECT_NE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  // Moving on the tool keeps it up until the autopop time.
  relay(WM_MOUSEMOVE, 30, 25);
  advance(4999);
  EXPECT_TRUE(shown());
  advance(1);
  EXPECT_FALSE(shown());
}

TEST_F(TooltipTest, LeavingTheToolHidesTheTipOrKeepsItFromShowing) {
  addTool(1, RECT{10, 10, 60, 40}, "Play");
  relay(WM_MOUSEMOVE, 20, 20);
  advance(300);
  relay(WM_MOUSEMOVE, 100, 100);
  advance(1000);
  EXPECT_FALSE(shown());

  relay(WM_MOUSEMOVE, 20, 20);
  advance(500);
  ASSERT_TRUE(shown());
  relay(WM_MOUSEMOVE, 60, 20);  // the right edge is outside
  EXPECT_FALSE(shown());
}

TEST_F(TooltipTest, APointerGoneToAnotherWindowTakesTheTipWithIt) {
  addTool(1, RECT{10, 10, 60, 40}, "Play");
  relay(WM_MOUSEMOVE, 20, 20);
  advance(500);
  ASSERT_TRUE(shown());
  // No relayed message tells of the move: the pointer is looked at.
  SetCursorPos(700, 700);
  advance(100);
  EXPECT_FALSE(shown());
  advance(1000);
  EXPECT_FALSE(shown());
}

TEST_F(TooltipTest, FromOneToolToTheNextTheTipComesBackQuickly) {
  addTool(1, RECT{10, 10, 60, 40}, "Play");
  addTool(2, RECT{60, 10, 110, 40}, "Stop");
  relay(WM_MOUSEMOVE, 20, 20);
  advance(500);
  ASSERT_EQ(shownText(), "Play");
  relay(WM_MOUSEMOVE, 70, 20);
  EXPECT_FALSE(shown());
  advance(100);  // the reshow delay
  EXPECT_TRUE(shown());
  EXPECT_EQ(shownText(), "Stop");
}

TEST_F(TooltipTest, APressHidesTheTipUntilTheMouseLeavesTheTool) {
  addTool(1, RECT{10, 10, 60, 40}, "Play");
  relay(WM_MOUSEMOVE, 20, 20);
  advance(500);
  relay(WM_LBUTTONDOWN, 20, 20);
  EXPECT_FALSE(shown());
  relay(WM_LBUTTONUP, 20, 20);
  relay(WM_MOUSEMOVE, 22, 20);
  advance(1000);
  EXPECT_FALSE(shown());
  relay(WM_MOUSEMOVE, 100, 100);
  relay(WM_MOUSEMOVE, 20, 20);
  advance(500);
  EXPECT_TRUE(shown());
}

TEST_F(TooltipTest, AnInactiveTooltipShowsNothingAndDeactivatingHides) {
  addTool(1, RECT{10, 10, 60, 40}, "Play");
  SendMessageA(tip, TTM_ACTIVATE, FALSE, 0);
  relay(WM_MOUSEMOVE, 20, 20);
  advance(1000);
  EXPECT_FALSE(shown());

  SendMessageA(tip, TTM_ACTIVATE, TRUE, 0);
  relay(WM_MOUSEMOVE, 21, 20);
  advance(500);
  ASSERT_TRUE(shown());
  SendMessageA(tip, TTM_ACTIVATE, FALSE, 0);
  EXPECT_FALSE(shown());
}

TEST_F(TooltipTest, UpdatedTextShowsAndAnEmptyTextShowsNothing) {
  addTool(1, RECT{10, 10, 60, 40}, "");
  relay(WM_MOUSEMOVE, 20, 20);
  advance(1000);
  EXPECT_FALSE(shown());

  TOOLINFOA info{};
  info.cbSize = sizeof(info);
  info.hwnd = owner;
  info.uId = 1;
  info.lpszText = const_cast<LPSTR>("Record");
  SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  relay(WM_MOUSEMOVE, 100, 100);
  relay(WM_MOUSEMOVE, 20, 20);
  advance(500);
  ASSERT_TRUE(shown());
  EXPECT_EQ(shownText(), "Record");
  // A tip already up takes the new text at once.
  info.lpszText = const_cast<LPSTR>("Record now");
  SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(shownText(), "Record now");
}

TEST_F(TooltipTest, BadToolInfoIsRefused) {
  EXPECT_FALSE(addTool(1, RECT{10, 10, 60, 40}, "Play", 8));
  EXPECT_EQ(SendMessageA(tip, TTM_ADDTOOLA, 0, 0), FALSE);
  SendMessageA(tip, TTM_RELAYEVENT, 0, 0);
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST_F(TooltipTest, TheTipLetsTheMouseThroughAndGoesWithItsOwner) {
  addTool(1, RECT{10, 10, 60, 40}, "Play");
  relay(WM_MOUSEMOVE, 20, 20);
  advance(500);
  RECT rect;
  GetWindowRect(tip, &rect);
  EXPECT_EQ(SendMessageA(tip, WM_NCHITTEST, 0, MAKELPARAM(rect.left + 1, rect.top + 1)), HTTRANSPARENT);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(tip));
}

// The MFC wrapper: a tool with no rectangle is the whole window, named by id 0.
TEST_F(TooltipTest, CToolTipCtrlMakesAWholeWindowToolOfAWindowWithoutRectangle) {
  CWnd* pOwner = CWnd::FromHandle(owner);
  CToolTipCtrl ctrl;
  ASSERT_TRUE(ctrl.Create(pOwner));
  EXPECT_EQ(GetWindow(ctrl.m_hWnd, GW_OWNER), owner);
  ASSERT_TRUE(ctrl.AddTool(pOwner, "Window"));
  EXPECT_EQ(ctrl.GetToolCount(), 1);
  ctrl.UpdateTipText("Whole window", pOwner);
  POINT screen{250, 200};
  ClientToScreen(owner, &screen);
  SetCursorPos(screen.x, screen.y);
  MSG msg{owner, WM_MOUSEMOVE, 0, MAKELPARAM(250, 200), 0, screen};
  ctrl.RelayEvent(&msg);
  advance(500);
  EXPECT_TRUE(ctrl.IsWindowVisible());
  char text[64] = {};
  GetWindowTextA(ctrl.m_hWnd, text, sizeof(text));
  EXPECT_STREQ(text, "Whole window");
}

}  // namespace
}  // namespace test

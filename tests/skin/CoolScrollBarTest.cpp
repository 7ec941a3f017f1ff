// The program-drawn scroll bars on a list of fifty rows: the system functions stood in for,
// the range and page limits, an arrow held down on the machine clock, the track and the
// thumb dragged, the list scrolling with them.
#include "ControlTest.h"

#include "skin/CoolScrollBar.h"

#include <com/hresult.h>

#include <robot/Screenshot.h>

#include <filesystem>

namespace {

constexpr int kRows = 50;
constexpr int kRowHeight = 20;

struct ListState {
  int top = 0;
  std::vector<int> commands;
};
ListState g_list;

// A list of numbered rows that scrolls by the bar's commands.
LRESULT CALLBACK RowsProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_VSCROLL) {
    const int command = LOWORD(wParam);
    g_list.commands.push_back(command);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int page = client.bottom / kRowHeight;
    int top = g_list.top;
    if (command == SB_LINEDOWN) ++top;
    if (command == SB_LINEUP) --top;
    if (command == SB_PAGEDOWN) top += page;
    if (command == SB_PAGEUP) top -= page;
    if (command == SB_THUMBTRACK || command == SB_THUMBPOSITION) top = HIWORD(wParam);
    CoolSB_SetScrollPos(hwnd, SB_VERT, top, TRUE);
    g_list.top = CoolSB_GetScrollPos(hwnd, SB_VERT);
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  }
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (int row = g_list.top; row < kRows; ++row) {
      RECT line{4, (row - g_list.top) * kRowHeight, client.right, (row - g_list.top + 1) * kRowHeight};
      if (line.top > client.bottom) break;
      const std::string text = "Row " + std::to_string(row);
      DrawTextA(hdc, text.c_str(), -1, &line, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class CoolScrollBarTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    g_list = ListState{};
    WNDCLASSA wc{};
    wc.lpfnWndProc = RowsProc;
    wc.lpszClassName = "ScrolledRows";
    RegisterClassA(&wc);
    rows = CreateWindowExA(0, "ScrolledRows", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, 20, 20, 200, 200,
                           parentHwnd(), nullptr, nullptr, nullptr);
  }
  void Dress() {
    ASSERT_TRUE(InitializeCoolSB(rows));
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, kRows - 1, 10, 0, 0};
    CoolSB_SetScrollInfo(rows, SB_VERT, &info, TRUE);
    robot.pumpUntilIdle();
  }
  // The middle of a piece of the bar on screen: along = pixels from the bar's top.
  POINT OnBar(int along) {
    RECT window{};
    GetWindowRect(rows, &window);
    const int size = GetSystemMetrics(SM_CXVSCROLL);
    return POINT{window.right - 1 - size / 2, window.top + 1 + along};
  }
  int Count(int command) const { return static_cast<int>(std::count(g_list.commands.begin(), g_list.commands.end(), command)); }

  HWND rows = nullptr;
};

TEST_F(CoolScrollBarTest, UninitialisedWindowsGetTheSystemFunctions) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 20, 30, 50, 0};
  EXPECT_EQ(CoolSB_SetScrollInfo(rows, SB_VERT, &info, TRUE), 0);
  SCROLLINFO read{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(CoolSB_GetScrollInfo(rows, SB_VERT, &read));
  SCROLLINFO system{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(rows, SB_VERT, &system);
  EXPECT_EQ(read.nPage, system.nPage);
  EXPECT_EQ(read.nPage, 21u);
  EXPECT_EQ(CoolSB_SetScrollPos(rows, SB_VERT, 7, TRUE), 0);
  EXPECT_EQ(GetScrollPos(rows, SB_VERT), 0);
  EXPECT_EQ(UninitializeCoolSB(rows), E_FAIL);
}

TEST_F(CoolScrollBarTest, PagesAndPositionsStayWithinTheRange) {
  Dress();
  EXPECT_FALSE(InitializeCoolSB(rows));
  EXPECT_EQ(CoolSB_SetScrollPos(rows, SB_VERT, 100, FALSE), 0);
  EXPECT_EQ(CoolSB_GetScrollPos(rows, SB_VERT), kRows - 10);
  SCROLLINFO big{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 500, 0, 0};
  CoolSB_SetScrollInfo(rows, SB_VERT, &big, TRUE);
  SCROLLINFO read{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  CoolSB_GetScrollInfo(rows, SB_VERT, &read);
  EXPECT_EQ(read.nPage, static_cast<UINT>(kRows));
  // With no page the position still never passes the maximum.
  SCROLLINFO none{sizeof(SCROLLINFO), SIF_PAGE | SIF_POS, 0, 0, 0, 1000, 0};
  EXPECT_EQ(CoolSB_SetScrollInfo(rows, SB_VERT, &none, TRUE), kRows - 1);
  EXPECT_FALSE(CoolSB_SetSize(rows, SB_VERT, 0, 10));
  EXPECT_FALSE(CoolSB_SetSize(rows, SB_VERT, 300, 10));
  EXPECT_TRUE(CoolSB_SetSize(rows, SB_VERT, 20, 20));
  EXPECT_EQ(UninitializeCoolSB(rows), S_OK);
}

TEST_F(CoolScrollBarTest, AnArrowHeldDownScrollsOnceThenRepeats) {
  Dress();
  RECT client{};
  GetClientRect(rows, &client);
  EXPECT_EQ(client.right, 200 - 2 - GetSystemMetrics(SM_CXVSCROLL));
  const int size = GetSystemMetrics(SM_CXVSCROLL);
  const POINT down = OnBar(198 - size / 2 - 1);
  robot.click(down);
  EXPECT_EQ(g_list.top, 1);
  EXPECT_EQ(Count(SB_ENDSCROLL), 1);

  g_list.commands.clear();
  SetCursorPos(down.x, down.y);
  SendMessageA(rows, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(down.x, down.y));
  EXPECT_EQ(Count(SB_LINEDOWN), 1);
  robot.advance(299);
  EXPECT_EQ(Count(SB_LINEDOWN), 1);
  robot.advance(1 + 55);
  EXPECT_EQ(Count(SB_LINEDOWN), 2);
  robot.advance(3 * 55);
  EXPECT_EQ(Count(SB_LINEDOWN), 5);
  SendMessageA(rows, WM_LBUTTONUP, 0, 0);
  robot.advance(500);
  EXPECT_EQ(Count(SB_LINEDOWN), 5);
  EXPECT_EQ(g_list.top, 6);
  EXPECT_EQ(Count(SB_ENDSCROLL), 1);
}

TEST_F(CoolScrollBarTest, TheTrackPagesAndTheThumbDragsTheList) {
  Dress();
  const int size = GetSystemMetrics(SM_CXVSCROLL);
  robot.click(OnBar(150));
  EXPECT_EQ(Count(SB_PAGEDOWN), 1);
  const int afterPage = g_list.top;
  EXPECT_GT(afterPage, 0);
  // Drag the thumb from its middle to the bottom of the track: the list's last page.
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  CoolSB_GetScrollInfo(rows, SB_VERT, &info);
  const int track = 198 - 2 * size;
  const int thumb = std::max(6, track * 10 / kRows);
  const int thumbTop = size + (track - thumb) * info.nPos / (kRows - 10);
  robot.drag(OnBar(thumbTop + thumb / 2), OnBar(198));
  EXPECT_GE(Count(SB_THUMBTRACK), 1);
  ASSERT_GE(Count(SB_THUMBPOSITION), 1);
  EXPECT_EQ(g_list.top, kRows - 10);
  EXPECT_EQ(g_list.commands.back(), SB_ENDSCROLL);
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(shots);
  robot.pumpUntilIdle();
  plat::Screenshot::saveWindow(rows, shots / "coolscrollbar.png");
}

}  // namespace

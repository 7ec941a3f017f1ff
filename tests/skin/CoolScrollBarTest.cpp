// The program-drawn scroll bars on a list of fifty rows: the system functions stood in for,
// the range and page limits, an arrow held down on the machine clock, the track and the
// thumb dragged, the list scrolling with them; the skin pictures and the hot part, the
// system look without them, inserted buttons, the cursor over a bar and the style bits.
#include "ControlTest.h"

#include "skin/CoolScrollBar.h"
#include "skin/CoolScrollSkin.h"

#include <com/hresult.h>

#include <robot/Screenshot.h>

#include <filesystem>

namespace {

constexpr int kRows = 50;
constexpr int kRowHeight = 20;

struct ListState {
  int top = 0;
  std::vector<int> commands;
  std::vector<UINT> buttons;
  std::vector<UINT> clicks;
};
ListState g_list;

// A list of numbered rows that scrolls by the bar's commands.
LRESULT CALLBACK RowsProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) {
    g_list.buttons.push_back(LOWORD(wParam));
    return 0;
  }
  if (msg >= WM_RBUTTONDOWN && msg <= WM_MBUTTONDBLCLK) {
    g_list.clicks.push_back(msg);
    return 0;
  }
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
  // Points of the bars on screen: `along` pixels from the bar's start, across its middle.
  POINT VBar(int along) const {
    const POINT origin = onScreen(rows, 0, 0);
    return POINT{origin.x + Client().right + GetSystemMetrics(SM_CXVSCROLL) / 2, origin.y + along};
  }
  POINT HBar(int along) const {
    const POINT origin = onScreen(rows, 0, 0);
    return POINT{origin.x + along, origin.y + Client().bottom + GetSystemMetrics(SM_CYHSCROLL) / 2};
  }
  RECT Client() const {
    RECT client{};
    GetClientRect(rows, &client);
    return client;
  }
  COLORREF Screen(POINT at) {
    robot.pumpUntilIdle();
    return plat::Screenshot::screenPixel(at.x, at.y);
  }
  // The test pictures: piece p in state s has channel s at 200, the others at 20 + 10 p.
  static COLORREF Piece(CoolScrollSkin::Piece piece, CoolScrollSkin::State state) {
    const int base = 20 + 10 * piece;
    return RGB(state == CoolScrollSkin::kPressed ? 200 : base, state == CoolScrollSkin::kHot ? 200 : base,
               state == CoolScrollSkin::kNormal ? 200 : base);
  }
  void Press(POINT at) {
    SetCursorPos(at.x, at.y);
    SendMessageA(rows, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(at.x, at.y));
  }
  void MovePressed(POINT at) {
    SetCursorPos(at.x, at.y);
    SendMessageA(rows, WM_MOUSEMOVE, MK_LBUTTON, 0);
  }

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

TEST_F(CoolScrollBarTest, TheBarsAreDrawnFromTheNineSkinPicturesAndThePartUnderThePointerIsHot) {
  Dress();
  ASSERT_TRUE(CoolSB_ShowScrollBar(rows, SB_HORZ, TRUE));
  SCROLLINFO across{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 50, 0, 0};
  CoolSB_SetScrollInfo(rows, SB_HORZ, &across, TRUE);
  ASSERT_TRUE(CoolScrollSkin::IsLoaded());
  using Skin = CoolScrollSkin;
  const int size = GetSystemMetrics(SM_CXVSCROLL);
  const int height = Client().bottom;
  const int width = Client().right;
  const POINT up = VBar(size / 2), down = VBar(height - size / 2 - 1), track = VBar(height - size - 2);
  EXPECT_EQ(Screen(up), Piece(Skin::kUp, Skin::kNormal));
  EXPECT_EQ(Screen(down), Piece(Skin::kDown, Skin::kNormal));
  EXPECT_EQ(Screen(VBar(size + 1)), Piece(Skin::kVertThumb, Skin::kNormal));
  EXPECT_EQ(Screen(track), Piece(Skin::kVertTrack, Skin::kNormal));
  EXPECT_EQ(Screen(HBar(size / 2)), Piece(Skin::kLeft, Skin::kNormal));
  EXPECT_EQ(Screen(HBar(width - size / 2 - 1)), Piece(Skin::kRight, Skin::kNormal));
  EXPECT_EQ(Screen(HBar(size + 1)), Piece(Skin::kHorzThumb, Skin::kNormal));
  EXPECT_EQ(Screen(HBar(width - size - 2)), Piece(Skin::kHorzTrack, Skin::kNormal));
  EXPECT_EQ(Screen(POINT{VBar(0).x, HBar(0).y}), RGB(100, 100, 100));

  // Hot from the first poll after the pointer came, part by part.
  robot.moveTo(track);
  EXPECT_EQ(Screen(track), Piece(Skin::kVertTrack, Skin::kNormal));
  robot.advance(20);
  EXPECT_EQ(Screen(track), Piece(Skin::kVertTrack, Skin::kHot));
  EXPECT_EQ(Screen(up), Piece(Skin::kUp, Skin::kNormal));
  robot.moveTo(down);
  robot.advance(20);
  EXPECT_EQ(Screen(down), Piece(Skin::kDown, Skin::kHot));
  EXPECT_EQ(Screen(track), Piece(Skin::kVertTrack, Skin::kNormal));
  // Onto the other bar: the first one is drawn plain at once.
  robot.moveTo(HBar(size / 2));
  EXPECT_EQ(Screen(down), Piece(Skin::kDown, Skin::kNormal));
  robot.advance(20);
  EXPECT_EQ(Screen(HBar(size / 2)), Piece(Skin::kLeft, Skin::kHot));
  // Off the bars: plain at the next poll.
  robot.moveTo(onScreen(rows, 50, 50));
  EXPECT_EQ(Screen(HBar(size / 2)), Piece(Skin::kLeft, Skin::kHot));
  robot.advance(20);
  EXPECT_EQ(Screen(HBar(size / 2)), Piece(Skin::kLeft, Skin::kNormal));

  // Pressed while held and under the pointer.
  Press(up);
  EXPECT_EQ(Screen(up), Piece(Skin::kUp, Skin::kPressed));
  MovePressed(onScreen(rows, 50, 50));
  EXPECT_EQ(Screen(up), Piece(Skin::kUp, Skin::kNormal));
  MovePressed(up);
  EXPECT_EQ(Screen(up), Piece(Skin::kUp, Skin::kPressed));
  SendMessageA(rows, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(Screen(up), Piece(Skin::kUp, Skin::kNormal));
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(shots);
  plat::Screenshot::saveWindow(rows, shots / "coolscrollbar-skinned.png");
}

TEST_F(CoolScrollBarTest, WithoutTheSkinPicturesTheBarsTakeTheSystemLook) {
  // Resources from a module that has none of the pictures.
  AfxSetResourceHandle(reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x5000)));
  Dress();
  AfxSetResourceHandle(nullptr);
  EXPECT_FALSE(CoolScrollSkin::IsLoaded());
  const int size = GetSystemMetrics(SM_CXVSCROLL);
  // The up arrow is the system's glyph, pixel for pixel.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP glyph = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = SelectObject(memory, glyph);
  RECT box{0, 0, size, size};
  DrawFrameControl(memory, &box, DFC_SCROLL, DFCS_SCROLLUP);
  robot.pumpUntilIdle();
  const POINT top = VBar(0);
  const int left = top.x - size / 2;
  const auto shown = plat::Screenshot::screenPixels(RECT{left, top.y, left + size, top.y + size});
  int differing = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) differing += shown[static_cast<std::size_t>(y * size + x)] != GetPixel(memory, x, y);
  EXPECT_EQ(differing, 0);
  SelectObject(memory, old);
  DeleteObject(glyph);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  // No hot look in the system's.
  const POINT track = VBar(150);
  const COLORREF plain = Screen(track);
  robot.moveTo(track);
  robot.advance(20);
  EXPECT_EQ(Screen(track), plain);
  // The pictures come with the next window once the resources have them.
  ASSERT_EQ(UninitializeCoolSB(rows), S_OK);
  ASSERT_TRUE(InitializeCoolSB(rows));
  EXPECT_TRUE(CoolScrollSkin::IsLoaded());
}

TEST_F(CoolScrollBarTest, InsertedButtonsSitBesideTheArrowsAndSendTheirCommandWhenReleasedOver) {
  Dress();
  CoolSB_SetScrollPos(rows, SB_VERT, 5, TRUE);
  g_list.top = 5;
  HBITMAP red = test::MakeBitmap(8, 8, [](int, int) { return RGB(220, 0, 0); });
  HBITMAP green = test::MakeBitmap(8, 8, [](int, int) { return RGB(0, 160, 0); });
  const CoolScrollButton first{901, 12, CoolScrollButton::kAtStart, 0, red, green};
  const CoolScrollButton last{902, 0, CoolScrollButton::kAtEnd, CoolScrollButton::kPushed, nullptr, nullptr};
  EXPECT_FALSE(CoolSB_InsertButton(rows, SB_BOTH, &first));
  EXPECT_FALSE(CoolSB_InsertButton(rows, SB_VERT, nullptr));
  EXPECT_FALSE(CoolSB_InsertButton(parentHwnd(), SB_VERT, &first));
  ASSERT_TRUE(CoolSB_InsertButton(rows, SB_VERT, &first));
  ASSERT_TRUE(CoolSB_InsertButton(rows, SB_VERT, &last));
  using Skin = CoolScrollSkin;
  const int size = GetSystemMetrics(SM_CXVSCROLL);
  const int height = Client().bottom;
  EXPECT_EQ(Screen(VBar(6)), RGB(220, 0, 0));
  EXPECT_EQ(Screen(VBar(12 + size / 2)), Piece(Skin::kUp, Skin::kNormal));
  // The plain button at the end is as long as the bar is thick, raised (its pushed bit is
  // not taken over); the down arrow moved up before it.
  EXPECT_EQ(Screen(VBar(height - size / 2 - 1)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(Screen(VBar(height - size - size / 2 - 1)), Piece(Skin::kDown, Skin::kNormal));

  robot.click(VBar(6));
  EXPECT_EQ(g_list.buttons, std::vector<UINT>{901});
  EXPECT_EQ(g_list.top, 5);
  EXPECT_EQ(Count(SB_ENDSCROLL), 1);
  // Pressed, it shows its pressed picture while the pointer is over it; let go elsewhere
  // it sends nothing.
  Press(VBar(6));
  EXPECT_EQ(Screen(VBar(6)), RGB(0, 160, 0));
  MovePressed(VBar(100));
  EXPECT_EQ(Screen(VBar(6)), RGB(220, 0, 0));
  SendMessageA(rows, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(g_list.buttons.size(), 1u);
  // The arrows still scroll at their new places.
  robot.click(VBar(12 + size / 2));
  EXPECT_EQ(g_list.top, 4);

  EXPECT_FALSE(CoolSB_RemoveButton(rows, SB_VERT, 903, TRUE));
  EXPECT_FALSE(CoolSB_RemoveButton(rows, SB_VERT, 2, FALSE));
  EXPECT_FALSE(CoolSB_RemoveButton(parentHwnd(), SB_VERT, 0, FALSE));
  EXPECT_TRUE(CoolSB_RemoveButton(rows, SB_VERT, 902, TRUE));
  EXPECT_FALSE(CoolSB_RemoveButton(rows, SB_VERT, 902, TRUE));
  EXPECT_EQ(Screen(VBar(height - size / 2 - 1)), Piece(Skin::kDown, Skin::kNormal));
  EXPECT_TRUE(CoolSB_RemoveButton(rows, SB_VERT, 0, FALSE));
  EXPECT_FALSE(CoolSB_RemoveButton(rows, SB_VERT, 0, FALSE));
  EXPECT_EQ(Screen(VBar(6)), Piece(Skin::kUp, Skin::kNormal));

  // A full bar takes no more; a button that leaves no room for the arrows is not shown.
  const CoolScrollButton huge{904, 500, CoolScrollButton::kAtStart, 0, red, green};
  ASSERT_TRUE(CoolSB_InsertButton(rows, SB_VERT, &huge));
  EXPECT_EQ(Screen(VBar(6)), Piece(Skin::kUp, Skin::kNormal));
  for (int i = 1; i < CoolScrollBar::kMaxButtons; ++i) ASSERT_TRUE(CoolSB_InsertButton(rows, SB_VERT, &first)) << i;
  EXPECT_FALSE(CoolSB_InsertButton(rows, SB_VERT, &first));
  DestroyWindow(rows);
  DeleteObject(red);
  DeleteObject(green);
}

TEST_F(CoolScrollBarTest, OverABarThePointerIsTheArrowWhateverTheWindowsOwnCursor) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = RowsProc;
  wc.lpszClassName = "HandRows";
  wc.hCursor = LoadCursorA(nullptr, IDC_HAND);
  RegisterClassA(&wc);
  HWND hand = CreateWindowExA(0, "HandRows", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, 20, 20, 200, 200,
                              parentHwnd(), nullptr, nullptr, nullptr);
  DestroyWindow(rows);
  rows = hand;
  const POINT bar = VBar(100);
  robot.moveTo(onScreen(rows, 50, 50));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
  // The window's own procedure sets no cursor over its scroll-bar area.
  robot.moveTo(bar);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
  Dress();
  robot.moveTo(bar);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
  robot.moveTo(onScreen(rows, 50, 50));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
  DestroyWindow(rows);
  UnregisterClassA("HandRows", nullptr);
}

TEST_F(CoolScrollBarTest, RightAndMiddleClicksOnABarReachTheWindowAsClientClicks) {
  Dress();
  const POINT at = VBar(100);
  for (UINT message : {WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK, WM_NCMBUTTONDOWN, WM_NCMBUTTONUP,
                       WM_NCMBUTTONDBLCLK})
    EXPECT_EQ(SendMessageA(rows, message, HTVSCROLL, MAKELPARAM(at.x, at.y)), 0);
  EXPECT_EQ(g_list.clicks, (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN,
                                              WM_MBUTTONUP, WM_MBUTTONDBLCLK}));
  // Elsewhere in the frame they are the window's own.
  g_list.clicks.clear();
  SendMessageA(rows, WM_NCRBUTTONDOWN, HTBORDER, MAKELPARAM(at.x, at.y));
  EXPECT_TRUE(g_list.clicks.empty());
}

TEST_F(CoolScrollBarTest, ShowingABarSetsItsStyleBitAndMakesRoomForItOnce) {
  Dress();
  const int size = GetSystemMetrics(SM_CXVSCROLL);
  const int thick = GetSystemMetrics(SM_CYHSCROLL);
  EXPECT_NE(GetWindowLongA(rows, GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_EQ(Client().right, 198 - size);
  ASSERT_TRUE(CoolSB_ShowScrollBar(rows, SB_VERT, FALSE));
  EXPECT_EQ(GetWindowLongA(rows, GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_EQ(Client().right, 198);
  ASSERT_TRUE(CoolSB_ShowScrollBar(rows, SB_BOTH, TRUE));
  EXPECT_EQ(GetWindowLongA(rows, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), WS_VSCROLL | WS_HSCROLL);
  EXPECT_EQ(Client().right, 198 - size);
  EXPECT_EQ(Client().bottom, 198 - thick);
  ASSERT_TRUE(CoolSB_ShowScrollBar(rows, SB_HORZ, FALSE));
  EXPECT_EQ(GetWindowLongA(rows, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), WS_VSCROLL);
  EXPECT_EQ(Client().bottom, 198);
  // Back to the system's bars, which the kept style bit still asks for.
  ASSERT_EQ(UninitializeCoolSB(rows), S_OK);
  EXPECT_EQ(Client().right, 198 - size);
  // On a window without cool bars the system function answers.
  EXPECT_TRUE(CoolSB_ShowScrollBar(rows, SB_VERT, FALSE));
  EXPECT_EQ(GetWindowLongA(rows, GWL_STYLE) & WS_VSCROLL, 0);
}

}  // namespace

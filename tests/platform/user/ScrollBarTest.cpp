// A window's standard scroll bars as a user sees and works them: drawn in the frame beside
// the client area (arrows, track, a thumb as long as the page against the range), shown
// only while there is more than a page, and scrolling the window by WM_VSCROLL and
// WM_HSCROLL when the arrows, the track or the thumb are pressed, held or dragged.
#include "WindowTest.h"

#include <robot/Robot.h>
#include <robot/Screenshot.h>
#include <win32/gdi.h>

namespace test {
namespace {

// A request a window was sent: the bar, its code, the position it carried, and where the
// thumb was tracked then (GetScrollInfo's nTrackPos).
struct Request {
  UINT message;
  int code;
  int position;
  int tracked;
};

std::vector<Request> g_requests;

// Scrolls as programs do: by a line, a page, or to where the thumb was taken.
LRESULT CALLBACK rowsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_VSCROLL && message != WM_HSCROLL) return DefWindowProcA(hwnd, message, wParam, lParam);
  const int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(hwnd, bar, &info);
  const int code = LOWORD(wParam);
  g_requests.push_back({message, code, HIWORD(wParam), info.nTrackPos});
  int pos = info.nPos;
  switch (code) {
    case SB_LINEUP: --pos; break;
    case SB_LINEDOWN: ++pos; break;
    case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = HIWORD(wParam); break;
    default: return 0;
  }
  SetScrollPos(hwnd, bar, pos, TRUE);
  return 0;
}

std::vector<int> codes() {
  std::vector<int> out;
  for (const Request& r : g_requests) out.push_back(r.code);
  return out;
}

// A 200 x 200 window at (10, 20) with a vertical bar over the range 0 to 99, a page of 20:
// the bar lies at x 184 to 200 of the window, its arrows 16 high at each end, the track
// between them 168 long, the thumb 168 x 20 / 100 = 33.6 of it.
class ScrollBarTest : public UserTest {
 protected:
  ScrollBarTest() {
    registerClass("Rows", rowsProc);
    g_requests.clear();
  }
  ~ScrollBarTest() override {
    if (window) DestroyWindow(window);
  }
  HWND makeRows(DWORD bars = WS_VSCROLL) {
    window = CreateWindowExA(0, "Rows", "", WS_POPUP | WS_VISIBLE | bars, 10, 20, 200, 200, nullptr, nullptr, nullptr,
                             nullptr);
    setRange(SB_VERT, 99, 20);
    pump();
    return window;
  }
  void setRange(int bar, int max, UINT page, UINT extra = 0) {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | extra, 0, max, page, 0, 0};
    SetScrollInfo(window, bar, &info, TRUE);
  }
  static POINT screen(int x, int y) { return POINT{10 + x, 20 + y}; }
  COLORREF at(int x, int y) const { return plat::Screenshot::windowPixel(window, x, y); }
  int clientWidth() const {
    RECT client{};
    GetClientRect(window, &client);
    return client.right;
  }

  HWND window = nullptr;
  plat::Robot robot;
};

TEST_F(ScrollBarTest, TheBarTakesItsRoomBesideTheClientAndShowsItsArrowsTrackAndThumb) {
  makeRows();
  EXPECT_EQ(clientWidth(), 200 - 16);
  EXPECT_EQ(at(192, 8), GetSysColor(COLOR_BTNTEXT)) << "the up arrow";
  EXPECT_EQ(at(192, 191), GetSysColor(COLOR_BTNTEXT)) << "the down arrow";
  EXPECT_EQ(at(192, 32), GetSysColor(COLOR_BTNFACE)) << "the thumb at the top";
  EXPECT_EQ(at(192, 100), GetSysColor(COLOR_SCROLLBAR)) << "the track below it";
  EXPECT_EQ(at(180, 100), RGB(255, 255, 255)) << "the client area is the window's own";

  // Half way (40 of the 80 positions the thumb can take): the thumb in the track's middle.
  SetScrollPos(window, SB_VERT, 40, TRUE);
  EXPECT_EQ(at(192, 32), GetSysColor(COLOR_SCROLLBAR));
  EXPECT_EQ(at(192, 100), GetSysColor(COLOR_BTNFACE));
  SetScrollPos(window, SB_VERT, 500, TRUE);
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 80) << "the last position shows the last page";
  EXPECT_EQ(at(192, 180), GetSysColor(COLOR_BTNFACE));
}

// A bar shows while the page is smaller than the range, and the client takes its room back
// once the page holds it all; a bar kept with SIF_DISABLENOSCROLL shows grey arrows.
TEST_F(ScrollBarTest, TheBarShowsOnlyWhileThereIsMoreThanAPage) {
  makeRows();
  setRange(SB_VERT, 99, 99);
  EXPECT_EQ(clientWidth(), 200 - 16) << "one position more than the page";
  setRange(SB_VERT, 99, 100);
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_EQ(clientWidth(), 200);
  setRange(SB_VERT, 99, 100, SIF_DISABLENOSCROLL);
  pump();
  EXPECT_EQ(clientWidth(), 200 - 16);
  EXPECT_EQ(at(192, 8), GetSysColor(COLOR_GRAYTEXT)) << "nothing to scroll";
  robot.click(screen(192, 191));
  EXPECT_TRUE(g_requests.empty()) << "and no press";
}

TEST_F(ScrollBarTest, PressesOnTheArrowsAndTheTrackScrollByLinesAndPages) {
  makeRows();
  robot.click(screen(192, 191));
  EXPECT_EQ(codes(), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 1);
  g_requests.clear();
  robot.click(screen(192, 150));  // the track below the thumb
  EXPECT_EQ(codes(), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 21);
  robot.click(screen(192, 8));
  robot.click(screen(192, 20));  // the track above the thumb
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 0);
  EXPECT_EQ(g_requests.back().message, static_cast<UINT>(WM_VSCROLL));
  EXPECT_EQ(GetCapture(), nullptr) << "the press gave the capture back";
}

TEST_F(ScrollBarTest, TheThumbFollowsTheDragAndLetsGoWhereItWasDropped) {
  makeRows();
  // Taken in its middle and moved half the free track (134 / 2) down: position 40.
  robot.drag(screen(192, 33), screen(192, 33 + 67));
  ASSERT_GE(g_requests.size(), 3u);
  const Request& track = g_requests[g_requests.size() - 3];
  EXPECT_EQ(track.code, SB_THUMBTRACK);
  EXPECT_EQ(track.position, 40);
  EXPECT_EQ(track.tracked, 40) << "the tracked position is the one sent";
  EXPECT_EQ(g_requests[g_requests.size() - 2].code, SB_THUMBPOSITION);
  EXPECT_EQ(g_requests[g_requests.size() - 2].position, 40);
  EXPECT_EQ(g_requests.back().code, SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 40);
  // Dragged past either end, it stops at the first or the last position.
  robot.drag(screen(192, 100), screen(192, 400));
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 80);
  robot.drag(screen(192, 170), screen(192, -50));
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 0);
}

// Held down, an arrow scrolls once, again after 300 ms of the clock, then every 50 ms; the
// track pages until the thumb reaches the pointer.
TEST_F(ScrollBarTest, AHeldPressRepeatsAfterAPauseAndPagingStopsAtThePointer) {
  makeRows();
  const auto hold = [&](POINT at) {
    SetCursorPos(at.x, at.y);
    PostMessageA(window, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(at.x, at.y));
  };
  const auto lineDowns = [] {
    return std::count_if(g_requests.begin(), g_requests.end(), [](const Request& r) { return r.code == SB_LINEDOWN; });
  };
  std::vector<long> seen;
  hold(screen(192, 191));
  for (const std::uint64_t ms : {299, 1, 49, 1, 50})
    robot.duringModal([&, ms](plat::Robot& inner) {
      inner.advanceStep(ms);
      seen.push_back(lineDowns());
    });
  robot.duringModal([&](plat::Robot&) {
    seen.push_back(lineDowns());
    PostMessageA(window, WM_LBUTTONUP, 0, 0);
  });
  robot.pumpUntilIdle();
  // Each count is read before the step's timer was handled: the next one shows it.
  EXPECT_EQ(seen, (std::vector<long>{1, 1, 2, 2, 3, 4}));
  EXPECT_EQ(g_requests.back().code, SB_ENDSCROLL);

  // Paging down from the top to the pointer near the bottom: 20, 40, 60, 80 and no further.
  SetScrollPos(window, SB_VERT, 0, TRUE);
  g_requests.clear();
  hold(screen(192, 179));
  for (int i = 0; i < 10; ++i) robot.duringModal([](plat::Robot& inner) { inner.advanceStep(300); });
  robot.duringModal([&](plat::Robot&) { PostMessageA(window, WM_LBUTTONUP, 0, 0); });
  robot.pumpUntilIdle();
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 80);
  EXPECT_EQ(codes(), (std::vector<int>{SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_ENDSCROLL}));
}

// Both bars: the horizontal one below the client area, its arrows scrolling sideways,
// and the corner between the two in the face colour.
TEST_F(ScrollBarTest, AHorizontalBarLiesBelowTheClientAreaAndScrollsSideways) {
  makeRows(WS_VSCROLL | WS_HSCROLL);
  setRange(SB_HORZ, 9, 5);
  pump();
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 184);
  EXPECT_EQ(client.bottom, 184);
  EXPECT_EQ(at(192, 192), GetSysColor(COLOR_BTNFACE)) << "the corner";
  robot.click(screen(175, 192));  // the right arrow
  EXPECT_EQ(g_requests.front().message, static_cast<UINT>(WM_HSCROLL));
  EXPECT_EQ(codes(), (std::vector<int>{SB_LINERIGHT, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(window, SB_HORZ), 1);
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 0);
}

// A list box made with WS_VSCROLL shows its bar only while it holds more entries than it
// shows, and the bar scrolls it by entries.
TEST_F(ScrollBarTest, AListBoxShowsItsBarWhenItsEntriesOverflowAndScrollsByIt) {
  window = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 10, 20, 120, 96, nullptr, nullptr,
                           nullptr, nullptr);
  const auto add = [&](int n) {
    for (int i = 0; i < n; ++i) SendMessageA(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Entry"));
  };
  add(6);  // six entries of 16 fill the 96 exactly
  EXPECT_EQ(clientWidth(), 120);
  add(1);
  EXPECT_EQ(clientWidth(), 120 - 16);
  add(13);
  pump();
  robot.click(screen(112, 90));  // the down arrow
  EXPECT_EQ(SendMessageA(window, LB_GETTOPINDEX, 0, 0), 1);
  robot.drag(screen(112, 20), screen(112, 200));  // the thumb, down past the end
  EXPECT_EQ(SendMessageA(window, LB_GETTOPINDEX, 0, 0), 20 - 6) << "the last entry at the bottom";
  SendMessageA(window, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(clientWidth(), 120);
}

}  // namespace
}  // namespace test

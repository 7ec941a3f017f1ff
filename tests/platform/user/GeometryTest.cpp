// Rectangles, the frame model, moving and sizing, placement, styles read back live.
#include "WindowTest.h"

#include <ostream>

static bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace test {
namespace {

class GeometryTest : public UserTest {};

RECT windowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

RECT clientRect(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

TEST_F(GeometryTest, TheFrameFollowsTheStyles) {
  // Caption 19 and thick frame 4 on each side.
  HWND framed = createRecorder("framed", WS_OVERLAPPEDWINDOW, nullptr, 0, RECT{100, 50, 400, 250});
  EXPECT_EQ(clientRect(framed), (RECT{0, 0, 300 - 8, 200 - 8 - 19}));
  POINT origin{0, 0};
  ClientToScreen(framed, &origin);
  EXPECT_EQ(origin.x, 104);
  EXPECT_EQ(origin.y, 50 + 4 + 19);

  HWND plain = createRecorder("plain", WS_POPUP, nullptr, 0, RECT{0, 0, 120, 80});
  EXPECT_EQ(clientRect(plain), (RECT{0, 0, 120, 80}));
  HWND edged = CreateWindowExA(WS_EX_CLIENTEDGE, kRecorderClass, "", WS_POPUP | WS_BORDER | WS_VSCROLL, 0, 0, 120, 80,
                               nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(clientRect(edged), (RECT{0, 0, 120 - 2 * 3 - 16, 80 - 2 * 3}));
}

TEST_F(GeometryTest, AdjustWindowRectAgreesWithTheClientArea) {
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  RECT wanted{0, 0, 640, 480};
  AdjustWindowRectEx(&wanted, style, FALSE, WS_EX_CLIENTEDGE);
  HWND hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, kRecorderClass, "", style, wanted.left, wanted.top,
                              wanted.right - wanted.left, wanted.bottom - wanted.top, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(clientRect(hwnd), (RECT{0, 0, 640, 480}));
}

TEST_F(GeometryTest, ChildCoordinatesNestThroughTheParents) {
  HWND top = createRecorder("top", WS_POPUP, nullptr, 0, RECT{100, 100, 500, 400});
  HWND child = createRecorder("child", WS_CHILD | WS_BORDER, top, 1, RECT{10, 20, 110, 120});
  HWND inner = createRecorder("inner", WS_CHILD, child, 2, RECT{5, 5, 25, 25});
  EXPECT_EQ(windowRect(child), (RECT{110, 120, 210, 220}));
  EXPECT_EQ(windowRect(inner), (RECT{116, 126, 136, 146}));
  POINT pt{3, 4};
  MapWindowPoints(inner, top, &pt, 1);
  EXPECT_EQ(pt.x, 3 + 16);
  EXPECT_EQ(pt.y, 4 + 26);
  ScreenToClient(inner, &pt);
  EXPECT_EQ(pt.x, 19 - 116);
}

TEST_F(GeometryTest, MoveWindowSendsPositionMessagesAndMovesTheClient) {
  HWND hwnd = createRecorder("moving", WS_POPUP, nullptr, 0, RECT{0, 0, 100, 100});
  recorder().clear();
  MoveWindow(hwnd, 30, 40, 200, 150, TRUE);
  EXPECT_EQ(recorder().of(hwnd, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  const auto all = recorder().all();
  const auto size = std::find_if(all.begin(), all.end(), [](const Recorded& r) { return r.message == WM_SIZE; });
  ASSERT_NE(size, all.end());
  EXPECT_EQ(LOWORD(size->lParam), 200);
  EXPECT_EQ(HIWORD(size->lParam), 150);
  EXPECT_EQ(windowRect(hwnd), (RECT{30, 40, 230, 190}));

  recorder().clear();
  MoveWindow(hwnd, 31, 40, 200, 150, TRUE);
  EXPECT_EQ(recorder().of(hwnd, {WM_NCCALCSIZE, WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_MOVE}));
}

TEST_F(GeometryTest, PositionChangingMayStillChangeThePosition) {
  registerClass("Clamped", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lParam)->cx = 77;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  HWND hwnd = CreateWindowExA(0, "Clamped", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetWindowPos(hwnd, nullptr, 0, 0, 300, 300, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(windowRect(hwnd).right, 77);
}

TEST_F(GeometryTest, MinMaxInfoBoundsAResizableWindow) {
  registerClass("MinSize", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_GETMINMAXINFO) {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = POINT{800, 600};
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  HWND hwnd = CreateWindowExA(0, "MinSize", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(windowRect(hwnd), (RECT{0, 0, 800, 600}));
  MoveWindow(hwnd, 0, 0, 400, 400, TRUE);
  EXPECT_EQ(windowRect(hwnd), (RECT{0, 0, 800, 600}));
}

TEST_F(GeometryTest, FrameChangedRecalculatesTheClientAreaFromTheNewStyle) {
  HWND hwnd = createRecorder("skinned", WS_OVERLAPPEDWINDOW, nullptr, 0, RECT{0, 0, 400, 300});
  SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) & ~(WS_CAPTION | WS_THICKFRAME));
  EXPECT_EQ(clientRect(hwnd), (RECT{0, 0, 400 - 8, 300 - 8 - 19}));  // not yet: only the style changed
  recorder().clear();
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  EXPECT_EQ(recorder().of(hwnd, {WM_NCCALCSIZE}).size(), 1u);
  EXPECT_EQ(clientRect(hwnd), (RECT{0, 0, 400, 300}));
  EXPECT_EQ(windowRect(hwnd), (RECT{0, 0, 400, 300}));
}

TEST_F(GeometryTest, StylesAreReadBackLiveWithChangeNotices) {
  HWND hwnd = createRecorder("styled", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX);
  recorder().clear();
  const LONG old = SetWindowLongA(hwnd, GWL_STYLE, WS_POPUP);
  EXPECT_EQ(static_cast<DWORD>(old), static_cast<DWORD>(WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)), static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(recorder().of(hwnd, {WM_STYLECHANGING, WM_STYLECHANGED}),
            (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_APPWINDOW);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)), static_cast<DWORD>(WS_EX_APPWINDOW));
  // Setting WS_VISIBLE directly shows the window without any show messages.
  recorder().clear();
  SetWindowLongA(hwnd, GWL_STYLE, WS_POPUP | WS_VISIBLE);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(recorder().of(hwnd, {WM_SHOWWINDOW}).empty());
}

TEST_F(GeometryTest, PlacementRoundTripsAndRestoresTheExactRectangle) {
  HWND hwnd = createRecorder("placed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, RECT{50, 60, 450, 360});
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  ASSERT_TRUE(GetWindowPlacement(hwnd, &wp));
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(wp.rcNormalPosition, (RECT{50, 60, 450, 360}));

  ShowWindow(hwnd, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(hwnd));
  // Maximized over the work area (the screen less the task bar), frame pushed outside.
  EXPECT_EQ(windowRect(hwnd), (RECT{-4, -4, 1024 + 4, 768 - 30 + 4}));
  ASSERT_TRUE(GetWindowPlacement(hwnd, &wp));
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_EQ(wp.rcNormalPosition, (RECT{50, 60, 450, 360}));

  ShowWindow(hwnd, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(hwnd));
  EXPECT_EQ(windowRect(hwnd), (RECT{50, 60, 450, 360}));

  wp.showCmd = SW_SHOWNORMAL;
  wp.rcNormalPosition = RECT{5, 6, 605, 506};
  ASSERT_TRUE(SetWindowPlacement(hwnd, &wp));
  EXPECT_EQ(windowRect(hwnd), (RECT{5, 6, 605, 506}));
  wp.length = 40;
  EXPECT_FALSE(SetWindowPlacement(hwnd, &wp));
}

TEST_F(GeometryTest, MinimizeReportsItsSizeTypeAndRestoreComesBack) {
  HWND hwnd = createRecorder("mini", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, RECT{10, 10, 210, 110});
  recorder().clear();
  ShowWindow(hwnd, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(hwnd));
  const auto all = recorder().all();
  const auto size = std::find_if(all.begin(), all.end(), [](const Recorded& r) { return r.message == WM_SIZE; });
  ASSERT_NE(size, all.end());
  EXPECT_EQ(size->wParam, static_cast<WPARAM>(SIZE_MINIMIZED));
  ShowWindow(hwnd, SW_RESTORE);
  EXPECT_FALSE(IsIconic(hwnd));
  EXPECT_EQ(windowRect(hwnd), (RECT{10, 10, 210, 110}));
}

TEST_F(GeometryTest, TopmostWindowsStayInFront) {
  HWND plain = createRecorder("plain", WS_POPUP | WS_VISIBLE);
  HWND topmost = createRecorder("topmost", WS_POPUP | WS_VISIBLE);
  SetWindowPos(topmost, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(GetWindowLongA(topmost, GWL_EXSTYLE) & WS_EX_TOPMOST);
  HWND later = createRecorder("later", WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(GetWindow(later, GW_HWNDFIRST), topmost);
  EXPECT_EQ(GetWindow(topmost, GW_HWNDNEXT), later);
  EXPECT_EQ(GetWindow(later, GW_HWNDNEXT), plain);
  // With SWP_NOZORDER the topmost request changes nothing.
  SetWindowPos(plain, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FALSE(GetWindowLongA(plain, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(GeometryTest, WindowFromPointFindsTheDeepestChildAndLooksThroughStatics) {
  HWND top = createRecorder("top", WS_POPUP | WS_VISIBLE, nullptr, 0, RECT{0, 0, 300, 300});
  HWND child = createRecorder("child", WS_CHILD | WS_VISIBLE, top, 1, RECT{10, 10, 110, 110});
  HWND label = CreateWindowExA(0, "STATIC", "label", WS_CHILD | WS_VISIBLE, 20, 20, 50, 50, child, nullptr, nullptr,
                               nullptr);
  HWND notify = CreateWindowExA(0, "STATIC", "n", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, 10, 10, child, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(WindowFromPoint(POINT{40, 40}), child);
  EXPECT_EQ(WindowFromPoint(POINT{15, 15}), notify);
  EXPECT_EQ(WindowFromPoint(POINT{200, 200}), top);
  EXPECT_EQ(WindowFromPoint(POINT{900, 700}), nullptr);
  ShowWindow(child, SW_HIDE);
  EXPECT_EQ(WindowFromPoint(POINT{40, 40}), top);
}

TEST_F(GeometryTest, HitTestNamesTheFrameParts) {
  HWND hwnd = createRecorder("frame", WS_OVERLAPPEDWINDOW, nullptr, 0, RECT{100, 100, 400, 300});
  const auto hit = [&](int x, int y) { return SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  EXPECT_EQ(hit(200, 200), HTCLIENT);
  EXPECT_EQ(hit(200, 110), HTCAPTION);
  EXPECT_EQ(hit(101, 200), HTLEFT);
  EXPECT_EQ(hit(398, 298), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(50, 50), HTNOWHERE);
}

}  // namespace
}  // namespace test

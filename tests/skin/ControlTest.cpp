#include "ControlTest.h"

#include "GdiTestSupport.h"

#include <win32/gdi/GdiTable.h>

#include <algorithm>

namespace test {

void ControlTest::SetUp() {
  s_received.clear();
  s_onMessage = nullptr;
  WNDCLASSA wc{};
  wc.lpfnWndProc = ParentProc;
  wc.lpszClassName = "SkinTestParent";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassA(&wc);
  m_hParent = CreateWindowExA(0, "SkinTestParent", "Skin test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 400,
                              300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(m_hParent, nullptr);
  SetForegroundWindow(m_hParent);
  SetActiveWindow(m_hParent);
  robot.pumpUntilIdle();
}

void ControlTest::TearDown() {
  if (HasFailure()) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    plat::Screenshot::dump(std::string(info->test_suite_name()) + "." + info->name());
  }
  if (IsWindow(m_hParent)) DestroyWindow(m_hParent);
  robot.pumpUntilIdle();
  UnregisterClassA("SkinTestParent", nullptr);
  s_recorded.clear();
  s_onMessage = nullptr;
}

std::vector<ParentMessage> ControlTest::received(UINT message) const {
  std::vector<ParentMessage> found;
  std::copy_if(s_received.begin(), s_received.end(), std::back_inserter(found),
               [message](const ParentMessage& m) { return m.message == message; });
  return found;
}

POINT ControlTest::onScreen(HWND hwnd, int x, int y) {
  POINT point{x, y};
  ClientToScreen(hwnd, &point);
  return point;
}

COLORREF ControlTest::pixel(HWND hwnd, int x, int y) {
  robot.pumpUntilIdle();
  POINT point{x, y};
  ClientToScreen(hwnd, &point);
  return plat::Screenshot::screenPixel(point.x, point.y);
}

HBITMAP ControlTest::MakeStrip(int cx, int cy, const std::vector<COLORREF>& colors) {
  return MakeBitmap(cx * static_cast<int>(colors.size()), cy,
                    [&](int x, int) { return colors[static_cast<std::size_t>(x / cx)]; });
}

std::size_t ControlTest::liveBitmaps() { return plat::GdiTable::instance().count(OBJ_BITMAP); }

void ControlTest::saveParent(const std::string& name) {
  robot.pumpUntilIdle();
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(folder);
  plat::Screenshot::saveWindow(m_hParent, folder / (name + ".png"));
}

LRESULT CALLBACK ControlTest::ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND || std::find(s_recorded.begin(), s_recorded.end(), msg) != s_recorded.end()) {
    const ParentMessage m{msg, wParam, lParam};
    if (s_onMessage) s_onMessage(m);
    s_received.push_back(m);
    if (msg != WM_COMMAND) return 0;
  }
  // Like an MFC parent, the test window hands its controls' owner drawing and
  // notifications back to the controls' objects.
  if (msg == WM_DRAWITEM || msg == WM_MEASUREITEM || msg == WM_NOTIFY || msg == WM_COMMAND) {
    LRESULT result = 0;
    if (CWnd::FromHandle(hwnd)->OnWndMsg(msg, wParam, lParam, &result)) return result;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace test

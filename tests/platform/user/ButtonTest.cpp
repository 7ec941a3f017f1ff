// The push button tells its parent of a click only when its own press comes up inside it.
#include "WindowTest.h"

namespace {

using ButtonTest = test::UserTest;

int clicksOf(HWND parent, int id) {
  int clicks = 0;
  for (const test::Recorded& r : test::MessageRecorder::instance().all())
    if (r.hwnd == parent && r.message == WM_COMMAND && LOWORD(r.wParam) == id && HIWORD(r.wParam) == BN_CLICKED)
      ++clicks;
  return clicks;
}

TEST_F(ButtonTest, APressReleasedInsideClicksOnce) {
  HWND parent = test::createRecorder("Parent");
  HWND button = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, parent,
                                reinterpret_cast<HMENU>(7), nullptr, nullptr);
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), BST_PUSHED);
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), 0);
  EXPECT_EQ(clicksOf(parent, 7), 1);

  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));  // released outside
  EXPECT_EQ(clicksOf(parent, 7), 1);
}

TEST_F(ButtonTest, ACaptureTakenForHoverClicksNothing) {
  HWND parent = test::createRecorder("Parent");
  HWND button = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, parent,
                                reinterpret_cast<HMENU>(7), nullptr, nullptr);
  SetCapture(button);  // as a skinned button does to follow the pointer
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicksOf(parent, 7), 0);
}

}  // namespace

#include <robot/Screenshot.h>

namespace {

TEST_F(ButtonTest, APushButtonShowsARaisedFaceWithItsText) {
  HWND parent = test::createRecorder("Parent", WS_POPUP | WS_VISIBLE);
  HWND button = CreateWindowExA(0, "BUTTON", "Close", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, parent,
                                reinterpret_cast<HMENU>(7), nullptr, nullptr);
  UpdateWindow(button);
  EXPECT_EQ(plat::Screenshot::windowPixel(button, 0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(plat::Screenshot::windowPixel(button, 1, 1), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(plat::Screenshot::windowPixel(button, 79, 23), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(plat::Screenshot::windowPixel(button, 5, 12), GetSysColor(COLOR_BTNFACE));
  int ink = 0;
  for (int y = 4; y < 20; ++y)
    for (int x = 20; x < 60; ++x) ink += plat::Screenshot::windowPixel(button, x, y) == GetSysColor(COLOR_BTNTEXT);
  EXPECT_GT(ink, 20) << "the caption is drawn in the middle";
}

}  // namespace

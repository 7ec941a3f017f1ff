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

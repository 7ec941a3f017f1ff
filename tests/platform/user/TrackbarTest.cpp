// The trackbar keeps its position within its range and tells its parent of the user's moves.
#include "WindowTest.h"

namespace {

using TrackbarTest = test::UserTest;

std::vector<test::Recorded> scrolls(HWND parent) {
  std::vector<test::Recorded> found;
  for (const test::Recorded& r : test::MessageRecorder::instance().all())
    if (r.hwnd == parent && r.message == WM_HSCROLL && LOWORD(r.wParam) != TB_ENDTRACK) found.push_back(r);
  return found;
}

HWND makeTrackbar(HWND parent) {
  return CreateWindowExA(0, TRACKBAR_CLASS, "", WS_CHILD | WS_VISIBLE, 10, 10, 170, 24, parent,
                         reinterpret_cast<HMENU>(201), nullptr, nullptr);
}

TEST_F(TrackbarTest, PositionsStayWithinTheRangeAndRangesBelowZeroNeedTheWholeValueMessages) {
  HWND parent = test::createRecorder("Parent");
  HWND trackbar = makeTrackbar(parent);
  ASSERT_NE(trackbar, nullptr);
  SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, -128);
  SendMessageA(trackbar, TBM_SETRANGEMAX, TRUE, 127);
  EXPECT_EQ(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0), -128);
  SendMessageA(trackbar, TBM_SETPOS, TRUE, -200);
  EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), -128);
  SendMessageA(trackbar, TBM_SETPOS, TRUE, 500);
  EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), 127);
  // The packed range is two signed words.
  SendMessageA(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(static_cast<WORD>(-10), 10));
  EXPECT_EQ(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0), -10);
  EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), 10);
  EXPECT_TRUE(scrolls(parent).empty());  // the program's own settings tell nobody
}

TEST_F(TrackbarTest, ClicksAndKeysMoveTheThumbAndTellTheParent) {
  HWND parent = test::createRecorder("Parent");
  HWND trackbar = makeTrackbar(parent);
  SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, 0);
  SendMessageA(trackbar, TBM_SETRANGEMAX, TRUE, 160);
  SendMessageA(trackbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(165, 12));
  EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), 160);
  SendMessageA(trackbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 12));
  EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), 0);
  SendMessageA(trackbar, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageA(trackbar, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), 33);
  SendMessageA(trackbar, WM_KEYDOWN, VK_END, 0);
  const auto seen = scrolls(parent);
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(LOWORD(seen[0].wParam), TB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(seen[0].wParam), 160);
  EXPECT_EQ(reinterpret_cast<HWND>(seen[0].lParam), trackbar);
  EXPECT_EQ(LOWORD(seen[2].wParam), TB_LINEDOWN);
  EXPECT_EQ(LOWORD(seen[4].wParam), TB_BOTTOM);
  EXPECT_EQ(SendMessageA(trackbar, TBM_GETPOS, 0, 0), 160);
}

}  // namespace

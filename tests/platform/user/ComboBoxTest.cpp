// The drop-down combo box sized as on Windows: its window is the selection field, the
// height it is given is the field and the dropped list together, and the dropped list
// scrolls to keep the marked entry in view.
#include "WindowTest.h"

#include <robot/Robot.h>
#include <robot/Screenshot.h>

namespace {

// The boxes go with their parent at the end of each test.
class ComboBoxTest : public test::UserTest {
 protected:
  void TearDown() override { DestroyWindow(parent); }
  HWND parent = test::createRecorder("Parent");
};

RECT WindowRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

HWND MakeCombo(HWND parent, DWORD kind, int height) {
  HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | kind, 10, 10, 200, height, parent,
                               reinterpret_cast<HMENU>(301), nullptr, nullptr);
  for (int i = 0; i < 20; ++i) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("Entry " + std::to_string(i)).c_str()));
  return combo;
}

HWND DroppedList() { return FindWindowA("ComboLBox", nullptr); }

TEST_F(ComboBoxTest, ADropDownWindowIsItsFieldAndItsHeightSizesTheDroppedList) {
  HWND combo = MakeCombo(parent, CBS_DROPDOWNLIST, 300);
  const RECT field = WindowRect(combo);
  EXPECT_EQ(field.bottom - field.top, 16 + 6) << "the default entry height and the field's edges";
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = DroppedList();
  ASSERT_NE(list, nullptr);
  RECT dropped = WindowRect(list);
  EXPECT_EQ(dropped.top, field.bottom);
  EXPECT_EQ(dropped.bottom - dropped.top, 300 - 22) << "twenty entries would need more";
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);

  // Moved with another height: the field stays, the list takes the rest.
  MoveWindow(combo, 10, 10, 200, 100, TRUE);
  EXPECT_EQ(WindowRect(combo).bottom - WindowRect(combo).top, 22);
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  dropped = WindowRect(DroppedList());
  EXPECT_EQ(dropped.bottom - dropped.top, 100 - 22);
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);

  // A taller field makes a taller window.
  SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 26);
  EXPECT_EQ(WindowRect(combo).bottom - WindowRect(combo).top, 32);
  EXPECT_EQ(SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 26);
}

// The scroll bar styles a box is made with are its list's: the field keeps its whole width
// as its client, with no scroll bar beside it.
TEST_F(ComboBoxTest, ScrollBarStylesLeaveTheFieldItsWholeWidth) {
  HWND combo = MakeCombo(parent, CBS_DROPDOWNLIST | WS_VSCROLL | WS_HSCROLL, 300);
  EXPECT_EQ(GetWindowLongA(combo, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
  RECT client{};
  GetClientRect(combo, &client);
  EXPECT_EQ(client.right - client.left, 200);
  EXPECT_EQ(client.bottom - client.top, 22);
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_NE(DroppedList(), nullptr);
  EXPECT_EQ(WindowRect(DroppedList()).right - WindowRect(DroppedList()).left, 200);
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

// The drop button at the field's right end shows its down arrow in the button text's
// colour, grey while the box is disabled, over the button face.
TEST_F(ComboBoxTest, TheDropButtonShowsItsArrowGreyWhileTheBoxIsDisabled) {
  ShowWindow(parent, SW_SHOW);
  HWND combo = MakeCombo(parent, CBS_DROPDOWNLIST, 300);
  test::pump();
  RECT client{};
  GetClientRect(combo, &client);
  const int x = client.right - 2 - 8;  // the middle of the 16-pixel button inside the edge
  const auto pixel = [&](int dx, int dy) {
    return plat::Screenshot::windowPixel(combo, x + dx, client.bottom / 2 + dy);
  };
  EXPECT_EQ(pixel(0, 0), GetSysColor(COLOR_BTNTEXT)) << "the arrow";
  EXPECT_EQ(pixel(-5, 0), GetSysColor(COLOR_BTNFACE)) << "the face beside it";
  EnableWindow(combo, FALSE);
  test::pump();
  EXPECT_EQ(pixel(0, 0), GetSysColor(COLOR_GRAYTEXT));
}

TEST_F(ComboBoxTest, AFewEntriesMakeAShortListAndASimpleBoxKeepsItsHeight) {
  HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 10, 200, 300, parent,
                               reinterpret_cast<HMENU>(302), nullptr, nullptr);
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("One"));
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Two"));
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  const RECT dropped = WindowRect(DroppedList());
  EXPECT_EQ(dropped.bottom - dropped.top, 2 * 16 + 2);
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
  HWND simple = MakeCombo(parent, CBS_SIMPLE, 120);
  EXPECT_EQ(WindowRect(simple).bottom - WindowRect(simple).top, 120);
}

TEST_F(ComboBoxTest, TheDroppedListScrollsToTheMarkedEntry) {
  HWND combo = MakeCombo(parent, CBS_DROPDOWNLIST, 22 + 5 * 16 + 2);  // five entries show
  SendMessageA(combo, CB_SETCURSEL, 12, 0);
  SetFocus(combo);
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = DroppedList();
  ASSERT_NE(list, nullptr);
  RECT client{};
  GetClientRect(list, &client);
  // Entry 12, the chosen one, is the last that shows: a click at the list's bottom takes it.
  SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, client.bottom - 4));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 12);
  // Keys mark entries beyond the shown ones and bring them in.
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  for (int i = 0; i < 4; ++i) SendMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
  list = DroppedList();
  SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, client.bottom - 4));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 16);
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  for (int i = 0; i < 16; ++i) SendMessageA(combo, WM_KEYDOWN, VK_UP, 0);
  SendMessageA(DroppedList(), WM_LBUTTONUP, 0, MAKELPARAM(20, 4));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
}

// A box made with WS_VSCROLL drops a list with a scroll bar when it holds more entries than
// the list shows; the bar scrolls the list and leaves it dropped. Without the style, or
// with every entry showing, the list has no bar.
TEST_F(ComboBoxTest, TheDroppedListOfABoxWithAScrollBarStyleScrollsByItsBar) {
  plat::Robot robot;
  ShowWindow(parent, SW_SHOW);
  HWND combo = MakeCombo(parent, CBS_DROPDOWNLIST | WS_VSCROLL, 22 + 5 * 16 + 2);  // five entries show
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = DroppedList();
  ASSERT_NE(list, nullptr);
  EXPECT_NE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL, 0);
  const RECT dropped = WindowRect(list);
  robot.click(POINT{dropped.right - 9, dropped.bottom - 9});  // the down arrow
  ASSERT_EQ(DroppedList(), list) << "still dropped";
  RECT client{};
  GetClientRect(list, &client);
  SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, client.bottom - 4));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 5) << "the list had moved down an entry";

  HWND plain = MakeCombo(parent, CBS_DROPDOWNLIST, 22 + 5 * 16 + 2);
  SendMessageA(plain, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(GetWindowLongA(DroppedList(), GWL_STYLE) & WS_VSCROLL, 0);
  SendMessageA(plain, CB_SHOWDROPDOWN, FALSE, 0);
  HWND few = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, 10, 40, 200, 300,
                             parent, reinterpret_cast<HMENU>(303), nullptr, nullptr);
  SendMessageA(few, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("One"));
  SendMessageA(few, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(GetWindowLongA(DroppedList(), GWL_STYLE) & WS_VSCROLL, 0) << "all of it shows";
  SendMessageA(few, CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace

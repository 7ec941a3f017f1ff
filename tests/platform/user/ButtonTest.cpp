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

#include <algorithm>

namespace {

// How many pixels of an area of the window have the colour.
int count(HWND hwnd, const RECT& area, COLORREF colour) {
  const auto pixels = plat::Screenshot::windowPixels(hwnd, area);
  return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

TEST_F(ButtonTest, APushButtonShowsARaisedFaceWithItsText) {
  HWND parent = test::createRecorder("Parent", WS_POPUP | WS_VISIBLE);
  HWND button = CreateWindowExA(0, "BUTTON", "Close", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, parent,
                                reinterpret_cast<HMENU>(7), nullptr, nullptr);
  UpdateWindow(button);
  EXPECT_EQ(plat::Screenshot::windowPixel(button, 0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(plat::Screenshot::windowPixel(button, 1, 1), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(plat::Screenshot::windowPixel(button, 79, 23), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(plat::Screenshot::windowPixel(button, 5, 12), GetSysColor(COLOR_BTNFACE));
  EXPECT_GT(count(button, RECT{20, 4, 60, 20}, GetSysColor(COLOR_BTNTEXT)), 20) << "the caption is drawn in the middle";
}

}  // namespace

namespace {

HWND makeButton(HWND parent, const char* text, DWORD type, int id, int y) {
  return CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | type, 10, y, 120, 20, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void clickOn(HWND button) {
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// An automatic check box toggles before its parent hears of the click; a plain one keeps
// what the program set.
TEST_F(ButtonTest, CheckBoxesKeepTheirCheckAndTheAutomaticOneToggles) {
  HWND parent = test::createRecorder("Parent");
  HWND automatic = makeButton(parent, "Auto", BS_AUTOCHECKBOX, 11, 10);
  HWND plain = makeButton(parent, "Plain", BS_CHECKBOX, 12, 40);
  EXPECT_EQ(IsDlgButtonChecked(parent, 11), static_cast<UINT>(BST_UNCHECKED));
  clickOn(automatic);
  EXPECT_EQ(IsDlgButtonChecked(parent, 11), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(clicksOf(parent, 11), 1);
  clickOn(automatic);
  EXPECT_EQ(IsDlgButtonChecked(parent, 11), static_cast<UINT>(BST_UNCHECKED));

  clickOn(plain);
  EXPECT_EQ(IsDlgButtonChecked(parent, 12), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(clicksOf(parent, 12), 1);
  EXPECT_TRUE(CheckDlgButton(parent, 12, BST_CHECKED));
  EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(CheckDlgButton(parent, 99, BST_CHECKED)) << "no such button";
  EXPECT_EQ(IsDlgButtonChecked(parent, 99), static_cast<UINT>(BST_UNCHECKED));
  // A push button has no check.
  HWND push = makeButton(parent, "Push", BS_PUSHBUTTON, 13, 70);
  SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageA(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

// An automatic radio button clears the others of its group only: the group runs from the
// button with WS_GROUP to the next one.
TEST_F(ButtonTest, AnAutomaticRadioButtonClearsTheOthersOfItsGroupOnly) {
  HWND parent = test::createRecorder("Parent");
  HWND first = makeButton(parent, "One", BS_AUTORADIOBUTTON | WS_GROUP, 21, 10);
  HWND second = makeButton(parent, "Two", BS_AUTORADIOBUTTON, 22, 30);
  HWND third = makeButton(parent, "Three", BS_AUTORADIOBUTTON, 23, 50);
  HWND other = makeButton(parent, "Other", BS_AUTORADIOBUTTON | WS_GROUP, 24, 70);
  EXPECT_TRUE(CheckRadioButton(parent, 21, 23, 21));
  CheckDlgButton(parent, 24, BST_CHECKED);
  clickOn(third);
  EXPECT_EQ(IsDlgButtonChecked(parent, 21), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(IsDlgButtonChecked(parent, 22), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(IsDlgButtonChecked(parent, 23), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(parent, 24), static_cast<UINT>(BST_CHECKED)) << "another group";
  EXPECT_EQ(SendMessageA(second, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
  EXPECT_TRUE(CheckRadioButton(parent, 21, 23, 22));
  EXPECT_EQ(IsDlgButtonChecked(parent, 23), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_FALSE(CheckRadioButton(parent, 30, 32, 31)) << "none of them exists";
  (void)first;
  (void)other;
}

// The mark shows in the box or circle; a disabled button greys its text.
TEST_F(ButtonTest, ACheckedBoxShowsItsMarkAndADisabledOneGreysItsText) {
  HWND parent = test::createRecorder("Parent", WS_POPUP | WS_VISIBLE);
  HWND box = makeButton(parent, "Compression", BS_AUTOCHECKBOX, 31, 10);
  HWND radio = makeButton(parent, "MPEG", BS_AUTORADIOBUTTON, 32, 40);
  UpdateWindow(box);
  UpdateWindow(radio);
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_NE(plat::Screenshot::windowPixel(box, 6, 11), ink) << "empty box";
  EXPECT_NE(plat::Screenshot::windowPixel(radio, 6, 10), ink) << "empty circle";
  CheckDlgButton(parent, 31, BST_CHECKED);
  CheckDlgButton(parent, 32, BST_CHECKED);
  UpdateWindow(box);
  UpdateWindow(radio);
  EXPECT_GT(count(box, RECT{2, 5, 11, 16}, ink), 6) << "the check mark";
  EXPECT_EQ(plat::Screenshot::windowPixel(radio, 6, 10), ink) << "the dot";

  auto textPixels = [](HWND hwnd, COLORREF colour) { return count(hwnd, RECT{20, 2, 110, 18}, colour); };
  EXPECT_GT(textPixels(box, GetSysColor(COLOR_BTNTEXT)), 20);
  EnableWindow(box, FALSE);
  UpdateWindow(box);
  EXPECT_EQ(textPixels(box, GetSysColor(COLOR_BTNTEXT)), 0);
  EXPECT_GT(textPixels(box, GetSysColor(COLOR_GRAYTEXT)), 20);
}

}  // namespace

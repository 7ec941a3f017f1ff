// The skinned edit boxes typed into by the robot: the digit field's maximum, the framed
// edit's faces and its Enter report, and the number field's fallback and cleaning.
#include "ControlTest.h"

#include "skin/CDigitEdit.h"
#include "skin/CNumericEdit.h"
#include "skin/CSkinEdit.h"

#include <com/globalmem.h>
#include <robot/Screenshot.h>

#include <cstring>
#include <filesystem>

namespace {

CString Text(const CWnd& edit) {
  CString text;
  edit.GetWindowText(text);
  return text;
}

class SkinEditTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    s_recorded = {CDigitEdit::UM_DIGITEDIT_FOCUS, CSkinEdit::UM_EDIT_ENTER};
  }
  // Image 1 red-framed, image 2 green-framed, image 3 pale yellow; frames 3 pixels wide.
  void Dress(CSkinEdit& edit) {
    HBITMAP red = test::MakeBitmap(20, 20, [](int, int) { return RGB(220, 0, 0); });
    HBITMAP green = test::MakeBitmap(20, 20, [](int, int) { return RGB(0, 160, 0); });
    HBITMAP yellow = test::MakeBitmap(20, 20, [](int, int) { return RGB(255, 250, 200); });
    const CRect all(0, 0, 20, 20);
    edit.SetBitmaps(red, green, yellow, all, all, all);
    edit.SetFrameRect(&all);
    edit.SetFrameMargins(3, 3, 3, 3);
    edit.SetAltFrameRect(&all);
    edit.SetAltFrameMargins(3, 3, 3, 3);
    DeleteObject(red);
    DeleteObject(green);
    DeleteObject(yellow);
  }
  static void PutOnClipboard(const char* text) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::memcpy(GlobalLock(block), text, std::strlen(text) + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
  }
};

TEST_F(SkinEditTest, TheDigitFieldRefusesWhatWouldPassItsMaximum) {
  CDigitEdit edit;
  ASSERT_TRUE(edit.Create(0, CRect(10, 10, 110, 40), parent(), 7001));
  edit.SetRange(23, 0);
  edit.SetRange(5, 10);
  EXPECT_EQ(edit.GetMax(), 23);
  edit.SetTag(42);
  robot.click(edit.GetSafeHwnd());
  const auto focus = received(CDigitEdit::UM_DIGITEDIT_FOCUS);
  ASSERT_EQ(focus.size(), 1u);
  EXPECT_EQ(focus[0].lParam, 42);

  robot.type("2");
  robot.type("3");
  EXPECT_EQ(Text(edit), "23");
  edit.SetWindowText("2");
  edit.SetSel(1, 1);
  robot.type("4");
  EXPECT_EQ(Text(edit), "2");
  // Over a selection the typed digit replaces it.
  edit.SetSel(0, 1);
  robot.type("9");
  EXPECT_EQ(Text(edit), "9");
  // Letters never go in; the minimum is not tested while typing.
  robot.type("a");
  EXPECT_EQ(Text(edit), "9");
  edit.SetWindowText("");
  robot.type("0");
  EXPECT_EQ(Text(edit), "0");
  // Pasted text is not filtered, as with any digits-only edit.
  PutOnClipboard("77");
  edit.SetSel(0, -1);
  edit.Paste();
  EXPECT_EQ(Text(edit), "77");

  edit.SetText("Hour");
  edit.SetText("");
  EXPECT_EQ(edit.GetText(), "Hour");
  edit.EnableEdit(FALSE);
  EXPECT_FALSE(edit.IsEditEnabled());
  EXPECT_FALSE(edit.IsWindowEnabled());
}

TEST_F(SkinEditTest, TheFramedEditFollowsTheFocusNotTheMouseAndReportsEnter) {
  CSkinEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 160, 40), parent(), 7002));
  Dress(edit);
  // A change of the text takes the focus; the face follows it.
  edit.SetWindowText("Orvane");
  EXPECT_EQ(GetFocus(), edit.GetSafeHwnd());
  SetFocus(parentHwnd());
  EXPECT_EQ(pixel(edit.GetSafeHwnd(), 1, 10), RGB(0, 160, 0));
  EXPECT_EQ(pixel(edit.GetSafeHwnd(), 100, 10), RGB(255, 250, 200));
  robot.moveTo(onScreen(edit.GetSafeHwnd(), 50, 10));
  EXPECT_EQ(pixel(edit.GetSafeHwnd(), 1, 10), RGB(0, 160, 0));

  robot.click(onScreen(edit.GetSafeHwnd(), 140, 10));
  EXPECT_EQ(pixel(edit.GetSafeHwnd(), 1, 10), RGB(220, 0, 0));
  int blue = 0;
  robot.pumpUntilIdle();
  for (int x = 0; x < 80; ++x)
    for (int y = 0; y < 30; ++y) blue += plat::Screenshot::windowPixel(edit.GetSafeHwnd(), x, y) == RGB(0, 0, 255);
  EXPECT_GT(blue, 5);
  saveParent("skinedit-focused");

  robot.key(VK_RETURN);
  const auto enter = received(CSkinEdit::UM_EDIT_ENTER);
  ASSERT_EQ(enter.size(), 1u);
  EXPECT_EQ(enter[0].lParam, reinterpret_cast<LPARAM>(edit.GetSafeHwnd()));

  // Missing one bitmap: the images stay as they were.
  HBITMAP black = test::MakeBitmap(20, 20, [](int, int) { return RGB(0, 0, 0); });
  edit.SetBitmaps(black, nullptr, black, CRect(0, 0, 20, 20), CRect(0, 0, 20, 20), CRect(0, 0, 20, 20));
  DeleteObject(black);
  edit.Redraw();
  EXPECT_EQ(pixel(edit.GetSafeHwnd(), 1, 10), RGB(220, 0, 0));
}

TEST_F(SkinEditTest, TheNumberFieldFallsBackOnEnterAndCleansAfterAChange) {
  CNumericEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 40), parent(), 7003));
  Dress(edit);
  edit.SetWindowText("1.2.3");
  edit.SetValidate(TRUE);
  robot.click(edit.GetSafeHwnd());
  robot.key(VK_RETURN);
  EXPECT_EQ(Text(edit), "0.00");
  EXPECT_EQ(received(CSkinEdit::UM_EDIT_ENTER).size(), 1u);
  EXPECT_TRUE(robot.messageBoxes().empty());

  // A change that makes the text invalid: one box, and the text cleaned to a number.
  robot.click(edit.GetSafeHwnd());
  edit.SetSel(0, -1);
  robot.type("12.5.");
  ASSERT_EQ(robot.messageBoxes().size(), 1u);
  EXPECT_EQ(Text(edit), "12.5");
  EXPECT_TRUE(CNumericEdit::IsValidNumber(Text(edit)));
  EXPECT_EQ(CNumericEdit::CleanNumber("..5.1a"), "5.1");
  EXPECT_EQ(CNumericEdit::CleanNumber("."), "");
  // An empty text is no error.
  edit.SetWindowText("");
  EXPECT_EQ(robot.messageBoxes().size(), 1u);

  // The field widens with its text, up to the parent's right edge.
  CRect before;
  edit.GetWindowRect(&before);
  edit.SetSel(0, -1);
  robot.type("123456789012345678901234567890");
  CRect after;
  edit.GetWindowRect(&after);
  EXPECT_GT(after.Width(), before.Width());
  CRect parentClient;
  GetClientRect(parentHwnd(), &parentClient);
  EXPECT_LE(after.right - onScreen(parentHwnd(), 0, 0).x, parentClient.right);
}

}  // namespace

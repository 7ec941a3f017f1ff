// The skinned edit boxes typed into by the robot: the digit field's maximum, the framed
// edit's faces and its Enter report, and the number field's fallback and cleaning.
#include "ControlTest.h"

#include "skin/CBufferEdit.h"
#include "skin/CDigitEdit.h"
#include "skin/CNumericEdit.h"
#include "skin/CSkinEdit.h"

#include <com/globalmem.h>
#include <robot/Screenshot.h>

#include <algorithm>
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
  // The screen as it is now, without running the queue first.
  static COLORREF ScreenAt(HWND hwnd, int x, int y) { return plat::Screenshot::screenPixel(onScreen(hwnd, x, y).x, onScreen(hwnd, x, y).y); }
  static POINT Caret() {
    POINT at{-1, -1};
    GetCaretPos(&at);
    return at;
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

  edit.SetText("Hour");
  edit.SetText("");
  EXPECT_EQ(edit.GetText(), "Hour");
  edit.EnableEdit(FALSE);
  EXPECT_FALSE(edit.IsEditEnabled());
  EXPECT_FALSE(edit.IsWindowEnabled());
}

// Text that is not typed meets the same rule: a character sent alone, a paste (by Ctrl+V
// or WM_PASTE) and a replaced selection go in whole only as digits within the maximum,
// else the text stays; text the program sets must be digits and is cut to the maximum.
TEST_F(SkinEditTest, TheDigitFieldHoldsEveryOtherWayInToItsDigitsAndMaximum) {
  CDigitEdit edit;
  ASSERT_TRUE(edit.Create(0, CRect(10, 10, 110, 40), parent(), 7001));
  edit.SetRange(23, 0);
  robot.click(edit.GetSafeHwnd());
  edit.SetWindowText("3");
  edit.SetSel(1, 1);
  edit.SendMessage(WM_CHAR, '0', 0);
  edit.SendMessage(WM_CHAR, 'x', 0);
  EXPECT_EQ(Text(edit), "3");
  edit.SetSel(0, 0);
  edit.SendMessage(WM_CHAR, '1', 0);
  EXPECT_EQ(Text(edit), "13");
  edit.SetWindowText("12");

  const auto ctrlV = [this] {
    robot.press(VK_CONTROL);
    robot.key('V');
    robot.release(VK_CONTROL);
  };
  edit.SetSel(0, -1);
  for (const char* refused : {"99", "24", "99999999999", "1a", "-1", " 5"}) {
    PutOnClipboard(refused);
    edit.Paste();
    EXPECT_EQ(Text(edit), "12") << refused;
    ctrlV();
    EXPECT_EQ(Text(edit), "12") << refused;
  }
  PutOnClipboard("23");
  ctrlV();
  EXPECT_EQ(Text(edit), "23");
  PutOnClipboard("7");
  edit.SetSel(0, 1);
  edit.SendMessage(WM_PASTE, 0, 0);
  EXPECT_EQ(Text(edit), "23") << "73 is refused";
  PutOnClipboard("1");
  edit.SetSel(1, 2);
  edit.Paste();
  EXPECT_EQ(Text(edit), "21");
  edit.SetSel(0, 2);
  edit.ReplaceSel("30");
  EXPECT_EQ(Text(edit), "21");
  edit.ReplaceSel("0");
  EXPECT_EQ(Text(edit), "0");

  edit.SetWindowText("99");
  EXPECT_EQ(Text(edit), "23");
  edit.SetWindowText("99999999999");
  EXPECT_EQ(Text(edit), "23");
  EXPECT_EQ(edit.GetValue(), 23);
  edit.SetWindowText("12:30");
  EXPECT_EQ(Text(edit), "23");
  edit.SetWindowText("5");
  EXPECT_EQ(edit.GetValue(), 5);
  edit.SetWindowText("");
  EXPECT_EQ(Text(edit), "");
  EXPECT_EQ(edit.GetValue(), 0);
  // A maximum lowered under the text: the value read is the maximum.
  edit.SetWindowText("20");
  edit.SetRange(9, 0);
  EXPECT_EQ(edit.GetValue(), 9);
}

// A parent that answers WM_CTLCOLOREDIT itself, for the reflection's other side.
class CGreyParent : public CWnd {
 public:
  CBrush grey{RGB(128, 128, 128)};

 protected:
  afx_msg LRESULT OnCtlColorEdit(WPARAM wParam, LPARAM) {
    ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(grey));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGreyParent, CWnd)
  ON_MESSAGE(WM_CTLCOLOREDIT, OnCtlColorEdit)
END_MESSAGE_MAP()

TEST_F(SkinEditTest, TheDigitFieldPaintsItsOwnColoursThroughTheReflectedRequest) {
  // The field's colours come back from its parent's request, as the framework reflects it.
  CWnd host;
  ASSERT_TRUE(host.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 100), parent(), 7100));
  CDigitEdit edit;
  ASSERT_TRUE(edit.Create(0, CRect(10, 10, 110, 40), &host, 7002));
  edit.SetWindowText("88");
  HWND hwnd = edit.GetSafeHwnd();
  // Black field, white digits: the digits' strokes are white somewhere in the field.
  EXPECT_EQ(pixel(hwnd, 95, 2), RGB(0, 0, 0));
  auto whiteCount = [&] {
    robot.pumpUntilIdle();
    const auto pixels = plat::Screenshot::windowPixels(hwnd, RECT{0, 0, 100, 30});
    return std::count(pixels.begin(), pixels.end(), RGB(255, 255, 255));
  };
  EXPECT_GT(whiteCount(), 10);
  // Extra pixels after each digit spread the two digits apart.
  auto inkWidth = [&] {
    robot.pumpUntilIdle();
    const auto pixels = plat::Screenshot::windowPixels(hwnd, RECT{0, 0, 100, 30});
    int left = 100, right = -1;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 100; ++x)
        if (pixels[static_cast<std::size_t>(y * 100 + x)] == RGB(255, 255, 255)) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
    return right - left;
  };
  const int close = inkWidth();
  EXPECT_EQ(edit.SetCharExtra(6), 0);
  EXPECT_EQ(inkWidth(), close + 6);
  EXPECT_EQ(edit.SetCharExtra(0), 6);
  EXPECT_EQ(inkWidth(), close);
  EXPECT_EQ(edit.SetBkColor(RGB(0, 0, 160)), RGB(0, 0, 0));
  EXPECT_EQ(pixel(hwnd, 95, 2), RGB(0, 0, 160));
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "skin-screens";
  std::filesystem::create_directories(shots);
  plat::Screenshot::saveWindow(host.GetSafeHwnd(), shots / "digitedit.png");

  // A font from a description stays until the field's height changes.
  LOGFONTA wanted{};
  wanted.lfHeight = 14;
  wanted.lfWeight = FW_NORMAL;
  std::strcpy(wanted.lfFaceName, "Orvane Sans");
  ASSERT_TRUE(edit.SetLogFont(wanted));
  LOGFONTA got{};
  ASSERT_TRUE(edit.GetLogFont(got));
  EXPECT_EQ(got.lfHeight, 14);
  EXPECT_STREQ(got.lfFaceName, "Orvane Sans");
  edit.Invalidate();
  robot.pumpUntilIdle();
  ASSERT_TRUE(edit.GetLogFont(got));
  EXPECT_EQ(got.lfHeight, 14);
  wanted.lfHeight = 120;
  ASSERT_TRUE(edit.SetPointLogFont(wanted));
  ASSERT_TRUE(edit.GetLogFont(got));
  EXPECT_LT(got.lfHeight, 0);
  edit.DestroyWindow();

  // A parent that answers the request itself keeps its own colours for its edits.
  CGreyParent grey;
  ASSERT_TRUE(grey.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 100, 300, 200), parent(), 7101));
  CEdit plain;
  ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), &grey, 7003));
  EXPECT_EQ(pixel(plain.GetSafeHwnd(), 95, 2), RGB(128, 128, 128));
  plain.DestroyWindow();
  grey.DestroyWindow();
  host.DestroyWindow();
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
  robot.pumpUntilIdle();
  const auto focused = plat::Screenshot::windowPixels(edit.GetSafeHwnd(), RECT{0, 0, 80, 30});
  EXPECT_GT(std::count(focused.begin(), focused.end(), RGB(0, 0, 255)), 5);
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

namespace {

TEST_F(SkinEditTest, TheFramedEditsAnswerTheColourRequestWithTheirOwnFieldBrush) {
  CWnd host;
  ASSERT_TRUE(host.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 100), parent(), 7100));
  CSkinEdit framed;
  ASSERT_TRUE(framed.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), &host, 7004));
  CNumericEdit number;
  ASSERT_TRUE(number.Create(WS_CHILD | WS_VISIBLE, CRect(10, 50, 110, 80), &host, 7005));
  HDC hdc = CreateCompatibleDC(nullptr);
  for (CSkinEdit* edit : {static_cast<CSkinEdit*>(&framed), static_cast<CSkinEdit*>(&number)}) {
    SetBkColor(hdc, RGB(1, 2, 3));
    SetBkMode(hdc, OPAQUE);
    auto ask = [&] {
      return reinterpret_cast<HBRUSH>(
          host.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(edit->GetSafeHwnd())));
    };
    const HBRUSH brush = ask();
    ASSERT_NE(brush, nullptr);
    LOGBRUSH info{};
    ASSERT_EQ(GetObjectA(brush, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.lbColor, CSkinEdit::kFieldColor);
    EXPECT_EQ(GetBkColor(hdc), CSkinEdit::kFieldColor);
    EXPECT_EQ(GetBkMode(hdc), TRANSPARENT);
    // The same brush every time, alive while the edit is.
    EXPECT_EQ(ask(), brush);
  }
  DeleteDC(hdc);
  framed.DestroyWindow();
  number.DestroyWindow();
  host.DestroyWindow();
}

TEST_F(SkinEditTest, TheFaceIsDrawnAgainOnAnUpdateAndOnShowing) {
  CSkinEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 160, 40), parent(), 7006));
  Dress(edit);
  const HWND hwnd = edit.GetSafeHwnd();
  robot.pumpUntilIdle();
  auto spoil = [&] {
    HDC hdc = GetDC(hwnd);
    RECT all{0, 0, 150, 30};
    FillRect(hdc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(hwnd, hdc);
  };
  spoil();
  ASSERT_EQ(ScreenAt(hwnd, 1, 10), RGB(0, 0, 0));
  clearReceived();
  SendMessageA(parentHwnd(), WM_COMMAND, MAKEWPARAM(7006, EN_UPDATE), reinterpret_cast<LPARAM>(hwnd));
  EXPECT_EQ(ScreenAt(hwnd, 1, 10), RGB(0, 160, 0));
  EXPECT_EQ(ScreenAt(hwnd, 100, 10), RGB(255, 250, 200));
  // The parent hears of the update too.
  ASSERT_EQ(received(WM_COMMAND).size(), 1u);

  // Hidden, the place is painted over by the parent; shown, the face is back at once.
  edit.ShowWindow(SW_HIDE);
  robot.pumpUntilIdle();
  HDC hdc = GetDC(parentHwnd());
  RECT place{10, 10, 160, 40};
  FillRect(hdc, &place, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(parentHwnd(), hdc);
  ASSERT_EQ(ScreenAt(hwnd, 1, 10), RGB(0, 0, 0));
  edit.ShowWindow(SW_SHOW);
  EXPECT_EQ(ScreenAt(hwnd, 1, 10), RGB(0, 160, 0));
}

TEST_F(SkinEditTest, TheNumberFieldPutsTheCaretAfterItsTextWhileFocused) {
  CNumericEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), parent(), 7007));
  Dress(edit);
  CEdit other;
  ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE, CRect(10, 60, 110, 90), parent(), 7008));
  robot.click(other.GetSafeHwnd());
  robot.type("abc");
  const POINT otherCaret = Caret();
  // Drawn without the focus, the field leaves the other edit's caret alone.
  edit.SetWindowText("7");
  edit.Redraw();
  EXPECT_EQ(Caret().x, otherCaret.x);

  robot.click(onScreen(edit.GetSafeHwnd(), 5, 10));
  edit.SetSel(0, -1);
  robot.type("12");
  CRect format;
  edit.SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  auto width = [&](const char* text) {
    CClientDC dc(&edit);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(edit.SendMessage(WM_GETFONT, 0, 0));
    HGDIOBJ old = dc.SelectObject(font ? font : GetStockObject(DEFAULT_GUI_FONT));
    const int cx = dc.GetTextExtent(text).cx;
    dc.SelectObject(old);
    return cx;
  };
  EXPECT_EQ(Caret().x, format.left + width("12"));
  EXPECT_EQ(Caret().y, format.top);
  // Home puts the edit's own caret at the start; the next redraw puts it after the text.
  robot.key(VK_HOME);
  robot.pumpUntilIdle();
  EXPECT_EQ(Caret().x, format.left + width("12"));
  // A text wider than the field keeps the caret inside the right margin.
  edit.SetWindowText("1234567890123456789012345678901234567890");
  CRect client;
  edit.GetClientRect(&client);
  const int rightMargin = HIWORD(static_cast<DWORD>(edit.SendMessage(EM_GETMARGINS, 0, 0)));
  EXPECT_EQ(Caret().x, client.right - rightMargin);
}

TEST_F(SkinEditTest, TheBufferEditKeepsItsTextAndReadsItAsDigits) {
  CBufferEdit edit;
  EXPECT_STREQ(edit.GetBuffer(), "");
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), parent(), 7009));
  robot.click(edit.GetSafeHwnd());
  robot.type("0042");
  EXPECT_STREQ(edit.ReadText(), "0042");
  EXPECT_EQ(edit.GetValue(), 42u);
  // The buffer keeps what was read until the next read.
  edit.SetWindowText("");
  EXPECT_STREQ(edit.GetBuffer(), "0042");
  EXPECT_EQ(edit.GetValue(), CBufferEdit::kNoNumber);
  EXPECT_STREQ(edit.GetBuffer(), "");

  EXPECT_EQ(CBufferEdit::ParseDigits("0"), 0u);
  EXPECT_EQ(CBufferEdit::ParseDigits("000000000000000000000000000007"), 7u);
  EXPECT_EQ(CBufferEdit::ParseDigits("12a"), CBufferEdit::kNoNumber);
  EXPECT_EQ(CBufferEdit::ParseDigits("-1"), CBufferEdit::kNoNumber);
  EXPECT_EQ(CBufferEdit::ParseDigits(" 1"), CBufferEdit::kNoNumber);
  EXPECT_EQ(CBufferEdit::ParseDigits(nullptr), CBufferEdit::kNoNumber);
  // The largest value told apart from "no number", and the first past it.
  EXPECT_EQ(CBufferEdit::ParseDigits("4294967294"), 4294967294u);
  EXPECT_EQ(CBufferEdit::ParseDigits("4294967295"), CBufferEdit::kNoNumber);
  EXPECT_EQ(CBufferEdit::ParseDigits("99999999999999999999999"), CBufferEdit::kNoNumber);
}

}  // namespace

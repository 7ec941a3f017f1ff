// The single-line edit played by the robot: typing at the caret, the digits-only style,
// the limit, pasting, selection keys, and the change notices its parent gets.
#include "WindowTest.h"

#include <com/globalmem.h>
#include <robot/Robot.h>

#include <cstring>
#include <string>

namespace test {
namespace {

class EditTest : public UserTest {
 protected:
  void SetUp() override {
    parent = createRecorder("Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, RECT{100, 100, 400, 300});
  }
  void TearDown() override { DestroyWindow(parent); }
  HWND Make(DWORD style = 0) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 10, 10, 150, 22, parent,
                                reinterpret_cast<HMENU>(7), nullptr, nullptr);
    SetFocus(edit);
    return edit;
  }
  static std::string Text(HWND edit) {
    char text[256] = {};
    GetWindowTextA(edit, text, sizeof(text));
    return text;
  }
  int Notices(WORD code) const {
    int count = 0;
    for (const Recorded& r : MessageRecorder::instance().all())
      if (r.hwnd == parent && r.message == WM_COMMAND && HIWORD(r.wParam) == code) ++count;
    return count;
  }
  static void PutOnClipboard(const char* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::memcpy(GlobalLock(block), text, std::strlen(text) + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
  }

  plat::Robot robot;
  HWND parent = nullptr;
};

TEST_F(EditTest, TypingGoesInAtTheCaretAndEveryChangeIsReported) {
  HWND edit = Make();
  ASSERT_TRUE(robot.type("Orvane 5"));
  EXPECT_EQ(Text(edit), "Orvane 5");
  EXPECT_EQ(Notices(EN_CHANGE), 8);
  robot.key(VK_HOME);
  robot.key(VK_RIGHT);
  robot.type("x");
  EXPECT_EQ(Text(edit), "Oxrvane 5");
  robot.key(VK_END);
  robot.key(VK_BACK);
  robot.key(VK_HOME);
  robot.key(VK_DELETE);
  EXPECT_EQ(Text(edit), "xrvane ");
  // Text set by the program is reported too, and puts the caret at the start.
  recorder().clear();
  SetWindowTextA(edit, "12");
  EXPECT_EQ(Notices(EN_CHANGE), 1);
  DWORD start = 9, end = 9;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
}

TEST_F(EditTest, DigitsOnlyRefusesTypedLettersButNotPastedText) {
  HWND edit = Make(ES_NUMBER);
  robot.type("1a2.3");
  EXPECT_EQ(Text(edit), "123");
  PutOnClipboard("4x");
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(edit), "1234x");
}

TEST_F(EditTest, TheLimitCutsTypedAndPastedTextAndSaysSo) {
  HWND edit = Make();
  SendMessageA(edit, EM_LIMITTEXT, 4, 0);
  robot.type("abcdef");
  EXPECT_EQ(Text(edit), "abcd");
  EXPECT_EQ(Notices(EN_MAXTEXT), 2);
  // A selection makes room; a pasted line ends at its line break.
  SendMessageA(edit, EM_SETSEL, 1, 3);
  PutOnClipboard("XYZ\r\nnext");
  robot.press(VK_CONTROL);
  robot.key('V');
  robot.release(VK_CONTROL);
  EXPECT_EQ(Text(edit), "aXYd");
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("q"));
  EXPECT_EQ(Text(edit), "q");
  // Shift with the arrows selects; typing replaces the selection.
  SetWindowTextA(edit, "1234");
  robot.key(VK_END);
  robot.press(VK_SHIFT);
  robot.key(VK_LEFT);
  robot.key(VK_LEFT);
  robot.release(VK_SHIFT);
  robot.type("9");
  EXPECT_EQ(Text(edit), "129");
}

TEST_F(EditTest, AReadOnlyEditTakesNoInput) {
  HWND edit = Make(ES_READONLY);
  SetWindowTextA(edit, "fixed");
  robot.key(VK_END);
  robot.type("x");
  robot.key(VK_BACK);
  EXPECT_EQ(Text(edit), "fixed");
  SendMessageA(edit, EM_SETREADONLY, FALSE, 0);
  robot.type("d");
  EXPECT_EQ(Text(edit), "fixedd");
}

}  // namespace
}  // namespace test

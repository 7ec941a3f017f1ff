// Message boxes: recorded, answered by what the robot queued or by the default button,
// modal over their owner.
#include "WindowTest.h"

#include <win32/user/UserSystem.h>

namespace test {
namespace {

class MessageBoxTest : public UserTest {
 protected:
  plat::MessageBoxLog& log() { return plat::UserSystem::current().messageBoxes(); }
};

TEST_F(MessageBoxTest, WithNobodyAnsweringTheDefaultButtonIsTaken) {
  EXPECT_EQ(MessageBoxA(nullptr, "Orvane Media is already running.", "Orvane Media", MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "Delete?", "Confirm", MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION), IDNO);
  const auto records = log().records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].text, "Orvane Media is already running.");
  EXPECT_EQ(records[0].caption, "Orvane Media");
  EXPECT_EQ(records[0].answer, IDOK);
  EXPECT_EQ(records[1].type, static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION));
  EXPECT_EQ(records[1].buttons, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_EQ(records[1].answer, IDNO);
  EXPECT_FALSE(IsWindow(records[1].window));
}

TEST_F(MessageBoxTest, AQueuedAnswerIsUsedOnceAndTheCaptionDefaultsToError) {
  log().queueAnswer(IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "Save?", nullptr, MB_YESNOCANCEL), IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "Again?", nullptr, MB_YESNOCANCEL), IDYES);  // default: first button
  log().queueAnswer(IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, "Retry?", "t", MB_RETRYCANCEL), IDCANCEL);
  EXPECT_EQ(log().records().front().caption, "Error");
}

TEST_F(MessageBoxTest, TheBoxIsARealDialogOwnedByTheTopLevelWindow) {
  static HWND owner = nullptr;
  static HWND box = nullptr;
  static bool ownerDisabled = false;
  static int ticks = 0;
  registerClass("BoxOwner", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_TIMER) {
      ++ticks;
      box = FindWindowA("#32770", "Question");
      ownerDisabled = !IsWindowEnabled(owner);
      if (box) SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  owner = CreateWindowExA(0, "BoxOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                          nullptr, nullptr);
  HWND child = createRecorder("child", WS_CHILD | WS_VISIBLE, owner, 5);
  SetTimer(owner, 1, 10, nullptr);
  // A script that keeps time moving and never answers: the timer's handler clicks "No".
  plat::Clock& clock = machine().clock();
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), [&clock] {
    clock.advance(10);
    return 0;
  });
  const int answer = MessageBoxA(child, "Really?", "Question", MB_YESNO);
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), nullptr);
  EXPECT_EQ(answer, IDNO);
  EXPECT_EQ(ticks, 1);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(log().records().front().owner, child);
}

TEST_F(MessageBoxTest, ItsButtonsAndTextAreWindowsARobotCanRead) {
  static std::string text;
  static std::vector<std::string> buttons;
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), [] {
    HWND box = FindWindowA("#32770", "Look");
    if (!box) return -1;
    char buffer[64];
    GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
    text = buffer;
    for (int id : {IDOK, IDCANCEL}) {
      GetDlgItemTextA(box, id, buffer, sizeof buffer);
      buttons.emplace_back(buffer);
    }
    SendMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
    return 0;
  });
  EXPECT_EQ(MessageBoxA(nullptr, "Look at me", "Look", MB_OKCANCEL), IDCANCEL);
  plat::UserSystem::current().setIdleHook(GetCurrentThreadId(), nullptr);
  EXPECT_EQ(text, "Look at me");
  EXPECT_EQ(buttons, (std::vector<std::string>{"OK", "Cancel"}));
}

}  // namespace
}  // namespace test

// The list's messages: commands posted to a window titled as the scheduler program's, the
// main window's own power timers without it, the change notice sent to the record plan
// window, and the end of a run sent to the main window.
#include "ScheduleTest.h"

#include <mfc/afxwin.h>
#include <win32/user.h>

#include <vector>

namespace {

struct Received {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Received> g_sent;

// Writes down the schedule notices that reach a window directly (sent, not posted).
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CScheduleList::UM_SCHEDULE_CHANGED || message == CScheduleList::UM_SCHEDULE_RUN_ENDED)
    g_sent.push_back({window, message, wParam, lParam});
  return DefWindowProcA(window, message, wParam, lParam);
}

class ScheduleCommandsTest : public test::ScheduleTest {
 protected:
  ScheduleCommandsTest() {
    g_sent.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "ScheduleTestWindow";
    RegisterClassA(&wc);
    mainWindow.Attach(make("ScheduleTestWindow", "Launcher"));
    app.m_pMainWnd = &mainWindow;
  }
  ~ScheduleCommandsTest() override {
    app.m_pMainWnd = nullptr;
    DestroyWindow(mainWindow.Detach());
    for (HWND window : made) DestroyWindow(window);
  }

  HWND make(LPCSTR className, LPCSTR title) {
    HWND window = CreateWindowExA(0, className, title, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(window, nullptr);
    if (window) made.push_back(window);
    return window;
  }
  HWND makeScheduler() { return make(WC_DIALOG, "TALVIK Norlet Schedule"); }

  // The commands waiting in the window's queue, taken out.
  std::vector<WPARAM> commands(HWND window) {
    std::vector<WPARAM> ids;
    MSG msg;
    while (PeekMessageA(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
      EXPECT_EQ(msg.lParam, 0);
      ids.push_back(msg.wParam);
    }
    return ids;
  }
  // The timers that fired on the main window, taken out.
  std::vector<WPARAM> timers() {
    std::vector<WPARAM> ids;
    MSG msg;
    while (PeekMessageA(&msg, mainWindow.GetSafeHwnd(), WM_TIMER, WM_TIMER, PM_REMOVE)) ids.push_back(msg.wParam);
    return ids;
  }

  CWinApp app;
  CWnd mainWindow;
  std::vector<HWND> made;
};

TEST_F(ScheduleCommandsTest, TheSchedulerWindowGetsEachCommandPosted) {
  HWND scheduler = makeScheduler();
  CScheduleList::ReloadSchedulerProgram();
  CScheduleList::RequestStandby();
  CScheduleList::RequestShutdown();
  EXPECT_EQ(commands(scheduler), (std::vector<WPARAM>{459, 1127, 1128}));
  machine().clock().advance(10000);
  EXPECT_TRUE(timers().empty());
}

TEST_F(ScheduleCommandsTest, OnlyTheDialogOfThatTitleIsTheScheduler) {
  HWND other = make("ScheduleTestWindow", "TALVIK Norlet Schedule");
  HWND dialog = make(WC_DIALOG, "TALVIK Norlet");
  CScheduleList::ReloadSchedulerProgram();
  EXPECT_TRUE(commands(other).empty());
  EXPECT_TRUE(commands(dialog).empty());
}

TEST_F(ScheduleCommandsTest, WithoutTheSchedulerTheMainWindowTimesStandbyAndShutdown) {
  CScheduleList::ReloadSchedulerProgram();
  CScheduleList::RequestStandby();
  machine().clock().advance(9999);
  EXPECT_TRUE(timers().empty());
  machine().clock().advance(1);
  EXPECT_EQ(timers(), (std::vector<WPARAM>{CScheduleList::kStandbyTimer}));
  KillTimer(mainWindow.GetSafeHwnd(), CScheduleList::kStandbyTimer);

  CScheduleList::RequestShutdown();
  machine().clock().advance(10000);
  EXPECT_EQ(timers(), (std::vector<WPARAM>{CScheduleList::kShutdownTimer}));
  KillTimer(mainWindow.GetSafeHwnd(), CScheduleList::kShutdownTimer);
  EXPECT_TRUE(commands(nullptr).empty());
}

TEST_F(ScheduleCommandsTest, AChangeIsSentToThePlanWindowAndReloadsTheScheduler) {
  HWND plan = make("ScheduleTestWindow", "Orvane Media_RecordDlg");
  HWND scheduler = makeScheduler();
  CScheduleList::NotifyChanged(2, 1);
  ASSERT_EQ(g_sent.size(), 1u);  // sent: there before the call returns
  EXPECT_EQ(g_sent[0].window, plan);
  EXPECT_EQ(g_sent[0].message, CScheduleList::UM_SCHEDULE_CHANGED);
  EXPECT_EQ(g_sent[0].wParam, 2u);
  EXPECT_EQ(g_sent[0].lParam, 0);
  CScheduleList::NotifyChanged(-1, 1);
  ASSERT_EQ(g_sent.size(), 2u);
  EXPECT_EQ(static_cast<int>(g_sent[1].wParam), -1);
  EXPECT_EQ(commands(scheduler), (std::vector<WPARAM>{459, 459}));
}

TEST_F(ScheduleCommandsTest, AChangeWithoutNoticeOnlyReloadsTheScheduler) {
  make("ScheduleTestWindow", "Orvane Media_RecordDlg");
  HWND scheduler = makeScheduler();
  CScheduleList::NotifyChanged(0, 0);
  EXPECT_TRUE(g_sent.empty());
  EXPECT_EQ(commands(scheduler), (std::vector<WPARAM>{459}));
  CScheduleList::NotifyChanged(3, 1);  // no harm without a plan window either
}

TEST_F(ScheduleCommandsTest, EndingARunTellsTheMainWindowOnlyWhenOneRuns) {
  CScheduleList list;
  list.EndRunIfActive();
  EXPECT_TRUE(g_sent.empty());
  list.ViewRun() = 1;
  list.EndRunIfActive();
  ASSERT_EQ(g_sent.size(), 1u);
  EXPECT_EQ(g_sent[0].window, mainWindow.GetSafeHwnd());
  EXPECT_EQ(g_sent[0].message, CScheduleList::UM_SCHEDULE_RUN_ENDED);
  EXPECT_EQ(g_sent[0].wParam, 0u);
  EXPECT_EQ(list.ViewRun(), 0);
  list.RecordRun() = 1;
  list.EndRunIfActive();
  EXPECT_EQ(g_sent.size(), 2u);
  EXPECT_EQ(list.RecordRun(), 0);
}

TEST_F(ScheduleCommandsTest, WithoutAMainWindowNothingIsTimedOrSent) {
  app.m_pMainWnd = nullptr;
  CScheduleList list;
  list.RecordRun() = 1;
  list.EndRunIfActive();
  EXPECT_EQ(list.RecordRun(), 0);
  CScheduleList::RequestStandby();
  machine().clock().advance(10000);
  EXPECT_TRUE(g_sent.empty());
  EXPECT_TRUE(timers().empty());
}

}  // namespace

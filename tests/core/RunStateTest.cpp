// The run state announces each change to the main window, posted and once per change;
// the controller answers its questions from it, and 0 to all without it; the display mode
// ignores codes that are not positive.
#include "CoreTest.h"

#include "core/CDisplayMode.h"
#include "core/CRunState.h"

#include <mfc/afxwin.h>

#include <vector>

namespace {

class RunStateTest : public test::CoreTest {
 protected:
  ~RunStateTest() override {
    app.m_pMainWnd = nullptr;
    if (frame) frame->DestroyWindow();
  }

  void createMainWindow() {
    frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Launcher", WS_OVERLAPPEDWINDOW));
    app.m_pMainWnd = frame;
  }

  // The wParams of the run-state messages waiting in the thread's queue, taken out.
  std::vector<WPARAM> announcements() {
    std::vector<WPARAM> states;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, CRunState::UM_RUNSTATE_CHANGED, CRunState::UM_RUNSTATE_CHANGED, PM_REMOVE)) {
      EXPECT_EQ(msg.hwnd, frame->GetSafeHwnd());
      EXPECT_EQ(msg.lParam, 0);
      states.push_back(msg.wParam);
    }
    return states;
  }

  CWinApp app;
  CFrameWnd* frame = nullptr;  // deletes itself when destroyed
  CRunState runState;
};

TEST_F(RunStateTest, StartsIdleOnTheCablePlan) {
  EXPECT_EQ(runState.GetState(), 0);
  EXPECT_EQ(runState.IsIdle(), 1);
  EXPECT_EQ(runState.GetSubState(), 17);
  EXPECT_EQ(runState.IsSubState17(), 1);
  EXPECT_EQ(runState.IsTunerSubState(), 1);
}

TEST_F(RunStateTest, EachChangeIsPostedOnceAndTheSameStateNotAtAll) {
  createMainWindow();
  runState.SetState(2);
  runState.SetState(2);
  runState.SetState(3);
  runState.SetState(0);
  EXPECT_EQ(runState.IsIdle(), 1);
  EXPECT_EQ(announcements(), (std::vector<WPARAM>{2, 3, 0}));
  runState.SetState(0);
  EXPECT_TRUE(announcements().empty());
}

TEST_F(RunStateTest, WithoutAMainWindowTheStateStillChanges) {
  runState.SetState(6);
  EXPECT_EQ(runState.IsState6(), 1);
  createMainWindow();
  EXPECT_TRUE(announcements().empty());
}

TEST_F(RunStateTest, EachTestAnswersForItsOwnCodeOnly) {
  using Test = int (CRunState::*)() const;
  const std::vector<std::pair<int, Test>> tests = {
      {0, &CRunState::IsIdle},     {1, &CRunState::IsState1},   {2, &CRunState::IsState2},
      {3, &CRunState::IsState3},   {4, &CRunState::IsState4},   {6, &CRunState::IsState6},
      {7, &CRunState::IsState7},   {9, &CRunState::IsState9},   {10, &CRunState::IsState10},
      {11, &CRunState::IsState11}, {12, &CRunState::IsState12}, {13, &CRunState::IsState13},
      {14, &CRunState::IsState14}};
  for (const auto& [code, test] : tests) {
    runState.SetState(code);
    for (const auto& [other, otherTest] : tests) EXPECT_EQ((runState.*otherTest)(), other == code ? 1 : 0) << code;
  }
}

TEST_F(RunStateTest, TheTunerSubStatesAreTheTwoPlans) {
  for (int sub : {16, 17}) {
    runState.SetSubState(sub);
    EXPECT_EQ(runState.IsTunerSubState(), 1) << sub;
  }
  runState.SetSubState(18);
  EXPECT_EQ(runState.IsSubState18(), 1);
  EXPECT_EQ(runState.IsTunerSubState(), 0);
  runState.SetSubState(19);
  EXPECT_EQ(runState.IsSubState19(), 1);
  EXPECT_EQ(runState.IsSubState16(), 0);
  EXPECT_EQ(runState.IsTunerSubState(), 0);
}

class ControllerRunStateTest : public test::ControllerTest {
 protected:
  ~ControllerRunStateTest() override {
    deleteController();
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
  }

  void SetUp() override {
    frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Launcher", WS_OVERLAPPEDWINDOW));
    app.m_pMainWnd = frame;
  }

  // The run states announced to the main window so far, taken out of the queue.
  std::vector<WPARAM> announcements() {
    std::vector<WPARAM> states;
    MSG msg;
    while (::PeekMessageA(&msg, frame->GetSafeHwnd(), CRunState::UM_RUNSTATE_CHANGED, CRunState::UM_RUNSTATE_CHANGED,
                          PM_REMOVE))
      states.push_back(msg.wParam);
    return states;
  }

  // Every question's answer, in the order GetRunState, IsIdle, IsMediaMode, IsTvMode,
  // IsRecording, IsPreviewing, IsMosaicMode, IsScanState.
  std::vector<int> answers() const {
    return {controller->GetRunState(),  controller->IsIdle(),      controller->IsMediaMode(),
            controller->IsTvMode(),     controller->IsRecording(), controller->IsPreviewing(),
            controller->IsMosaicMode(), controller->IsScanState()};
  }

  CWinApp app;
  CFrameWnd* frame = nullptr;  // deletes itself when destroyed
};

TEST_F(ControllerRunStateTest, WithoutARunStateEveryQuestionIsNoAndNothingChanges) {
  controller = new CAppController;  // not started: no run-state object yet
  g_pAppController = controller;
  EXPECT_EQ(answers(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0}));  // not even idle
  controller->EnterMediaMode();
  controller->SetIdle();
  EXPECT_EQ(answers(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(announcements().empty());
}

TEST_F(ControllerRunStateTest, MediaModeAndIdleAreSetAndAnnounced) {
  ASSERT_EQ(startUp(), 1);
  announcements();
  EXPECT_EQ(answers(), (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0}));

  controller->EnterMediaMode();
  EXPECT_EQ(answers(), (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0}));
  controller->EnterMediaMode();
  EXPECT_EQ(announcements(), (std::vector<WPARAM>{1}));

  controller->SetIdle();
  EXPECT_EQ(answers(), (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(announcements(), (std::vector<WPARAM>{0}));
}

TEST(DisplayMode, StartsAtTheLauncherAndIgnoresCodesNotPositive) {
  CDisplayMode mode;
  EXPECT_EQ(mode.Is105(), 1);
  EXPECT_EQ(mode.SetMode(125), 125);
  EXPECT_EQ(mode.Is125(), 1);
  EXPECT_EQ(mode.Is105(), 0);
  EXPECT_EQ(mode.SetMode(0), 0);
  EXPECT_EQ(mode.SetMode(-5), -5);
  EXPECT_EQ(mode.GetMode(), 125);
  EXPECT_EQ(mode.SetMode(205), 205);
  EXPECT_EQ(mode.Is205(), 1);
  EXPECT_EQ(mode.Is125(), 0);
}

}  // namespace

// A push button entered by the pointer sends its hover hint to the window in front, found
// by the display mode: the TV window, the launcher, the record plan list or the settings
// hub. Other modes, a missing window or a missing display-mode object get no hint.
#include "ControlTest.h"

#include "core/CDisplayMode.h"
#include "skin/CSkinButton.h"
#include "skin/SkinMessages.h"

#include <map>
#include <vector>

namespace {

// A hidden top-level window that writes down the hints it takes.
class HintTarget : public CFrameWnd {
 public:
  std::vector<WPARAM> hints;

 protected:
  afx_msg LRESULT OnHoverHint(WPARAM wParam, LPARAM) {
    hints.push_back(wParam);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HintTarget, CFrameWnd)
  ON_MESSAGE(UM_HOVER_HINT, OnHoverHint)
END_MESSAGE_MAP()

class HoverHintTest : public test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    g_pDisplayMode = new CDisplayMode;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 60), parent(), 5002));
    button.SetCommandId(5002);
    for (const char* title : {"Orvane Media_TVDlg", "Launcher", "Orvane Media_RecordDlg", "Orvane Media_SetDlg"}) {
      auto* target = new HintTarget;  // deletes itself when destroyed
      ASSERT_TRUE(target->Create(nullptr, title, WS_OVERLAPPEDWINDOW));
      targets[title] = target;
    }
    app.m_pMainWnd = targets["Launcher"];
  }

  void TearDown() override {
    app.m_pMainWnd = nullptr;
    for (auto& [title, target] : targets) target->DestroyWindow();
    delete g_pDisplayMode;
    g_pDisplayMode = nullptr;
    button.DestroyWindow();
    ControlTest::TearDown();
  }

  // Enters the button from outside, then moves within it and leaves it again.
  void hoverOnce() {
    robot.moveTo(onScreen(parentHwnd(), 300, 250));
    robot.moveTo(onScreen(button.m_hWnd, 50, 20));
    robot.moveTo(onScreen(button.m_hWnd, 60, 25));
    robot.moveTo(onScreen(parentHwnd(), 300, 250));
  }

  // The titles of the windows that took a hint since the last call, forgetting them.
  std::vector<std::string> hinted() {
    std::vector<std::string> titles;
    for (auto& [title, target] : targets) {
      for (WPARAM hint : target->hints) {
        EXPECT_EQ(hint, 5002u) << title;
        titles.push_back(title);
      }
      target->hints.clear();
    }
    return titles;
  }

  CWinApp app;
  CSkinButton button;
  std::map<std::string, HintTarget*> targets;
};

TEST_F(HoverHintTest, EachDisplayModeHintsItsOwnWindowOncePerEntry) {
  const std::vector<std::pair<int, std::string>> modes = {
      {110, "Orvane Media_TVDlg"}, {105, "Launcher"}, {155, "Orvane Media_RecordDlg"}, {120, "Orvane Media_SetDlg"}};
  for (const auto& [mode, title] : modes) {
    g_pDisplayMode->SetMode(mode);
    hoverOnce();
    EXPECT_EQ(hinted(), std::vector<std::string>{title}) << mode;
  }
}

TEST_F(HoverHintTest, OtherModesAndMissingWindowsGetNoHintButTheButtonStillHovers) {
  g_pDisplayMode->SetMode(115);
  hoverOnce();
  EXPECT_TRUE(hinted().empty());

  g_pDisplayMode->SetMode(110);
  targets["Orvane Media_TVDlg"]->DestroyWindow();
  targets.erase("Orvane Media_TVDlg");
  robot.moveTo(onScreen(button.m_hWnd, 50, 20));
  EXPECT_TRUE(button.GetHover());
  EXPECT_TRUE(hinted().empty());
}

TEST_F(HoverHintTest, WithoutADisplayModeNoHintIsSent) {
  delete g_pDisplayMode;
  g_pDisplayMode = nullptr;
  hoverOnce();
  EXPECT_TRUE(hinted().empty());
}

TEST_F(HoverHintTest, ADisabledButtonSendsNoHint) {
  button.SetDisabled(TRUE);
  hoverOnce();
  EXPECT_TRUE(hinted().empty());
}

}  // namespace

// The control bar: its shape skin read into shaped buttons and a progress bar, the
// buttons each owner state allows, commands to the owner, and its application-bar docking
// with auto-hide.
#include "windows/WindowsTest.h"

#include "core/CDisplayMode.h"
#include "skin/CShapeButton.h"
#include "skin/CShapeSlider.h"
#include "windows/main/CAppBar.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/WindowMessages.h"

#include <win32/user/appbar.h>

#include <set>

namespace {

const char* const kAll[] = {"BACK_MOVIE", "PLAY_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "AHEAD_MOVIE", "SUB_SND",
                            "ADD_SND",    "MUTE_SND",   "RECORD_MOVIE", "PRE_CHANNELS", "NEXT_CHANNELS", "JIETU_PIC"};

// The bar as its owner makes it, over a plain window that writes down its commands.
class ControlBarTest : public test::WindowsTest {
 protected:
  void SetUp() override {
    test::WriteBarSkin(testMachine.programFolder());
    g_pDisplayMode = new CDisplayMode;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                               nullptr));
    ownerWindow = owner.GetSafeHwnd();
    s_commands.clear();
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(ownerWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerProc)));
    bar = std::make_unique<CControlBarDlg>(&owner);
    ASSERT_TRUE(bar->Create(CControlBarDlg::IDD, &owner));
  }
  void TearDown() override {
    if (bar && bar->GetSafeHwnd()) bar->DestroyWindow();
    bar.reset();
    SetWindowLongPtrA(ownerWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    owner.DestroyWindow();
    delete g_pDisplayMode;
    g_pDisplayMode = nullptr;
  }
  std::set<std::string> enabledButtons() const {
    std::set<std::string> names;
    for (CShapeButton* button : bar->GetButtons())
      if (button->IsButtonEnabled()) names.insert(std::string(button->GetName()));
    return names;
  }
  static std::set<std::string> allBut(std::initializer_list<const char*> left) {
    std::set<std::string> names(std::begin(kAll), std::end(kAll));
    for (const char* name : left) names.erase(name);
    return names;
  }
  static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_BAR_COMMAND) {
      s_commands.emplace_back(reinterpret_cast<LPCSTR>(wParam));
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }

  static inline std::vector<std::string> s_commands;
  CWnd owner;
  HWND ownerWindow = nullptr;
  WNDPROC previous = nullptr;
  std::unique_ptr<CControlBarDlg> bar;
};

TEST_F(ControlBarTest, LoadsItsShapeSkinWithOnlyStopEnabledAtFirst) {
  ASSERT_TRUE(bar->LoadBarSkin());
  ASSERT_EQ(bar->GetButtons().size(), 12u);
  EXPECT_EQ(enabledButtons(), (std::set<std::string>{"STOP_MOVIE"}));
  ASSERT_NE(bar->FindProgress("PROGRESS_POS"), nullptr);
  // The mask's magenta corners are cut out of the window.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(bar->GetSafeHwnd(), region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 1, 1));
  EXPECT_TRUE(PtInRegion(region, 10, 10));
  DeleteObject(region);
  EXPECT_EQ(plat::AppBars::registered(), std::vector<HWND>{bar->GetSafeHwnd()});
  EXPECT_EQ(plat::AppBars::callbackMessage(bar->GetSafeHwnd()), CAppBar::kCallbackMessage);
}

TEST_F(ControlBarTest, EachStateEnablesItsButtons) {
  ASSERT_TRUE(bar->LoadBarSkin());
  bar->OnBarState(2, 0);
  EXPECT_EQ(enabledButtons(), allBut({"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "PLAY_MOVIE"}));
  bar->OnBarState(3, 0);
  EXPECT_EQ(enabledButtons(), (std::set<std::string>{"STOP_MOVIE", "SUB_SND", "ADD_SND", "MUTE_SND"}));
  bar->OnBarState(4, 10000);
  EXPECT_EQ(enabledButtons(), (std::set<std::string>{"PLAY_MOVIE", "STOP_MOVIE", "SUB_SND", "ADD_SND"}));
  bar->OnBarState(4, 0);
  EXPECT_EQ(enabledButtons(), (std::set<std::string>{"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE",
                                                     "SUB_SND", "ADD_SND", "MUTE_SND"}));
  bar->OnBarState(7, 0);
  EXPECT_EQ(enabledButtons(), (std::set<std::string>{"STOP_MOVIE", "SUB_SND", "ADD_SND"}));
  const auto before = enabledButtons();
  bar->OnBarState(6, 0);
  bar->OnBarState(15, 0);
  EXPECT_EQ(enabledButtons(), before);
  bar->OnBarState(9, 0);
  EXPECT_EQ(enabledButtons(), allBut({"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "PLAY_MOVIE",
                                      "NEXT_CHANNELS", "PRE_CHANNELS", "JIETU_PIC", "RECORD_MOVIE"}));
  bar->OnBarState(0, 0);
  EXPECT_TRUE(enabledButtons().empty());
}

TEST_F(ControlBarTest, AClickOnAnEnabledButtonSendsItsNameAndADisabledOneNothing) {
  ASSERT_TRUE(bar->LoadBarSkin());
  bar->OnBarState(2, 0);
  bar->ShowWindow(SW_SHOW);
  bar->MoveWindow(0, 500, 616, 56);
  robot.click(bar->FindButton("NEXT_CHANNELS")->GetSafeHwnd());
  robot.click(bar->FindButton("PLAY_MOVIE")->GetSafeHwnd());
  robot.pumpUntilIdle();
  EXPECT_EQ(s_commands, std::vector<std::string>{"NEXT_CHANNELS"});
}

TEST_F(ControlBarTest, GapsInTheButtonKeysUseUpTheirCommandIds) {
  test::WriteIniFile(programFile("skins\\elegance\\skin.ini"),
                     "[ShapeWindowInfo]\nNormal=normal.bmp\nMask=mask.bmp\n[ShapeButtonInfo]\n"
                     "Button1=PLAY_MOVIE,10,20,40,50,Play\nButton2=\nButton3=STOP_MOVIE,50,20,80,50,Stop,FALSE,FALSE\n");
  ASSERT_TRUE(bar->LoadBarSkin());
  ASSERT_EQ(bar->GetButtons().size(), 2u);
  EXPECT_EQ(bar->GetButtons()[0]->GetCommandTag(), 5430u);
  EXPECT_EQ(bar->GetButtons()[1]->GetCommandTag(), 5432u);
}

TEST_F(ControlBarTest, AShapedButtonHitsExactlyItsColourInTheMask) {
  // White on the mask only in a cross through the button; a single white pixel counts.
  test::WriteBmpFile(programFile("skins\\elegance\\mask.bmp"), 100, 40, [](int x, int y) {
    return x == 30 || y == 20 || (x == 5 && y == 5) ? RGB(255, 255, 255) : RGB(0, 0, 0);
  });
  test::WriteIniFile(programFile("skins\\elegance\\skin.ini"),
                     "[ShapeWindowInfo]\nNormal=normal.bmp\nMask=mask.bmp\n[ShapeButtonInfo]\n"
                     "Button1=PLAY_MOVIE,0,0,60,40,Play,FALSE,TRUE,255,255,255\n");
  ASSERT_TRUE(bar->LoadBarSkin());
  ASSERT_EQ(bar->GetButtons().size(), 1u);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(bar->GetButtons()[0]->GetSafeHwnd(), region), ERROR);
  EXPECT_TRUE(PtInRegion(region, 30, 3));
  EXPECT_TRUE(PtInRegion(region, 50, 20));
  EXPECT_TRUE(PtInRegion(region, 5, 5));
  EXPECT_FALSE(PtInRegion(region, 6, 5));
  EXPECT_FALSE(PtInRegion(region, 31, 3));
  DeleteObject(region);
}

TEST_F(ControlBarTest, AMissingSkinIsToldAndTheBarStaysUsable) {
  std::filesystem::remove_all(programFile("skins"));
  robot.answerNextMessageBox(IDOK);
  EXPECT_FALSE(bar->LoadBarSkin());
  const auto boxes = robot.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "The skin could not be loaded.");
  robot.pumpUntilIdle();
  EXPECT_TRUE(IsWindow(bar->GetSafeHwnd())) << "system commands do not close the bar";
  bar->OnBarState(2, 0);
  EXPECT_TRUE(bar->GetButtons().empty());
}

TEST_F(ControlBarTest, AutoHideHidesTheBarThreeSecondsAfterTheLastActivityAndAMoveBringsItBack) {
  ASSERT_TRUE(bar->LoadBarSkin());
  bar->SetVideoWindow(ownerWindow);
  g_barDockRect = {0, 0, 800, 600};
  bar->SendMessage(UM_BAR_CONTROL, 0, 0);
  bar->EnableAutoHide();
  EXPECT_EQ(plat::AppBars::autoHideBar(ABE_BOTTOM), bar->GetSafeHwnd());
  bar->ShowBar();
  robot.advance(50);
  ASSERT_TRUE(bar->IsShown());
  CRect shown;
  bar->GetWindowRect(&shown);
  EXPECT_EQ(shown.bottom, 600);
  EXPECT_GT(shown.Height(), 0);
  robot.moveTo(POINT{300, 200});
  bar->PostMessage(UM_BAR_CONTROL, 1, 1);  // the owner's mouse activity, maximised
  robot.advance(2999);
  EXPECT_TRUE(bar->IsShown());
  robot.advance(1);
  EXPECT_FALSE(bar->IsShown());
  CRect hidden;
  bar->GetWindowRect(&hidden);
  EXPECT_EQ(hidden.Height(), 0);
  bar->PostMessage(UM_BAR_CONTROL, 1, 1);  // the pointer has not moved: nothing
  robot.advance(100);
  EXPECT_FALSE(bar->IsShown());
  robot.moveTo(POINT{310, 210});
  bar->PostMessage(UM_BAR_CONTROL, 1, 1);
  robot.advance(50);
  EXPECT_TRUE(bar->IsShown());
  bar->DestroyWindow();
  EXPECT_TRUE(plat::AppBars::registered().empty());
  EXPECT_EQ(plat::AppBars::autoHideBar(ABE_BOTTOM), nullptr);
}

// The edge's auto-hide bar stays the other one's, and this bar hides to its strip all
// the same; it cannot give up an edge it does not hold.
TEST_F(ControlBarTest, WhenAnotherBarHoldsTheEdgeAutoHideStillHidesTheBarToItsStrip) {
  ASSERT_TRUE(bar->LoadBarSkin());
  g_barDockRect = {0, 0, 800, 600};
  bar->SendMessage(UM_BAR_CONTROL, 0, 0);
  APPBARDATA other{sizeof(APPBARDATA), ownerWindow, 0, ABE_BOTTOM, {}, TRUE};
  ASSERT_TRUE(SHAppBarMessage(ABM_SETAUTOHIDEBAR, &other));
  EXPECT_TRUE(bar->GetAppBar()->EnableAutoHide());
  EXPECT_TRUE(bar->GetAppBar()->GetState().autoHide);
  EXPECT_EQ(plat::AppBars::autoHideBar(ABE_BOTTOM), ownerWindow);
  CRect strip;
  bar->GetWindowRect(&strip);
  EXPECT_EQ(strip.Height(), 0);
  EXPECT_EQ(strip.bottom, 600);
  EXPECT_FALSE(bar->GetAppBar()->DisableAutoHide());
  EXPECT_TRUE(bar->GetAppBar()->GetState().autoHide);
  other.lParam = FALSE;
  SHAppBarMessage(ABM_SETAUTOHIDEBAR, &other);
}

}  // namespace

namespace {

// Every state the owner may report, each after two unlike states before it, so a state
// that forgets a button, the progress bar or its detail shows.
class ControlBarStateFaults : public ControlBarTest {
 protected:
  bool progressEnabled() const { return bar->FindProgress("PROGRESS_POS")->IsWindowEnabled(); }
};

TEST_F(ControlBarStateFaults, EveryStateSetsExactlyItsButtonsAndTheProgressBar) {
  ASSERT_TRUE(bar->LoadBarSkin());
  const std::set<std::string> none;
  const std::set<std::string> playing{"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE",
                                      "SUB_SND",    "ADD_SND",     "MUTE_SND"};
  const std::set<std::string> recording{"STOP_MOVIE", "SUB_SND", "ADD_SND", "MUTE_SND"};
  const std::set<std::string> entering = allBut({"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "PLAY_MOVIE",
                                                 "NEXT_CHANNELS", "PRE_CHANNELS", "JIETU_PIC", "RECORD_MOVIE"});
  const std::set<std::string> external =
      allBut({"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "PLAY_MOVIE", "NEXT_CHANNELS", "PRE_CHANNELS"});
  const struct {
    int state;
    LPARAM detail;
    bool progress;
    std::set<std::string> enabled;
  } rows[] = {
      {0, 0, false, none},
      {1, 0, false, none},
      {2, 0, false, allBut({"BACK_MOVIE", "AHEAD_MOVIE", "PAUSE_MOVIE", "STOP_MOVIE", "PLAY_MOVIE"})},
      {3, 0, false, recording},
      {12, 0, false, recording},
      {14, 0, false, recording},
      {4, 10000, true, {"PLAY_MOVIE", "STOP_MOVIE", "SUB_SND", "ADD_SND"}},
      {4, 10001, true, playing},
      {4, 0, true, playing},
      {4, 9999, true, playing},
      {5, 0, false, {"PLAY_MOVIE", "SUB_SND", "ADD_SND", "MUTE_SND"}},
      {7, 0, false, {"STOP_MOVIE", "SUB_SND", "ADD_SND"}},
      {9, 0, false, entering},
      {10, 0, false, entering},
      {11, 0, false, external},
      {13, 0, false, external},
  };
  for (const auto& row : rows) {
    for (int before : {2, 4}) {
      bar->OnBarState(before, 0);
      bar->OnBarState(row.state, row.detail);
      EXPECT_EQ(enabledButtons(), row.enabled) << "state " << row.state << "/" << row.detail << " after " << before;
      EXPECT_EQ(progressEnabled(), row.progress) << "state " << row.state << "/" << row.detail << " after " << before;
    }
  }
  // Scanning, a state of no use to the bar and those above 14 leave everything as it was.
  for (int unchanged : {6, 8, 15, 16, 1000}) {
    for (int before : {2, 4, 7}) {
      bar->OnBarState(before, 0);
      const auto buttons = enabledButtons();
      const bool progress = progressEnabled();
      bar->OnBarState(unchanged, 0);
      EXPECT_EQ(enabledButtons(), buttons) << "state " << unchanged << " after " << before;
      EXPECT_EQ(progressEnabled(), progress) << "state " << unchanged << " after " << before;
    }
  }
}

// The state arrives as the owner posts it: the message's wParam and lParam.
TEST_F(ControlBarStateFaults, TheStateMessageCarriesStateAndDetail) {
  ASSERT_TRUE(bar->LoadBarSkin());
  bar->PostMessage(UM_BAR_STATE, 4, 10000);
  robot.pumpUntilIdle();
  EXPECT_EQ(enabledButtons(), (std::set<std::string>{"PLAY_MOVIE", "STOP_MOVIE", "SUB_SND", "ADD_SND"}));
  EXPECT_TRUE(progressEnabled());
  bar->PostMessage(UM_BAR_STATE, 11, 0);
  robot.pumpUntilIdle();
  EXPECT_FALSE(progressEnabled());
  EXPECT_TRUE(enabledButtons().count("RECORD_MOVIE"));
  EXPECT_FALSE(enabledButtons().count("NEXT_CHANNELS"));
}

}  // namespace

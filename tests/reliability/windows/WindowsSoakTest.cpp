// Every skinned window opened and closed 200 times in one process, as a user opens it from
// the launcher, the TV window or the settings hub and goes back: the heap, the GDI objects
// and the USER objects come back to their level each time, as a Windows program's must, or
// it reaches the limit of 10,000 objects and stops drawing. A small screen keeps the rounds
// quick; the manual clock keeps them the same on every run.
#include "windows/WindowsTest.h"

#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/CSetDlg.h"

#include <win32/thread.h>
#include <win32/user.h>

#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's own count; its header ships with clang only.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <functional>
#include <string>

namespace {

// What the process holds: live heap bytes (every thread's) and its GDI and USER objects.
struct Level {
  long long heap = 0;
  long gdi = 0;
  long user = 0;
};

long long LiveHeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
  const struct mallinfo2 info = mallinfo2();  // all arenas
  return static_cast<long long>(info.uordblks + info.hblkhd);
#endif
}

Level Now() {
  return {LiveHeapBytes(), static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
          static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))};
}

#if defined(__SANITIZE_ADDRESS__)
// Under the sanitizers each round is ten times slower: enough rounds to find a bad access on
// every open and close, and a growth of 200 KB a round; the plain build runs all 200.
constexpr int kRounds = 20;
#else
constexpr int kRounds = 200;
#endif
// The first rounds fill what is made once (fonts, shared icons, the controller's lists).
constexpr int kWarmRounds = 5;
constexpr long long kHeapSlack = 4 << 20;
constexpr long kObjectSlack = 4;

class WindowsSoakTest;

// A window and the way a user opens it from the launcher in front.
struct Soaked {
  const char* name;
  std::function<void(WindowsSoakTest&)> open;
};

class WindowsSoakTest : public test::WindowsTest, public ::testing::WithParamInterface<Soaked> {
 public:
  WindowsSoakTest() {
    machine().ini().setValue("Screen", "Width", "320");
    machine().ini().setValue("Screen", "Height", "240");
    useBuiltSkins();
    openLauncher();
  }
  void press(CWnd* window, const char* name) {
    ASSERT_NE(window, nullptr) << name;
    clickButton(*window, name);
  }
  void openTV() {
    SendMessageA(launcherWindow(), UM_OPEN_TV_WINDOW, 0, 0);
    robot.pumpUntilIdle();
  }
  CWnd* launcherWnd() { return launcher.get(); }
  CWnd* tv() { return launcher->GetTVDlg(); }
  CWnd* hub() { return g_pSetDlg; }

 protected:
  // Opens the window and goes back to the launcher, which lets every other window go.
  void round() {
    GetParam().open(*this);
    SendMessageA(launcherWindow(), UM_SHOW_MAIN, 110, 0);
    robot.pumpUntilIdle();
  }
};

TEST_P(WindowsSoakTest, OpenedAndClosedTwoHundredTimesItHoldsNoMoreThanAtFirst) {
  for (int i = 0; i < kWarmRounds; ++i) round();
  const Level before = Now();
  GetParam().open(*this);
  const Level open = Now();
  EXPECT_GT(open.user, before.user) << "the window and its controls were made";
  SendMessageA(launcherWindow(), UM_SHOW_MAIN, 110, 0);
  robot.pumpUntilIdle();
  for (int i = 1; i < kRounds; ++i) round();
  const Level after = Now();
  RecordProperty("heap_bytes", std::to_string(after.heap - before.heap));
  RecordProperty("gdi_objects", std::to_string(after.gdi - before.gdi));
  RecordProperty("user_objects", std::to_string(after.user - before.user));
  EXPECT_LE(after.heap - before.heap, kHeapSlack) << "heap bytes";
  EXPECT_LE(after.gdi - before.gdi, kObjectSlack) << "GDI objects";
  EXPECT_LE(after.user - before.user, kObjectSlack) << "USER objects";
}

const Soaked kWindows[] = {
    {"MediaPlayer", [](WindowsSoakTest& t) { t.press(t.launcherWnd(), "FILM_BUTTON"); }},
    {"PictureBrowser", [](WindowsSoakTest& t) { t.press(t.launcherWnd(), "PIC_BUTTON"); }},
    {"VideoEditor", [](WindowsSoakTest& t) { t.press(t.launcherWnd(), "VIDEO_BUTTON"); }},
    {"SettingsHub", [](WindowsSoakTest& t) { t.press(t.launcherWnd(), "SET_BUTTON"); }},
    {"HardwareWindow",
     [](WindowsSoakTest& t) {
       t.press(t.launcherWnd(), "SET_BUTTON");
       t.press(t.hub(), "EQUIPMENTSET_BUTTON");
     }},
    {"VideoSettings",
     [](WindowsSoakTest& t) {
       t.press(t.launcherWnd(), "SET_BUTTON");
       t.press(t.hub(), "VIDEOSET_BUTTON");
     }},
    {"RecordSettings",
     [](WindowsSoakTest& t) {
       t.press(t.launcherWnd(), "SET_BUTTON");
       t.press(t.hub(), "RECORDSET_BUTTON");
     }},
    {"RecordPlanList",
     [](WindowsSoakTest& t) {
       t.press(t.launcherWnd(), "SET_BUTTON");
       t.press(t.hub(), "RECORDPLAN_BUTTON");
     }},
    {"TVWindow", [](WindowsSoakTest& t) { t.openTV(); }},
    {"ChannelWindow",
     [](WindowsSoakTest& t) {
       t.openTV();
       t.press(t.tv(), "CHANNEL_BUTTON");
     }},
    {"ChannelMosaic",
     [](WindowsSoakTest& t) {
       t.openTV();
       t.press(t.tv(), "TVWALL_BUTTON");
     }},
    {"VideoWindow",
     [](WindowsSoakTest& t) {
       t.openTV();
       t.press(t.tv(), "SINGLE_BUTTON");
     }},
};

INSTANTIATE_TEST_SUITE_P(EverySkinnedWindow, WindowsSoakTest, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<Soaked>& info) { return std::string(info.param.name); });

}  // namespace

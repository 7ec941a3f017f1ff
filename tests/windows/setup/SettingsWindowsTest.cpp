#include "windows/setup/SettingsWindowsTest.h"

#include "core/CDisplayMode.h"
#include "core/data/CChannelList.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinLabel.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"

#include <machine/VideoSurfaces.h>
#include <machine/TvStickControl.h>
#include <robot/Screenshot.h>

#include <cmath>
#include <cstdlib>

namespace test {

SettingsWindowsTest::SettingsWindowsTest() {
  const auto built = TestMachine::builtProgramFolder();
  for (const char* folder : {"Skin", "skins"})
    std::filesystem::copy(built / folder, testMachine.programFolder() / folder, std::filesystem::copy_options::recursive);
}

CSetDlg& SettingsWindowsTest::openHubFromLauncher() {
  if (!launcher) openLauncher();
  clickButton(*launcher, "SET_BUTTON");
  EXPECT_NE(g_pSetDlg, nullptr);
  return *g_pSetDlg;
}

CSetDlg& SettingsWindowsTest::openHubFromTV() {
  CTVDlg& tv = launcher && launcher->GetTVDlg() ? *launcher->GetTVDlg() : openTV();
  clickButton(tv, "SETTING_BUTTON");
  EXPECT_NE(g_pSetDlg, nullptr);
  return *g_pSetDlg;
}

CHardwareDlg& SettingsWindowsTest::openHardware() {
  if (!g_pSetDlg) openHubFromLauncher();
  clickButton(hub(), "EQUIPMENTSET_BUTTON");
  EXPECT_NE(g_hardwarePage, nullptr);
  return *g_hardwarePage;
}

CVideoSetDlg& SettingsWindowsTest::openVideoSettings() {
  if (!g_pSetDlg) openHubFromLauncher();
  clickButton(hub(), "VIDEOSET_BUTTON");
  EXPECT_NE(g_videoSetPage, nullptr);
  return *g_videoSetPage;
}

CRecordSetDlg& SettingsWindowsTest::openRecordSettings() {
  if (!g_pSetDlg) openHubFromLauncher();
  clickButton(hub(), "RECORDSET_BUTTON");
  EXPECT_NE(g_recordSetPage, nullptr);
  return *g_recordSetPage;
}

std::string SettingsWindowsTest::label(const CSettingsPageDlg& page, const char* name) {
  const CSkinLabel* found = page.GetLabels().Find(name);
  return found ? std::string(found->GetText()) : "<no label>";
}

BOOL SettingsWindowsTest::enabled(const CSkinDialog& window, const char* name) {
  const CSkinButton* button = window.FindSkinButton(name);
  return button && button->IsEnabled();
}

int SettingsWindowsTest::mode() const { return g_pDisplayMode ? g_pDisplayMode->GetMode() : 0; }

void SettingsWindowsTest::ctrlKey(int vk) {
  robot.press(VK_CONTROL);
  robot.key(vk);
  robot.release(VK_CONTROL);
  robot.pumpUntilIdle();
}

bool SettingsWindowsTest::pictureIn(const CWnd* window) {
  return window && !machine().service<plat::VideoSurfaces>().ownedBy(window->GetSafeHwnd()).empty();
}

void SettingsWindowsTest::chooseAStation() {
  const int list = GetActiveChannelListIndex();
  for (const auto& station : stick().control().broadcast().stations()) {
    for (int number = 1; number <= g_pChannelList->GetLastChannelNumber(list); ++number) {
      ChannelRecord record{};
      if (g_pChannelList->GetChannel(number, list, &record) &&
          std::llabs(std::llround(record.Frequency * 1e6) - station.carrierHz) < 100000) {
        g_pChannelList->SetCurrentChannel(number, list);
        return;
      }
    }
  }
  ADD_FAILURE() << "no station in the active list";
}

void SettingsWindowsTest::runPictures(int ms) {
  constexpr int kFrameMs = 40;
  for (int done = 0; done < ms; done += kFrameMs) {
    robot.advance(kFrameMs);
    robot.pumpUntilIdle();
  }
}

void SettingsWindowsTest::screenshot(CWnd& window, const std::string& name) {
  runPictures(400);
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "screenshots" / "settings";
  std::filesystem::create_directories(folder);
  // The screen, where the live picture is put together with the window in front.
  ASSERT_TRUE(window.IsWindowVisible()) << name;
  EXPECT_TRUE(plat::Screenshot::saveScreen(folder / (name + ".png"))) << name;
}

}  // namespace test

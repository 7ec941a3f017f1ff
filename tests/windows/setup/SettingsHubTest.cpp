// The settings hub: opened from the launcher and from the TV window, its pages made anew
// on every visit, the ways back, the highlight of the keys and the remote, and the remote
// keys and device notices passed on to the page in front.
#include "windows/setup/SettingsWindowsTest.h"

#include "core/CDisplayMode.h"
#include "core/CScheduleList.h"
#include "skin/CDriveFolderList.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinLabel.h"
#include "skin/CVideoStatic.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/CRecordDlg.h"

#include <fstream>
#include <string>

namespace {

class SettingsHubTest : public test::SettingsWindowsTest {
 protected:
  int highlighted() { return hub().GetHighlighted(); }
  HWND found(const char* title) { return FindWindowA("#32770", title); }
  // The hub's skin with its first `count` buttons only (the six window buttons, then the
  // page buttons of the drawn skin, repeated as needed).
  void hubSkinWithButtons(int count) {
    const auto folder = testMachine.programFolder() / "Skin" / "Setting";
    const char* names[] = {"HELP_BUTTON",         "MINISIZE_BUTTON", "NORMAL_BUTTON",    "CLOSE_BUTTON",
                           "MAIN_BUTTON",         "RETURN_BUTTON",   "EQUIPMENTSET_BUTTON", "VIDEOSET_BUTTON",
                           "RECORDSET_BUTTON"};
    std::ofstream ini(folder / "skin.ini");
    for (const char* section : {"Setting-Buttons", "Setting-ButtonsMin"}) {
      ini << "[" << section << "]\n";
      for (int i = 0; i < count; ++i)
        ini << i + 1 << "=" << names[i] << ",help_button.bmp," << 20 + 40 * i << ",100," << 56 + 40 * i << ",136,0\n";
    }
    ini << "[Main-ShapeWindowBKbmp]\n1=bk_max.bmp\n2=bk_min.bmp\n";
  }
};

TEST_F(SettingsHubTest, TheLauncherOpensTheHubInItsPlaceWithTheLivePicture) {
  openLauncher();
  chooseAStation();
  CSetDlg& settings = openHubFromLauncher();
  EXPECT_EQ(mode(), 120);
  EXPECT_TRUE(settings.IsWindowVisible());
  EXPECT_FALSE(launcher->IsWindowVisible());
  EXPECT_EQ(found("Orvane Media_SetDlg"), settings.GetSafeHwnd());
  EXPECT_EQ(settings.IsOpenedFromLauncher(), 1);
  EXPECT_EQ(g_pAppController->GetRunState(), 2) << "idle: the hub starts the picture";
  EXPECT_EQ(g_pAppController->GetVideoWindow(), settings.GetVideoArea()->GetSafeHwnd());
  EXPECT_TRUE(settings.GetVideoArea()->IsWindowVisible());
  CRect area;
  settings.GetVideoArea()->GetWindowRect(&area);
  EXPECT_EQ(test::Text(area), "40,528,339,732");
  ASSERT_TRUE(untilAPictureShows());
  screenshot(settings, "hub");
}

TEST_F(SettingsHubTest, EveryVisitMakesThePageAnewAndBackClosesIt) {
  openHubFromLauncher();
  CVideoSetDlg* first = &openVideoSettings();
  EXPECT_EQ(mode(), 185);
  EXPECT_TRUE(first->IsWindowVisible());
  EXPECT_FALSE(hub().IsWindowVisible());
  clickButton(*first, "RETURN_BUTTON");
  EXPECT_EQ(mode(), 120);
  EXPECT_EQ(g_videoSetPage, nullptr);
  EXPECT_TRUE(hub().IsWindowVisible());
  EXPECT_EQ(found("Orvane Media_VideoSetDlg"), nullptr) << "destroyed once the return was over";
  EXPECT_EQ(g_pAppController->GetVideoWindow(), hub().GetVideoArea()->GetSafeHwnd()) << "the picture came back";

  openVideoSettings();
  EXPECT_NE(found("Orvane Media_VideoSetDlg"), nullptr) << "made again";
  EXPECT_EQ(mode(), 185);
}

TEST_F(SettingsHubTest, EachPageButtonShowsItsPageAndMode) {
  openHubFromLauncher();
  const struct {
    const char* button;
    const char* title;
    int mode;
  } pages[] = {{"EQUIPMENTSET_BUTTON", "Orvane Media_HardwareDlg", 175},
               {"VIDEOSET_BUTTON", "Orvane Media_VideoSetDlg", 185},
               {"RECORDSET_BUTTON", "Orvane Media_RecordSetDlg", 195}};
  for (const auto& page : pages) {
    clickButton(hub(), page.button);
    EXPECT_EQ(mode(), page.mode) << page.button;
    HWND window = found(page.title);
    ASSERT_NE(window, nullptr) << page.button;
    EXPECT_TRUE(IsWindowVisible(window));
    robot.key(VK_BACK);
    EXPECT_EQ(mode(), 120) << page.button;
    EXPECT_EQ(found(page.title), nullptr) << page.button;
  }
}

TEST_F(SettingsHubTest, ThePlanButtonOpensThePlanListAndBackComesToTheHub) {
  openHubFromLauncher();
  clickButton(hub(), "RECORDPLAN_BUTTON");
  EXPECT_EQ(mode(), 155);
  ASSERT_NE(g_recordPlanPage, nullptr);
  HWND plan = found("Orvane Media_RecordDlg");
  ASSERT_EQ(plan, g_recordPlanPage->GetSafeHwnd());
  EXPECT_TRUE(IsWindowVisible(plan));
  EXPECT_EQ(GetParent(plan), hub().GetSafeHwnd()) << "the hub is the plan list's parent";
  EXPECT_FALSE(hub().IsWindowVisible());
  CRecordDlg& list = *g_recordPlanPage;
  EXPECT_TRUE(pictureIn(list.GetVideoArea())) << "the picture came along";
  screenshot(list, "hub_plan_list");

  robot.key(VK_BACK);
  EXPECT_EQ(mode(), 120);
  EXPECT_EQ(g_recordPlanPage, nullptr);
  EXPECT_TRUE(hub().IsWindowVisible());
  EXPECT_EQ(found("Orvane Media_RecordDlg"), nullptr) << "destroyed once the return was over";
  EXPECT_EQ(g_pAppController->GetVideoWindow(), hub().GetVideoArea()->GetSafeHwnd());

  clickButton(hub(), "RECORDPLAN_BUTTON");
  EXPECT_NE(found("Orvane Media_RecordDlg"), nullptr) << "made again";
  EXPECT_EQ(mode(), 155);
  remoteKey(70);
  EXPECT_EQ(mode(), 120) << "the remote's return reached the plan list";
  EXPECT_EQ(found("Orvane Media_RecordDlg"), nullptr);
}

// While the entry editor is in front the hub still hands the keys to the plan list, which
// hands them on to the editor.
TEST_F(SettingsHubTest, RemoteKeysReachThePlanListAndItsEditor) {
  openHubFromLauncher();
  clickButton(hub(), "RECORDPLAN_BUTTON");
  clickButton(*g_recordPlanPage, "ADD_BUTTON");
  EXPECT_EQ(mode(), 165);
  HWND editor = found("Orvane Media_ScheduleDlg");
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(IsWindowVisible(editor));
  remoteKey(70);
  EXPECT_EQ(mode(), 155) << "the editor returned";
  EXPECT_TRUE(g_recordPlanPage->IsWindowVisible());
  EXPECT_EQ(found("Orvane Media_ScheduleDlg"), nullptr);
  remoteKey(70);
  EXPECT_EQ(mode(), 120);
  EXPECT_TRUE(hub().IsWindowVisible());
}

// A change of the plan made elsewhere is relayed through the launcher and the hub while the
// plan list is in front.
TEST_F(SettingsHubTest, APlanChangeNoticeReachesThePlanList) {
  openHubFromLauncher();
  clickButton(hub(), "RECORDPLAN_BUTTON");
  CRecordDlg& list = *g_recordPlanPage;
  const auto firstRow = [&] { return std::string(list.GetList()->GetRecord(0)->szName); };
  EXPECT_EQ(firstRow(), "") << "an empty plan";
  CScheduleItem daily;
  daily.start = 1700000000;
  daily.duration = 60;
  daily.recurrence = 7;
  g_pAppController->GetScheduleList()->Add(&daily);
  SendMessageA(launcherWindow(), UM_PLAN_LIST_CHANGED, 0, 0);
  EXPECT_EQ(firstRow().substr(0, 2), "1 ");
  EXPECT_NE(list.GetDetailText(), "") << "the row given is shown";
}

TEST_F(SettingsHubTest, MainFromThePlanListGoesToTheLauncherAndTakesHubAndListAway) {
  openHubFromLauncher();
  clickButton(hub(), "RECORDPLAN_BUTTON");
  clickButton(*g_recordPlanPage, "MAIN_BUTTON");
  EXPECT_EQ(mode(), 105);
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(g_pSetDlg, nullptr);
  EXPECT_EQ(g_recordPlanPage, nullptr);
  EXPECT_EQ(found("Orvane Media_RecordDlg"), nullptr);
  EXPECT_EQ(found("Orvane Media_SetDlg"), nullptr);
  EXPECT_EQ(g_pAppController->GetRunState(), 0);
}

TEST_F(SettingsHubTest, BackFromTheLauncherOpenedHubStopsThePictureAndEndsTheGraph) {
  openHubFromLauncher();
  ASSERT_EQ(g_pAppController->GetRunState(), 2);
  clickButton(hub(), "RETURN_BUTTON");
  EXPECT_EQ(mode(), 105);
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(g_pSetDlg, nullptr);
  EXPECT_EQ(found("Orvane Media_SetDlg"), nullptr);
  EXPECT_EQ(g_pAppController->GetRunState(), 0);
  EXPECT_TRUE(g_pAppController->IsGraphMissing());
}

TEST_F(SettingsHubTest, FromTheTVWindowTheHubKeepsThePictureAndGoesBackThere) {
  CTVDlg& tv = openTV();
  openHubFromTV();
  EXPECT_EQ(mode(), 120);
  EXPECT_EQ(hub().IsOpenedFromLauncher(), 0);
  EXPECT_FALSE(tv.IsWindowVisible());
  EXPECT_EQ(g_pAppController->GetRunState(), 2);
  EXPECT_TRUE(pictureIn(hub().GetVideoArea())) << "the running preview is handed over";
  clickButton(hub(), "RETURN_BUTTON");
  EXPECT_EQ(mode(), 110);
  EXPECT_TRUE(tv.IsWindowVisible());
  EXPECT_EQ(g_pSetDlg, nullptr);
  EXPECT_EQ(found("Orvane Media_SetDlg"), nullptr);
  EXPECT_FALSE(g_pAppController->IsGraphMissing()) << "the TV window's graph stays";
  EXPECT_EQ(g_pAppController->GetVideoWindow(), tv.GetVideoArea()->GetSafeHwnd());
  EXPECT_TRUE(tv.FindSkinButton("CHANNEL_BUTTON")->IsEnabled()) << "told the run state on the way";
}

TEST_F(SettingsHubTest, MainFromAPageGoesToTheLauncherAndTakesHubAndPageAway) {
  openRecordSettings();
  clickButton(*g_recordSetPage, "MAIN_BUTTON");
  EXPECT_EQ(mode(), 105);
  EXPECT_TRUE(launcher->IsWindowVisible());
  EXPECT_EQ(g_pSetDlg, nullptr);
  EXPECT_EQ(g_recordSetPage, nullptr);
  EXPECT_EQ(found("Orvane Media_RecordSetDlg"), nullptr);
  EXPECT_EQ(found("Orvane Media_SetDlg"), nullptr);
  EXPECT_EQ(g_pAppController->GetRunState(), 0);
}

// The default hub has ten buttons: the highlight runs over the last four.
TEST_F(SettingsHubTest, TheRemoteStepsTheHighlightRoundThePageButtons) {
  openHubFromLauncher();
  ASSERT_EQ(hub().GetSkinButtonCount(), 10);
  remoteKey(21);
  EXPECT_EQ(mode(), 120) << "nothing highlighted: nothing pressed";
  remoteKey(68);
  EXPECT_EQ(highlighted(), 6);
  remoteKey(31);
  EXPECT_EQ(highlighted(), 9) << "before the first comes the last";
  remoteKey(68);
  EXPECT_EQ(highlighted(), 6) << "after the last comes the first";
  remoteKey(68);
  EXPECT_EQ(highlighted(), 7);
  remoteKey(21);
  EXPECT_EQ(mode(), 185) << "the video settings button pressed";
  EXPECT_NE(g_videoSetPage, nullptr);
  remoteKey(70);
  EXPECT_EQ(mode(), 120) << "the page in front took the key";
  EXPECT_EQ(highlighted(), -1) << "the press took the highlight off";
  remoteKey(70);
  EXPECT_EQ(mode(), 105);
}

// Seven buttons are the fewest the highlight needs.
TEST_F(SettingsHubTest, NineButtonsWrapAndSixHaveNoHighlight) {
  hubSkinWithButtons(9);
  openHubFromLauncher();
  ASSERT_EQ(hub().GetSkinButtonCount(), 9);
  remoteKey(68);
  EXPECT_EQ(highlighted(), 6);
  for (int i = 0; i < 3; ++i) remoteKey(68);
  EXPECT_EQ(highlighted(), 6) << "three more wrap back to the seventh";
  remoteKey(31);
  EXPECT_EQ(highlighted(), 8) << "the ninth";
  clickButton(hub(), "RETURN_BUTTON");

  hubSkinWithButtons(7);
  openHubFromLauncher();
  remoteKey(31);
  EXPECT_EQ(highlighted(), 6);
  remoteKey(68);
  EXPECT_EQ(highlighted(), 6) << "the only page button";
  clickButton(hub(), "RETURN_BUTTON");

  hubSkinWithButtons(6);
  openHubFromLauncher();
  remoteKey(68);
  remoteKey(31);
  robot.key(VK_DOWN);
  EXPECT_EQ(highlighted(), -1);
  EXPECT_EQ(mode(), 120);
}

TEST_F(SettingsHubTest, KeysStepPressAndLeaveButEscapeKeepsTheHub) {
  openHubFromLauncher();
  robot.key(VK_ESCAPE);
  EXPECT_TRUE(hub().IsWindowVisible());
  EXPECT_EQ(mode(), 120);
  robot.key(VK_DOWN);
  EXPECT_EQ(highlighted(), 6);
  robot.key(VK_UP);
  EXPECT_EQ(highlighted(), 9);
  robot.key(VK_RETURN);
  EXPECT_EQ(mode(), 155) << "the plan list";
  robot.key(VK_BACK);
  EXPECT_EQ(mode(), 120);
  EXPECT_EQ(highlighted(), -1);
  robot.key(VK_UP);
  EXPECT_EQ(highlighted(), 6) << "from none, up marks the first too";
  robot.key(VK_UP);
  robot.key(VK_UP);
  EXPECT_EQ(highlighted(), 8);
  robot.key(VK_RETURN);
  EXPECT_EQ(mode(), 195) << "record settings";
  robot.key(VK_BACK);
  EXPECT_EQ(mode(), 120);
  robot.key(VK_BACK);
  EXPECT_EQ(mode(), 105);
}

// A button under the pointer is its own highlight: the keys' one goes.
TEST_F(SettingsHubTest, TheMouseTakesTheKeysHighlightAway) {
  openHubFromLauncher();
  remoteKey(68);
  remoteKey(68);
  ASSERT_EQ(highlighted(), 7);
  CRect button;
  hub().FindSkinButton("EQUIPMENTSET_BUTTON")->GetWindowRect(&button);
  robot.moveTo(button.CenterPoint());
  robot.pumpUntilIdle();
  EXPECT_FALSE(hub().GetSkinButton(7)->GetHover());
  SendMessageA(hub().GetSafeHwnd(), UM_HOVER_HINT, 8, 1);
  EXPECT_TRUE(hub().GetSkinButton(8)->GetHover()) << "a hint naming a page button by its index marks it";
}

TEST_F(SettingsHubTest, TheDeviceNoticeReachesTheHardwarePageOnly) {
  CHardwareDlg& page = openHardware();
  CSkinLabel* device = const_cast<CSkinLabel*>(page.GetLabels().Find("VideoEquipment_Static"));
  ASSERT_NE(device, nullptr);
  device->SetText("stale");
  g_pDisplayMode->SetMode(185);
  SendMessageA(launcherWindow(), UM_DEVICES_CHANGED, 1, 0);
  EXPECT_EQ(label(page, "VideoEquipment_Static"), "stale") << "not while another page is in front";
  g_pDisplayMode->SetMode(175);
  SendMessageA(launcherWindow(), UM_DEVICES_CHANGED, 1, 0);
  EXPECT_EQ(label(page, "VideoEquipment_Static"), "USB TV Device");
  EXPECT_FALSE(IsWindowEnabled(page.FindSkinButton("VideoEquipmentLeft_Button")->GetSafeHwnd()));
  EXPECT_FALSE(IsWindowEnabled(page.FindSkinButton("VideoEquipmentRight_Button")->GetSafeHwnd()));
}

// A planned view or recording that runs ends when the devices or the record settings are
// opened, not for the picture.
TEST_F(SettingsHubTest, OnlyTheHardwareAndRecordPagesEndAPlannedRun) {
  openHubFromLauncher();
  CScheduleList& schedule = *g_pAppController->GetScheduleList();
  const auto runOne = [&] {
    schedule.Saved() = {17, 2, 2, 1};
    schedule.ViewRun() = 1;
  };
  runOne();
  openVideoSettings();
  EXPECT_EQ(schedule.ViewRun(), 1);
  robot.key(VK_BACK);
  openHardware();
  EXPECT_EQ(schedule.ViewRun(), 0);
  robot.key(VK_BACK);
  runOne();
  openRecordSettings();
  EXPECT_EQ(schedule.ViewRun(), 0);
}

// Restored, the hardware window keeps its first twelve buttons at their full-screen
// numbers; the other pages only the first four.
TEST_F(SettingsHubTest, RestoredTheHardwareWindowKeepsTwelveButtonsInTheFullScreenSpace) {
  openHubFromLauncher();
  clickButton(hub(), "NORMAL_BUTTON");
  ASSERT_EQ(g_isMaximized, 0);
  const auto at = [](const CSkinDialog& window, const char* name) {
    CRect rect;
    window.FindSkinButton(name)->GetWindowRect(&rect);
    window.ScreenToClient(&rect);
    return test::Text(rect);
  };
  openHardware();
  CRect client;
  g_hardwarePage->GetClientRect(&client);
  ASSERT_EQ(test::Text(client), "0,0,800,600");
  EXPECT_EQ(at(*g_hardwarePage, "MAIN_BUTTON"), "18,15,46,43") << "index 4, full-screen numbers scaled";
  EXPECT_EQ(at(*g_hardwarePage, "AudioEquipmentRight_Button"), "646,231,671,256") << "index 11";
  EXPECT_EQ(at(*g_hardwarePage, "AudioInputSourceLeft_Button"), "297,294,322,319") << "index 12, the 800 x 600 numbers";
  robot.key(VK_BACK);
  openVideoSettings();
  EXPECT_EQ(at(*g_videoSetPage, "MAIN_BUTTON"), "19,16,47,44") << "index 4, the 800 x 600 numbers";
}

TEST_F(SettingsHubTest, TheHubsCloseButtonEndsTheProgram) {
  openHubFromLauncher();
  clickButton(hub(), "CLOSE_BUTTON");
  EXPECT_FALSE(launcher->IsWindowVisible());
  EXPECT_FALSE(hub().IsWindowVisible());
  EXPECT_TRUE(g_pAppController->IsGraphMissing()) << "opened from the launcher, the hub ends the graph";
}

TEST_F(SettingsHubTest, RemoteKeyTwentyClosesWhateverFlagItCarries) {
  openVideoSettings();
  remoteKey(20, 1);
  robot.advance(1000);
  EXPECT_FALSE(launcher->IsWindowVisible());
  EXPECT_TRUE(powerLog().empty()) << "no shut-down of the computer";
}

}  // namespace

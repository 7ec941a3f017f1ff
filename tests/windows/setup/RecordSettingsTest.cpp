// The record settings window: the format and quality steps with their bit rates, stored
// at once and reaching the next recording, and the walk through the folders (down, up,
// the drives, another drive) whose last folder becomes the record folder when the window
// goes.
#include "windows/setup/SettingsWindowsTest.h"

#include "core/data/CAppSettings.h"
#include "graphs/DeviceUtilities.h"
#include "skin/CDriveFolderList.h"
#include "skin/CSkinLabel.h"
#include "skin/CVideoStatic.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/WindowMessages.h"

#include "platform/vendor/MpegFileProbe.h"

#include <vendor/language/Language.h>

#include <cstring>
#include <fstream>

namespace {

class RecordSettingsTest : public test::SettingsWindowsTest {
 protected:
  RecordSettingsTest() {
    for (const char* folder : {"Videos/Evening", "Videos/Films"})
      std::filesystem::create_directories(testMachine.root() / "C" / folder);
  }
  // The launcher opened with the record folder set to `folder`.
  void recordInto(const char* folder) {
    openLauncher();
    std::strcpy(g_pAppSettings->VideoFolder, folder);
  }
  CRecordSetDlg& page() { return *g_recordSetPage; }
  CDriveFolderList& list() { return *page().GetFolderList(); }
  std::string shown(const char* name) { return label(page(), name); }
  std::vector<std::string> rows() {
    std::vector<std::string> names;
    for (int i = 0; i < list().GetItemCount(); ++i) names.emplace_back(list().GetRecord(i)->szName);
    return names;
  }
  // The row of that name double-clicked, as a user opens a folder.
  void open(const std::string& name) {
    const auto all = rows();
    const auto at = std::find(all.begin(), all.end(), name);
    ASSERT_NE(at, all.end()) << name;
    CRect row;
    list().GetItemRect(static_cast<int>(at - all.begin()), &row);
    list().ClientToScreen(&row);
    robot.doubleClick(row.CenterPoint());
    robot.pumpUntilIdle();
  }
  void press(const char* name) { clickButton(page(), name); }
  // Two seconds recorded from the TV window (shown from the launcher when it is not) into
  // `file` of C:\Videos\, of a station or of the snow of the channel before.
  rectest::MpegFileProbe recordFromTV(const char* file, bool station) {
    CTVDlg& tv = launcher->GetTVDlg() ? *launcher->GetTVDlg() : openTV();
    if (!tv.IsWindowVisible()) clickButton(*launcher, "TV_BUTTON");
    if (station) {
      chooseAStation();
      g_pAppController->RetuneCurrentChannel();
    }
    runPictures(400);
    ctrlKey('R');
    runPictures(2000);
    ctrlKey('S');
    runPictures(200);
    rectest::MpegFileProbe probe((testMachine.root() / "C" / "Videos" / file).string());
    EXPECT_TRUE(probe.ok()) << file;
    return probe;
  }
  std::vector<std::string> messages() {
    std::vector<std::string> texts;
    for (const auto& box : robot.messageBoxes()) texts.push_back(box.text);
    return texts;
  }
};

TEST_F(RecordSettingsTest, OpensOnTheRecordFolderWithTheFormatItsQualityAndItsBitrate) {
  recordInto("C:\\Videos\\");
  chooseAStation();
  openRecordSettings();
  EXPECT_EQ(mode(), 195);
  EXPECT_EQ(shown("ShowPath_Static"), "C:\\Videos\\");
  EXPECT_EQ(shown("RecordFormat_Static"), "MPGE-2") << "the controller's own name for it";
  EXPECT_EQ(shown("RecordQuality_Static"), "High");
  EXPECT_EQ(shown("ShowTime_Static"), "900");
  EXPECT_EQ(rows(), (std::vector<std::string>{"Evening", "Films", "", "", "", "", "", ""}));
  EXPECT_TRUE(pictureIn(page().GetVideoArea()));
  ASSERT_TRUE(untilAPictureShows());
  screenshot(page(), "record_settings");
}

// The folder shown is the one recordings go to: a path as deep as an installed program's
// own folder, and the folder under it, shows whole in the label, which draws it left-aligned
// at the label's height and cuts what does not fit.
TEST_F(RecordSettingsTest, AProgramFoldersPathShowsWhole) {
  const char* folder = "C:\\Program Files\\Orvane Media\\Videos\\";
  std::filesystem::create_directories(testMachine.root() / "C" / "Program Files" / "Orvane Media" / "Videos" / "Evening News");
  recordInto(folder);
  openRecordSettings();
  CSkinLabel& path = *page().GetLabels().Find("ShowPath_Static");
  EXPECT_EQ(shown("ShowPath_Static"), folder);
  EXPECT_GE(RoomForText(path), 0) << RoomForText(path);
  open("Evening News");
  EXPECT_EQ(shown("ShowPath_Static"), std::string(folder) + "Evening News\\");
  EXPECT_GE(RoomForText(path), 0) << RoomForText(path);
  screenshot(page(), "record_settings_deep_folder");
}

// The right arrow goes round all eight formats; left and the quality go the other ways.
TEST_F(RecordSettingsTest, FormatAndQualityStepBothWaysWithTheirBitrates) {
  openRecordSettings();
  const std::pair<const char*, const char*> round[] = {
      {"VCD-NTSC", "517"}, {"VCD-PAL", "517"},   {"DVD-NTSC", "2700"}, {"DVD-PAL", "2700"},
      {"SVCD-NTSC", "1330"}, {"SVCD-PAL", "1330"}, {"MPEG-1", "900"},  {"MPEG-2", "900"}};
  for (const auto& [name, bitrate] : round) {
    press("RecordFormatRight_Button");
    EXPECT_EQ(shown("RecordFormat_Static"), name);
    EXPECT_EQ(shown("ShowTime_Static"), bitrate) << name;
  }
  press("RecordFormatLeft_Button");
  press("RecordFormatLeft_Button");
  EXPECT_EQ(shown("RecordFormat_Static"), "SVCD-PAL") << "left from MPEG-1";
  EXPECT_EQ(g_pAppSettings->RecordFormat, 3) << "stored at once";

  press("RecordFormatRight_Button");
  press("RecordFormatRight_Button");
  ASSERT_EQ(shown("RecordFormat_Static"), "MPEG-2");
  press("RecordQualityRight_Button");
  EXPECT_EQ(shown("RecordQuality_Static"), "Highest");
  EXPECT_EQ(shown("ShowTime_Static"), "1800");
  press("RecordQualityRight_Button");
  EXPECT_EQ(shown("RecordQuality_Static"), "Normal") << "right from Highest";
  EXPECT_EQ(shown("ShowTime_Static"), "563");
  press("RecordQualityleft_Button");
  EXPECT_EQ(shown("RecordQuality_Static"), "Highest") << "left from Normal";
  EXPECT_EQ(g_pAppSettings->RecordQuality, 3);

  press("RecordFormatRight_Button");
  press("RecordQualityRight_Button");
  EXPECT_EQ(shown("RecordQuality_Static"), "Normal");
  EXPECT_EQ(shown("ShowTime_Static"), "517") << "a VCD's rate does not follow the quality";
  EXPECT_EQ(g_pAppSettings->RecordQuality, 1);
}

TEST_F(RecordSettingsTest, AStoredFormatOrQualityOutsideItsRangeIsNotStepped) {
  openLauncher();
  g_pAppSettings->RecordFormat = 8;
  g_pAppSettings->RecordQuality = 0;
  openRecordSettings();
  EXPECT_EQ(shown("RecordFormat_Static"), "");
  EXPECT_EQ(shown("RecordQuality_Static"), "Normal");
  EXPECT_EQ(shown("ShowTime_Static"), "0");
  press("RecordFormatRight_Button");
  press("RecordQualityleft_Button");
  EXPECT_EQ(g_pAppSettings->RecordFormat, 8);
  EXPECT_EQ(g_pAppSettings->RecordQuality, 0);
  EXPECT_EQ(shown("RecordFormat_Static"), "");

  g_pAppSettings->RecordFormat = 7;
  g_pAppSettings->RecordQuality = 4;
  press("RecordFormatRight_Button");
  press("RecordQualityRight_Button");
  EXPECT_EQ(shown("RecordFormat_Static"), "SVCD-PAL") << "7 is the last format";
  EXPECT_EQ(g_pAppSettings->RecordQuality, 4);
}

// From C:\Videos\ up to C:\, up to the drives (without the CD-ROM), down another drive.
TEST_F(RecordSettingsTest, TheWalkGoesUpToTheDrivesAndDownAnotherDrive) {
  std::filesystem::create_directories(testMachine.root() / "D" / "Rec");
  machine().paths().mapDrive('D', testMachine.root() / "D");
  machine().paths().mapDrive('E', testMachine.root() / "E");
  machine().ini().setValue("DriveTypes", "E", "cdrom");
  recordInto("C:\\Videos\\");
  openRecordSettings();
  press("ReturnPrePath_Button");
  EXPECT_EQ(shown("ShowPath_Static"), "C:\\");
  const auto drive = rows();
  EXPECT_NE(std::find(drive.begin(), drive.end(), "Videos"), drive.end());
  press("ReturnPrePath_Button");
  EXPECT_TRUE(page().IsShowingDrives());
  EXPECT_EQ(shown("ShowPath_Static"), GetOtherInfo(0));
  EXPECT_EQ(rows(), (std::vector<std::string>{"C:\\", "D:\\", "Z:\\", "", "", "", "", ""}));
  open("D:\\");
  EXPECT_FALSE(page().IsShowingDrives());
  EXPECT_EQ(shown("ShowPath_Static"), "D:\\");
  EXPECT_EQ(rows()[0], "Rec");
  open("Rec");
  EXPECT_EQ(shown("ShowPath_Static"), "D:\\Rec\\");
  EXPECT_EQ(rows(), std::vector<std::string>(8, "")) << "no sub-folders: eight empty rows";
  open("");
  EXPECT_EQ(shown("ShowPath_Static"), "D:\\Rec\\") << "an empty row opens nothing";
  robot.key(VK_BACK);
  EXPECT_STREQ(g_pAppSettings->VideoFolder, "D:\\Rec\\") << "the folder shown became the record folder";
}

TEST_F(RecordSettingsTest, AFolderWithoutItsBackslashGetsOneBeforeASubFolder) {
  recordInto("C:\\Videos");
  openRecordSettings();
  EXPECT_EQ(rows()[0], "Evening") << "the folder's own sub-folders, not its neighbours";
  open("Evening");
  EXPECT_EQ(shown("ShowPath_Static"), "C:\\Videos\\Evening\\");
  press("MAIN_BUTTON");
  EXPECT_STREQ(g_pAppSettings->VideoFolder, "C:\\Videos\\Evening\\") << "also on the way to the launcher";
}

TEST_F(RecordSettingsTest, LeavingFromTheDriveListKeepsTheRecordFolder) {
  recordInto("C:\\Videos\\");
  openRecordSettings();
  press("ReturnPrePath_Button");
  press("ReturnPrePath_Button");
  ASSERT_TRUE(page().IsShowingDrives());
  press("ReturnPrePath_Button");
  EXPECT_TRUE(page().IsShowingDrives()) << "up from the drives stays there";
  press("RETURN_BUTTON");
  EXPECT_STREQ(g_pAppSettings->VideoFolder, "C:\\Videos\\");
  EXPECT_TRUE(messages().empty());
}

TEST_F(RecordSettingsTest, TheUpAndDownButtonsMoveTheSelectionWithinTheRows) {
  recordInto("C:\\Videos\\");
  openRecordSettings();
  EXPECT_EQ(list().GetCurSel(), -1);
  press("DOWN_BUTTON");
  EXPECT_EQ(list().GetCurSel(), 0);
  press("DOWN_BUTTON");
  EXPECT_EQ(list().GetCurSel(), 1);
  press("UP_BUTTON");
  press("UP_BUTTON");
  EXPECT_EQ(list().GetCurSel(), 0) << "not above the first row";
  EXPECT_EQ(shown("ShowPath_Static"), "C:\\Videos\\") << "selecting opens nothing";
}

// A stored folder that has gone: the window starts at the default one, made for it, and
// that is what it stores.
TEST_F(RecordSettingsTest, AStoredFolderThatHasGoneGivesWayToTheDefaultOne) {
  recordInto("C:\\Gone\\");
  std::filesystem::remove_all(testMachine.programFolder() / "Videos");
  openRecordSettings();
  const std::string made = programPath("Videos\\");
  EXPECT_EQ(shown("ShowPath_Static"), made);
  EXPECT_TRUE(std::filesystem::is_directory(testMachine.programFolder() / "Videos"));
  robot.key(VK_BACK);
  EXPECT_EQ(std::string(g_pAppSettings->VideoFolder), made);
}

// Recordings go into the folder the settings name: MPEG-1 at its own size, then a DVD.
TEST_F(RecordSettingsTest, TheChosenFormatReachesTheNextRecording) {
  RegisterFilterModule("Filter\\Branchel.ax");
  recordInto("C:\\Videos\\");
  openRecordSettings();
  press("RecordFormatLeft_Button");
  ASSERT_EQ(shown("RecordFormat_Static"), "MPEG-1");
  robot.key(VK_BACK);
  robot.key(VK_BACK);
  ASSERT_EQ(mode(), 105);
  const auto mpeg1 = recordFromTV("cap00.mpg", true);
  EXPECT_EQ(mpeg1.video().codec, "mpeg1video");

  clickButton(*launcher->GetTVDlg(), "SETTING_BUTTON");
  clickButton(hub(), "RECORDSET_BUTTON");
  for (int i = 0; i < 3; ++i) press("RecordFormatLeft_Button");
  ASSERT_EQ(shown("RecordFormat_Static"), "DVD-PAL");
  robot.key(VK_BACK);
  robot.key(VK_BACK);
  ASSERT_EQ(mode(), 110);
  const auto dvd = recordFromTV("cap01.mpg", true);
  EXPECT_EQ(dvd.video().codec, "mpeg2video");
  EXPECT_EQ(dvd.video().width, 720);
  EXPECT_EQ(dvd.video().height, 576);
}

// The quality chosen sets the bit rate of the next recording: MPEG-1 at Normal, then at
// Highest, of a channel without a station, whose snow takes every bit the encoder may
// spend.
TEST_F(RecordSettingsTest, TheChosenQualityReachesTheNextRecording) {
  RegisterFilterModule("Filter\\Branchel.ax");
  recordInto("C:\\Videos\\");
  const auto recordAt = [this](const char* quality, const char* file) {
    if (CTVDlg* tv = launcher->GetTVDlg(); tv && tv->IsWindowVisible()) {
      clickButton(*tv, "SETTING_BUTTON");
      clickButton(hub(), "RECORDSET_BUTTON");
    } else {
      openRecordSettings();
    }
    for (int step = 0; step < 8 && shown("RecordFormat_Static") != "MPEG-1"; ++step) press("RecordFormatLeft_Button");
    for (int step = 0; step < 3 && shown("RecordQuality_Static") != quality; ++step) press("RecordQualityRight_Button");
    EXPECT_EQ(shown("RecordQuality_Static"), quality);
    robot.key(VK_BACK);
    robot.key(VK_BACK);
    const auto probe = recordFromTV(file, false);
    // Kilobits a picture: the encoder spends its rate a picture at a time, whether or not
    // a busy machine brought every picture in time.
    return probe.video().packets > 0 ? static_cast<double>(probe.video().bytes) * 8 / 1000 / probe.video().packets : 0.0;
  };
  const auto normal = recordAt("Normal", "cap00.mpg");
  const auto highest = recordAt("Highest", "cap01.mpg");
  // Snow at 1250 kbit/s meets the encoder's coarsest steps (it takes some 2000), so only
  // the order is sure: at 25 pictures a second, 50 kbit a picture against 160.
  EXPECT_GT(normal, 40);
  EXPECT_GT(highest, normal * 1.5) << "4000 kbit/s against 1250";
  EXPECT_EQ(g_pAppSettings->RecordQuality, 3);
}

// ---- Faults

class RecordSettingsFaults : public RecordSettingsTest {};

// The record folder's field holds 259 characters: a sub-folder whose path would be longer
// is not entered, and the user is told.
TEST_F(RecordSettingsFaults, AFolderTooDeepForTheFieldIsNotEntered) {
  const std::string fits(253, 'f'), tooLong(254, 't');
  for (const std::string& name : {fits, tooLong}) std::filesystem::create_directories(testMachine.root() / "C" / "L" / name);
  recordInto("C:\\L\\");
  openRecordSettings();
  robot.answerNextMessageBox(IDOK);
  open(tooLong);
  EXPECT_EQ(shown("ShowPath_Static"), "C:\\L\\");
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_NE(messages()[0].find("too long"), std::string::npos);
  open(fits);
  const std::string deepest = "C:\\L\\" + fits + "\\";
  ASSERT_EQ(deepest.size(), 259u);
  EXPECT_EQ(shown("ShowPath_Static"), deepest);
  robot.key(VK_BACK);
  EXPECT_EQ(std::string(g_pAppSettings->VideoFolder), deepest);
  EXPECT_EQ(std::string(g_pAppSettings->PictureFolder).rfind("C:\\L\\", 0), std::string::npos) << "nothing ran over";
}

// A folder removed behind the window's back is not made the record folder.
TEST_F(RecordSettingsFaults, AShownFolderThatWentAwayIsNotMadeTheRecordFolder) {
  recordInto("C:\\Videos\\");
  openRecordSettings();
  open("Films");
  std::filesystem::remove(testMachine.root() / "C" / "Videos" / "Films");
  robot.answerNextMessageBox(IDOK);
  press("RETURN_BUTTON");
  EXPECT_STREQ(g_pAppSettings->VideoFolder, "C:\\Videos\\");
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_NE(messages()[0].find("no longer there"), std::string::npos);
  EXPECT_EQ(mode(), 120);
}

// The stored folder gone and the default one impossible to make (a file stands in its
// place): the user is told, the walk starts at the drives, and nothing half-made is kept.
TEST_F(RecordSettingsFaults, ARecordFolderThatCannotBeMadeIsRefusedWithAMessage) {
  recordInto("C:\\Gone\\");
  std::filesystem::remove_all(testMachine.programFolder() / "Videos");
  std::ofstream(testMachine.programFolder() / "Videos") << "not a folder";
  robot.answerNextMessageBox(IDOK);
  openRecordSettings();
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_NE(messages()[0].find("could not be made"), std::string::npos);
  EXPECT_EQ(shown("ShowPath_Static"), std::string(GetOtherInfo(0))) << "the drive list";
  EXPECT_TRUE(std::filesystem::is_regular_file(testMachine.programFolder() / "Videos"));
  robot.key(VK_BACK);
  EXPECT_STREQ(g_pAppSettings->VideoFolder, "C:\\Gone\\") << "kept until a folder is chosen";
  EXPECT_EQ(messages().size(), 1u);
}

// The close button's teardown stores the folder once; the window's destruction that
// follows finds nothing left to store or release.
TEST_F(RecordSettingsFaults, CloseStoresTheFolderOnceAndTheDestructionAfterIsHarmless) {
  recordInto("C:\\Videos\\");
  openRecordSettings();
  open("Evening");
  std::filesystem::remove(testMachine.root() / "C" / "Videos" / "Evening");
  robot.answerNextMessageBox(IDOK);
  press("CLOSE_BUTTON");
  EXPECT_FALSE(launcher->IsWindowVisible());
  closeLauncher();
  EXPECT_EQ(messages().size(), 1u) << "told once";
}

}  // namespace

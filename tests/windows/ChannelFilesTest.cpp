// Channel list files from the channel window, through the open and save dialogs played by
// the robot: both plans saved under the name given with the ".chl" extension, a failed
// save leaving the old file, a list opened shown and its channel tuned, and files that are
// short, foreign or of another extension refused with the lists and the file untouched.
#include "windows/ChannelWindowTest.h"

#include "core/CDisplayMode.h"
#include "core/data/CAppSettings.h"
#include "skin/CChannelListCtrl.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/WindowMessages.h"

#include <support/FileSizeLimit.h>
#include <win32/commdlg/commdlg.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::vector<char> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ChannelFilesTest : public test::ChannelWindowTest {
 protected:
  void SetUp() override { openChannels(); }
  void save(const std::string& answer) {
    robot.answerNextFileDialog(answer);
    press("SAVE_BUTTON");
  }
  void load(const std::string& answer) {
    robot.answerNextFileDialog(answer);
    press("LOAD_BUTTON");
  }
  // What the channel list writes now, for comparison.
  std::vector<char> listBytes() {
    const std::string path = programPath("expected.tmp");
    EXPECT_EQ(g_pChannelList->SaveFile(path.c_str()), 1);
    std::vector<char> bytes = ReadAll(programFile("expected.tmp"));
    std::filesystem::remove(programFile("expected.tmp"));
    return bytes;
  }
  // A ".chl" file of its own: list 1 with the channels 1, 2 and 5, channel 5 current, and
  // list 2 with channel 7.
  void writeOtherList(const std::string& name) {
    CChannelList other;
    for (int number : {1, 2, 5}) {
      auto* record = new ChannelRecord{};
      record->ChannelNumber = number;
      std::snprintf(record->ChannelName, sizeof record->ChannelName, "Other %d", number);
      std::strcpy(record->StandardName, "NTSC_M");
      record->Frequency = number == 5 ? 175.25f : 55.25f + 6.0f * static_cast<float>(number - 1);
      other.AddChannel(1, record);
    }
    auto* cable = new ChannelRecord{};
    cable->ChannelNumber = 7;
    cable->Frequency = 175.25f;
    other.AddChannel(2, cable);
    other.SetCurrentChannel(5, 1);
    ASSERT_EQ(other.SaveFile(programPath(name).c_str()), 1);
  }
  const plat::FileDialogRecord lastDialog() {
    const auto dialogs = robot.fileDialogs();
    return dialogs.empty() ? plat::FileDialogRecord{} : dialogs.back();
  }
};

TEST_F(ChannelFilesTest, SaveWritesBothPlansUnderTheNameGivenWithItsExtension) {
  save("mine");
  ASSERT_TRUE(std::filesystem::exists(programFile("mine.chl")));
  EXPECT_EQ(ReadAll(programFile("mine.chl")), listBytes());
  const plat::FileDialogRecord dialog = lastDialog();
  EXPECT_TRUE(dialog.save);
  EXPECT_EQ(dialog.owner, channels().GetSafeHwnd()) << "the window waits under its dialog";
  EXPECT_EQ(dialog.folder + "\\", std::string(g_pAppSettings->ProgramFolder)) << "the program folder";
  EXPECT_EQ(dialog.flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT), static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
  ASSERT_EQ(dialog.types.size(), 2u);
  EXPECT_EQ(dialog.types[0].second, "*.CHL");

  // Another extension gives way to ".chl"; a dot in a folder's name is no extension.
  save("other.txt");
  EXPECT_TRUE(std::filesystem::exists(programFile("other.chl")));
  EXPECT_FALSE(std::filesystem::exists(programFile("other.txt")));
  std::filesystem::create_directories(programFile("lists.v1"));
  save("lists.v1\\club");
  EXPECT_TRUE(std::filesystem::exists(programFile("lists.v1\\club.chl")));
  EXPECT_FALSE(std::filesystem::exists(programFile("lists.chl")));

  // Cancelled, nothing is written.
  robot.cancelNextFileDialog();
  press("SAVE_BUTTON");
  EXPECT_EQ(lastDialog().answer, IDCANCEL);
  EXPECT_FALSE(std::filesystem::exists(programFile("ZRQChannels.chl.tmp")));
}

TEST_F(ChannelFilesTest, AFailedSaveLeavesTheOldFile) {
  std::ofstream(programFile("kept.chl"), std::ios::binary) << "the old list";
  {
    test::FileSizeLimit full(64);
    robot.answerNextMessageBox(IDYES);  // the dialog asks before it names an existing file
    save("kept.chl");
  }
  EXPECT_EQ(std::string(ReadAll(programFile("kept.chl")).data(), 12), "the old list");
  EXPECT_EQ(ReadAll(programFile("kept.chl")).size(), 12u);
  EXPECT_EQ(robot.messageBoxes().size(), 1u) << "only the dialog's question";
}

TEST_F(ChannelFilesTest, AnOpenedListIsShownAndItsCurrentChannelTuned) {
  press("LEFT_BUTTON");  // the antenna plan, list 1
  writeOtherList("other.chl");
  load("other.chl");
  EXPECT_EQ(rowNumbers(), (std::vector<int>{1, 2, 5}));
  EXPECT_EQ(rowNames()[2], "Other 5");
  EXPECT_EQ(listNumbers(2), (std::vector<int>{7}));
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 5);
  EXPECT_EQ(tunedStation(), "Coast 7");
  EXPECT_EQ(label("Slider_Static"), "0");
  const plat::FileDialogRecord dialog = lastDialog();
  EXPECT_FALSE(dialog.save);
  EXPECT_EQ(dialog.owner, channels().GetSafeHwnd());
  EXPECT_EQ(dialog.folder + "\\", std::string(g_pAppSettings->ProgramFolder)) << "the program folder";
  EXPECT_EQ(dialog.types.size(), 3u);

  // A name typed without its extension is the ".chl" file, in a folder with a dot too.
  std::filesystem::create_directories(programFile("lists.v1"));
  writeOtherList("lists.v1\\two.chl");
  g_pChannelList->ClearList(2);
  load("lists.v1\\two");
  EXPECT_EQ(lastDialog().path, programPath("lists.v1\\two.chl"));
  EXPECT_EQ(listNumbers(2), (std::vector<int>{7}));
}

TEST_F(ChannelFilesTest, AnUpperCaseExtensionIsTakenAndAnotherIsNot) {
  press("LEFT_BUTTON");
  writeOtherList("LOUD.CHL");
  load("LOUD.CHL");
  EXPECT_EQ(rowNumbers(), (std::vector<int>{1, 2, 5}));
  press("RIGHT_BUTTON");
  press("LEFT_BUTTON");
  writeOtherList("other.dat");
  ChannelRecord changed = stored(2, 1);
  changed.Frequency = 400.0f;
  g_pChannelList->UpdateChannel(2, 1, &changed);
  load("other.dat");
  EXPECT_FLOAT_EQ(stored(2, 1).Frequency, 400.0f) << "not loaded";
}

TEST_F(ChannelFilesTest, AShortOrForeignFileIsRefusedWithTheListsAndTheFileUntouched) {
  press("LEFT_BUTTON");
  const std::vector<char> lists = listBytes();
  const std::vector<int> rows = rowNumbers();
  std::ofstream(programFile("short.chl"), std::ios::binary) << "CHL1";
  std::vector<char> foreign(16 + 84 * 2, '\x7f');  // counts far beyond any plan
  std::ofstream(programFile("foreign.chl"), std::ios::binary).write(foreign.data(), static_cast<std::streamsize>(foreign.size()));
  for (const char* name : {"short.chl", "foreign.chl"}) {
    const std::vector<char> file = ReadAll(programFile(name));
    load(name);
    EXPECT_EQ(listBytes(), lists) << name;
    EXPECT_EQ(rowNumbers(), rows) << name;
    EXPECT_EQ(ReadAll(programFile(name)), file) << name;
  }
  EXPECT_TRUE(robot.messageBoxes().empty()) << "refused without a word";
  robot.cancelNextFileDialog();
  press("LOAD_BUTTON");
  EXPECT_EQ(listBytes(), lists);
}

TEST_F(ChannelFilesTest, WhileADialogIsOpenTheRemoteCannotTakeTheWindowAway) {
  robot.duringModal([this](plat::Robot& user) {
    EXPECT_TRUE(channels().IsInFileDialog());
    EXPECT_FALSE(channels().IsWindowEnabled());
    SendMessageA(launcherWindow(), UM_REMOTE_KEY, 0, 70);
    user.cancelNextFileDialog();
  });
  press("LOAD_BUTTON");
  EXPECT_EQ(g_pDisplayMode->GetMode(), 125);
  ASSERT_NE(g_pChannelDlg, nullptr);
  EXPECT_TRUE(channels().IsWindowVisible());
  EXPECT_TRUE(channels().IsWindowEnabled());
  remoteKey(70);
  EXPECT_EQ(g_pDisplayMode->GetMode(), 110) << "once the dialog is gone the key acts";
}

}  // namespace

// The settings' folders: the folder test (drive roots, hidden and CD-ROM folders, case),
// folder creation and the folder setters that refuse what does not fit.
#include "CoreTest.h"

#include "core/CAppController.h"

namespace {

namespace fs = std::filesystem;

class SettingsFoldersTest : public test::SettingsTest {
 protected:
  std::string makeFolder(const std::string& name) {
    fs::create_directories(linuxPath(programPath(name)));
    return programPath(name);
  }
};

TEST_F(SettingsFoldersTest, FolderExistsFindsFoldersWithoutCaseAndWithOrWithoutTrailingBackslash) {
  std::string folder = makeFolder("Recordings");
  EXPECT_EQ(CAppController::FolderExists(folder.c_str(), 0, 0), 1);
  EXPECT_EQ(CAppController::FolderExists((folder + "\\").c_str(), 0, 0), 1);
  EXPECT_EQ(CAppController::FolderExists(programPath("RECORDINGS\\").c_str(), 0, 0), 1);
  EXPECT_EQ(CAppController::FolderExists(programPath("Missing\\").c_str(), 1, 1), 0);
  EXPECT_EQ(CAppController::FolderExists(nullptr, 1, 1), 0);
  EXPECT_EQ(CAppController::FolderExists("", 1, 1), 0);
}

TEST_F(SettingsFoldersTest, AFileIsNotAFolder) {
  writeBytes(programPath("plain.txt"), {1, 2, 3});
  EXPECT_EQ(CAppController::FolderExists(programPath("plain.txt").c_str(), 1, 1), 0);
}

TEST_F(SettingsFoldersTest, OnlyAPresentDriveRootCountsAsARoot) {
  EXPECT_EQ(CAppController::FolderExists("C:\\", 0, 0), 1);
  EXPECT_EQ(CAppController::FolderExists("Q:\\", 1, 1), 0);
  // One backslash is not enough: a missing first-level folder does not exist.
  EXPECT_EQ(CAppController::FolderExists("C:\\Missing", 1, 1), 0);
  fs::create_directories(linuxPath("C:\\Present"));
  EXPECT_EQ(CAppController::FolderExists("C:\\Present", 1, 1), 1);
}

TEST_F(SettingsFoldersTest, HiddenFoldersCountOnlyWhenAskedFor) {
  std::string hidden = makeFolder(".cache");
  EXPECT_EQ(CAppController::FolderExists(hidden.c_str(), 0, 1), 0);
  EXPECT_EQ(CAppController::FolderExists(hidden.c_str(), 1, 1), 1);
}

TEST_F(SettingsFoldersTest, CdRomFoldersCountOnlyWhenRemovableIsAllowed) {
  fs::path disc = testMachine.root() / "disc";
  fs::create_directories(disc / "Movies");
  machine().paths().mapDrive('D', disc);
  machine().ini().setValue("DriveTypes", "D", "cdrom");
  EXPECT_EQ(CAppController::FolderExists("D:\\Movies\\", 0, 0), 0);
  EXPECT_EQ(CAppController::FolderExists("D:\\Movies\\", 0, 1), 1);
}

TEST_F(SettingsFoldersTest, CreateFolderNeedsARootedPathLongerThanADriveRoot) {
  EXPECT_EQ(CAppController::CreateFolder("C:\\"), 0);
  EXPECT_EQ(CAppController::CreateFolder("Relative\\Folder"), 0);
  EXPECT_EQ(CAppController::CreateFolder("\\\\server\\share"), 0);
  EXPECT_EQ(CAppController::CreateFolder(nullptr), 0);
  EXPECT_EQ(CAppController::CreateFolder("C:\\Made\\"), 1);
  EXPECT_TRUE(fs::is_directory(linuxPath("C:\\Made")));
  EXPECT_EQ(CAppController::CreateFolder("C:\\Made\\"), 0);  // exists already
}

TEST_F(SettingsFoldersTest, MakeDefaultFoldersRecreatesAMissingFolderUnderTheProgramFolder) {
  std::strcpy(settings().PictureFolder, "C:\\Gone\\");
  std::string expected = programPath("Picture\\");
  EXPECT_EQ(std::string(CAppController::MakeDefaultFolders(0)), expected);
  EXPECT_EQ(std::string(settings().PictureFolder), expected);
  EXPECT_TRUE(fs::is_directory(linuxPath(expected)));

  std::string kept = makeFolder("Kept\\");
  std::strcpy(settings().VideoFolder, kept.c_str());
  EXPECT_EQ(std::string(CAppController::MakeDefaultFolders(1)), kept);
}

TEST_F(SettingsFoldersTest, MakeDefaultFoldersFailsWhenTheFolderCannotBeMade) {
  std::strcpy(settings().VideoFolder, "C:\\Gone\\");
  settings().ProgramFolder = "C:\\NoProgram\\Sub\\";
  EXPECT_EQ(CAppController::MakeDefaultFolders(1), nullptr);
  EXPECT_STREQ(settings().VideoFolder, "C:\\Gone\\");
}

TEST_F(SettingsFoldersTest, RecordAndMediaFoldersAreStoredOnlyWhenTheyFit) {
  EXPECT_EQ(CAppController::SetRecordFolder("C:"), 0);
  EXPECT_EQ(CAppController::SetRecordFolder("C:\\Rec\\"), 1);
  EXPECT_STREQ(CAppController::GetRecordFolder(), "C:\\Rec\\");

  std::string tooLong = "C:\\" + std::string(300, 'a') + "\\";
  EXPECT_EQ(CAppController::SetRecordFolder(tooLong.c_str()), 0);
  EXPECT_EQ(CAppController::SetMediaFolder(tooLong.c_str(), 0), nullptr);
  EXPECT_STREQ(settings().VideoFolder, "C:\\Rec\\");

  std::string longest = "C:\\" + std::string(255, 'b') + "\\";  // 259 characters and the NUL
  EXPECT_EQ(CAppController::SetRecordFolder(longest.c_str()), 1);
  EXPECT_EQ(CAppController::SetRecordFolder((longest + "x").c_str()), 0);

  EXPECT_STREQ(CAppController::SetMediaFolder("C:\\Pics\\", 0), "C:\\Pics\\");
  EXPECT_STREQ(settings().PictureFolder, "C:\\Pics\\");
  EXPECT_STREQ(CAppController::SetMediaFolder("C:\\Vids\\", 1), "C:\\Vids\\");
  EXPECT_STREQ(settings().VideoFolder, "C:\\Vids\\");

  settings().VideoFolder[0] = '\0';
  EXPECT_EQ(CAppController::GetRecordFolder(), nullptr);
}

}  // namespace

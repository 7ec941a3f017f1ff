// The one crash-safe replacement of stored files, through the platform's writers: a save
// puts the new file whole in place or fails saying so with the old file whole and nothing
// left beside it; leftovers of older saves are taken; temporaries of dead savers go.
#include "CoreTest.h"

#include "core/CScheduleList.h"
#include "core/data/CChannelList.h"
#include "support/FileSizeLimit.h"

#include <win32/error.h>
#include <win32/file.h>
#include <win32/profile.h>
#include <win32/registry.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using test::Bytes;

class FileReplacementTest : public test::SettingsTest {
 protected:
  std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string text(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string file = programPath("stored.dat");
};

TEST_F(FileReplacementTest, ReplacesWholeAndLeavesNothingBeside) {
  ASSERT_TRUE(ReplaceFileContentsA(file.c_str(), "first", 5)) << "made where missing";
  EXPECT_EQ(readBytes(file), (Bytes{'f', 'i', 'r', 's', 't'}));
  ASSERT_TRUE(ReplaceFileContentsA(file.c_str(), "2nd", 3));
  EXPECT_EQ(readBytes(file), (Bytes{'2', 'n', 'd'}));
  ASSERT_TRUE(ReplaceFileContentsA(file.c_str(), nullptr, 0));
  EXPECT_TRUE(readBytes(file).empty());
  EXPECT_EQ(namesIn(testMachine.programFolder()), std::vector<std::string>{"stored.dat"});

  EXPECT_FALSE(ReplaceFileContentsA(nullptr, "x", 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(ReplaceFileContentsA(file.c_str(), nullptr, 1));
  EXPECT_FALSE(ReplaceFileContentsA(programPath("no folder\\stored.dat").c_str(), "x", 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileReplacementTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
  ASSERT_TRUE(ReplaceFileContentsA(file.c_str(), "old", 3));
  const std::string longer(100, 'n');
  {
    test::FileSizeLimit diskFull(50);
    EXPECT_FALSE(ReplaceFileContentsA(file.c_str(), longer.data(), static_cast<DWORD>(longer.size())));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
  }
  EXPECT_EQ(readBytes(file), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(namesIn(testMachine.programFolder()), std::vector<std::string>{"stored.dat"});
}

TEST_F(FileReplacementTest, TemporariesOfDeadSaversAreRemovedAndOthersKept) {
  const fs::path folder = testMachine.programFolder();
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);
  const std::string ofDead = "stored.dat." + std::to_string(dead) + ".0.saving";
  const std::string ofLiving = "stored.dat.1.0.saving";  // init lives as long as the machine
  for (const std::string& name : {ofDead, ofLiving, std::string("stored.dat.x.saving"), std::string("other.1.saving")})
    std::ofstream(folder / name) << "partial";
  ASSERT_TRUE(ReplaceFileContentsA(file.c_str(), "new", 3));
  EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"other.1.saving", "stored.dat", ofLiving, "stored.dat.x.saving"}));
}

TEST_F(FileReplacementTest, AFinishedLeftoverIsTakenOnlyWhereTheFileIsMissing) {
  writeBytes(file + ".new", Bytes{'n'});
  ASSERT_TRUE(TakeLeftoverFileA(file.c_str()));
  EXPECT_EQ(readBytes(file), Bytes{'n'});
  EXPECT_FALSE(exists(file + ".new"));

  writeBytes(file + ".new", Bytes{'m'});
  EXPECT_FALSE(TakeLeftoverFileA(file.c_str())) << "the file is there";
  EXPECT_EQ(readBytes(file), Bytes{'n'});
  EXPECT_FALSE(TakeLeftoverFileA(programPath("none.dat").c_str()));
  fs::create_directory(linuxPath(programPath("folder.dat.new")));
  EXPECT_FALSE(TakeLeftoverFileA(programPath("folder.dat").c_str())) << "a folder is no leftover";
}

TEST_F(FileReplacementTest, EveryStoredFileOfTheProgramTakesItsLeftover) {
  // Settings.
  const std::string settingsFile = programPath("ZRQData.dat");
  ASSERT_EQ(CAppController::WriteDefaultSettings(settingsFile.c_str()), 1);
  fs::rename(linuxPath(settingsFile), linuxPath(settingsFile + ".new"));
  EXPECT_EQ(CAppController::LoadSettings(settingsFile.c_str()), 1);
  EXPECT_TRUE(exists(settingsFile));

  // Channel list.
  const std::string channels = programPath("ZRQChannels.chl");
  CChannelList list;
  ASSERT_EQ(list.BuildDefaultListFile(channels.c_str()), 1);
  fs::rename(linuxPath(channels), linuxPath(channels + ".new"));
  EXPECT_EQ(list.LoadFile(channels.c_str()), 1);
  EXPECT_GT(list.GetChannelCount(1), 0);

  // Schedule.
  const std::string schedule = programPath("schedulefile.she");
  writeBytes(schedule + ".new", Bytes{});
  CScheduleList plans;
  EXPECT_EQ(plans.Load(schedule.c_str()), 1);
  EXPECT_TRUE(exists(schedule));
}

TEST_F(FileReplacementTest, SettingsThatCannotBeSavedKeepTheOldFile) {
  const std::string settingsFile = programPath("ZRQData.dat");
  ASSERT_EQ(CAppController::WriteDefaultSettings(settingsFile.c_str()), 1);
  const Bytes old = readBytes(settingsFile);
  settings().Volume = 99;
  {
    test::FileSizeLimit diskFull(100);
    EXPECT_EQ(CAppController::SaveSettings(settingsFile.c_str()), 0);
  }
  EXPECT_EQ(readBytes(settingsFile), old);
}

TEST_F(FileReplacementTest, ProfileAndRegistryWritesThatFailKeepTheOldFiles) {
  const fs::path ini = testMachine.programFolder() / "skin.ini";
  const std::string iniName = programPath("skin.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("Main", "Title", "old", iniName.c_str()));
  const std::string iniBefore = text(ini);
  const fs::path registry = testMachine.root() / "registry.ini";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Invented Co\\Fault", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const std::string registryBefore = text(registry);
  ASSERT_FALSE(registryBefore.empty());
  {
    test::FileSizeLimit diskFull(iniBefore.size());
    const std::string big(registryBefore.size() + 10, 'v');
    EXPECT_FALSE(WritePrivateProfileStringA("Main", "Title", big.c_str(), iniName.c_str()));
    RegSetValueExA(key, "Big", 0, REG_SZ, reinterpret_cast<const BYTE*>(big.c_str()), static_cast<DWORD>(big.size() + 1));
  }
  RegCloseKey(key);
  EXPECT_EQ(text(ini), iniBefore);
  EXPECT_EQ(text(registry), registryBefore);
  char value[16] = {};
  GetPrivateProfileStringA("Main", "Title", "", value, sizeof value, iniName.c_str());
  EXPECT_STREQ(value, "old");
}

TEST_F(FileReplacementTest, MoveFileExReplacesOnlyWhenAsked) {
  const std::string from = programPath("from.dat");
  writeBytes(from, Bytes{'a'});
  writeBytes(file, Bytes{'b'});
  EXPECT_FALSE(MoveFileExA(from.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  ASSERT_TRUE(MoveFileExA(from.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(readBytes(file), Bytes{'a'});
  EXPECT_FALSE(exists(from));
  EXPECT_FALSE(MoveFileExA(from.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  ASSERT_TRUE(MoveFileExA(file.c_str(), from.c_str(), MOVEFILE_WRITE_THROUGH)) << "to a free name";
  fs::create_directory(linuxPath(programPath("folder")));
  EXPECT_FALSE(MoveFileExA(from.c_str(), programPath("folder").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

}  // namespace

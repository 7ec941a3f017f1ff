// A save killed half-way leaves its "<name>.<pid>.<n>.saving" beside the file. Reading the
// file removes the temporaries of savers that no longer run, whatever reads it, and keeps
// those of savers still at work.
#include "CoreTest.h"

#include "core/CScheduleList.h"
#include "core/MediaListFile.h"
#include "core/data/CChannelList.h"

#include <win32/profile.h>
#include <win32/registry.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

namespace fs = std::filesystem;

class DeadSaverTemporaryTest : public test::SettingsTest {
 protected:
  DeadSaverTemporaryTest() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    dead = child;
  }

  // Leaves a dead saver's temporary and a living one's (init's) beside `file`, reads the
  // file, and expects only the dead one gone.
  void expectReadRemovesTheDeadOnes(const fs::path& file, const std::function<void()>& read) {
    const fs::path ofDead = file.string() + "." + std::to_string(dead) + ".3.saving";
    const fs::path ofLiving = file.string() + ".1.0.saving";
    std::ofstream(ofDead) << "half";
    std::ofstream(ofLiving) << "half";
    read();
    EXPECT_FALSE(fs::exists(ofDead)) << file.filename();
    EXPECT_TRUE(fs::exists(ofLiving)) << file.filename();
    fs::remove(ofLiving);
  }

  pid_t dead = 0;
};

TEST_F(DeadSaverTemporaryTest, TheProgramsStoredFilesLoseThemWhenRead) {
  const std::string settingsFile = programPath("ZRQData.dat");
  ASSERT_EQ(CAppController::WriteDefaultSettings(settingsFile.c_str()), 1);
  expectReadRemovesTheDeadOnes(linuxPath(settingsFile), [&] { CAppController::LoadSettings(settingsFile.c_str()); });

  const std::string channels = programPath("ZRQChannels.chl");
  CChannelList list;
  ASSERT_EQ(list.BuildDefaultListFile(channels.c_str()), 1);
  expectReadRemovesTheDeadOnes(linuxPath(channels), [&] { list.LoadFile(channels.c_str()); });

  const std::string schedule = programPath("schedulefile.she");
  CScheduleList plans;
  ASSERT_EQ(plans.Save(schedule.c_str()), 1);
  expectReadRemovesTheDeadOnes(linuxPath(schedule), [&] { plans.Load(schedule.c_str()); });

  const std::string history = programPath("histroyMedia.lis");
  CPtrArray items;
  ASSERT_TRUE(SaveMediaList(history.c_str(), items));
  expectReadRemovesTheDeadOnes(linuxPath(history), [&] { LoadMediaList(history.c_str(), items); });
}

TEST_F(DeadSaverTemporaryTest, ProfilesAndTheRegistryLoseThemWhenRead) {
  const std::string profile = programPath("Invented.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("Main", "Title", "Invented", profile.c_str()));
  expectReadRemovesTheDeadOnes(linuxPath(profile), [&] {
    char value[32] = {};
    GetPrivateProfileStringA("Main", "Title", "", value, sizeof value, profile.c_str());
  });

  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Invented Co", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  // Another program's save: the registry is read again at the next query.
  const pid_t other = fork();
  if (other == 0) {
    const char value[] = "from another program";
    _exit(RegSetValueExA(key, "Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value));
  }
  int status = 0;
  waitpid(other, &status, 0);
  ASSERT_EQ(status, 0);
  expectReadRemovesTheDeadOnes(testMachine.root() / "registry.ini", [&] {
    char read[64] = {};
    DWORD size = sizeof read;
    EXPECT_EQ(RegQueryValueExA(key, "Value", nullptr, nullptr, reinterpret_cast<BYTE*>(read), &size), ERROR_SUCCESS);
    EXPECT_STREQ(read, "from another program");
  });
  RegCloseKey(key);
}

}  // namespace

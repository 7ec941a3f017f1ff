// Kills during saves: a child process saves one stored file over and over, two versions
// in turn, until a profiling timer kills it at a random point of its work (in a write, a
// flush, a rename, between them). Every time, the file must be one version or the other,
// whole, and read back by its reader.
#include "CoreTest.h"

#include "CChannelListTest.h"
#include "core/CMediaFileItem.h"
#include "core/CScheduleList.h"
#include "core/MediaListFile.h"
#include "core/data/CChannelList.h"

#include <machine/Machine.h>
#include <win32/profile.h>
#include <win32/registry.h>

#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 150;

class SaveFaultTest : public test::SettingsTest {
 protected:
  std::string text(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Runs `save(version)` in children killed at random; returns how many were killed
  // before they finished. `whole` checks the file after each kill.
  int killDuringSaves(const std::function<bool(int)>& save, const std::function<void()>& whole) {
    std::mt19937 random(20241209);
    std::uniform_int_distribution<long> cpuMicroseconds(1, 3000);
    int killed = 0;
    for (int run = 0; run < kRuns; ++run) {
      const long at = cpuMicroseconds(random);
      const pid_t child = fork();
      if (child == 0) {
        alarm(20);  // a child that cannot run on ends anyway
        const itimerval timer{{0, 0}, {0, at}};
        setitimer(ITIMER_PROF, &timer, nullptr);
        for (int version = 0; version < 100000; ++version) {
          if (!save(version % 2)) _exit(3);
        }
        _exit(0);
      }
      int status = 0;
      waitpid(child, &status, 0);
      if (WIFEXITED(status)) {
        EXPECT_EQ(WEXITSTATUS(status), 0) << "a save failed in run " << run;
      }
      if (WIFSIGNALED(status) && WTERMSIG(status) == SIGPROF) ++killed;
      whole();
      if (::testing::Test::HasFailure()) {
        ADD_FAILURE() << "run " << run << ", killed after " << at << " us of work";
        break;
      }
    }
    return killed;
  }

  // Saves version 0 and 1 once each for their bytes, then checks the file is one of them
  // after every kill.
  void expectOneVersionWhole(const fs::path& file, const std::function<bool(int)>& save) {
    ASSERT_TRUE(save(1));
    const std::string one = text(file);
    ASSERT_TRUE(save(0));
    const std::string zero = text(file);
    ASSERT_NE(zero, one);
    const int killed = killDuringSaves(save, [&] {
      const std::string now = text(file);
      EXPECT_TRUE(now == zero || now == one) << file.filename() << " holds " << now.size() << " bytes";
    });
    EXPECT_GT(killed, kRuns / 2) << "most children die while saving";
  }
};

TEST_F(SaveFaultTest, ChannelListsAreAlwaysWhole) {
  const std::string path = programPath("ZRQChannels.chl");
  CChannelList versions[2];
  for (int n = 1; n <= 40; ++n) versions[0].AddChannel(1, test::NewRecord(n));
  for (int n = 1; n <= 90; ++n) versions[1].AddChannel(2, test::NewRecord(n, "Invented Station"));
  expectOneVersionWhole(linuxPath(path), [&](int v) { return versions[v].SaveFile(path.c_str()) == 1; });
  CChannelList loaded;
  EXPECT_EQ(loaded.LoadFile(path.c_str()), 1);
}

TEST_F(SaveFaultTest, SchedulesAreAlwaysWhole) {
  const std::string path = programPath("schedulefile.she");
  CScheduleList versions[2];
  for (int n = 0; n < 30; ++n) {
    CScheduleItem item;
    item.start = 1700000000 + 3600 * n;
    item.duration = 600;
    item.recurrence = 8;
    versions[n % 3 == 0 ? 0 : 1].Add(&item);
  }
  expectOneVersionWhole(linuxPath(path), [&](int v) { return versions[v].Save(path.c_str()) == 1; });
}

TEST_F(SaveFaultTest, SettingsAreAlwaysWhole) {
  const std::string path = programPath("ZRQData.dat");
  expectOneVersionWhole(linuxPath(path), [&](int v) {
    settings().Volume = v ? 90 : 10;
    return CAppController::SaveSettings(path.c_str()) == 1;
  });
  EXPECT_EQ(CAppController::LoadSettings(path.c_str()), 1);
}

TEST_F(SaveFaultTest, HistoryListsAreAlwaysWholeThroughSavesAndAppends) {
  const std::string path = programPath("histroyMedia.lis");
  const std::string video = programPath("cap00.mpg");
  std::ofstream(linuxPath(video)) << "x";
  CPtrArray versions[2];
  for (int n = 0; n < 12; ++n) {
    auto* item = new CMediaFileItem;
    item->SetVideo(1);
    item->SetVideoPath(video.c_str());
    versions[n < 4 ? 0 : 1].Add(item);
  }
  expectOneVersionWhole(linuxPath(path), [&](int v) { return SaveMediaList(path.c_str(), versions[v]); });
  killDuringSaves([&](int) { return AppendMediaList(path.c_str(), video.c_str(), kMediaListVideo); }, [&] {
    CPtrArray items;
    EXPECT_TRUE(LoadMediaList(path.c_str(), items)) << "the list loads after every kill";
    for (int n = 0; n < items.GetSize(); ++n) delete static_cast<CMediaFileItem*>(items.GetAt(n));
  });
  for (auto& version : versions) {
    for (int n = 0; n < version.GetSize(); ++n) delete static_cast<CMediaFileItem*>(version.GetAt(n));
  }
}

TEST_F(SaveFaultTest, ProfileFilesAreAlwaysWhole) {
  const std::string path = programPath("Skin.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("Main", "Background", "main.bmp", path.c_str()));
  expectOneVersionWhole(linuxPath(path), [&](int v) {
    return WritePrivateProfileStringA("Main", "Title", v ? "A much longer invented title" : "Short", path.c_str());
  });
}

TEST_F(SaveFaultTest, TheRegistryIsAlwaysWhole) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Invented Co", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  expectOneVersionWhole(testMachine.root() / "registry.ini", [&](int v) {
    const std::string value = v ? "a longer invented value" : "short";
    return RegSetValueExA(key, "Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  });
  RegCloseKey(key);
}

TEST_F(SaveFaultTest, MachineIniIsAlwaysWhole) {
  expectOneVersionWhole(machine().iniPath(), [&](int v) {
    machine().ini().setValue("Invented", "Value", v ? "a longer invented value" : "short");
    return machine().saveIni();
  });
}

}  // namespace

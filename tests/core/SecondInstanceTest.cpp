// The program itself, twice on one machine: the second start shows the already-running
// text and ends, while the first runs on until its launcher is closed.
#include "CoreTest.h"

#include <win32/user.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

extern char** environ;

namespace {

class SecondInstanceTest : public test::CoreTest {
 protected:
  ~SecondInstanceTest() override {
    for (pid_t pid : m_running) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }

  // Starts "Orvane Media" on this test's machine and program folder with a robot script.
  pid_t start(const std::string& script) {
    std::filesystem::path file = testMachine.root() / ("script" + std::to_string(m_running.size()) + ".robot");
    std::ofstream(file) << script;
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) {
      std::string entry(*e);
      if (entry.rfind("ORVANE_", 0) != 0) environment.push_back(entry);
    }
    environment.push_back("ORVANE_MACHINE=" + testMachine.root().string());
    environment.push_back("ORVANE_PROGRAM_FOLDER=" + testMachine.programFolder().string());
    environment.push_back("ORVANE_ROBOT=" + file.string());
    environment.push_back("ORVANE_SCREENSHOT_DIR=" + testMachine.root().string());
    std::vector<char*> envp;
    for (auto& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = ORVANE_MEDIA_PROGRAM;
    char* argv[] = {program.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return 0;
    m_running.push_back(pid);
    return pid;
  }

  int waitForExit(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    std::erase(m_running, pid);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  bool stillRunning(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

  // The other programs run on real time: wait for them, giving up after a generous while.
  bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  // The launcher once it is up, its controller started (the channel file is written) and
  // the program idle: a script that shows the screen as its second step, as the first
  // program's does, has passed its first.
  HWND waitForLauncher() {
    HWND launcher = nullptr;
    waitUntil([&] {
      launcher = FindWindowA("#32770", "Orvane Media");
      return launcher && exists(programPath("ZRQChannels.chl")) &&
             std::filesystem::exists(testMachine.root() / (kShownStep + ".png"));
    });
    return launcher;
  }
  inline static const std::string kShownStep = "launcher-shown";

 private:
  std::vector<pid_t> m_running;
};

TEST_F(SecondInstanceTest, ASecondStartShowsTheAlreadyRunningTextAndEndsWhileTheFirstRunsOn) {
  pid_t first = start("window \"#32770\" \"Orvane Media\"\nscreenshot " + kShownStep + "\n");
  ASSERT_GT(first, 0);
  HWND launcher = waitForLauncher();
  ASSERT_NE(launcher, nullptr);
  EXPECT_TRUE(exists(programPath("ZRQData.dat")));
  EXPECT_TRUE(exists(programPath("ZRQChannels.chl")));

  // The script fails (status 3) unless the box shows the text; it answers the box.
  pid_t second = start(
      "expect-messagebox \"Orvane Media is already running.\"\n"
      "answer OK\n");
  ASSERT_GT(second, 0);
  EXPECT_EQ(waitForExit(second), 0);
  EXPECT_TRUE(stillRunning(first));
  EXPECT_EQ(FindWindowA("#32770", "Orvane Media"), launcher);

  PostMessageA(launcher, WM_CLOSE, 0, 0);
  EXPECT_EQ(waitForExit(first), 0);
  EXPECT_EQ(readBytes(programPath("ZRQData.dat")), test::defaultSettingsBytes(programPath("")));
}

TEST_F(SecondInstanceTest, AfterTheFirstHasEndedTheProgramStartsAgain) {
  pid_t first = start("window \"#32770\" \"Orvane Media\"\nclose\n");
  ASSERT_GT(first, 0);
  EXPECT_EQ(waitForExit(first), 0);
  pid_t again = start("window \"#32770\" \"Orvane Media\"\nclose\n");
  ASSERT_GT(again, 0);
  EXPECT_EQ(waitForExit(again), 0);
}

}  // namespace

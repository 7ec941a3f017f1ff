// Two real processes on one machine finding each other's windows by title and exchanging
// posted and sent messages, including a send answered by a send back; and the clock they
// share, moved by one of them.
#include "WindowTest.h"

#include <robot/Robot.h>
#include <win32/shell.h>
#include <win32/time.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

extern char** environ;

namespace test {
namespace {

class CrossProcessTest : public UserTest {
 protected:
  ~CrossProcessTest() override {
    if (m_peer > 0) {
      kill(m_peer, SIGKILL);
      waitpid(m_peer, nullptr, 0);
    }
  }

  // Starts the peer program on this test's machine.
  void startPeer(const std::string& title) {
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("ORVANE_MACHINE=", 0) != 0) environment.emplace_back(*e);
    environment.push_back("ORVANE_MACHINE=" + testMachine.root().string());
    std::vector<char*> envp;
    for (auto& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = USER_PEER_PROGRAM;
    std::string argument = title;
    char* argv[] = {program.data(), argument.data(), nullptr};
    ASSERT_EQ(posix_spawn(&m_peer, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
  }

  int waitForPeerExit() {
    int status = 0;
    waitpid(m_peer, &status, 0);
    m_peer = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Serves this thread's windows until `done` holds. The other program runs on real
  // time, so this waits for it, giving up after a generous while.
  bool serveUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  HWND findPeer(const char* title) {
    HWND peer = nullptr;
    serveUntil([&] { return (peer = FindWindowA("OrvanePeer", title)) != nullptr; });
    return peer;
  }

  HWND createHost() {
    registerClass("PeerHost", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message == WM_USER + 5) {
        recordingProc(hwnd, message, wParam, lParam);
        return static_cast<LRESULT>(wParam * 100);
      }
      return recordingProc(hwnd, message, wParam, lParam);
    });
    return CreateWindowExA(0, "PeerHost", "Peer Test Host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           nullptr, nullptr);
  }

  // Has the peer set a timer of `periodMs`; the tick it was set at.
  DWORD startTicking(plat::Robot& robot, HWND peer, UINT periodMs) {
    EXPECT_TRUE(PostMessageA(peer, WM_USER + 7, periodMs, 0));
    robot.advance(1);
    return GetTickCount() - 1;
  }

  std::vector<WPARAM> received(UINT message) {
    std::vector<WPARAM> values;
    for (const Recorded& r : recorder().all())
      if (r.message == message) values.push_back(r.wParam);
    return values;
  }

  pid_t m_peer = 0;
};

TEST_F(CrossProcessTest, ProgramsFindEachOtherAndExchangeMessages) {
  HWND hostWindow = createHost();
  startPeer("Peer Window");
  HWND peer = findPeer("Peer Window");
  ASSERT_NE(peer, nullptr);
  EXPECT_TRUE(IsWindow(peer));
  char title[64];
  EXPECT_EQ(GetWindowTextA(peer, title, sizeof title), 11);
  EXPECT_STREQ(title, "Peer Window");
  DWORD process = 0;
  GetWindowThreadProcessId(peer, &process);
  EXPECT_EQ(process, static_cast<DWORD>(m_peer));
  EXPECT_EQ(FindWindowA("#32770", "Peer Window"), nullptr);

  // A blocking send and its result.
  EXPECT_EQ(SendMessageA(peer, WM_USER + 3, 21, 0), 42);
  // A send answered by a send back into this program, which this thread serves while it waits.
  recorder().clear();
  EXPECT_EQ(SendMessageA(peer, WM_USER + 4, 7, 0), 701);
  EXPECT_EQ(received(WM_USER + 5), (std::vector<WPARAM>{7}));

  // Posted both ways, in order.
  recorder().clear();
  EXPECT_TRUE(PostMessageA(peer, WM_USER + 1, 1, 0));
  EXPECT_TRUE(PostMessageA(peer, WM_USER + 1, 2, 0));
  EXPECT_TRUE(PostMessageA(peer, WM_COMMAND, 459, 0));
  ASSERT_TRUE(serveUntil([&] { return received(WM_USER + 6).size() == 1; }));
  EXPECT_EQ(received(WM_USER + 2), (std::vector<WPARAM>{2, 3}));
  EXPECT_EQ(received(WM_USER + 6), (std::vector<WPARAM>{459}));
  EXPECT_TRUE(IsWindow(hostWindow));

  EXPECT_TRUE(PostMessageA(peer, WM_CLOSE, 0, 0));
  EXPECT_EQ(waitForPeerExit(), 0);
  EXPECT_EQ(FindWindowA("OrvanePeer", "Peer Window"), nullptr);
  EXPECT_FALSE(IsWindow(peer));
}

TEST_F(CrossProcessTest, AProgramThatDiedLeavesNoWindowBehind) {
  startPeer("Doomed");
  HWND peer = findPeer("Doomed");
  ASSERT_NE(peer, nullptr);
  kill(m_peer, SIGKILL);
  waitForPeerExit();
  EXPECT_FALSE(IsWindow(peer));
  EXPECT_EQ(FindWindowA("OrvanePeer", "Doomed"), nullptr);
  EXPECT_EQ(SendMessageA(peer, WM_USER + 3, 1, 0), 0);
  EXPECT_FALSE(PostMessageA(peer, WM_USER + 1, 1, 0));
  const auto entries = testMachine.root() / "run" / "windows";
  for (const auto& entry : std::filesystem::directory_iterator(entries))
    EXPECT_EQ(entry.path().string().find(".win"), std::string::npos) << entry.path();
}

// A program that has ended has no windows, even before its parent has collected it.
TEST_F(CrossProcessTest, AProgramThatEndedAndIsNotYetCollectedHasNoWindows) {
  startPeer("Zombie");
  HWND peer = findPeer("Zombie");
  ASSERT_NE(peer, nullptr);
  kill(m_peer, SIGKILL);
  siginfo_t info{};
  ASSERT_EQ(waitid(P_PID, static_cast<id_t>(m_peer), &info, WEXITED | WNOWAIT), 0);
  EXPECT_FALSE(IsWindow(peer));
  EXPECT_EQ(FindWindowA("OrvanePeer", "Zombie"), nullptr);
  EXPECT_FALSE(PostMessageA(peer, WM_USER + 1, 1, 0));
}

// However far one step moves the shared clock, the other program's timer fires at each of
// its times, and the step returns once the program has handled it.
TEST_F(CrossProcessTest, AnotherProgramsTimerFiresAtItsTimeHoweverFastTheClockMoves) {
  ASSERT_TRUE(machine().shareClock());
  createHost();
  startPeer("Ticking");
  HWND peer = findPeer("Ticking");
  ASSERT_NE(peer, nullptr);
  plat::Robot robot;
  const DWORD set = startTicking(robot, peer, 250);
  robot.advance(2000);
  std::vector<WPARAM> expected;
  for (DWORD at = set + 250; at <= set + 2001; at += 250) expected.push_back(at);
  EXPECT_EQ(received(WM_USER + 8), expected);

  // One more period, one more firing, in steps of every size.
  recorder().clear();
  robot.advance(100);
  robot.advance(148);
  EXPECT_TRUE(received(WM_USER + 8).empty());
  robot.advance(1);
  EXPECT_EQ(received(WM_USER + 8), std::vector<WPARAM>{set + 2250});
}

// A program the shell starts keeps the clock of the program that started it: the test's
// manual clock, shared on the way, moves the started program's timer.
TEST_F(CrossProcessTest, AProgramTheShellStartsRunsOnItsStartersManualClock) {
  std::filesystem::copy_file(USER_PEER_PROGRAM, testMachine.programFolder() / "Peer");
  createHost();
  EXPECT_FALSE(machine().clock().isShared());
  const std::string peerExe = machine().paths().toWindows(testMachine.programFolder() / "Peer.exe");
  ASSERT_GT(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", peerExe.c_str(), "Started", nullptr, SW_SHOW)),
            32);
  EXPECT_TRUE(machine().clock().isShared());
  EXPECT_TRUE(machine().clock().isManual());
  HWND peer = findPeer("Started");
  ASSERT_NE(peer, nullptr);
  plat::Robot robot;
  const DWORD set = startTicking(robot, peer, 1000);
  robot.advance(3000);
  EXPECT_EQ(received(WM_USER + 8), (std::vector<WPARAM>{set + 1000, set + 2000, set + 3000}));
  PostMessageA(peer, WM_CLOSE, 0, 0);
  EXPECT_TRUE(serveUntil([] { return FindWindowA("OrvanePeer", "Started") == nullptr; }));
}

TEST_F(CrossProcessTest, OurOwnWindowsComeFirstThenTheMostRecentlyRaised) {
  startPeer("Orvane Media");
  ASSERT_NE(findPeer("Orvane Media"), nullptr);
  EXPECT_EQ(FindWindowA(nullptr, "Orvane Media"), FindWindowA("OrvanePeer", "Orvane Media"));
  HWND local = createRecorder("Orvane Media", WS_POPUP);
  EXPECT_EQ(FindWindowA(nullptr, "Orvane Media"), local);
}

TEST_F(CrossProcessTest, FindWindowExWalksEveryMatchAndSeesAnotherProgramsExtendedStyle) {
  startPeer("Orvane Media");
  HWND peer = findPeer("Orvane Media");
  ASSERT_NE(peer, nullptr);
  HWND local = createRecorder("Orvane Media", WS_POPUP);
  EXPECT_EQ(FindWindowExA(nullptr, nullptr, nullptr, "Orvane Media"), local);
  EXPECT_EQ(FindWindowExA(nullptr, local, nullptr, "Orvane Media"), peer);
  EXPECT_EQ(FindWindowExA(nullptr, peer, nullptr, "Orvane Media"), nullptr);
  EXPECT_EQ(FindWindowExA(local, nullptr, nullptr, nullptr), nullptr);

  EXPECT_EQ(GetWindowLongA(peer, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  SendMessageA(peer, WM_USER + 9, WS_EX_APPWINDOW, 0);
  EXPECT_EQ(GetWindowLongA(peer, GWL_EXSTYLE) & WS_EX_APPWINDOW, WS_EX_APPWINDOW);
}

}  // namespace
}  // namespace test

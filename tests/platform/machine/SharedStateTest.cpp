// State every process of a machine shares through files of its root: the clock once
// shared, the power state and the remote control's key queue. Two machine objects on one
// root stand for two processes.
#include <support/TestMachine.h>

#include <machine/ClockFollowers.h>
#include <machine/Machine.h>
#include <machine/PowerState.h>
#include <machine/RemoteControl.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

using SharedStateTest = test::MachineTest;

// Another program: a child process forked at once, before the test starts threads of its
// own (a child forked while another thread holds a lock, the allocator's under the address
// sanitizer, inherits it held), which runs `step` once started; its exit status says
// whether it went as expected.
class OtherProgram {
 public:
  template <class Step>
  explicit OtherProgram(Step step) {
    if (pipe(m_start) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      char go = 0;
      _exit(read(m_start[0], &go, 1) == 1 && step() ? 0 : 1);
    }
  }
  ~OtherProgram() {
    if (m_pid > 0 && !m_waited) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    for (int fd : m_start) close(fd);
  }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;

  void start() { ASSERT_EQ(write(m_start[1], "g", 1), 1); }
  bool exited() {
    if (m_pid <= 0) return false;
    int status = -1;
    waitpid(m_pid, &status, 0);
    m_waited = true;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

 private:
  int m_start[2] = {-1, -1};
  pid_t m_pid = -1;
  bool m_waited = false;
};

TEST_F(SharedStateTest, ASharedClockMovesForEveryProcessOfTheMachine) {
  const auto root = machine().root();
  // A real child process sees the same time.
  OtherProgram child([&] { return plat::Machine(root).clock().unixMs() == test::kStartUnixMs + 2000; });
  ASSERT_TRUE(machine().shareClock());
  plat::Machine other(machine().root());
  EXPECT_TRUE(other.clock().isShared());
  EXPECT_TRUE(other.clock().isManual());
  EXPECT_EQ(other.clock().unixMs(), test::kStartUnixMs);

  machine().clock().advance(1500);
  EXPECT_EQ(other.clock().unixMs(), test::kStartUnixMs + 1500);
  EXPECT_EQ(other.clock().sharedTickMs(), machine().clock().sharedTickMs());
  other.clock().advance(500);
  EXPECT_EQ(machine().clock().unixMs(), test::kStartUnixMs + 2000);

  child.start();
  EXPECT_TRUE(child.exited());

  // A sleep still moves only the sleeping thread's own view.
  other.clock().sleep(10000);
  EXPECT_EQ(machine().clock().unixMs(), test::kStartUnixMs + 2000);
}

TEST_F(SharedStateTest, AClockNotSharedStaysTheProcesssOwn) {
  plat::Machine other(machine().root());
  EXPECT_FALSE(other.clock().isShared());
  machine().clock().advance(1000);
  EXPECT_FALSE(other.clock().isManual());
}

TEST_F(SharedStateTest, PowerStateAndItsWakeTimeAreTheMachines) {
  plat::Machine other(machine().root());
  plat::PowerState& here = machine().service<plat::PowerState>();
  plat::PowerState& there = other.service<plat::PowerState>();
  here.armWake(test::kStartUnixMs + 60000);
  EXPECT_EQ(there.wakeTime(), test::kStartUnixMs + 60000);
  // Cancelling another time leaves it; cancelling its own clears it.
  there.cancelWake(test::kStartUnixMs);
  EXPECT_TRUE(here.wakeTime());
  there.cancelWake(test::kStartUnixMs + 60000);
  EXPECT_FALSE(here.wakeTime());

  here.suspend();
  EXPECT_TRUE(there.isSuspended());
  EXPECT_TRUE(there.resume("power button"));
  EXPECT_FALSE(here.isSuspended());
  EXPECT_FALSE(here.resume("power button"));  // not suspended: nothing to wake
}

TEST_F(SharedStateTest, RemoteKeysComeOnePollAtATimeWithTheHeldFlagAfterTheFirst) {
  plat::Machine other(machine().root());
  plat::RemoteControl& remote = machine().service<plat::RemoteControl>();
  plat::RemoteControl& reader = other.service<plat::RemoteControl>();
  ASSERT_TRUE(remote.press(16, 3));
  ASSERT_TRUE(remote.press(255));
  EXPECT_EQ(reader.pending(), 4);
  std::uint32_t w0 = 0, w1 = 0;
  const std::uint32_t expected[] = {0x1000, 0x1001, 0x1001, 0xFF00};
  for (const std::uint32_t word : expected) {
    ASSERT_TRUE(reader.take(w0, w1));
    EXPECT_EQ(w0, word);
    EXPECT_EQ(w1, plat::RemoteControl::kValid);
  }
  ASSERT_TRUE(reader.take(w0, w1));
  EXPECT_EQ(w0, plat::RemoteControl::kNoKey);
  EXPECT_EQ(remote.pending(), 0);
}

TEST_F(SharedStateTest, AClockLeftStandingByAProgramThatEndedRunsAgainForTheNext) {
  const auto root = machine().root();
  OtherProgram first([&] {
    plat::Machine program(root);
    program.clock().setManual(test::kStartUnixMs - 60000);
    return program.shareClock() && program.clock().isManual();
  });
  first.start();
  ASSERT_TRUE(first.exited());
  plat::Machine later(root);
  EXPECT_TRUE(later.clock().isShared());
  EXPECT_FALSE(later.clock().isManual()) << "its keeper is gone";

  // While the process that stopped it lives, the clock stays stopped for programs that start.
  later.clock().setManual(test::kStartUnixMs);
  plat::Machine another(root);
  EXPECT_TRUE(another.clock().isManual());
  EXPECT_EQ(another.clock().unixMs(), test::kStartUnixMs);
}

TEST_F(SharedStateTest, AnotherProcessHearsTheSharedClockMove) {
  ASSERT_TRUE(machine().shareClock());
  plat::Machine other(machine().root());
  std::atomic<int> heard{0};
  auto watch = other.clock().watchMoves([&] { ++heard; });
  machine().clock().advance(5);
  // Its watcher thread wakes on the page; bounded in real time, not polled by the test.
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (heard.load() == 0 && std::chrono::steady_clock::now() < limit) std::this_thread::yield();
  EXPECT_GT(heard.load(), 0);
}

TEST_F(SharedStateTest, AnotherProcesssStreamingThreadsHoldTheClockUntilIdleAndGiveTheirNextTime) {
  int toChild[2];
  int toParent[2];
  ASSERT_EQ(pipe(toChild), 0);
  ASSERT_EQ(pipe(toParent), 0);
  const auto root = machine().root();
  OtherProgram child([&] {
    plat::Machine program(root);
    const std::uint64_t now = program.clock().sharedTickMs();
    auto& published = program.service<plat::ClockFollowers>();
    published.changes();  // maps the page
    char go = 0;
    published.publishStreams(1, std::nullopt);
    if (write(toParent[1], "a", 1) != 1 || read(toChild[0], &go, 1) != 1) return false;
    published.publishStreams(0, now + 40);
    return write(toParent[1], "b", 1) == 1 && read(toChild[0], &go, 1) == 1;
  });
  ASSERT_TRUE(machine().shareClock());
  auto& followers = machine().service<plat::ClockFollowers>();
  const std::uint64_t now = machine().clock().sharedTickMs();
  child.start();
  char seen = 0;
  ASSERT_EQ(read(toParent[0], &seen, 1), 1);
  std::string laggard;
  EXPECT_FALSE(followers.othersSettled(now, &laggard)) << "one of its streaming threads is busy";
  EXPECT_NE(laggard.find("streaming threads (1 busy"), std::string::npos) << laggard;
  ASSERT_EQ(write(toChild[1], "x", 1), 1);
  ASSERT_EQ(read(toParent[0], &seen, 1), 1);
  EXPECT_TRUE(followers.othersSettled(now));
  EXPECT_TRUE(followers.othersSettled(now + 39));
  EXPECT_FALSE(followers.othersSettled(now + 40)) << "one of them waits for that time";
  EXPECT_EQ(followers.nextDueElsewhere(now), now + 40);
  ASSERT_EQ(write(toChild[1], "x", 1), 1);
  EXPECT_TRUE(child.exited());
  EXPECT_TRUE(followers.othersSettled(now + 40)) << "a program that ended holds nothing";
  for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) close(fd);
}

}  // namespace

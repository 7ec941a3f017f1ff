// State every process of a machine shares through files of its root: the clock once
// shared, the power state and the remote control's key queue. Two machine objects on one
// root stand for two processes.
#include <support/TestMachine.h>

#include <machine/Machine.h>
#include <machine/PowerState.h>
#include <machine/RemoteControl.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using SharedStateTest = test::MachineTest;

TEST_F(SharedStateTest, ASharedClockMovesForEveryProcessOfTheMachine) {
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

  // A real child process sees the same time.
  const pid_t child = fork();
  if (child == 0) {
    plat::Machine inChild(machine().root());
    _exit(inChild.clock().unixMs() == test::kStartUnixMs + 2000 ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

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

}  // namespace

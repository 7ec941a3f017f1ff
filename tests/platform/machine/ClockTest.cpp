#include <support/TestMachine.h>

#include <machine/Clock.h>

#include <thread>

namespace {

using ClockTest = test::MachineTest;

TEST_F(ClockTest, ManualClockStandsStillUntilAdvanced) {
  plat::Clock& clock = machine().clock();
  const auto tick = clock.tickMs();
  EXPECT_EQ(clock.unixMs(), test::kStartUnixMs);
  clock.advance(20'000);
  EXPECT_EQ(clock.tickMs(), tick + 20'000);
  EXPECT_EQ(clock.unixMs(), test::kStartUnixMs + 20'000);
}

TEST_F(ClockTest, SleepOnManualClockMovesOnlyTheSleepingThread) {
  plat::Clock& clock = machine().clock();
  const auto before = clock.tickMs();
  std::uint64_t workerSeen = 0;
  std::thread worker([&] {
    clock.sleep(600);
    clock.sleep(600);
    workerSeen = clock.tickMs();
  });
  worker.join();
  EXPECT_EQ(workerSeen, before + 1200);
  EXPECT_EQ(clock.tickMs(), before);
  clock.sleep(100);
  EXPECT_EQ(clock.tickMs(), before + 100);
}

TEST_F(ClockTest, LocalTimeFollowsTheMachineOffsetWithoutDaylightSaving) {
  plat::Clock& clock = machine().clock();
  clock.setUtcOffsetMinutes(8 * 60);
  std::tm local = clock.toLocal(clock.unixSeconds());
  EXPECT_EQ(local.tm_year, 124);
  EXPECT_EQ(local.tm_mon, 2);
  EXPECT_EQ(local.tm_mday, 1);
  EXPECT_EQ(local.tm_hour, 20);
  EXPECT_EQ(local.tm_wday, 5);
  EXPECT_EQ(local.tm_yday, 60);  // 2024 is a leap year
  EXPECT_EQ(clock.fromLocal(local), clock.unixSeconds());
}

TEST_F(ClockTest, FromLocalCarriesOutOfRangeFields) {
  plat::Clock& clock = machine().clock();
  std::tm t{};
  t.tm_year = 123;
  t.tm_mon = 11;
  t.tm_mday = 31;
  t.tm_hour = 23;
  t.tm_min = 59;
  t.tm_sec = 60;  // one second past the year's end
  std::tm back = clock.toLocal(clock.fromLocal(t));
  EXPECT_EQ(back.tm_year, 124);
  EXPECT_EQ(back.tm_mon, 0);
  EXPECT_EQ(back.tm_mday, 1);
  EXPECT_EQ(back.tm_hour, 0);
  EXPECT_EQ(back.tm_sec, 0);
  t.tm_mon = 13;  // February of the next year
  t.tm_mday = 1;
  t.tm_sec = 0;
  back = clock.toLocal(clock.fromLocal(t));
  EXPECT_EQ(back.tm_year, 124);
  EXPECT_EQ(back.tm_mon, 1);
}

}  // namespace

namespace {

TEST_F(ClockTest, TheThreadThatLastStoppedOrMovedTheClockDrivesIt) {
  plat::Clock& clock = machine().clock();
  EXPECT_TRUE(clock.drivenByThisThread()) << "the test stopped it";
  bool workerDrives = true;
  std::thread([&] { workerDrives = clock.drivenByThisThread(); }).join();
  EXPECT_FALSE(workerDrives);
  std::thread([&] { clock.advance(1); }).join();
  EXPECT_FALSE(clock.drivenByThisThread()) << "the worker moved it last";
}

TEST_F(ClockTest, WatchesHearEveryChangeUntilLetGo) {
  plat::Clock& clock = machine().clock();
  int heard = 0;
  auto watch = clock.watchMoves([&] { ++heard; });
  clock.advance(10);
  clock.setManual(test::kStartUnixMs);
  EXPECT_EQ(heard, 2);
  watch.reset();
  clock.advance(10);
  EXPECT_EQ(heard, 2);
}

}  // namespace

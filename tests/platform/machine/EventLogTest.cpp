#include <support/TestMachine.h>

#include <machine/EventLog.h>

#include <fstream>
#include <map>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using EventLogTest = test::MachineTest;

TEST_F(EventLogTest, EntriesCarryLocalTimeCategoryAndText) {
  machine().clock().setUtcOffsetMinutes(60);
  const plat::EventLog power = plat::EventLog::power(machine());
  EXPECT_EQ(power.path(), machine().root() / "power.log");
  ASSERT_TRUE(power.write("SetSystemPowerState", "suspend=1 force=0"));
  machine().clock().advance(1'234);
  ASSERT_TRUE(power.write("ExitWindowsEx", "flags=13"));

  const auto entries = power.read();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].time, "2024-03-01 13:00:00.000");
  EXPECT_EQ(entries[0].category, "SetSystemPowerState");
  EXPECT_EQ(entries[0].text, "suspend=1 force=0");
  EXPECT_EQ(entries[1].time, "2024-03-01 13:00:01.234");
  EXPECT_EQ(entries[1].text, "flags=13");

  const plat::EventLog events = plat::EventLog::events(machine());
  EXPECT_EQ(events.path(), machine().root() / "events.log");
  EXPECT_TRUE(events.read().empty());  // the two logs are apart, and a missing file is empty
}

TEST_F(EventLogTest, AnEntryStaysOneLineWhateverItsText) {
  const plat::EventLog events = plat::EventLog::events(machine());
  ASSERT_TRUE(events.write("Shell\tExecute", "open\r\nC:\\a.txt\tnow"));
  ASSERT_TRUE(events.write("Help", ""));
  const auto entries = events.read();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].category, "Shell Execute");
  EXPECT_EQ(entries[0].text, "open  C:\\a.txt now");
  EXPECT_EQ(entries[1].category, "Help");
  EXPECT_EQ(entries[1].text, "");
}

TEST_F(EventLogTest, ReaderSkipsLinesThatAreNotEntries) {
  const plat::EventLog events = plat::EventLog::events(machine());
  {
    std::ofstream out(events.path(), std::ios::binary);
    out << "garbage\n\n2024-03-01 12:00:00.000\tonly-two-fields\n2024-03-01 12:00:00.000\tKept\ttext\n"
           "2024-03-01 12:00:00.000\tTruncated\tno newline";
  }
  const auto entries = events.read();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].category, "Kept");
  EXPECT_EQ(entries[1].text, "no newline");
}

// Every writer's entries arrive whole: `writers` × `each` entries with texts "w<i>-<n>".
void expectWholeEntries(const plat::EventLog& log, int writers, int each) {
  const auto entries = log.read();
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(writers * each));
  std::map<std::string, int> next;
  for (const auto& entry : entries) {
    ASSERT_EQ(entry.category, "Load");
    const auto dash = entry.text.find('-');
    ASSERT_NE(dash, std::string::npos) << entry.text;
    const std::string writer = entry.text.substr(0, dash);
    EXPECT_EQ(entry.text.substr(dash + 1), std::to_string(next[writer]++)) << "entries of one writer out of order";
  }
  EXPECT_EQ(next.size(), static_cast<std::size_t>(writers));
}

TEST_F(EventLogTest, ThreadsWritingAtOnceNeverInterleave) {
  const plat::EventLog events = plat::EventLog::events(machine());
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&events, t] {
      for (int i = 0; i < 200; ++i) events.write("Load", "w" + std::to_string(t) + "-" + std::to_string(i));
    });
  }
  for (auto& thread : threads) thread.join();
  expectWholeEntries(events, 8, 200);
}

TEST_F(EventLogTest, ProcessesWritingAtOnceNeverInterleave) {
  const plat::EventLog power = plat::EventLog::power(machine());
  std::vector<pid_t> children;
  for (int p = 0; p < 4; ++p) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0; i < 200; ++i) power.write("Load", "w" + std::to_string(p) + "-" + std::to_string(i));
      _exit(0);
    }
    children.push_back(child);
  }
  for (const pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  expectWholeEntries(power, 4, 200);
}

}  // namespace

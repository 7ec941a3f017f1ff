// Debug output lands in the machine's debug.log and in the list tests read, one line per
// message, from any thread.
#include <support/TestMachine.h>

#include <win32/debug.h>
#include <win32/system/DebugOutput.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using DebugTest = test::MachineTest;
using Lines = std::vector<std::string>;

std::string fileText(const std::filesystem::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

TEST_F(DebugTest, MessagesAreKeptAndLogged) {
  EXPECT_TRUE(plat::DebugOutput::current().lines().empty());  // a new machine starts with none
  OutputDebugStringA("queue: sample delivery failed\r\n");
  OutputDebugStringA("second");
  OutputDebugStringA(nullptr);
  EXPECT_EQ(plat::DebugOutput::current().lines(),
            (Lines{"queue: sample delivery failed", "second"}));
  EXPECT_EQ(plat::DebugOutput::current().logFile(), testMachine.root() / "debug.log");
  EXPECT_EQ(fileText(testMachine.root() / "debug.log"), "queue: sample delivery failed\nsecond\n");
}

TEST_F(DebugTest, ThreadsNeverInterleaveWithinALine) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      const std::string text = "thread " + std::to_string(t) + std::string(200, 'x');
      for (int i = 0; i < 50; ++i) OutputDebugStringA(text.c_str());
    });
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(plat::DebugOutput::current().lines().size(), 200u);
  std::istringstream log(fileText(testMachine.root() / "debug.log"));
  int count = 0;
  for (std::string line; std::getline(log, line); ++count) {
    ASSERT_EQ(line.size(), 208u);
    EXPECT_EQ(line.compare(0, 7, "thread "), 0);
  }
  EXPECT_EQ(count, 200);
}

}  // namespace

// The record plan road in the built programs. On the machine clock the test shares with
// them: with the scheduler running, the demo's plan script walks "Orvane Media" from the
// launcher through the settings hub to the record plan list and adds an entry in the entry
// editor; saving writes the schedule file and the scheduler reads it again. The program
// closed and the PC stood by, the scheduler's wake-up brings the PC back two minutes
// before the entry, starts the program for it, the program records and the PC stands by.
// And as a user runs the demo: its two scripts one after the other, each on its own clock.
#include "ProgramsTest.h"

#include "core/CScheduleList.h"

#include "Ffprobe.h"

#include <machine/EventLog.h>
#include <machine/PowerState.h>
#include <win32/user.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class PlanRoadTest : public test::ProgramsTest {
 protected:
  // The program folder as the installer leaves it.
  explicit PlanRoadTest(bool shareClock = true) : ProgramsTest(shareClock) { installMainProgram(); }
  // A demo script, without its clock line when the test's clock is the machine's.
  static std::string demoScript(const char* path, bool withClock) {
    std::ifstream file(path);
    std::string script;
    for (std::string line; std::getline(file, line);)
      if (withClock || line.rfind("clock ", 0) != 0) script += line + "\n";
    return script;
  }
  std::vector<std::string> log(const plat::EventLog& events, const std::string& category) {
    std::vector<std::string> texts;
    for (const auto& entry : events.read())
      if (category.empty() || entry.category == category) texts.push_back(entry.category + " " + entry.text);
    return texts;
  }
  std::vector<std::string> power(const std::string& category = "") {
    return log(plat::EventLog::power(machine()), category);
  }
  std::vector<std::string> programStarts() { return log(plat::EventLog::events(machine()), "shell-execute"); }
  std::filesystem::path file(const std::string& name) { return testMachine.programFolder() / name; }
  std::vector<std::string> powerSequence() {
    std::vector<std::string> sequence;
    for (const std::string& line : power())
      if (line.rfind("standby", 0) == 0 || line.rfind("wake ", 0) == 0) sequence.push_back(line.substr(0, line.find(' ')));
    return sequence;
  }
  // The run ends at the timer's tick after the entry's ten seconds, so the recording holds
  // eleven seconds of pictures and sound.
  void expectTheRecording() {
    const std::string recording = file("Videos/cap00.mpg").string();
    EXPECT_NEAR(test::FfprobeStreamSeconds(recording, "v"), 11.0, 0.2);
    EXPECT_NEAR(test::FfprobeStreamSeconds(recording, "a"), 11.0, 0.2);
  }
  void expectTheScreenshots() {
    EXPECT_TRUE(std::filesystem::exists(testMachine.root() / "plan_entry_editor.png"));
    EXPECT_TRUE(std::filesystem::exists(testMachine.root() / "plan_list.png"));
  }
};

// Each script drives the clock of its own program and of those it starts.
class PlanDemoTest : public PlanRoadTest {
 protected:
  PlanDemoTest() : PlanRoadTest(false) {}
};

TEST_F(PlanRoadTest, AnEntryAddedInThePlanListWakesThePcRecordsAndStandsItByAgain) {
  start("Calvendor");
  ASSERT_NE(waitForWindow("TALVIK Norlet Schedule"), nullptr);
  ASSERT_FALSE(std::filesystem::exists(file("schedulefile.she")));

  const pid_t program = start("Orvane Media", demoScript(PLAN_ROAD_SCRIPT, false));
  ASSERT_NE(program, 0);
  ASSERT_EQ(waitForExit(program), 0);
  expectTheScreenshots();

  CScheduleList saved;
  ASSERT_EQ(saved.Load(programPath("schedulefile.she").c_str()), 1);
  ASSERT_EQ(saved.GetCount(), 1);
  const CScheduleItem& entry = *saved.GetAt(0);
  EXPECT_EQ(entry.start, test::kStartUnixMs / 1000 + 600) << "today at 12:10";
  EXPECT_EQ(entry.duration, 10);
  EXPECT_EQ(entry.recurrence, 8);
  EXPECT_EQ(entry.source, 0);
  EXPECT_EQ(entry.channel1, 3);
  EXPECT_EQ(entry.mode, 1);
  EXPECT_EQ(entry.action, 2);
  EXPECT_EQ(entry.flag, 1);

  // The scheduler started before the file existed: only the reload it was told of arms
  // the wake-up for this entry.
  robot.pressSleepButton();
  ASSERT_TRUE(machine().service<plat::PowerState>().isSuspended());
  EXPECT_EQ(power("wake-timer"), (std::vector<std::string>{"wake-timer armed for 2024-03-01 12:08:00"}));
  const std::int64_t wakeUp = test::kStartUnixMs / 1000 + 480;
  robot.advance(static_cast<std::uint64_t>(wakeUp - machine().clock().unixSeconds()) * 1000);
  EXPECT_EQ(power("wake"), (std::vector<std::string>{"wake wake-up timer"}));
  EXPECT_EQ(machine().clock().unixSeconds(), wakeUp);

  ASSERT_TRUE(advanceUntil(150000, 1000, [&] { return !programStarts().empty(); }));
  EXPECT_EQ(programStarts(), (std::vector<std::string>{"shell-execute " + programPath("Orvane Media.exe") + " ant"}));
  ASSERT_TRUE(waitUntil([&] { return FindWindowA("#32770", "Orvane Media") != nullptr; }));
  ASSERT_TRUE(advanceUntil(200000, 1000, [&] { return machine().service<plat::PowerState>().isSuspended(); }));
  EXPECT_EQ(powerSequence(), (std::vector<std::string>{"standby", "wake", "standby"}));
  expectTheRecording();
}

TEST_F(PlanDemoTest, TheDemosTwoScriptsWalkTheRoadAsAUserRunsThem) {
  const pid_t program = start("Orvane Media", demoScript(PLAN_ROAD_SCRIPT, true));
  ASSERT_NE(program, 0);
  ASSERT_EQ(waitForExit(program), 0);
  expectTheScreenshots();
  ASSERT_TRUE(std::filesystem::exists(file("schedulefile.she")));

  const pid_t scheduler = start("Calvendor", demoScript(PLAN_SCHEDULER_SCRIPT, true));
  ASSERT_NE(scheduler, 0);
  EXPECT_EQ(waitForExit(scheduler), 0);
  EXPECT_EQ(power("wake-timer"), (std::vector<std::string>{"wake-timer armed for 2024-03-01 12:08:00",
                                                            "wake-timer cancelled 2024-03-01 12:08:00"}))
      << "the scheduler's close cancels its timer";
  EXPECT_EQ(programStarts(), (std::vector<std::string>{"shell-execute " + programPath("Orvane Media.exe") + " ant"}));
  EXPECT_EQ(powerSequence(), (std::vector<std::string>{"standby", "wake", "standby", "wake"}))
      << "the power button ends it";
  expectTheRecording();
}

}  // namespace

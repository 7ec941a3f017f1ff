// The record plan road in the built programs. On the machine clock the test shares with
// them: with the scheduler running, the demo's plan script walks "Orvane Media" from the
// launcher through the settings hub to the record plan list and adds an entry in the entry
// editor; saving writes the schedule file and the scheduler reads it again. The program
// closed and the PC stood by, the scheduler's wake-up brings the PC back two minutes
// before the entry, starts the program for it, the program records and the PC stands by.
// And as a user runs the demo: its two scripts one after the other, each on its own clock.
// An entry deleted right after another was changed leaves the list as the file holds it.
#include "ProgramsTest.h"

#include "core/CScheduleList.h"

#include "Ffprobe.h"

#include <machine/EventLog.h>
#include <support/PictureFiles.h>
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

// Three entries planned; the second changed and saved, then the third marked and deleted.
// The file holds two, and the screen shows two: where the third stood the list is black,
// without its date or mark.
TEST_F(PlanRoadTest, AnEntryDeletedRightAfterAChangeLeavesTheScreenAsTheFileHoldsIt) {
  CScheduleList planned;
  for (int day = 2; day <= 4; ++day) {
    CScheduleItem item;
    item.start = static_cast<std::int32_t>(test::kStartUnixMs / 1000 + day * 86400);
    item.duration = 60;
    item.recurrence = 8;
    item.source = 0;
    item.channel1 = 3;
    item.mode = 1;
    planned.Add(&item);
  }
  ASSERT_EQ(planned.Save(programPath("schedulefile.she").c_str()), 1);
  // The list's rows are 55 high from y 100: row 2 at 182, row 3 at 237.
  const pid_t program = start("Orvane Media", R"(window "#32770" "Orvane Media"
key CTRL+S
window "#32770" "Orvane Media_SetDlg"
wait 1000
clickat 216 392
window "#32770" "Orvane Media_RecordDlg"
wait 500
clickat 400 182
clickat 924 180
window "#32770" "Orvane Media_ScheduleDlg"
wait 500
clickat 596 728
window "#32770" "Orvane Media_RecordDlg"
wait 500
clickat 400 237
clickat 924 380
wait 500
screenshot plan_list_after_delete
clickat 986 38
)");
  ASSERT_NE(program, 0);
  ASSERT_EQ(waitForExit(program), 0);

  CScheduleList saved;
  ASSERT_EQ(saved.Load(programPath("schedulefile.she").c_str()), 1);
  EXPECT_EQ(saved.GetCount(), 2);
  const test::TestPicture screen = test::ReadPngFile(testMachine.root() / "plan_list_after_delete.png");
  ASSERT_EQ(screen.width, 1024);
  // The band of the third row, inside its frame: all black.
  int lit = 0;
  for (int y = 212; y < 264; ++y)
    for (int x = 42; x < 798; ++x) lit += screen.at(x, y)[0] || screen.at(x, y)[1] || screen.at(x, y)[2];
  EXPECT_EQ(lit, 0) << "the deleted row is still drawn";
}

}  // namespace

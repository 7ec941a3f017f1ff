// Robot scripts: parsed with clear errors, and run inside a real program to its end.
#include <robot/RobotScript.h>
#include <support/ProgramRun.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

namespace test {
namespace {

class RobotScriptTest : public MachineTest {
 protected:
  // Runs the demo program on this test's machine with `script` as its robot script.
  ProgramRun runDemo(const std::string& script) {
    const auto file = testMachine.root() / "demo.robot";
    std::ofstream(file) << script;
    return RunProgram(testMachine, ROBOT_DEMO_PROGRAM, {}, file);
  }
};

TEST_F(RobotScriptTest, ScriptsAreCheckedBeforeTheyRun) {
  EXPECT_NO_THROW(plat::RobotScript("# comment\n\nwindow * \"Title\"\nclick 5\nwait 1000\n", "ok.robot"));
  try {
    plat::RobotScript("click 1\nfly away\n", "bad.robot");
    FAIL() << "an unknown verb was accepted";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "bad.robot:2: unknown verb 'fly'");
  }
  EXPECT_THROW(plat::RobotScript("window \"#32770\"\n", "x"), std::runtime_error);
  EXPECT_THROW(plat::RobotScript("type \"open\n", "x"), std::runtime_error);
}

TEST_F(RobotScriptTest, AVerbThatFailsStopsTheScriptWithItsLine) {
  plat::RobotScript script("expect-window \"#32770\" \"Nowhere\"\nclick 1\n", "check.robot");
  std::string failure;
  script.onFailure([&](const std::string& message) { failure = message; });
  EXPECT_EQ(script.step(), 0);
  EXPECT_EQ(failure, "check.robot:1: expect-window: no such window");
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(script.step(), -1);
}

TEST_F(RobotScriptTest, AScriptDrivesTheDemoProgramToItsEnd) {
  const ProgramRun run = runDemo(
      "clock manual 2024-03-01 12:00:00\n"
      "window \"#32770\" \"Robot Demo\"\n"
      "click 1001\n"
      "click 1001\n"
      "click 1001\n"
      "expect-text 1002 \"Count: 3\"\n"
      "wait 2500\n"
      "expect-text 1004 \"Seconds: 2\"\n"
      "click 1003\n"
      "type \"Hello\"\n"
      "click 1\n"
      "window \"#32770\" \"Demo Question\"\n"
      "expect-text 65535 \"Save the count?\"\n"
      "click 6\n");
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_EQ(run.out, "clicks=3 seconds=2 answer=6 typed=Hello\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(RobotScriptTest, KeysAndQueuedAnswersWorkInAScriptToo) {
  const ProgramRun run = runDemo(
      "clock manual\n"
      "window * \"Robot Demo\"\n"
      "key RETURN\n"  // the focused push button takes Enter
      "click 1003\n"
      "answer NO\n"
      "key RETURN\n");  // in the edit, Enter presses the default button
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "clicks=1 seconds=0 answer=7 typed=\n");
}

TEST_F(RobotScriptTest, AFailingVerbEndsTheProgramWithAClearMessage) {
  const ProgramRun run = runDemo(
      "clock manual\n"
      "window \"#32770\" \"Robot Demo\"\n"
      "click 1001\n"
      "expect-text 1002 \"Count: 5\"\n");
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("demo.robot:4: expect-text: the text is \"Count: 1\", not \"Count: 5\""), std::string::npos)
      << run.err;
  EXPECT_EQ(run.out, "");
}

TEST_F(RobotScriptTest, AProgramThatEndsBeforeItsScriptIsReported) {
  const ProgramRun run = runDemo(
      "clock manual\n"
      "window \"#32770\" \"Robot Demo\"\n"
      "answer YES\n"
      "click 1\n"
      "click 1001\n");
  EXPECT_EQ(run.status, 4);
  EXPECT_NE(run.err.find("demo.robot:5: the program ended before 'click'"), std::string::npos) << run.err;
}

TEST_F(RobotScriptTest, PointsInTheWindowAreClickedAndDoubleClicked) {
  const ProgramRun run = runDemo(
      "clock manual\n"
      "window \"#32770\" \"Robot Demo\"\n"
      "clickat 50 22\n"        // the Count button, by its place in the client area
      "doubleclickat 50 22\n"  // a double click presses it twice
      "expect-text 1002 \"Count: 3\"\n"
      "doubleclickat 300 150\n"  // nothing there
      "expect-text 1002 \"Count: 3\"\n"
      "answer NO\n"
      "click 1\n");
  EXPECT_EQ(run.status, 3) << run.err;  // the demo ends with its count
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, "clicks=3 seconds=0 answer=7 typed=\n");
}

}  // namespace
}  // namespace test

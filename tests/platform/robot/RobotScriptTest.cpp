// Robot scripts: parsed with clear errors, and run inside a real program to its end.
#include <machine/PowerState.h>
#include <machine/RemoteControl.h>
#include <robot/RobotScript.h>
#include <win32/handleapi.h>
#include <win32/sync.h>
#include <win32/thread.h>
#include <win32/time.h>
#include <win32/user.h>
#include <support/ProgramRun.h>

#include <cstdint>
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

// Runs `text` verb by verb on this thread; the first failure's message, or "".
std::string RunVerbs(const std::string& text) {
  plat::RobotScript script(text, "power.robot");
  std::string failure;
  script.onFailure([&](const std::string& message) { failure = message; });
  while (!script.finished()) script.step();
  return failure;
}

TEST_F(RobotScriptTest, TheStickRemoteTakesKeysFromNoughtTo255HeldForOnePollOrMore) {
  EXPECT_EQ(RunVerbs("remote 0\nremote 255 3\n"), "");
  EXPECT_EQ(machine().service<plat::RemoteControl>().pending(), 4);
  EXPECT_EQ(RunVerbs("remote 256\n"), "power.robot:1: remote: '256' is no remote key");
  EXPECT_EQ(RunVerbs("remote -1\n"), "power.robot:1: remote: '-1' is no remote key");
  EXPECT_EQ(RunVerbs("remote 20 0\n"), "power.robot:1: remote: '0' is no number of polls");
  EXPECT_EQ(machine().service<plat::RemoteControl>().pending(), 4);
  EXPECT_THROW(plat::RobotScript("remote\n", "x"), std::runtime_error);
}

TEST_F(RobotScriptTest, TheSleepButtonStandsThePcByAndThePowerButtonWakesIt) {
  EXPECT_EQ(RunVerbs("expect-power on\nsleep-button\nexpect-power standby\npower-button\nexpect-power on\n"), "");
  EXPECT_FALSE(machine().service<plat::PowerState>().isSuspended());
  EXPECT_EQ(RunVerbs("power-button\n"), "power.robot:1: power-button: the PC was not standing by");
  EXPECT_EQ(RunVerbs("expect-power standby\n"), "power.robot:1: expect-power: the PC is on");
  EXPECT_EQ(RunVerbs("expect-power asleep\n"), "power.robot:1: expect-power: 'asleep' is not on, standby or off");
  machine().service<plat::PowerState>().powerOff("a test");
  EXPECT_EQ(RunVerbs("expect-power off\n"), "");
}

// A control enabled by work the program does on a thread of its own is waited for: on a
// manual clock that work takes the machine's time, which runs for up to 10 minutes.
struct Enabling {
  HWND control;
  DWORD afterMs;
};

DWORD WINAPI EnableLater(LPVOID parameter) {
  const auto* enabling = static_cast<Enabling*>(parameter);
  Sleep(enabling->afterMs);
  EnableWindow(enabling->control, TRUE);
  return 0;
}

class WaitEnabledTest : public RobotScriptTest {
 protected:
  WaitEnabledTest() {
    window = CreateWindowExA(0, "STATIC", "Waiting", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                             nullptr);
    control = CreateWindowExA(0, "BUTTON", "Go", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0, 50, 20, window,
                              reinterpret_cast<HMENU>(7), nullptr, nullptr);
  }
  ~WaitEnabledTest() override { DestroyWindow(window); }
  // Runs "wait-enabled 7" with the control enabled by a thread after `afterMs` of its sleep;
  // the failure, if any, and the machine's time it took.
  std::string waitFor(DWORD afterMs, std::uint64_t& tookMs) {
    plat::RobotScript script("window * \"Waiting\"\nwait-enabled 7\n", "wait.robot");
    std::string failure;
    script.onFailure([&](const std::string& message) { failure = message; });
    Enabling enabling{control, afterMs};
    const std::uint64_t start = machine().clock().tickMs();
    HANDLE thread = CreateThread(nullptr, 0, EnableLater, &enabling, 0, nullptr);
    while (!script.finished()) script.step();
    tookMs = machine().clock().tickMs() - start;
    // Its time runs out; what it sends this thread is served meanwhile.
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
      MSG message;
      PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
    CloseHandle(thread);
    return failure;
  }
  HWND window = nullptr;
  HWND control = nullptr;
};

TEST_F(WaitEnabledTest, OnAManualClockTheMachinesTimeRunsUntilTheControlIsEnabled) {
  std::uint64_t took = 0;
  EXPECT_EQ(waitFor(2000, took), "");
  EXPECT_EQ(took, 2000u);
  EnableWindow(control, FALSE);
  EXPECT_EQ(waitFor(10 * 60 * 1000, took), "") << "enabled at the limit";
  EnableWindow(control, FALSE);
  EXPECT_EQ(waitFor(10 * 60 * 1000 + 1, took), "wait.robot:2: wait-enabled: the control stayed disabled");
  EXPECT_EQ(took, 10u * 60 * 1000);
}

TEST_F(WaitEnabledTest, OnARealClockItIsLookedAtAgainLaterAndAMissingControlFails) {
  machine().clock().setReal();
  plat::RobotScript script("window * \"Waiting\"\nwait-enabled 7\nwait-enabled 8\n", "wait.robot");
  std::string failure;
  script.onFailure([&](const std::string& message) { failure = message; });
  EXPECT_EQ(script.step(), 0);  // the window
  EXPECT_GT(script.step(), 0) << "still disabled: looked at again later";
  EXPECT_EQ(script.current()->line, 2);
  EnableWindow(control, TRUE);
  EXPECT_EQ(script.step(), 0);
  EXPECT_EQ(script.current()->line, 3);
  script.step();
  EXPECT_EQ(failure, "wait.robot:3: wait-enabled: no control 8 in the window");
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

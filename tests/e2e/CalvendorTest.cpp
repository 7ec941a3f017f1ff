// The scheduler program "Calvendor" as a real process beside the main program: one
// instance per machine, its tray icon, the planned items that wake the PC from stand-by
// and start the main program, stand-by and shut-down after a recording, and the remote
// control relayed to the main program.
#include "ProgramsTest.h"

#include "core/CScheduleItem.h"
#include "core/CScheduleList.h"

#include "Ffprobe.h"
#include "MpegFileProbe.h"

#include <machine/EventLog.h>
#include <machine/PowerState.h>
#include <win32/user.h>

#include <signal.h>

#include <algorithm>
#include <fstream>

namespace {

constexpr char kSchedulerTitle[] = "TALVIK Norlet Schedule";
constexpr char kMainTitle[] = "Orvane Media";
constexpr UINT kRemoteKey = 0x46D;

class CalvendorTest : public test::ProgramsTest {
 protected:
  explicit CalvendorTest(bool shareClock = true) : ProgramsTest(shareClock) {}

  // Plans one item through the program's schedule list, `minutes` from now, and tells the
  // running scheduler to read the file again.
  void plan(int minutes, int mode, int action) {
    writePlan(static_cast<std::int32_t>(machine().clock().unixSeconds() + minutes * 60), mode, action);
    SendMessageA(FindWindowA("#32770", kSchedulerTitle), WM_COMMAND, CScheduleList::IDC_RELOAD_SCHEDULE, 0);
  }
  // The schedule file with one item of ten seconds on channel 3, once at `start`.
  void writePlan(std::int32_t start, int mode, int action) {
    CScheduleItem item;
    item.start = start;
    item.duration = 10;
    item.recurrence = 8;
    item.channel1 = 3;
    item.source = 0;
    item.mode = mode;
    item.action = action;
    CScheduleList list;
    ASSERT_EQ(list.Add(&item), 1);
    ASSERT_EQ(list.Save(programPath("schedulefile.she").c_str()), 1);
  }

  std::vector<std::string> power(const std::string& category) {
    std::vector<std::string> texts;
    for (const auto& entry : plat::EventLog::power(machine()).read()) {
      if (entry.category == category) texts.push_back(entry.text);
    }
    return texts;
  }
  std::vector<std::string> powerSequence() {
    std::vector<std::string> sequence;
    for (const auto& entry : plat::EventLog::power(machine()).read()) {
      if (entry.category == "standby" || entry.category == "wake" || entry.category == "shutdown")
        sequence.push_back(entry.category);
    }
    return sequence;
  }
  std::vector<std::string> starts() {
    std::vector<std::string> texts;
    for (const auto& entry : plat::EventLog::events(machine()).read()) {
      if (entry.category == "shell-execute") texts.push_back(entry.text);
    }
    return texts;
  }
  HWND mainWindow() { return FindWindowA("#32770", kMainTitle); }

  // The scheduler running, with the main program installed beside it; its window.
  HWND startBesideTheMainProgram() {
    installMainProgram();
    start("Calvendor");
    return waitForWindow(kSchedulerTitle);
  }

  // Stand-by with the main program closed; the armed wake-up time then wakes the PC and
  // the scheduler starts the main program with "ant" before the item.
  void sleepUntilTheItemWakesThePc() {
    ASSERT_EQ(mainWindow(), nullptr);
    robot.pressSleepButton();
    ASSERT_EQ(power("wake-timer"), (std::vector<std::string>{"armed for 2024-03-01 12:00:00"}));
    ASSERT_TRUE(machine().service<plat::PowerState>().isSuspended());
    robot.advance(1000);
    EXPECT_EQ(power("wake"), (std::vector<std::string>{"wake-up timer"}));
    untilTheSchedulerStartsTheMainProgram();
  }

  // The clock moves until the scheduler starts the main program for the item, and then
  // stands while the main program starts up (it writes its channel file last).
  void untilTheSchedulerStartsTheMainProgram() {
    ASSERT_TRUE(advanceUntil(150000, 1000, [&] { return !starts().empty(); }));
    EXPECT_EQ(starts(), (std::vector<std::string>{programPath("Orvane Media.exe") + " ant"}));
    EXPECT_LT(machine().clock().unixSeconds(), test::kStartUnixMs / 1000 + 120);
    ASSERT_TRUE(waitUntil([&] {
      return mainWindow() != nullptr && std::filesystem::exists(testMachine.programFolder() / "ZRQChannels.chl");
    }));
  }
};

// The scheduler under a robot script that drives the machine's clock itself: the test shares
// nothing, and the main program the scheduler starts keeps the scheduler's time.
class CalvendorScriptTest : public CalvendorTest {
 protected:
  CalvendorScriptTest() : CalvendorTest(false) {}
};

TEST_F(CalvendorScriptTest, AScriptOnTheManualClockSeesAPlannedRecordingWakeThePcAndStandItByAgain) {
  installMainProgram();
  writePlan(static_cast<std::int32_t>(test::kStartUnixMs / 1000), 1, 2);  // 12:00:00, record, then stand-by
  // The remote's power key starts the main program, which the user closes; the sleep
  // button stands the PC by. The clock wakes it two minutes before the item, the scheduler
  // starts the main program for it, the main program records its ten seconds and asks for
  // stand-by, which the scheduler carries out ten seconds later.
  const pid_t scheduler = start("Calvendor", R"(clock manual 2024-03-01 11:50:00
window "#32770" "TALVIK Norlet Schedule"
remote 20
wait 1000
window "#32770" "Orvane Media"
close
expect-no-window "#32770" "Orvane Media"
sleep-button
expect-power standby
wait 630000
expect-power standby
window "#32770" "TALVIK Norlet Schedule"
close
)");
  ASSERT_NE(scheduler, 0);
  EXPECT_EQ(waitForExit(scheduler), 0);

  EXPECT_EQ(starts(), (std::vector<std::string>{programPath("Orvane Media.exe") + " ",
                                                programPath("Orvane Media.exe") + " ant"}));
  EXPECT_EQ(powerSequence(), (std::vector<std::string>{"standby", "wake", "standby"}));
  EXPECT_EQ(power("wake"), (std::vector<std::string>{"wake-up timer"}));
  // The run's second timer counts the item's ten seconds and ends the run at the next tick,
  // so the recording holds eleven seconds of pictures and sound.
  const std::string recording = (testMachine.programFolder() / "Videos" / "cap00.mpg").string();
  EXPECT_NEAR(test::FfprobeStreamSeconds(recording, "v"), 11.0, 0.2);
  EXPECT_NEAR(test::FfprobeStreamSeconds(recording, "a"), 11.0, 0.2);
}

TEST_F(CalvendorTest, OneInstanceShowsItsTrayIconWhichComesBackWithTheShell) {
  const pid_t first = start("Calvendor");
  const HWND scheduler = waitForWindow(kSchedulerTitle);
  ASSERT_NE(scheduler, nullptr);
  ASSERT_TRUE(waitUntil([&] { return robot.trayIcons().size() == 1; }));
  EXPECT_EQ(robot.trayIcons()[0].tip, "Calvendor");
  EXPECT_FALSE(IsWindowVisible(scheduler));

  // "The App is Running!" in the traditional Chinese column the program shows.
  const pid_t second = start("Calvendor", "expect-messagebox \"\xB5\x7B\xA6\xA1\xA4\x77\xA6\x62\xB0\xF5\xA6\xE6!\"\nanswer OK\n");
  EXPECT_EQ(waitForExit(second), 0);
  EXPECT_TRUE(isRunning(first));
  EXPECT_EQ(robot.trayIcons().size(), 1u);

  robot.restartShell();
  EXPECT_TRUE(waitUntil([&] { return robot.trayIcons().size() == 1; }));

  PostMessageA(scheduler, WM_CLOSE, 0, 0);
  EXPECT_EQ(waitForExit(first), 0);
  EXPECT_TRUE(robot.trayIcons().empty());
}

// The main program started for the item records it for its ten seconds and asks for
// stand-by, which the scheduler carries out ten seconds later.
TEST_F(CalvendorTest, APlannedRecordingIsMadeWithTheMainProgramClosedAndThePcSleepsAgain) {
  ASSERT_NE(startBesideTheMainProgram(), nullptr);
  plan(2, 1, 2);
  sleepUntilTheItemWakesThePc();

  // Frame by frame through the recording, until the PC stands by again.
  ASSERT_TRUE(advanceUntil(90000, 40, [&] { return power("standby").size() == 2; }));
  EXPECT_EQ(powerSequence(), (std::vector<std::string>{"standby", "wake", "standby"}));
  EXPECT_TRUE(machine().service<plat::PowerState>().isSuspended());

  const rectest::MpegFileProbe probe((testMachine.programFolder() / "Videos" / "cap00.mpg").string());
  ASSERT_TRUE(probe.ok());
  EXPECT_TRUE(probe.video().found);
  EXPECT_NEAR(probe.video().seconds, 10.0, 1.5);
}

// With shut-down as the after-recording action, the main program is closed first and
// the PC goes off once it has ended.
TEST_F(CalvendorTest, AfterAPlannedRecordingWithShutdownTheMainProgramClosesAndThePcGoesOff) {
  ASSERT_NE(startBesideTheMainProgram(), nullptr);
  plan(2, 1, 3);
  sleepUntilTheItemWakesThePc();

  ASSERT_TRUE(advanceUntil(90000, 40, [&] { return !power("shutdown").empty(); }));
  // The PC went off only once the main program had ended, its files written.
  EXPECT_EQ(mainWindow(), nullptr);
  EXPECT_EQ(powerSequence(), (std::vector<std::string>{"standby", "wake", "shutdown"}));
  EXPECT_TRUE(machine().service<plat::PowerState>().isOff());
  EXPECT_TRUE(std::filesystem::exists(testMachine.programFolder() / "Videos" / "cap00.mpg"));
}

// A planned view opens the TV window of the main program the scheduler started.
TEST_F(CalvendorTest, APlannedViewWakesThePcAndStartsTheMainProgramOnItsChannel) {
  ASSERT_NE(startBesideTheMainProgram(), nullptr);
  plan(2, 0, 0);
  sleepUntilTheItemWakesThePc();
  EXPECT_TRUE(advanceUntil(60000, 40, [&] { return FindWindowA("#32770", "Orvane Media_TVDlg") != nullptr; }));
  EXPECT_EQ(powerSequence(), (std::vector<std::string>{"standby", "wake"}));
  EXPECT_FALSE(std::filesystem::exists(testMachine.programFolder() / "Videos" / "cap00.mpg"));
}

// The remote control reaches the main program's window through the scheduler: digits
// mapped, a held volume key repeating, other keys as they are; with the main program
// closed the power key starts it.
TEST_F(CalvendorTest, RemoteKeysReachTheMainProgramAndThePowerKeyStartsIt) {
  static std::vector<LPARAM> received;
  received.clear();
  static WNDPROC dialogProc = nullptr;
  HWND standIn = CreateWindowExA(0, "#32770", kMainTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  dialogProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(standIn, GWLP_WNDPROC));
  SetWindowLongPtrA(standIn, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(+[](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
                      if (message == kRemoteKey) received.push_back(lParam);
                      return CallWindowProcA(dialogProc, hwnd, message, wParam, lParam);
                    }));
  start("Calvendor");
  ASSERT_NE(waitForWindow(kSchedulerTitle), nullptr);

  robot.pressRemoteKey(2);       // a digit: 3
  robot.pressRemoteKey(9);       // 0
  robot.pressRemoteKey(26);      // a key of its own
  robot.pressRemoteKey(16, 5);   // volume held for five polls: acts on polls 1, 4 and 5
  robot.pressRemoteKey(12);
  const std::vector<LPARAM> expected{3, 0, 26, 16, 16, 16, 12};
  EXPECT_TRUE(advanceUntil(20000, 108, [&] { return received.size() >= expected.size(); }));
  EXPECT_EQ(received, expected);

  DestroyWindow(standIn);
  robot.pressRemoteKey(20);
  ASSERT_TRUE(advanceUntil(20000, 108, [&] { return mainWindow() != nullptr; }));
  EXPECT_EQ(starts(), (std::vector<std::string>{programPath("Orvane Media.exe") + " "}));
}

// With "Remote Shutdown" ticked in the tray menu, the power key closes the main program
// and powers the PC off once the main program has ended.
TEST_F(CalvendorTest, WithRemoteShutdownThePowerKeyClosesTheMainProgramAndThePcGoesOff) {
  const HWND scheduler = startBesideTheMainProgram();
  ASSERT_NE(scheduler, nullptr);
  robot.pressRemoteKey(20);
  ASSERT_TRUE(advanceUntil(5000, 108, [&] { return !starts().empty(); }));
  ASSERT_TRUE(waitUntil([&] {
    return mainWindow() != nullptr && std::filesystem::exists(testMachine.programFolder() / "ZRQChannels.chl");
  }));

  SendMessageA(scheduler, WM_COMMAND, 32774, 0);
  robot.pressRemoteKey(20);
  ASSERT_TRUE(advanceUntil(60000, 108, [&] { return !power("shutdown").empty(); }));
  EXPECT_EQ(mainWindow(), nullptr);
  EXPECT_EQ(powerSequence(), (std::vector<std::string>{"shutdown"}));
}

// On live TV the keys act on the TV window: a channel number typed in digits and
// confirmed, the next channel, the volume held up, mute. The TV window is the one a
// planned view opened; what the keys changed is what the main program saves as it closes.
TEST_F(CalvendorTest, RemoteKeysTuneAndSetTheVolumeOfTheMainProgramsTvWindow) {
  ASSERT_NE(startBesideTheMainProgram(), nullptr);
  plan(2, 0, 0);
  untilTheSchedulerStartsTheMainProgram();
  ASSERT_TRUE(advanceUntil(60000, 40, [&] { return FindWindowA("#32770", "Orvane Media_TVDlg") != nullptr; }));
  advance(40000, 40);  // the view comes due 20 s after the window opened and runs 10 s
  const HWND launcher = mainWindow();
  ASSERT_NE(launcher, nullptr);

  robot.pressRemoteKey(4);      // 5
  robot.pressRemoteKey(10);     // the number is complete
  robot.pressRemoteKey(18);     // the next channel
  robot.pressRemoteKey(16, 5);  // volume up, held: three steps
  robot.pressRemoteKey(12);     // mute
  advance(3000, 40);
  // The program has saved its files when its process has ended.
  DWORD mainProcess = 0;
  GetWindowThreadProcessId(launcher, &mainProcess);
  ASSERT_TRUE(PostMessageA(launcher, WM_CLOSE, 0, 0));
  ASSERT_TRUE(advanceUntil(10000, 40, [&] { return kill(static_cast<pid_t>(mainProcess), 0) != 0; }));

  const auto read = [&](const char* name, std::size_t offset) {
    std::ifstream file(testMachine.programFolder() / name, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(offset));
    std::int32_t value = -1;
    file.read(reinterpret_cast<char*>(&value), sizeof value);
    return value;
  };
  // The view ran on channel 3 of the antenna plan; the keys act on the plan live TV went
  // back to, the default PC's cable plan.
  EXPECT_EQ(read("ZRQChannels.chl", 0), 3);
  EXPECT_EQ(read("ZRQChannels.chl", 4), 6);
  EXPECT_EQ(read("ZRQData.dat", 76), 65);
}

}  // namespace

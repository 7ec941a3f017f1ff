// The shell's program start and notification area, and the power calls, as the programs
// use them: programs found by their ".exe" names, icons known by window and id across a
// shell restart, the shut-down privilege, stand-by and wake-up timers.
#include "WindowTest.h"

#include <machine/EventLog.h>
#include <machine/PowerState.h>
#include <machine/ProgramFolder.h>
#include <machine/TrayArea.h>
#include <robot/Robot.h>
#include <win32/error.h>
#include <win32/handleapi.h>
#include <win32/shell.h>
#include <win32/shell/ProcessLauncher.h>
#include <win32/sync.h>
#include <win32/thread.h>

#include <cstring>
#include <fstream>

namespace test {
namespace {

class ShellTest : public UserTest {
 protected:
  std::string programPath(const std::string& name) {
    return machine().paths().toWindows(testMachine.programFolder() / name);
  }
  // A program that ends at once, whatever happens to the test's folders meanwhile.
  void installProgram(const std::string& name) {
    std::filesystem::copy_file("/bin/true", testMachine.programFolder() / name);
  }
  void enableShutdownPrivilege() {
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid));
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(token);
  }
  std::vector<std::string> power(const std::string& category) {
    std::vector<std::string> texts;
    for (const auto& entry : plat::EventLog::power(machine()).read())
      if (entry.category == category) texts.push_back(entry.text);
    return texts;
  }
};

TEST_F(ShellTest, AnExeNameFindsTheProgramBesideItOrAmongTheBuiltOnes) {
  installProgram("Tool");
  EXPECT_EQ(plat::ProcessLauncher::resolve(programPath("Tool.exe")), testMachine.programFolder() / "Tool");
  EXPECT_EQ(plat::ProcessLauncher::resolve(programPath("TOOL.EXE")), std::nullopt);  // the file is "Tool"
  EXPECT_EQ(plat::ProcessLauncher::resolve(programPath("Calvendor.exe")),
            plat::ProgramFolder::moduleFolder() / "Calvendor");
  EXPECT_EQ(plat::ProcessLauncher::resolve(programPath("Missing.exe")), std::nullopt);
  EXPECT_EQ(plat::ProcessLauncher::resolve("C:\\Calvendor.exe"), std::nullopt);  // not the program folder

  EXPECT_EQ(plat::ProcessLauncher::splitCommandLine("\"C:\\a b\\x.exe\"  one \"two three\""),
            (std::vector<std::string>{"C:\\a b\\x.exe", "one", "two three"}));

  EXPECT_GT(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", programPath("Tool.exe").c_str(), "a b", nullptr,
                                                    SW_SHOW)),
            32);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, nullptr, programPath("None.exe").c_str(), nullptr, nullptr,
                                                    SW_SHOW)),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "print", programPath("Tool.exe").c_str(), nullptr,
                                                    nullptr, SW_SHOW)),
            SE_ERR_NOASSOC);
  EXPECT_GT(WinExec(programPath("Tool.exe").c_str(), SW_SHOW), 31u);  // a blank-free path
  EXPECT_EQ(WinExec(programPath("None.exe").c_str(), SW_SHOW), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
}

TEST_F(ShellTest, AWebAddressIsRecordedAsOpenedAndANameWithoutASchemeIsAFile) {
  const auto opens = [&] {
    std::vector<std::string> texts;
    for (const auto& entry : plat::EventLog::events(machine()).read())
      if (entry.category == "shell-open") texts.push_back(entry.text);
    return texts;
  };
  EXPECT_GT(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "http://www.example.test/", nullptr, nullptr,
                                                    SW_SHOWNORMAL)),
            32);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "://nothing", nullptr, nullptr, SW_SHOWNORMAL)),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "C:\\x://y", nullptr, nullptr, SW_SHOWNORMAL)),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(opens(), (std::vector<std::string>{"http://www.example.test/"}));
}

TEST_F(ShellTest, AFolderOpensAsTheFileManagerWouldAndADocumentHasNoProgram) {
  const auto recorded = [&](const std::string& category) {
    std::vector<std::string> texts;
    for (const auto& entry : plat::EventLog::events(machine()).read())
      if (entry.category == category) texts.push_back(entry.text);
    return texts;
  };
  const auto folder = machine().paths().driveFolder('C') / "Clips";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "a.mpg") << "x";
  EXPECT_GT(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "C:\\Clips\\", nullptr, nullptr, SW_SHOWNORMAL)),
            32);
  EXPECT_GT(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, nullptr, "C:\\Clips", nullptr, nullptr, SW_SHOWNORMAL)), 32);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "C:\\Clips\\a.mpg", nullptr, nullptr,
                                                    SW_SHOWNORMAL)),
            SE_ERR_NOASSOC);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "C:\\Gone\\", nullptr, nullptr, SW_SHOWNORMAL)),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(recorded("shell-explore"), (std::vector<std::string>{"C:\\Clips\\", "C:\\Clips"}));
  EXPECT_EQ(recorded("shell-open"), (std::vector<std::string>{"C:\\Clips\\a.mpg"}));
}

TEST_F(ShellTest, TrayIconsAreAddedChangedAndDeletedByWindowAndId) {
  HWND owner = createRecorder("Tray Owner");
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = 7;
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = WM_USER + 1;
  data.hIcon = reinterpret_cast<HICON>(0x40);
  std::strcpy(data.szTip, "First");
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));

  data.uFlags = NIF_TIP;
  std::strcpy(data.szTip, "Second");
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
  plat::Robot robot;
  auto icons = robot.trayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].tip, "Second");
  EXPECT_EQ(icons[0].icon, 0x40u);
  EXPECT_EQ(icons[0].callbackMessage, static_cast<std::uint32_t>(WM_USER + 1));

  // The taskbar tells the owner of mouse messages on the icon.
  ASSERT_TRUE(robot.clickTrayIcon(icons[0], WM_RBUTTONUP));
  const auto got = recorder().of(owner, {static_cast<UINT>(WM_USER + 1)});
  EXPECT_EQ(got.size(), 1u);

  robot.restartShell();
  EXPECT_TRUE(robot.trayIcons().empty());
  EXPECT_FALSE(robot.clickTrayIcon(icons[0], WM_RBUTTONUP));
  machine().service<plat::TrayArea>().setShellRunning(false);
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
  machine().service<plat::TrayArea>().setShellRunning(true);
  data.uFlags = NIF_ICON;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  DestroyWindow(owner);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));  // a gone window's icon can still go
  EXPECT_TRUE(robot.trayIcons().empty());
}

TEST_F(ShellTest, StandbyNeedsThePrivilegeTellsEveryWindowAndTheWakeUpTimerEndsIt) {
  HWND window = createRecorder("Power Listener");
  EXPECT_FALSE(SetSystemPowerState(TRUE, FALSE));
  enableShutdownPrivilege();

  HANDLE timer = CreateWaitableTimerA(nullptr, TRUE, "WaitableTimer");
  ASSERT_NE(timer, nullptr);
  LARGE_INTEGER in90s{};
  in90s.QuadPart = -900000000LL;  // relative, 100-ns units
  ASSERT_TRUE(SetWaitableTimer(timer, &in90s, 0, nullptr, nullptr, TRUE));
  EXPECT_EQ(power("wake-timer"), (std::vector<std::string>{"armed for 2024-03-01 12:01:30"}));

  ASSERT_TRUE(SetSystemPowerState(TRUE, FALSE));
  EXPECT_TRUE(machine().service<plat::PowerState>().isSuspended());
  plat::Robot robot;
  robot.advance(89999);
  EXPECT_TRUE(machine().service<plat::PowerState>().isSuspended());
  robot.advance(10000);  // stops at the wake-up time
  EXPECT_FALSE(machine().service<plat::PowerState>().isSuspended());
  EXPECT_EQ(power("wake"), (std::vector<std::string>{"wake-up timer"}));
  const auto broadcasts = recorder().of(window, {WM_POWERBROADCAST});
  ASSERT_EQ(broadcasts.size(), 2u);

  // Closing the timer takes its wake-up time away; without one only the power button wakes.
  CloseHandle(timer);
  EXPECT_FALSE(machine().service<plat::PowerState>().wakeTime());
  ASSERT_TRUE(SetSystemPowerState(TRUE, FALSE));
  robot.advance(3600000);
  EXPECT_TRUE(machine().service<plat::PowerState>().isSuspended());
  EXPECT_TRUE(robot.pressPowerButton());
  EXPECT_EQ(power("wake").back(), "power button");

  ASSERT_TRUE(ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, 0));
  EXPECT_EQ(power("shutdown"), (std::vector<std::string>{"flags 9, power off"}));
  EXPECT_TRUE(machine().service<plat::PowerState>().isOff());
  DestroyWindow(window);
}

}  // namespace
}  // namespace test

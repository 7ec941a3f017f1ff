// The remote control: the stick's receiver polled through the device-control library,
// key repeats filtered, digits mapped, and each key relayed to the main program, whose
// absence turns the power key into "start the main program".
#include "scheduler/CSchedulerDlg.h"

#include <vendor/qxmdll/QXUSBControl.h>
#include <win32/shell.h>
#include <win32/user.h>
#include <win32/version.h>

#include <new>

namespace {

constexpr char kControlFilter[] = "Talvik Device Control Filter";
constexpr DWORD kInvalidData = 0xFFFFFFFF;
constexpr DWORD kNoKeyBit = 1u << 24;
constexpr BYTE kValidMark = 0xBD;
constexpr int kPowerKey = 20;
constexpr int kVolumeUpKey = 16;
constexpr int kVolumeDownKey = 17;
constexpr int kHighestKey = 95;

// The process's device-control object, while the dialog lives.
CQXUSB_Control* g_pDeviceControl = nullptr;

}  // namespace

void CSchedulerDlg::OpenRemoteControl() {
  g_pDeviceControl = new (std::nothrow) CQXUSB_Control;
  if (g_pDeviceControl && g_pDeviceControl->OpenControlInterface(kControlFilter)) {
    SetTimer(kPollTimer, kPollMs, nullptr);
    return;
  }
  CloseRemoteControl();
  m_retryTimer = SetTimer(kReopenTimer, kReopenMs, nullptr);
}

void CSchedulerDlg::ReopenRemoteControl() {
  if (g_pDeviceControl) {
    g_pDeviceControl->CloseControlInterface();
  } else {
    g_pDeviceControl = new (std::nothrow) CQXUSB_Control;
  }
  if (g_pDeviceControl && g_pDeviceControl->OpenControlInterface(kControlFilter)) {
    if (m_retryTimer != static_cast<UINT_PTR>(-1)) {
      KillTimer(m_retryTimer);
      m_retryTimer = static_cast<UINT_PTR>(-1);
    }
    SetTimer(kPollTimer, kPollMs, nullptr);
    return;
  }
  if (m_retryTimer != static_cast<UINT_PTR>(-1)) return;  // the next tick tries again
  CloseRemoteControl();
  m_retryTimer = SetTimer(kReopenTimer, kReopenMs, nullptr);
}

void CSchedulerDlg::CloseRemoteControl() {
  if (!g_pDeviceControl) return;
  g_pDeviceControl->CloseControlInterface();
  delete g_pDeviceControl;
  g_pDeviceControl = nullptr;
}

void CSchedulerDlg::PollRemoteControl() {
  if (!g_pDeviceControl) return;
  HWND mainWindow = MainProgramWindow();
  DWORD data[2] = {0, 0};
  if (g_pDeviceControl->GetRemoteData(&data[0], &data[1]) < 0) {
    KillTimer(kPollTimer);
    ReopenRemoteControl();
    return;
  }
  const bool valid =
      data[0] != kInvalidData && !(data[0] & kNoKeyBit) && static_cast<BYTE>(data[1] & 0xFF) == kValidMark;
  if (!valid) {
    m_repeatCount = 0;
    return;
  }
  const int key = static_cast<int>((data[0] >> 8) & 0xFF);
  if ((data[0] & 0xFF) == 0) m_repeatCount = 0;
  ++m_repeatCount;
  // A held key acts once; the volume keys act again from the fourth poll on.
  if (m_repeatCount == 2 || m_repeatCount == 3) return;
  if (m_repeatCount > 3 && key != kVolumeUpKey && key != kVolumeDownKey) return;
  if (key > kHighestKey) return;
  RelayKey(key, mainWindow);
  if (g_pDeviceControl && g_pDeviceControl->GetLastError() < 0) {
    KillTimer(kPollTimer);
    ReopenRemoteControl();
  }
}

void CSchedulerDlg::RelayKey(int key, HWND mainWindow) {
  if (!mainWindow) {
    if (key == kPowerKey) StartMainProgram("open", nullptr, SW_SHOW);
    return;
  }
  if (key >= 0 && key <= 8) {
    key += 1;
  } else if (key == 9) {
    key = 0;
  }
  // With "Remote Shutdown" the power key closes the main program and then powers the PC
  // off, once the main program has ended and written its files.
  HANDLE process = key == kPowerKey && m_remoteShutdown ? OpenMainProgramProcess(mainWindow) : nullptr;
  ::SendMessageA(mainWindow, UM_REMOTE_KEY, 0, static_cast<LPARAM>(key));
  if (key != kPowerKey || !m_remoteShutdown) return;
  WaitForMainProgramToEnd(process);
  if (!ShutDownByPowerKey()) ::MessageBoxA(m_hWnd, "Error for OS! ", "Warning", MB_ICONEXCLAMATION);
}

BOOL CSchedulerDlg::ShutDownByPowerKey() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  if (version.dwMajorVersion < 5) return ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0);
  if (!EnableShutdownPrivilege()) return FALSE;
  return ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF, 0);
}

// The scheduler program's hidden main dialog (template 102, "TALVIK Norlet Schedule"). It
// never shows; its timers and messages do the program's work:
//
// - the schedule: the program's copy of "schedulefile.she", read at start and on command
//   459 from the main program, checked every 20 s (timer 100) for an item due 40 s ahead,
//   which starts the main program with "ant" when that is not running;
// - power: stand-by (command 1127, timer 200) and shut-down (command 1128, timer 3) 10 s
//   after the main program asks; before the PC suspends, a wake-up timer 120 s before the
//   next item; after an automatic wake-up, the display turned on;
// - the remote control: polled every 108 ms (timer 444, reopened every second by timer 555
//   while it cannot be opened) and relayed to the main program (CSchedulerDlgRemote.cpp);
// - the tray icon and its menu (CTrayIcon).
//
// The schedule list, the two paths and the device-control object are the process's; the
// dialog owns them from its initialisation to its destruction.
#pragma once

#include "scheduler/CTrayIcon.h"

#include <mfc/afxwin.h>

#include <ctime>

class CQXUSB_Control;
class CScheduleList;

class CSchedulerDlg : public CDialog {
 public:
  enum { IDD = 102 };

  static constexpr char kTitle[] = "TALVIK Norlet Schedule";
  static constexpr char kMainTitle[] = "Orvane Media";
  static constexpr UINT kTrayCallback = WM_USER + 100;
  static constexpr UINT kTrayIconId = 129;
  static constexpr UINT kProgramIconId = 128;

  // Commands from the main program and the tray menu.
  static constexpr WPARAM IDC_RELOAD_SCHEDULE = 459;
  static constexpr WPARAM IDC_STANDBY_AFTER_RECORD = 1127;
  static constexpr WPARAM IDC_SHUTDOWN_AFTER_RECORD = 1128;
  static constexpr WPARAM ID_TRAY_START = 32771;
  static constexpr WPARAM ID_TRAY_REMOTE_SHUTDOWN = 32774;
  static constexpr WPARAM ID_TRAY_EXIT = 32775;

  static constexpr UINT_PTR kDueCheckTimer = 100;
  static constexpr UINT kDueCheckMs = 20000;
  static constexpr UINT_PTR kStandbyTimer = 200;
  static constexpr UINT_PTR kShutdownTimer = 3;
  static constexpr UINT kPowerDelayMs = 10000;
  static constexpr DWORD kCloseWaitMs = 30000;
  static constexpr UINT_PTR kPollTimer = 444;
  static constexpr UINT kPollMs = 108;
  static constexpr UINT_PTR kReopenTimer = 555;
  static constexpr UINT kReopenMs = 1000;

  // Messages to the main program.
  static constexpr UINT UM_REMOTE_KEY = 0x46D;

  explicit CSchedulerDlg(CWnd* pParent = nullptr);
  ~CSchedulerDlg() override;

  // The process's schedule list, read from the file.
  static CScheduleList& ScheduleList();
  // Replaces the list by the file's items; a file that cannot be read or is refused keeps it.
  void ReadScheduleFile();

  bool RemoteShutdown() const { return m_remoteShutdown; }
  CTrayIcon& TrayIcon() { return m_trayIcon; }

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnDestroy();

  DECLARE_MESSAGE_MAP()

 private:
  // ---- Schedule and power
  void CheckDueItems();
  void StandBy();
  void ShutDown();
  void OnSuspend();
  void OnResumeAutomatic();
  static void CloseMainProgram(HWND main);
  static HANDLE OpenMainProgramProcess(HWND main);
  static void WaitForMainProgramToEnd(HANDLE process);
  static bool EnableShutdownPrivilege();
  // The launcher of the main program. The video editor carries the same class and title;
  // unlike the launcher it has a taskbar button of its own (WS_EX_APPWINDOW).
  static HWND MainProgramWindow();
  static bool StartMainProgram(LPCSTR verb, LPCSTR parameters, int show);

  // ---- Remote control (CSchedulerDlgRemote.cpp)
  void OpenRemoteControl();
  void ReopenRemoteControl();
  void PollRemoteControl();
  void RelayKey(int key, HWND mainWindow);
  void CloseRemoteControl();
  static BOOL ShutDownByPowerKey();

  CTrayIcon m_trayIcon;
  HICON m_hIcon = nullptr;
  bool m_remoteShutdown = false;
  int m_repeatCount = 0;
  UINT_PTR m_retryTimer = static_cast<UINT_PTR>(-1);
  HANDLE m_wakeTimer = nullptr;
  // The latest look-ahead time checked, so each check covers the seconds since the last.
  time_t m_lastDueCheck = 0;
  bool m_listIsNew = true;
};

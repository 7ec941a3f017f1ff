// The hidden dialog: the schedule, its due check, the power requests and the wake-up timer.
#include "scheduler/CSchedulerDlg.h"

#include "core/CScheduleList.h"
#include "scheduler/SchedulerPaths.h"

#include <mfc/CTime.h>
#include <win32/shell.h>
#include <win32/error.h>
#include <win32/handleapi.h>
#include <win32/thread.h>
#include <win32/sync.h>
#include <win32/time.h>
#include <win32/user.h>

#include <algorithm>

namespace {

// The main program's own check looks 20 s ahead, so the main program is started about
// 20 s before it finds the item itself.
constexpr time_t kLookAheadSeconds = 40;
// The longest time an item stays due (a once or daily item, from its minute on): the main
// program, started for it, finds it only within that time.
constexpr time_t kLongestDueSeconds = 21;
constexpr LONGLONG kWakeEarly = 1200000000LL;  // 120 s in 100-ns units
constexpr UINT kExitFlags = EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF;

CScheduleList g_scheduleList;

}  // namespace

BEGIN_MESSAGE_MAP(CSchedulerDlg, CDialog)
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_WM_NCACTIVATE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CSchedulerDlg::CSchedulerDlg(CWnd* pParent) : CDialog(IDD, pParent), m_trayIcon(kTrayIconId) {
  m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(kProgramIconId) : nullptr;
}

CSchedulerDlg::~CSchedulerDlg() {
  if (m_wakeTimer) CloseHandle(m_wakeTimer);
}

CScheduleList& CSchedulerDlg::ScheduleList() { return g_scheduleList; }

BOOL CSchedulerDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_trayIcon.AttachToWindow(this, kTrayCallback);
  m_trayIcon.ShowIconFromResource(kTrayIconId);
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  SchedulerPaths::Build();
  ReadScheduleFile();
  SetTimer(kDueCheckTimer, kDueCheckMs, nullptr);
  OpenRemoteControl();
  return TRUE;
}

// The items of a new list were not there when the last check looked: the next check
// takes every item due in its span, not only those whose due window opens there.
void CSchedulerDlg::ReadScheduleFile() {
  if (g_scheduleList.Load(SchedulerPaths::ScheduleFile())) m_listIsNew = true;
}

BOOL CSchedulerDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (wParam) {
    case IDC_RELOAD_SCHEDULE: ReadScheduleFile(); break;
    case IDC_STANDBY_AFTER_RECORD: SetTimer(kStandbyTimer, kPowerDelayMs, nullptr); break;
    case IDC_SHUTDOWN_AFTER_RECORD: SetTimer(kShutdownTimer, kPowerDelayMs, nullptr); break;
    case ID_TRAY_START:
      if (!MainProgramWindow()) StartMainProgram("open", nullptr, SW_SHOW);
      break;
    case ID_TRAY_REMOTE_SHUTDOWN: m_remoteShutdown = !m_remoteShutdown; break;
    case ID_TRAY_EXIT: m_trayIcon.ShowIconFromResource(0); break;
    default: break;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CSchedulerDlg::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kDueCheckTimer: CheckDueItems(); break;
    case kStandbyTimer: StandBy(); break;
    case kShutdownTimer: ShutDown(); break;
    case kPollTimer: PollRemoteControl(); break;
    case kReopenTimer: ReopenRemoteControl(); break;
    default: CDialog::OnTimer(nIDEvent); break;
  }
}

// Each check covers the span since the one before, so an item whose due window is shorter
// than the period is not missed and is seen by one check only. A tick held off (a busy or
// sleeping PC) covers the seconds it skipped too, back as far as an item there would
// still be due when the main program looks; the first check looks one period back.
void CSchedulerDlg::CheckDueItems() {
  const time_t now = CTime::GetCurrentTime().GetTime();
  const time_t ahead = now + kLookAheadSeconds;
  const time_t after = m_lastDueCheck ? std::max<time_t>(m_lastDueCheck, now - kLongestDueSeconds)
                                      : ahead - kDueCheckMs / 1000;
  m_lastDueCheck = ahead;
  bool found = g_scheduleList.FindItemComingDue(after, ahead) != nullptr;
  for (time_t t = after + 1; m_listIsNew && !found && t <= ahead; ++t) found = g_scheduleList.FindDueItemAt(t);
  m_listIsNew = false;
  if (!found) return;
  if (!MainProgramWindow()) StartMainProgram(nullptr, "ant", SW_SHOWNORMAL);
}

void CSchedulerDlg::StandBy() {
  KillTimer(kStandbyTimer);
  EnableShutdownPrivilege();
  SetSystemPowerState(TRUE, FALSE);
}

void CSchedulerDlg::ShutDown() {
  KillTimer(kShutdownTimer);
  if (HWND main = MainProgramWindow()) CloseMainProgram(main);
  EnableShutdownPrivilege();
  if (!ExitWindowsEx(kExitFlags, 0)) ::MessageBoxA(m_hWnd, "ExitWindowsEx", nullptr, MB_OK);
}

void CSchedulerDlg::CloseMainProgram(HWND main) {
  HANDLE process = OpenMainProgramProcess(main);
  ::SendMessageA(main, WM_CLOSE, 0, 0);
  WaitForMainProgramToEnd(process);
}

// The main program writes its files as it ends, after its window has been told to close:
// a forced power-off waits for its process to end (for a while at most, should it hang).
HANDLE CSchedulerDlg::OpenMainProgramProcess(HWND main) {
  DWORD processId = 0;
  GetWindowThreadProcessId(main, &processId);
  return processId && processId != GetCurrentProcessId() ? OpenProcess(SYNCHRONIZE, FALSE, processId) : nullptr;
}

void CSchedulerDlg::WaitForMainProgramToEnd(HANDLE process) {
  if (!process) return;
  WaitForSingleObject(process, kCloseWaitMs);
  CloseHandle(process);
}

// False when the token cannot be opened or the privilege was not granted.
bool CSchedulerDlg::EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges{};
  LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  const bool granted = GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return granted;
}

LRESULT CSchedulerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The tray menu's check mark follows "Remote Shutdown" as the menu opens.
  if (message == WM_INITMENUPOPUP) {
    CheckMenuItem(reinterpret_cast<HMENU>(wParam), static_cast<UINT>(ID_TRAY_REMOTE_SHUTDOWN),
                  MF_BYCOMMAND | (m_remoteShutdown ? MF_CHECKED : MF_UNCHECKED));
  }
  if (message == WM_POWERBROADCAST) {
    if (wParam == PBT_APMSUSPEND) OnSuspend();
    if (wParam == PBT_APMRESUMEAUTOMATIC) OnResumeAutomatic();
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

void CSchedulerDlg::OnSuspend() {
  const time_t next = g_scheduleList.GetNextDueTime();
  if (next == 0) return;
  const CTime at(next);
  SYSTEMTIME local{};
  local.wYear = static_cast<WORD>(at.GetYear());
  local.wMonth = static_cast<WORD>(at.GetMonth());
  local.wDay = static_cast<WORD>(at.GetDay());
  local.wHour = static_cast<WORD>(at.GetHour());
  local.wMinute = static_cast<WORD>(at.GetMinute());
  FILETIME localFile{}, utcFile{};
  if (!SystemTimeToFileTime(&local, &localFile) || !LocalFileTimeToFileTime(&localFile, &utcFile)) return;
  LARGE_INTEGER due{};
  due.QuadPart = (static_cast<LONGLONG>(utcFile.dwHighDateTime) << 32 | utcFile.dwLowDateTime) - kWakeEarly;
  // One wake-up time at a time: a timer kept from an earlier suspend goes first.
  if (m_wakeTimer) CloseHandle(m_wakeTimer);
  m_wakeTimer = CreateWaitableTimerA(nullptr, TRUE, "WaitableTimer");
  if (m_wakeTimer) SetWaitableTimer(m_wakeTimer, &due, 0, nullptr, nullptr, TRUE);
}

void CSchedulerDlg::OnResumeAutomatic() {
  SetThreadExecutionState(ES_DISPLAY_REQUIRED);
  const BYTE scan = static_cast<BYTE>(MapVirtualKeyA(1, 0));
  keybd_event(1, scan, 0, 0);
  keybd_event(1, scan, KEYEVENTF_KEYUP, 0);
  SetThreadExecutionState(ES_DISPLAY_REQUIRED);
  if (m_wakeTimer) CloseHandle(m_wakeTimer);
  m_wakeTimer = nullptr;
}

// The dialog never appears: it counts as visible for the modal loop, and hides whenever
// it would be activated.
void CSchedulerDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
  const LONG style = GetWindowLongA(m_hWnd, GWL_STYLE);
  if (!(style & WS_VISIBLE)) SetWindowLongA(m_hWnd, GWL_STYLE, style | WS_VISIBLE);
  CDialog::OnShowWindow(bShow, nStatus);
}

BOOL CSchedulerDlg::OnNcActivate(BOOL bActive) {
  ShowWindow(SW_HIDE);
  return CDialog::OnNcActivate(bActive);
}

void CSchedulerDlg::OnDestroy() {
  CDialog::OnDestroy();
  KillTimer(kPollTimer);
  KillTimer(kReopenTimer);
  CloseRemoteControl();
  EndDialog(1);
}

HWND CSchedulerDlg::MainProgramWindow() {
  for (HWND window = ::FindWindowExA(nullptr, nullptr, "#32770", kMainTitle); window;
       window = ::FindWindowExA(nullptr, window, "#32770", kMainTitle)) {
    if (!(::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW)) return window;
  }
  return nullptr;
}

bool CSchedulerDlg::StartMainProgram(LPCSTR verb, LPCSTR parameters, int show) {
  return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, verb, SchedulerPaths::MainProgram(), parameters, nullptr,
                                                 show)) > 32;
}

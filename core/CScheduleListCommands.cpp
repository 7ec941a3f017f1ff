// The schedule list's messages: commands to the scheduler program, which wakes the PC for
// the file's items, and notices to the record plan window and the main window.
#include "core/CScheduleList.h"

#include <mfc/afxwin.h>
#include <win32/user.h>

namespace {

// Both looked up at each call: either program may come and go at any time.
HWND SchedulerWindow() { return FindWindowA("#32770", "TALVIK Norlet Schedule"); }
HWND RecordPlanWindow() { return FindWindowA(nullptr, "Orvane Media_RecordDlg"); }

HWND MainWindow() {
  CWnd* main = AfxGetMainWnd();
  return main ? main->GetSafeHwnd() : nullptr;
}

// The command to the scheduler program; false when it is not running.
bool PostToScheduler(WPARAM command) {
  HWND scheduler = SchedulerWindow();
  return scheduler && PostMessageA(scheduler, WM_COMMAND, command, 0);
}

// Without the scheduler program the main window's own timer does the job.
void PostOrArmTimer(WPARAM command, UINT_PTR timer) {
  if (PostToScheduler(command)) return;
  if (HWND main = MainWindow()) SetTimer(main, timer, CScheduleList::kPowerTimerMs, nullptr);
}

}  // namespace

void CScheduleList::ReloadSchedulerProgram() { PostToScheduler(IDC_RELOAD_SCHEDULE); }

void CScheduleList::RequestStandby() { PostOrArmTimer(IDC_STANDBY_AFTER_RECORD, kStandbyTimer); }

void CScheduleList::RequestShutdown() { PostOrArmTimer(IDC_SHUTDOWN_AFTER_RECORD, kShutdownTimer); }

void CScheduleList::NotifyChanged(int index, int notify) {
  if (notify) {
    HWND plan = RecordPlanWindow();
    if (plan && IsWindow(plan)) SendMessageA(plan, UM_SCHEDULE_CHANGED, static_cast<WPARAM>(index), 0);
  }
  ReloadSchedulerProgram();
}

void CScheduleList::EndRunIfActive() {
  if (!m_recordRun && !m_viewRun) return;
  if (HWND main = MainWindow()) SendMessageA(main, UM_SCHEDULE_RUN_ENDED, 0, 0);
  ResetRunFlags();
}

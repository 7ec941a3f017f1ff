// The scheduler program's schedule: any "schedulefile.she" read by its hidden dialog on
// command 459 at any time of day, then its due checks over a minute and its wake-up timer
// armed at suspend. What the due rules find is due by them, and the next start armed lies
// within the coming thirty days. The first four bytes choose the time, the rest is the file.
#include "FuzzMachine.h"

#include "core/CScheduleList.h"
#include "scheduler/CSchedulerDlg.h"

#include <mfc/CTime.h>
#include <win32/user.h>

#include <cstring>

namespace {

constexpr std::int64_t kThirtyDays = 30LL * 24 * 3600;

// The dialog and a window standing in for the main program, made once: with the main
// program's window there, a due item starts nothing.
struct Scheduler {
  Scheduler() {
    main = CreateWindowExA(0, "#32770", CSchedulerDlg::kMainTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
    app.m_pMainWnd = &dialog;
    dialog.Create(CSchedulerDlg::IDD);
  }
  CWinApp app;
  HWND main = nullptr;
  CSchedulerDlg dialog;
};

bool Due(const ScheduleRecord& item, time_t when) {
  const CTime start(item.start);
  const CTime now(when);
  if (start.GetHour() != now.GetHour() || start.GetMinute() != now.GetMinute()) return false;
  if (item.recurrence == 8)
    return start.GetYear() == now.GetYear() && start.GetMonth() == now.GetMonth() && start.GetDay() == now.GetDay() &&
           now.GetSecond() < 21;
  // A daily item runs from its first day on, whatever the day of the month.
  const auto date = [](const CTime& t) { return (t.GetYear() * 100 + t.GetMonth()) * 100 + t.GetDay(); };
  if (item.recurrence == 7) return date(start) <= date(now) && now.GetSecond() < 21;
  return item.recurrence == now.GetDayOfWeek() - 1 && now.GetSecond() < 11;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  static Scheduler scheduler;
  std::uint32_t seconds = 0;
  std::memcpy(&seconds, data, size < 4 ? size : 4);
  const std::size_t skip = size < 4 ? size : 4;
  machine.put("schedulefile.she", data + skip, size - skip);
  // Any second from 1970 to 2037.
  const std::int64_t now = seconds % 0x7FFF0000u;
  machine.machine().clock().setManual(now * 1000);
  scheduler.dialog.SendMessage(WM_COMMAND, CSchedulerDlg::IDC_RELOAD_SCHEDULE, 0);
  const CScheduleList& list = CSchedulerDlg::ScheduleList();
  for (int check = 0; check < 3; ++check) {
    machine.machine().clock().setManual((now + 20 * check) * 1000);
    scheduler.dialog.SendMessage(WM_TIMER, CSchedulerDlg::kDueCheckTimer, 0);
    const time_t ahead = static_cast<time_t>(now + 20 * check + 40);
    if (const CScheduleItem* due = list.FindDueItemAt(ahead)) fuzz::check(Due(*due, ahead), "a due item is due by the rules");
  }
  const time_t next = list.GetNextDueTime();
  const std::int64_t at = now + 40;
  fuzz::check(next == 0 || (next >= at - 60 && next < at + kThirtyDays), "the next start lies within thirty days");
  scheduler.dialog.SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  scheduler.dialog.SendMessage(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  return 0;
}

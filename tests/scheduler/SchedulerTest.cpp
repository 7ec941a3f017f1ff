#include "SchedulerTest.h"

#include "core/CScheduleList.h"

#include <machine/Machine.h>
#include <win32/user.h>

#include <fstream>

namespace test {

std::vector<Received> SchedulerTest::s_received;

namespace {

WNDPROC g_dialogProc = nullptr;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CSchedulerDlg::UM_REMOTE_KEY || message == WM_CLOSE)
    SchedulerTest::s_received.push_back({message, wParam, lParam});
  if (message == WM_CLOSE) return 0;
  return CallWindowProcA(g_dialogProc, hwnd, message, wParam, lParam);
}

}  // namespace

// The main program the scheduler starts is the noting one, never the real program.
SchedulerTest::SchedulerTest() {
  s_received.clear();
  installNotingMainProgram();
}

SchedulerTest::~SchedulerTest() { close(); }

CSchedulerDlg& SchedulerTest::open() {
  dlg = std::make_unique<CSchedulerDlg>();
  app.m_pMainWnd = dlg.get();
  EXPECT_TRUE(dlg->Create(CSchedulerDlg::IDD));
  robot.pumpUntilIdle();
  return *dlg;
}

void SchedulerTest::close() {
  if (!dlg) return;
  if (dlg->GetSafeHwnd()) dlg->DestroyWindow();
  dlg.reset();
  app.m_pMainWnd = nullptr;
  CSchedulerDlg::ScheduleList().RemoveAll();
}

std::int32_t SchedulerTest::localTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return static_cast<std::int32_t>(plat::Machine::current().clock().fromLocal(t));
}

ScheduleRecord SchedulerTest::record(std::int32_t start, int recurrence, int duration) {
  ScheduleRecord r{};
  r.start = start;
  r.duration = duration;
  r.recurrence = recurrence;
  r.channel1 = 3;
  r.mode = 1;
  return r;
}

void SchedulerTest::writeSchedule(const std::vector<ScheduleRecord>& records) {
  std::ofstream out(testMachine.programFolder() / "schedulefile.she", std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(records.data()),
            static_cast<std::streamsize>(records.size() * sizeof(ScheduleRecord)));
}

std::string SchedulerTest::programPath(const std::string& name) {
  return machine().paths().toWindows(testMachine.programFolder() / name);
}

void SchedulerTest::advanceTo(std::int64_t unixSeconds) {
  const std::int64_t now = machine().clock().unixMs();
  if (unixSeconds * 1000 > now) robot.advance(static_cast<std::uint64_t>(unixSeconds * 1000 - now));
}

HWND SchedulerTest::openMainStandIn() {
  HWND main = CreateWindowExA(0, "#32770", "Orvane Media", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  g_dialogProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(main, GWLP_WNDPROC));
  SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc));
  return main;
}

std::vector<Received> SchedulerTest::remoteKeys() const {
  std::vector<Received> keys;
  for (const Received& r : s_received) {
    if (r.message == CSchedulerDlg::UM_REMOTE_KEY) keys.push_back(r);
  }
  return keys;
}

void SchedulerTest::installNotingMainProgram() {
  const auto file = testMachine.programFolder() / "Orvane Media";
  std::ofstream(file) << "#!/bin/sh\necho \"started $*\" >> \"$ORVANE_MACHINE/started.txt\"\n";
  std::filesystem::permissions(file, std::filesystem::perms::owner_all);
}

std::vector<std::string> SchedulerTest::programStarts(const char* category) {
  std::vector<std::string> starts;
  for (const auto& entry : plat::EventLog::events(machine()).read()) {
    if (entry.category == category) starts.push_back(entry.text);
  }
  return starts;
}

std::vector<plat::EventLog::Entry> SchedulerTest::powerLog() { return plat::EventLog::power(machine()).read(); }

std::vector<std::string> SchedulerTest::powerCategories() {
  std::vector<std::string> categories;
  for (const auto& entry : powerLog()) categories.push_back(entry.category);
  return categories;
}

}  // namespace test

// Fixture of the record plan list's and the entry editor's tests: the program folder holds
// the skins the build drew, the launcher is open as the program opens it, the plan list
// stands in its place as the settings hub puts it there, and the robot presses the
// windows' buttons, types into their fields and clicks their rows on the manual clock.
// A stand-in window of the scheduler program records the commands it is posted.
#pragma once

#include "windows/WindowsTest.h"

#include "core/CScheduleItem.h"
#include "core/CScheduleList.h"
#include "windows/setup/CRecordDlg.h"
#include "windows/setup/CScheduleDlg.h"

#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace test {

class PlanWindowsTest : public WindowsTest {
 protected:
  // On a screen of this size (the machine's own when empty), the launcher open on it.
  explicit PlanWindowsTest(SIZE screen = {0, 0});
  ~PlanWindowsTest() override;

  // The plan list, made with the launcher as its parent and shown in its place.
  CRecordDlg& openPlanList();
  void closePlanList();
  CRecordDlg& plan() { return *m_plan; }
  bool isPlanOpen() const { return m_plan != nullptr; }
  // The entry editor the plan list opened (a test fails without it).
  CScheduleDlg& editor();
  CScheduleList& schedule() { return *g_pAppController->GetScheduleList(); }

  // A local time of the machine.
  static time_t at(int year, int month, int day, int hour, int minute, int second = 0);
  static CScheduleItem entry(time_t start, int duration, int recurrence, int action = 0, int flag = 1);
  // Entries stored before the plan list opens.
  void store(const std::vector<CScheduleItem>& entries);
  // Three once entries today at 12:10, 12:20 and 12:30, a minute each.
  void storeThree();
  // The minutes of the stored entries' starts, and of the file's, in their order.
  std::vector<int> starts();
  std::vector<int> fileStarts();

  void press(CWnd& window, const char* name);
  void pressInEditor(const char* name) { press(editor(), name); }
  // The middle of a row of the plan list on the screen.
  POINT rowPoint(int row);
  // A click on a row of the plan list (marks or unmarks it).
  void clickRow(int row);
  // Selects all of an editor field and types the digits over it.
  void typeInto(const char* field, const std::string& digits);
  std::string field(const char* name);
  std::string label(const char* name);
  BOOL enabled(CSkinDialog& window, const char* name);
  std::vector<std::string> rows();
  // The row's number and date, without the padding between them.
  std::string rowSummary(int row);
  int mode() const;
  std::vector<std::string> messages();
  // The records of "schedulefile.she"; empty without the file.
  std::vector<ScheduleRecord> fileRecords();
  // A window of the scheduler program's class and title, recording the WM_COMMANDs posted.
  void startSchedulerStandIn();
  std::vector<WPARAM> schedulerCommands();
  void screenshot(CWnd& window, const std::string& name);

 private:
  std::unique_ptr<CRecordDlg> m_plan;
  HWND m_scheduler = nullptr;
};

}  // namespace test

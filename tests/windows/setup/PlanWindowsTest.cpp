#include "windows/setup/PlanWindowsTest.h"

#include "core/CDisplayMode.h"
#include "skin/CDigitEdit.h"
#include "skin/CDriveFolderList.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinLabel.h"
#include "windows/main/CMainDlg.h"

#include <mfc/CTime.h>
#include <robot/Screenshot.h>

#include <fstream>
#include <stdexcept>

namespace test {

namespace {

std::vector<WPARAM> g_schedulerCommands;
WNDPROC g_dialogProcedure = nullptr;

LRESULT CALLBACK SchedulerStandIn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) g_schedulerCommands.push_back(wParam);
  return CallWindowProcA(g_dialogProcedure, hwnd, message, wParam, lParam);
}

}  // namespace

PlanWindowsTest::PlanWindowsTest(SIZE screen) {
  if (screen.cx > 0) {
    machine().ini().setValue("Screen", "Width", std::to_string(screen.cx));
    machine().ini().setValue("Screen", "Height", std::to_string(screen.cy));
  }
  useBuiltSkins();
  g_schedulerCommands.clear();
  openLauncher();
}

PlanWindowsTest::~PlanWindowsTest() {
  if (::testing::Test::HasFailure()) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    plat::Screenshot::dump(std::string(info->test_suite_name()) + "." + info->name());
  }
  closePlanList();
  if (m_scheduler) DestroyWindow(m_scheduler);
  closeLauncher();
  robot.pumpUntilIdle();
}

CRecordDlg& PlanWindowsTest::openPlanList() {
  m_plan = std::make_unique<CRecordDlg>(launcher.get());
  EXPECT_TRUE(m_plan->Create(CRecordDlg::IDD, launcher.get()));
  launcher->ShowWindow(SW_HIDE);
  m_plan->ShowWindow(SW_SHOW);
  g_pDisplayMode->SetMode(CRecordDlg::kDisplayMode);
  robot.pumpUntilIdle();
  return *m_plan;
}

void PlanWindowsTest::closePlanList() {
  robot.pumpUntilIdle();
  if (m_plan && m_plan->GetSafeHwnd()) m_plan->DestroyWindow();
  m_plan.reset();
  robot.pumpUntilIdle();
}

CScheduleDlg& PlanWindowsTest::editor() {
  if (!g_pScheduleDlg) throw std::runtime_error("no entry editor is open");
  return *g_pScheduleDlg;
}

time_t PlanWindowsTest::at(int year, int month, int day, int hour, int minute, int second) {
  return CTime(year, month, day, hour, minute, second).GetTime();
}

CScheduleItem PlanWindowsTest::entry(time_t start, int duration, int recurrence, int action, int flag) {
  CScheduleItem item;
  item.start = static_cast<std::int32_t>(start);
  item.duration = duration;
  item.recurrence = recurrence;
  item.channel1 = 3;
  item.channel2 = 4;
  item.source = 0;
  item.mode = 1;
  item.action = action;
  item.flag = flag;
  return item;
}

void PlanWindowsTest::store(const std::vector<CScheduleItem>& entries) {
  for (const CScheduleItem& item : entries) schedule().Add(&item);
}

void PlanWindowsTest::storeThree() {
  store({entry(at(2024, 3, 1, 12, 10), 60, 8), entry(at(2024, 3, 1, 12, 20), 60, 8),
         entry(at(2024, 3, 1, 12, 30), 60, 8)});
}

std::vector<int> PlanWindowsTest::starts() {
  std::vector<int> minutes;
  for (int i = 0; i < schedule().GetCount(); ++i) minutes.push_back(CTime(schedule().GetAt(i)->start).GetMinute());
  return minutes;
}

std::vector<int> PlanWindowsTest::fileStarts() {
  std::vector<int> minutes;
  for (const ScheduleRecord& record : fileRecords()) minutes.push_back(CTime(record.start).GetMinute());
  return minutes;
}

void PlanWindowsTest::press(CWnd& window, const char* name) { clickButton(window, name); }

POINT PlanWindowsTest::rowPoint(int row) {
  CDriveFolderList& list = *plan().GetList();
  CRect rc;
  EXPECT_NE(list.GetItemRect(row, &rc), LB_ERR) << row;
  CPoint middle = rc.CenterPoint();
  list.ClientToScreen(&middle);
  return middle;
}

void PlanWindowsTest::clickRow(int row) {
  robot.click(rowPoint(row));
  robot.pumpUntilIdle();
}

void PlanWindowsTest::typeInto(const char* name, const std::string& digits) {
  CDigitEdit* edit = editor().FindEdit(name);
  ASSERT_NE(edit, nullptr) << name;
  robot.click(edit->GetSafeHwnd());
  robot.key(VK_HOME);
  robot.press(VK_SHIFT);
  robot.key(VK_END);
  robot.release(VK_SHIFT);
  robot.type(digits);
  robot.pumpUntilIdle();
}

std::string PlanWindowsTest::field(const char* name) {
  CDigitEdit* edit = editor().FindEdit(name);
  if (!edit) return "<no field>";
  CString text;
  edit->GetWindowText(text);
  return std::string(text);
}

std::string PlanWindowsTest::label(const char* name) {
  const CSkinLabel* found = editor().FindLabel(name);
  return found ? std::string(found->GetText()) : "<no label>";
}

BOOL PlanWindowsTest::enabled(CSkinDialog& window, const char* name) {
  const CSkinButton* button = window.FindSkinButton(name);
  return button && button->IsEnabled();
}

std::vector<std::string> PlanWindowsTest::rows() {
  std::vector<std::string> texts;
  const CDriveFolderList& list = *plan().GetList();
  for (int i = 0; i < list.GetCount(); ++i) {
    const DriveFolderItem* record = list.GetRecord(i);
    texts.emplace_back(record ? record->szName : "");
  }
  return texts;
}

std::string PlanWindowsTest::rowSummary(int row) {
  const std::vector<std::string> all = rows();
  if (row < 0 || row >= static_cast<int>(all.size())) return "<no row>";
  const std::string& text = all[static_cast<std::size_t>(row)];
  const std::size_t first = text.find(' ');
  const std::size_t last = text.rfind(' ');
  if (first == std::string::npos) return text;
  return text.substr(0, first) + " " + text.substr(last + 1);
}

int PlanWindowsTest::mode() const { return g_pDisplayMode ? g_pDisplayMode->GetMode() : 0; }

std::vector<std::string> PlanWindowsTest::messages() {
  std::vector<std::string> texts;
  for (const auto& box : robot.messageBoxes()) texts.push_back(box.text);
  return texts;
}

std::vector<ScheduleRecord> PlanWindowsTest::fileRecords() {
  std::vector<ScheduleRecord> records;
  std::ifstream file(programFile("schedulefile.she"), std::ios::binary);
  ScheduleRecord record{};
  while (file.read(reinterpret_cast<char*>(&record), sizeof record)) records.push_back(record);
  return records;
}

void PlanWindowsTest::startSchedulerStandIn() {
  m_scheduler = CreateWindowExA(0, "#32770", "TALVIK Norlet Schedule", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(m_scheduler, nullptr);
  g_dialogProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_scheduler, GWLP_WNDPROC));
  SetWindowLongPtrA(m_scheduler, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SchedulerStandIn));
}

std::vector<WPARAM> PlanWindowsTest::schedulerCommands() {
  robot.pumpUntilIdle();
  return g_schedulerCommands;
}

void PlanWindowsTest::screenshot(CWnd& window, const std::string& name) {
  robot.pumpUntilIdle();
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "screenshots" / "plans";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(window.IsWindowVisible()) << name;
  EXPECT_TRUE(plat::Screenshot::saveScreen(folder / (name + ".png"))) << name;
}

}  // namespace test

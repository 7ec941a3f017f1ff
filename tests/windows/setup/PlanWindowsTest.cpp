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

// Stands in for the main window while a test watches what it is asked.
class MainWindowSpy : public CFrameWnd {
 public:
  std::vector<WPARAM> commands;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SYSCOMMAND) {
      commands.push_back(wParam & 0xFFF0);
      return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
};

LRESULT CALLBACK SchedulerStandIn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) g_schedulerCommands.push_back(wParam);
  return CallWindowProcA(g_dialogProcedure, hwnd, message, wParam, lParam);
}

}  // namespace

PlanWindowsTest::PlanWindowsTest() {
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

void PlanWindowsTest::press(CWnd& window, const char* name) { clickButton(window, name); }

void PlanWindowsTest::clickRow(int row) {
  CDriveFolderList& list = *plan().GetList();
  CRect rc;
  ASSERT_NE(list.GetItemRect(row, &rc), LB_ERR) << row;
  CPoint middle = rc.CenterPoint();
  list.ClientToScreen(&middle);
  robot.click(middle);
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

std::vector<WPARAM> PlanWindowsTest::askedOfMainWindow(const std::function<void()>& act) {
  auto* spy = new MainWindowSpy;
  EXPECT_TRUE(spy->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW));
  app.m_pMainWnd = spy;
  act();
  robot.pumpUntilIdle();
  app.m_pMainWnd = launcher.get();
  const std::vector<WPARAM> commands = spy->commands;
  spy->DestroyWindow();
  return commands;
}

void PlanWindowsTest::screenshot(CWnd& window, const std::string& name) {
  robot.pumpUntilIdle();
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "screenshots" / "plans";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(window.IsWindowVisible()) << name;
  EXPECT_TRUE(plat::Screenshot::saveScreen(folder / (name + ".png"))) << name;
}

}  // namespace test

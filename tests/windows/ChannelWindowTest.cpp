#include "windows/ChannelWindowTest.h"

#include "core/data/CAppSettings.h"
#include "skin/CChannelListCtrl.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinLabel.h"
#include "windows/main/CMainDlg.h"
#include "windows/main/CTVDlg.h"

#include <machine/TvStickControl.h>

#include <cstdint>

namespace test {

ChannelWindowTest::ChannelWindowTest() {
  s_afterScanStep = nullptr;
  writeSkins();
  const auto built = TestMachine::builtProgramFolder() / "Skin" / "Channel";
  std::filesystem::copy(built, programFile("Skin\\Channel"), std::filesystem::copy_options::recursive);
}

CChannelDlg& ChannelWindowTest::openChannels() {
  CTVDlg& tv = openTV();
  robot.advance(1000);  // the user watches a moment first
  clickButton(tv, "CHANNEL_BUTTON");
  EXPECT_NE(g_pChannelDlg, nullptr);
  return *g_pChannelDlg;
}

void ChannelWindowTest::press(const char* name) { clickButton(channels(), name); }

BOOL ChannelWindowTest::enabled(const char* name) { return channels().FindSkinButton(name)->IsEnabled(); }

std::string ChannelWindowTest::label(const char* name) {
  const CSkinLabel* found = channels().FindLabel(name);
  return found ? std::string(static_cast<LPCSTR>(found->GetText())) : "(none)";
}

std::vector<int> ChannelWindowTest::rowNumbers() {
  std::vector<int> numbers;
  CChannelListCtrl& list = *channels().GetChannelList();
  for (int row = 0; row < list.GetItemCount(); ++row) numbers.push_back(std::atoi(list.GetItemText(row, 2)));
  return numbers;
}

std::vector<std::string> ChannelWindowTest::rowNames() {
  std::vector<std::string> names;
  CChannelListCtrl& list = *channels().GetChannelList();
  for (int row = 0; row < list.GetItemCount(); ++row) names.emplace_back(list.GetItemText(row, 3));
  return names;
}

std::vector<std::string> ChannelWindowTest::rowFrequencies() {
  std::vector<std::string> values;
  CChannelListCtrl& list = *channels().GetChannelList();
  for (int row = 0; row < list.GetItemCount(); ++row) values.emplace_back(list.GetItemText(row, 4));
  return values;
}

std::vector<int> ChannelWindowTest::listNumbers(int list) {
  std::vector<int> numbers;
  for (int n = g_pChannelList->GetFirstChannelNumber(list); n >= 1; n = g_pChannelList->GetNextChannelNumber(n, list))
    numbers.push_back(n);
  return numbers;
}

ChannelRecord ChannelWindowTest::stored(int number, int list) {
  ChannelRecord record{};
  EXPECT_TRUE(g_pChannelList->GetChannel(number, list, &record)) << number;
  return record;
}

POINT ChannelWindowTest::cell(int row, int column) {
  CChannelListCtrl& list = *channels().GetChannelList();
  CRect rect;
  list.GetSubItemRect(row, column, LVIR_BOUNDS, rect);
  if (column == 0) rect.right = rect.left + list.GetColumnWidth(0);
  POINT point{rect.CenterPoint().x, rect.CenterPoint().y};
  ClientToScreen(list.GetSafeHwnd(), &point);
  return point;
}

void ChannelWindowTest::selectRow(int row) {
  robot.click(cell(row, 2));
  robot.pumpUntilIdle();
}

bool ChannelWindowTest::serveScanUntil(const std::function<bool()>& done) {
  // A step takes 620 ms: the longest plan, 158 entries, is over well within two minutes.
  for (std::uint64_t ms = 0; !done(); ms += 1000) {
    if (ms >= 120000) return false;
    robot.advance(1000);
  }
  robot.pumpUntilIdle();
  return true;
}

bool ChannelWindowTest::scanEnded() { return !CAppController::IsScanning() && g_pAppController->GetRunState() != 6; }

bool ChannelWindowTest::scanToEnd() {
  press("AUTOSCAN_BUTTON");
  return serveScanUntil([this] { return scanEnded(); });
}

void ChannelWindowTest::afterEachScanStep(std::function<void(int percent)> action) {
  s_afterScanStep = std::move(action);
  s_channelProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(channels().GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ScanStepProc)));
}

LRESULT CALLBACK ChannelWindowTest::ScanStepProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcA(s_channelProc, hwnd, message, wParam, lParam);
  if (message == CAppController::UM_SCAN_PROGRESS && s_afterScanStep) s_afterScanStep(static_cast<int>(wParam));
  return result;
}

void ChannelWindowTest::putOnAir(const std::vector<Station>& stations) {
  machine().ini().removeSection("Broadcast");
  int key = 1;
  for (const Station& s : stations)
    machine().ini().setValue("Broadcast", "Channel" + std::to_string(key++),
                             std::string(s.carrier) + "," + s.standard + "," + std::to_string(s.number) + "," + s.name +
                                 ",440");
}

std::string ChannelWindowTest::tunedStation() {
  const auto station = machine().service<plat::TvStickControl>().tunedStation();
  return station ? station->scene.name : "";
}

long long ChannelWindowTest::oscillatorHz() {
  return machine().service<plat::TvStickControl>().oscillatorHz().value_or(0);
}

std::size_t ChannelWindowTest::tunerWrites() {
  std::size_t count = 0;
  for (const auto& write : machine().service<plat::TvStickControl>().writes())
    count += write.kind == plat::TvStickControl::Write::Kind::I2C;
  return count;
}

}  // namespace test

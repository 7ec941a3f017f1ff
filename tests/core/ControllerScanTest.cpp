// The channel scan on the simulated TV stick: a worker steps the country's plan on the
// machine's clock while this thread plays the channel window (progress shown, found
// records put into the active list, live TV brought back at the end), so only the stations
// the machine's broadcast puts on air are found; its pace, stops, plans that start above 1,
// and scans that cannot run.
#include "CoreTest.h"

#include "core/CRunState.h"
#include "core/data/CChannelList.h"

#include <machine/TvStickControl.h>
#include <mfc/afxwin.h>
#include <robot/Robot.h>
#include <win32/user.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

// What the channel window saw, in the order it saw it.
struct ScanWindowLog {
  std::vector<int> percents;
  std::vector<ChannelRecord> found;
  std::vector<std::string> events;
  std::size_t tunerWritesAtDone = 0;
  bool done = false;
  std::function<void(int percent)> onProgress;
  std::function<std::size_t()> countTunerWrites;
};

ScanWindowLog* g_log = nullptr;

// The channel window's handling of the scan's messages.
LRESULT ScanWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CAppController::UM_SCAN_PROGRESS:
      g_log->percents.push_back(static_cast<int>(wParam));
      g_log->events.push_back("progress " + std::to_string(wParam));
      if (g_log->onProgress) g_log->onProgress(static_cast<int>(wParam));
      return 0;
    case CAppController::UM_SCAN_CHANNEL_FOUND: {
      auto* record = reinterpret_cast<ChannelRecord*>(lParam);
      if (!record) return 0;
      const int list = GetActiveChannelListIndex();
      if (g_log->found.empty()) g_pChannelList->ClearList(list);
      g_log->found.push_back(*record);
      g_log->events.push_back("found " + std::to_string(record->ChannelNumber));
      g_pChannelList->AddChannel(list, new ChannelRecord(*record));
      delete record;
      return 0;
    }
    case CAppController::UM_SCAN_DONE:
      g_log->events.push_back("done");
      g_log->tunerWritesAtDone = g_log->countTunerWrites();
      g_log->done = true;
      g_pAppController->FinishScan();
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

class ControllerScanTest : public test::LauncherTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(openLauncher());
    ASSERT_EQ(startUp(), 1);
    CAppController::OpenDeviceControl();
    ASSERT_NE(g_pDeviceControl, nullptr);
    channelWindow = window("ScanTestChannelWindow", ScanWindowProc, "Channels", WS_OVERLAPPEDWINDOW, 300, 200);
    ASSERT_NE(channelWindow, nullptr);
    log.countTunerWrites = [this] { return tunerWrites(); };
    g_log = &log;
    useAntennaOf(1);
  }
  ~ControllerScanTest() override {
    deleteController();
    g_log = nullptr;
    ScanRunning = 0;
  }

  void useAntennaOf(int country) {
    settings().CountryCode = country;
    settings().TunerSource = 1;
    settings().VideoInput = 1;
  }
  CAppSettings& settings() { return *g_pAppSettings; }
  std::size_t tunerWrites() {
    std::size_t count = 0;
    for (const auto& write : machine().service<plat::TvStickControl>().writes())
      count += write.kind == plat::TvStickControl::Write::Kind::I2C;
    return count;
  }
  void liveTv() { controller->GetRunStateHolder()->SetState(2); }
  // Starts the scan for the channel window and lets the machine's time run (handling
  // messages) until it reports the end.
  bool scan() {
    controller->SetScanTargetWnd(channelWindow);
    controller->StartScan();
    return runUntil([this] { return log.done; });
  }
  // A step takes 620 ms: the longest plan, 158 entries, is over well within two minutes.
  bool runUntil(const std::function<bool()>& done) {
    for (std::uint64_t ms = 0; ms < 120000 && !done(); ms += 1000) robot.advance(1000);
    return done();
  }
  std::vector<int> foundNumbers() const {
    std::vector<int> numbers;
    for (const auto& record : log.found) numbers.push_back(record.ChannelNumber);
    return numbers;
  }

  plat::Robot robot;
  HWND channelWindow = nullptr;
  ScanWindowLog log;
};

TEST_F(ControllerScanTest, AScanFindsExactlyTheStationsOnAirAndReturnsToLiveTv) {
  liveTv();
  const std::size_t writesBefore = tunerWrites();
  ASSERT_TRUE(scan());

  // United States antenna plan: channels 2..69, 68 entries; the default broadcast has
  // stations at entries 1, 3, 6, 10 and 13, which keep their plan positions here.
  EXPECT_EQ(foundNumbers(), (std::vector<int>{1, 3, 6, 10, 13}));
  const float carriers[] = {55.25f, 67.25f, 175.25f, 199.25f, 471.25f};
  for (std::size_t i = 0; i < log.found.size(); ++i) {
    EXPECT_FLOAT_EQ(log.found[i].Frequency, carriers[i]);
    EXPECT_STREQ(log.found[i].StandardName, "NTSC_M");
    EXPECT_EQ(log.found[i].SkipFlag, 0u);
    EXPECT_EQ(std::string(log.found[i].ChannelName), "Channel" + std::to_string(log.found[i].ChannelNumber));
  }
  EXPECT_EQ(CAppController::ScanFoundCount, 5);

  // One tuner write and one progress report per entry, measured against the last
  // channel number 69: 1, 2, 4 … 98.
  EXPECT_EQ(log.tunerWritesAtDone - writesBefore, 68u);
  ASSERT_EQ(log.percents.size(), 68u);
  EXPECT_EQ(log.percents.front(), 1);
  EXPECT_EQ(log.percents[2], 4);
  EXPECT_EQ(log.percents.back(), 98);
  EXPECT_EQ(log.events.back(), "done");
  EXPECT_EQ(ScanRunning, 0);

  // The channel window's end of scan: the first found channel tuned, live TV, sound on.
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(controller->IsMuted(), 0);
  EXPECT_EQ(g_pChannelList->GetChannelCount(1), 5);
  EXPECT_EQ(g_pChannelList->GetCurrentChannel(1), 1);
  const auto station = machine().service<plat::TvStickControl>().tunedStation();
  ASSERT_TRUE(station.has_value());
  EXPECT_EQ(station->scene.name, "Metro 2");
}

// Each step is the tuner write with its 20 ms wait, then 600 ms for the picture to settle:
// the fifth step shows 2500 ms of the machine's time after the start, and not a moment before.
TEST_F(ControllerScanTest, EachStepTakes620MsOfTheMachinesTime) {
  liveTv();
  controller->SetScanTargetWnd(channelWindow);
  controller->StartScan();
  robot.advance(2499);
  EXPECT_EQ(log.percents, (std::vector<int>{1, 2, 4, 5})) << "steps 1 to 4 shown at 20, 640, 1260 and 1880 ms";
  EXPECT_EQ(foundNumbers(), (std::vector<int>{1, 3})) << "each station once its step's 600 ms are over";
  robot.advance(1);
  EXPECT_EQ(log.percents.size(), 5u);
  ASSERT_TRUE(runUntil([this] { return log.done; }));
  EXPECT_EQ(log.percents.size(), 68u);
}

// Only stations of entries 3, 7 and 9 of the western European plan (E4, E8, E10) on air;
// the stick reads its broadcast when it is first opened.
class ControllerScanEuropeTest : public ControllerScanTest {
 protected:
  ControllerScanEuropeTest() {
    machine().ini().removeSection("Broadcast");
    int number = 1;
    for (const char* carrier : {"62.25", "196.25", "210.25"}) {
      const std::string n = std::to_string(number++);
      machine().ini().setValue("Broadcast", "Channel" + n, std::string(carrier) + ",PAL_B," + n + ",Station " + n + ",440");
    }
  }
};

TEST_F(ControllerScanEuropeTest, In38MHzCountriesTheChannelsFoundAreNumberedInARow) {
  useAntennaOf(49);
  liveTv();
  ASSERT_TRUE(scan());
  EXPECT_EQ(foundNumbers(), (std::vector<int>{1, 2, 3}));
  ASSERT_EQ(log.found.size(), 3u);
  EXPECT_FLOAT_EQ(log.found[1].Frequency, 196.25f);
  EXPECT_STREQ(log.found[1].StandardName, "PAL_B");
  EXPECT_EQ(log.percents.size(), 60u);
  EXPECT_EQ(log.percents.back(), 100);
  EXPECT_EQ(g_pChannelList->GetChannelCount(1), 3);
}

TEST_F(ControllerScanEuropeTest, APlanStartingAboveOneEndsShortOfAHundredPercent) {
  useAntennaOf(44);  // UHF channels 21..69 only: 49 entries against 69
  liveTv();
  ASSERT_TRUE(scan());
  ASSERT_EQ(log.percents.size(), 49u);
  EXPECT_EQ(log.percents.back(), 71);
  EXPECT_TRUE(log.found.empty());
  EXPECT_EQ(log.events.back(), "done");
}

TEST_F(ControllerScanTest, AStopDuringAStepEndsTheScanAfterThatStep) {
  liveTv();
  // The stop comes while the worker waits for the window to show step 3's progress, that
  // is before the step's settling wait and signal read.
  log.onProgress = [this](int) {
    if (log.percents.size() == 3) controller->StartScan();
  };
  ASSERT_TRUE(scan());
  EXPECT_EQ(log.percents.size(), 3u);
  EXPECT_EQ(foundNumbers(), (std::vector<int>{1, 3})) << "the stopped step's station is still reported";
  EXPECT_EQ(log.events.back(), "done");
  EXPECT_EQ(ScanRunning, 0);
  EXPECT_EQ(controller->GetRunState(), 2);
}

TEST_F(ControllerScanTest, ShuttingDownDuringAScanWaitsForTheWorkerToLetGo) {
  liveTv();
  controller->SetScanTargetWnd(channelWindow);
  controller->StartScan();  // the worker now waits for this thread to take its first progress
  ASSERT_EQ(ScanRunning, 1);
  deleteController();  // serves that progress, ends the scan, and only then releases everything
  EXPECT_EQ(ScanRunning, 0);
  EXPECT_LE(log.percents.size(), 2u) << "the scan ended after its current step";
  MSG msg;
  while (PeekMessageA(&msg, channelWindow, CAppController::UM_SCAN_CHANNEL_FOUND, CAppController::UM_SCAN_CHANNEL_FOUND,
                      PM_REMOVE))
    delete reinterpret_cast<ChannelRecord*>(msg.lParam);
}

TEST_F(ControllerScanTest, AScanStartsOnlyOnLiveTv) {
  controller->SetScanTargetWnd(channelWindow);
  for (int state : {0, 3, 11}) {
    controller->GetRunStateHolder()->SetState(state);
    controller->StartScan();
    EXPECT_EQ(ScanRunning, 0) << state;
    EXPECT_EQ(controller->GetRunState(), state);
  }
  // A stop request outside the scan's run state leaves the flag alone.
  ScanRunning = 1;
  controller->StartScan();
  EXPECT_EQ(ScanRunning, 1);
  CAppController::StopChannelScan();
  EXPECT_EQ(ScanRunning, 0);
}

TEST_F(ControllerScanTest, AScanWithoutAPlanStillEndsSoLiveTvComesBack) {
  for (const auto& [country, source] : {std::pair{1, 3}, std::pair{999, 1}}) {
    log = ScanWindowLog{};
    log.countTunerWrites = [this] { return tunerWrites(); };
    settings().CountryCode = country;
    settings().TunerSource = source;
    liveTv();
    ASSERT_TRUE(scan()) << country << " " << source;
    EXPECT_TRUE(log.percents.empty());
    EXPECT_TRUE(log.found.empty());
    EXPECT_EQ(ScanRunning, 0);
    EXPECT_EQ(controller->GetRunState(), 2);
    EXPECT_EQ(controller->IsMuted(), 0);
  }
}

TEST_F(ControllerScanTest, WithoutATargetWindowTheScanRunsAndKeepsNothing) {
  HWND gone = CreateWindowExA(0, "ScanTestChannelWindow", "gone", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  controller->SetScanTargetWnd(gone);
  DestroyWindow(gone);
  liveTv();
  controller->StartScan();
  EXPECT_EQ(controller->GetRunState(), 6);
  ASSERT_TRUE(runUntil([] { return !ScanRunning; }));
  EXPECT_EQ(CAppController::ScanFoundCount, 5);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, channelWindow, 0, 0, PM_REMOVE));
  EXPECT_EQ(controller->GetRunState(), 6) << "only the channel window brings live TV back";
  EXPECT_EQ(controller->IsMuted(), 1);
}

}  // namespace

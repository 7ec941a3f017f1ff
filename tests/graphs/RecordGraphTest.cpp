#include "RecordGraphTest.h"

#include "core/data/CAppSettings.h"
#include "graphs/CGraphBase.h"
#include "graphs/DeviceUtilities.h"

#include <com/objbase.h>
#include <machine/TvStickCapture.h>
#include <machine/StreamActivity.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurfaces.h>
#include <win32/user.h>

#include <cstdlib>
#include <cstring>

namespace test {


bool Near(std::uint32_t pixel, plat::Rgb colour) {
  const int r = static_cast<int>((pixel >> 16) & 0xFF), g = static_cast<int>((pixel >> 8) & 0xFF),
            b = static_cast<int>(pixel & 0xFF);
  return std::abs(r - colour.r) <= 6 && std::abs(g - colour.g) <= 6 && std::abs(b - colour.b) <= 6;
}

void RecordGraphTest::SetUp() {
  ASSERT_NO_FATAL_FAILURE(LiveGraphTest::SetUp());
  std::strcpy(g_pAppSettings->CaptureDeviceName, "USB TV Device");
  std::filesystem::create_directories(onC("Videos"));
  RegisterFilterModule("Filter\\Branchel.ax");
  ASSERT_NO_FATAL_FAILURE(openVideoWindow());
}

void RecordGraphTest::TearDown() {
  graph.reset();
  LiveGraphTest::TearDown();
}

void RecordGraphTest::setWindows(int platform, int major, int minor, bool wow64) {
  LiveGraphTest::setWindows(platform, major, minor);
  machine().ini().setValue("Windows", "Wow64", wow64 ? "1" : "0");
}

CRecordGraph& RecordGraphTest::makeGraph(int format, int quality, const char* folder) {
  g_pAppSettings->RecordFormat = format;
  g_pAppSettings->RecordQuality = quality;
  // The stick reads its machine.ini settings when it is first used, so a test sets them first.
  auto& stick = machine().service<plat::TvStickCapture>();
  stick.tuneCarrier(stick.control().broadcast().stations()[1].carrierHz);
  channel = stick.scene().number;
  graph = std::make_unique<CRecordGraph>();
  EXPECT_TRUE(graph->SetWindowAndBuild(window));
  graph->SetInputType(g_pAppSettings->LineStandard);
  graph->SetRecordFile(folder, format, quality);
  return *graph;
}

BOOL RecordGraphTest::build() { return graph->ApplyTvSettings(0, 50, 50, 50, 50, 50); }

bool RecordGraphTest::recordFrames(int frames) {
  // A picture is due every 40 ms of the clock; the streaming threads settle after each step.
  plat::StreamActivity& streams = plat::StreamActivity::instance();
  streams.settle(machine().clock());
  for (int step = 0; step < frames * 2 + 10 && graph->GetRecordCounter() < frames; ++step) {
    machine().clock().advance(40);
    streams.settle(machine().clock());
  }
  return graph->GetRecordCounter() >= frames;
}

std::shared_ptr<plat::VideoSurface> RecordGraphTest::surface() {
  const auto owned = machine().service<plat::VideoSurfaces>().ownedBy(window);
  return owned.empty() ? nullptr : owned.front();
}

std::filesystem::path RecordGraphTest::onC(const char* path) { return machine().paths().driveFolder('C') / path; }

IGraphBuilder* RecordGraphTest::filterGraph() const {
  return graph && graph->GetGraphBase() ? graph->GetGraphBase()->GetGraph() : nullptr;
}

IBaseFilter* RecordGraphTest::filterNamed(const wchar_t* name) const {
  IBaseFilter* filter = nullptr;
  if (!filterGraph() || FAILED(filterGraph()->FindFilterByName(name, &filter))) return nullptr;
  filter->Release();  // the graph keeps it
  return filter;
}

}  // namespace test

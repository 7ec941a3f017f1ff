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
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  g_pAppSettings = new CAppSettings;
  g_pAppSettings->CaptureDeviceNames.Add("USB TV Device");
  std::strcpy(g_pAppSettings->CaptureDeviceName, "USB TV Device");
  g_pAppSettings->LineStandard = 4;
  std::filesystem::create_directories(onC("Videos"));
  RegisterFilterModule("Filter\\Branchel.ax");
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "RecordGraphTestVideo";
  RegisterClassA(&wc);
  window = CreateWindowExA(0, "RecordGraphTestVideo", "TV", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                           nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
}

void RecordGraphTest::TearDown() {
  graph.reset();
  delete g_pAppSettings;
  g_pAppSettings = nullptr;
  if (window) DestroyWindow(window);
  CoUninitialize();
}

void RecordGraphTest::setWindows(int platform, int major, int minor, bool wow64) {
  plat::IniDocument& ini = machine().ini();
  ini.setValue("Windows", "PlatformId", std::to_string(platform));
  ini.setValue("Windows", "MajorVersion", std::to_string(major));
  ini.setValue("Windows", "MinorVersion", std::to_string(minor));
  ini.setValue("Windows", "Wow64", wow64 ? "1" : "0");
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

#include "CaptureGraphTest.h"
#include "LiveGraphProbe.h"

#include "core/CAppController.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "core/data/TunerProgramming.h"
#include "graphs/CDefaultVideoRendererFilter.h"
#include "graphs/CDeinterlacerFilter.h"
#include "graphs/CGraphBase.h"
#include "graphs/COverlayFilter.h"
#include "graphs/CVideoRendererFilter.h"

#include <support/MachineWindows.h>

#include <com/objbase.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurfaces.h>
#include <vendor/qxmdll/QXUSBControl.h>
#include <win32/user.h>

#include <cstdlib>

namespace test {

bool near(std::uint32_t pixel, int r, int g, int b) {
  const int pr = static_cast<int>((pixel >> 16) & 0xFF), pg = static_cast<int>((pixel >> 8) & 0xFF),
            pb = static_cast<int>(pixel & 0xFF);
  return std::abs(pr - r) <= 4 && std::abs(pg - g) <= 4 && std::abs(pb - b) <= 4;
}

// ---- The live graph

BOOL CTestLiveGraph::CreateDeviceFilters() {
  calls.push_back("CreateDeviceFilters");
  return OpenDefaultVideoDevice(0);
}

BOOL CTestLiveGraph::PrepareDevice() {
  calls.push_back("PrepareDevice");
  return openAudio && SelectAudioInput(g_pAppSettings->AudioDeviceNames.GetAt(0), 0);
}

BOOL CTestLiveGraph::SetCaptureFormat(int width, int height) {
  calls.push_back("SetCaptureFormat " + std::to_string(width) + "x" + std::to_string(height));
  IAMStreamConfig* config = FindStreamConfig(&PIN_CATEGORY_CAPTURE);
  AM_MEDIA_TYPE* type = nullptr;
  if (!config || FAILED(config->GetFormat(&type))) return FALSE;
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
  info->bmiHeader.biWidth = width;
  info->bmiHeader.biHeight = height;
  info->bmiHeader.biSizeImage = static_cast<DWORD>(width * height * info->bmiHeader.biBitCount / 8);
  info->rcSource = info->rcTarget = RECT{0, 0, width, height};
  type->lSampleSize = info->bmiHeader.biSizeImage;
  const HRESULT hr = config->SetFormat(type);
  DeleteMediaType(type);
  return SUCCEEDED(hr);
}

BOOL CTestLiveGraph::ConnectGraph() {
  calls.push_back("ConnectGraph");
  if (onConnect) onConnect();
  if (refuseConnect) return FALSE;
  IBaseFilter* renderer = m_pDefaultRenderer ? m_pDefaultRenderer->GetFilter() : m_pVideoRenderer->GetFilter();
  return ConnectPinsByIndex(m_pDeinterlacer->GetFilter(), 0, GetCaptureFilter(), 0) &&
         ConnectPinsByIndex(m_pOverlay->GetFilter(), 0, m_pDeinterlacer->GetFilter(), 0) &&
         ConnectPinsByIndex(renderer, 0, m_pOverlay->GetFilter(), 0);
}

BOOL CTestLiveGraph::SetSize(int width, int height) {
  calls.push_back("SetSize " + std::to_string(width) + "x" + std::to_string(height));
  return TRUE;
}

// ---- The fixture

void CaptureGraphTest::SetUp() {
  ASSERT_NO_FATAL_FAILURE(LiveGraphTest::SetUp());
  g_pAppSettings->AudioDeviceNames.Add("Audio Volume Control");
  g_pAppSettings->CountryCode = 1;
  g_pChannelList = new CChannelList;
  openDeviceControl();
  ASSERT_NO_FATAL_FAILURE(openVideoWindow());
}

void CaptureGraphTest::TearDown() {
  graph.reset();
  LiveGraphTest::TearDown();
}

void CaptureGraphTest::openDeviceControl() {
  g_pDeviceControl = new CQXUSB_Control;
  ASSERT_TRUE(g_pDeviceControl->OpenControlInterface(control().controlFilterName().c_str()));
}

CTestLiveGraph& CaptureGraphTest::makeGraph() {
  graph = std::make_unique<CTestLiveGraph>();
  EXPECT_TRUE(graph->SetWindowAndBuild(window));
  graph->SetInputType(g_pAppSettings ? g_pAppSettings->LineStandard : 4);
  return *graph;
}

BOOL CaptureGraphTest::build(int input) {
  if (!graph) makeGraph();
  return graph->ApplyTvSettings(input, 50, 50, 50, 50, 50);
}

void CaptureGraphTest::setWindows(int platform, int major, int minor, bool wow64, const char* product) {
  LiveGraphTest::setWindows(platform, major, minor);
  machine().ini().setValue("Windows", "Wow64", wow64 ? "1" : "0");
  if (product) SetProductName(product);
}

int CaptureGraphTest::standardRegister() {
  int value = -1;
  for (const auto& write : control().writes())
    if (write.kind == plat::TvStickControl::Write::Kind::Register && write.address == CCaptureGraph::kStandardRegister)
      value = write.value;
  return value;
}

std::shared_ptr<plat::VideoSurface> CaptureGraphTest::surface() {
  const auto owned = machine().service<plat::VideoSurfaces>().ownedBy(window);
  return owned.empty() ? nullptr : owned.front();
}

bool CaptureGraphTest::showFrames(int frames) { return ShowFrames(machine(), surface(), frames); }

std::vector<std::wstring> CaptureGraphTest::filterNames() { return GraphFilterNames(graph.get()); }

std::vector<std::string> CaptureGraphTest::messageBoxTexts() {
  std::vector<std::string> texts;
  for (const auto& box : robot.messageBoxes()) texts.push_back(box.text);
  return texts;
}

void CaptureGraphTest::tune(float mhz) { TunerTuneFrequency(mhz); }

}  // namespace test

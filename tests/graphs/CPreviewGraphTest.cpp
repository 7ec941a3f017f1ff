#include "CPreviewGraphTest.h"
#include "LiveGraphProbe.h"

#include "core/CAppController.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "graphs/CGraphBase.h"
#include "graphs/CSnapshotGrabber.h"

#include <com/objbase.h>
#include <machine/StreamActivity.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurfaces.h>
#include <vendor/qxmdll/QXUSBControl.h>
#include <win32/user.h>
#include <win32/user/UserSystem.h>

#include <cstdlib>
#include <filesystem>

namespace test {

namespace {

HRESULT RefuseCreation(IUnknown*, REFIID, void** out) {
  if (out) *out = nullptr;
  return E_OUTOFMEMORY;
}

}  // namespace

bool NearColour(std::uint32_t pixel, plat::Rgb colour, int tolerance) {
  const int r = static_cast<int>((pixel >> 16) & 0xFF), g = static_cast<int>((pixel >> 8) & 0xFF),
            b = static_cast<int>(pixel & 0xFF);
  return std::abs(r - colour.r) <= tolerance && std::abs(g - colour.g) <= tolerance &&
         std::abs(b - colour.b) <= tolerance;
}

bool PinConnected(IPin* pin) {
  IPin* peer = nullptr;
  if (!pin || pin->ConnectedTo(&peer) != S_OK) return false;
  peer->Release();
  return true;
}

std::vector<std::string> CPreviewProbe::renderers() const {
  std::vector<std::string> held;
  if (m_pDefaultRenderer) held.push_back("default");
  if (m_pVideoRenderer) held.push_back("video");
  if (m_pOverlayMixer) held.push_back("overlay mixer");
  if (m_pAviDecompressor) held.push_back("decompressor");
  if (m_pMixingRenderer) held.push_back("mixing");
  return held;
}

void PreviewGraphTest::SetUp() {
  configureMachine();
  ASSERT_NO_FATAL_FAILURE(LiveGraphTest::SetUp());
  g_pAppSettings->AudioDeviceNames.Add("Audio Volume Control");
  std::strcpy(g_pAppSettings->CaptureDeviceName, "USB TV Device");
  std::strcpy(g_pAppSettings->AudioDeviceName, "Audio Volume Control");
  std::strcpy(g_pAppSettings->CaptureAudioLine, "Line In");
  g_pAppSettings->CountryCode = 1;
  g_pAppSettings->VideoInput = 1;
  for (int* value : {&g_pAppSettings->Brightness, &g_pAppSettings->Contrast, &g_pAppSettings->Hue,
                     &g_pAppSettings->Saturation, &g_pAppSettings->Sharpness})
    *value = 50;
  g_pChannelList = new CChannelList;
  g_pDeviceControl = new CQXUSB_Control;
  ASSERT_TRUE(g_pDeviceControl->OpenControlInterface(
      machine().service<plat::TvStickControl>().controlFilterName().c_str()));
  ASSERT_NO_FATAL_FAILURE(openVideoWindow());
  installGrabberModule();
  if (stick().present()) {
    const auto& stations = stick().control().broadcast().stations();
    stick().tuneCarrier(stations[1].carrierHz);
    station = stations[1].scene.number;
  }
}

void PreviewGraphTest::TearDown() {
  graph.reset();
  for (const auto& [clsid, create] : m_refused) plat::BuiltinClasses::add(clsid, create);
  LiveGraphTest::TearDown();
}

void PreviewGraphTest::refuseClass(REFCLSID clsid) {
  m_refused.emplace_back(clsid, plat::BuiltinClasses::find(clsid));
  plat::BuiltinClasses::add(clsid, RefuseCreation);
}

void PreviewGraphTest::installGrabberModule() {
  const std::filesystem::path built = TestMachine::builtProgramFolder() / "Filter" / "QXM_ImageGrabber.ax";
  ASSERT_TRUE(std::filesystem::exists(built)) << "the image grabber module is not built";
  std::filesystem::create_directories(testMachine.programFolder() / "Filter");
  std::filesystem::copy_file(built, testMachine.programFolder() / "Filter" / "QXM_ImageGrabber.ax",
                             std::filesystem::copy_options::overwrite_existing);
}

CPreviewProbe& PreviewGraphTest::makeGraph() {
  graph = std::make_unique<CPreviewProbe>();
  EXPECT_TRUE(graph->SetWindowAndBuild(window));
  graph->SetInputType(g_pAppSettings->LineStandard);
  return *graph;
}

BOOL PreviewGraphTest::build(int input) {
  if (!graph) makeGraph();
  return graph->ApplyTvSettings(input, 50, 50, 50, 50, 50);
}

std::shared_ptr<plat::VideoSurface> PreviewGraphTest::surface() {
  const auto owned = machine().service<plat::VideoSurfaces>().ownedBy(window);
  return owned.empty() ? nullptr : owned.back();
}

bool PreviewGraphTest::showFrames(int frames) { return ShowFrames(machine(), surface(), frames); }

double PreviewGraphTest::rowShare(int y, plat::Rgb colour) {
  const plat::VideoSurface::Frame frame = surface()->frame();
  if (frame.width == 0 || y >= frame.height) return 0.0;
  int matching = 0;
  for (int x = 0; x < frame.width; ++x)
    if (NearColour(frame.pixels[static_cast<size_t>(y) * frame.width + x], colour)) ++matching;
  return static_cast<double>(matching) / frame.width;
}

std::vector<std::wstring> PreviewGraphTest::filterNames() { return GraphFilterNames(graph.get()); }

std::vector<std::string> PreviewGraphTest::messageBoxTexts() {
  std::vector<std::string> texts;
  for (const auto& box : plat::UserSystem::current().messageBoxes().records()) texts.push_back(box.text);
  return texts;
}

plat::Rgb PreviewGraphTest::shownColour(plat::Rgb picture) {
  std::uint8_t y = 0, u = 0, v = 0;
  plat::TestPicture::rgbToYuv(picture, y, u, v);
  return plat::TestPicture::yuvToRgb(y, u, v);
}

plat::Rgb PreviewGraphTest::externalColour(int x, int y, int width, int height) {
  std::vector<std::uint8_t> frame(static_cast<size_t>(width) * height * 2);
  const plat::Scene source{plat::Scene::Kind::External, 0, "Camcorder", "NTSC_M", 330.0};
  plat::TestPicture::paintYuy2(source, 0, 0, width, height, frame.data(), width * 2);
  const std::uint8_t* pair = frame.data() + static_cast<size_t>(y) * width * 2 + (x & ~1) * 2;
  return plat::TestPicture::yuvToRgb(pair[(x & 1) ? 2 : 0], pair[1], pair[3]);
}

bool PreviewGraphTest::waitForGrabbedFrame() {
  auto grabbed = [&] {
    long size = 0;
    if (!graph->m_pGrabber || !graph->m_pGrabber->GetFrameBufferSize(&size)) return false;
    std::vector<BYTE> buffer(static_cast<size_t>(size));
    return graph->m_pGrabber->CopyFrame(buffer.data(), size) == S_OK;
  };
  plat::StreamActivity& streams = plat::StreamActivity::instance();
  for (int frame = 0; frame < 100; ++frame) {
    machine().clock().advance(40);
    if (!streams.settle(machine().clock())) return false;
    if (grabbed()) return true;
  }
  return false;
}

VIDEOINFOHEADER PreviewGraphTest::previewFormat(GUID* subtype) {
  VIDEOINFOHEADER info{};
  IAMStreamConfig* config = graph->FindStreamConfig(&PIN_CATEGORY_PREVIEW);
  AM_MEDIA_TYPE* type = nullptr;
  if (!config || FAILED(config->GetFormat(&type)) || !type) return info;
  if (type->pbFormat && type->cbFormat >= sizeof info) info = *reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
  if (subtype) *subtype = type->subtype;
  DeleteMediaType(type);
  return info;
}

}  // namespace test

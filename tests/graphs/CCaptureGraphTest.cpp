// The capture graph's build and run: the live picture in the video window, the frame
// size by line standard, the renderer by Windows version, picture values through the
// proc amp, the crossbar inputs, the standard of an external input followed while the
// graph starts, and the failures the controller has to clean up after.
#include "CaptureGraphTest.h"

#include "core/data/CAppSettings.h"
#include "graphs/CCrossbarRouter.h"
#include "graphs/CGraphBase.h"
#include "graphs/FilterUtilities.h"

#include <machine/ProgramFolder.h>
#include <machine/StreamActivity.h>
#include <machine/TestPicture.h>
#include <vendor/language/Language.h>
#include <win32/gdi.h>
#include <win32/time.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace test {
namespace {

using Input = plat::TvStickCapture::Input;

bool has(const std::vector<std::wstring>& names, const wchar_t* name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

plat::Scene external(const char* standard) { return plat::Scene{plat::Scene::Kind::External, 0, "Camcorder", standard, 330.0}; }

class CCaptureGraphTest : public CaptureGraphTest {
 protected:
  long procAmp(long property) {
    long value = -1;
    EXPECT_EQ(graph->GetProcAmpValue(&value, property), S_OK);
    return value;
  }
  // Pixels of the last frame shown in [left, right) x [top, bottom) near the colour.
  int countNear(int left, int top, int right, int bottom, int r, int g, int b) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) count += nearWithin(surface()->pixel(x, y), r, g, b, 40);
    return count;
  }
  static bool nearWithin(std::uint32_t pixel, int r, int g, int b, int tolerance) {
    return std::abs(static_cast<int>((pixel >> 16) & 0xFF) - r) <= tolerance &&
           std::abs(static_cast<int>((pixel >> 8) & 0xFF) - g) <= tolerance &&
           std::abs(static_cast<int>(pixel & 0xFF) - b) <= tolerance;
  }
  AM_MEDIA_TYPE* captureFormat() {
    AM_MEDIA_TYPE* type = nullptr;
    IAMStreamConfig* config = graph->FindStreamConfig(&PIN_CATEGORY_CAPTURE);
    EXPECT_NE(config, nullptr);
    if (config) {
      EXPECT_EQ(config->GetFormat(&type), S_OK);
    }
    return type;
  }
};

TEST_F(CCaptureGraphTest, TheTunedStationIsShownInTheVideoWindow) {
  tune(67.25f);  // channel 4
  ASSERT_TRUE(build(0));
  EXPECT_EQ(graph->calls, (std::vector<std::string>{"CreateDeviceFilters", "PrepareDevice", "SetCaptureFormat 720x480",
                                                    "ConnectGraph"}));
  // The tee that pulled the crossbar and tuner in is gone; they stay.
  const auto names = filterNames();
  EXPECT_TRUE(has(names, L"USB TV Device Crossbar"));
  EXPECT_TRUE(has(names, L"USB TV Device TvTuner"));
  EXPECT_FALSE(has(names, L"Smart Tee"));
  EXPECT_EQ(graph->GetCrossbarInputCount(), 3);
  EXPECT_EQ(graph->GetDeviceName(), "USB TV Device");
  EXPECT_TRUE(graph->IsSignalLocked());

  ASSERT_TRUE(showFrames(2));
  const auto frame = surface()->frame();
  EXPECT_EQ(frame.width, 720);
  EXPECT_EQ(frame.height, 480);
  const plat::Rgb colour = plat::TestPicture::stationColour(4);
  EXPECT_TRUE(near(surface()->pixel(700, 460), colour.r, colour.g, colour.b));
  EXPECT_TRUE(surface()->placement().visible);
  // A United States build sets the NTSC chip and decoder standard.
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_NTSC_M);
  EXPECT_EQ(standardRegister(), 0);
}

TEST_F(CCaptureGraphTest, TheLineStandardChoosesTheTunerFrameHeight) {
  g_pAppSettings->LineStandard = 3;
  g_pAppSettings->CountryCode = 49;  // PAL_B: not an NTSC country
  ASSERT_TRUE(build(0));
  EXPECT_EQ(graph->calls[2], "SetCaptureFormat 720x576");
  long width = 0, height = 0;
  ASSERT_TRUE(graph->GetCaptureSize(&width, &height, &PIN_CATEGORY_CAPTURE));
  EXPECT_EQ(width, 720);
  EXPECT_EQ(height, 576);
  // The chip and decoder standard stay as they were.
  EXPECT_EQ(standardRegister(), -1);
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_NTSC_M);
  EXPECT_FALSE(graph->IsSignalLocked()) << "tuned nowhere";
}

TEST_F(CCaptureGraphTest, TheRendererFollowsTheWindowsVersion) {
  struct Case {
    int platform, major, minor;
    bool wow64;
    std::vector<const wchar_t*> present, absent;
  };
  const Case cases[] = {
      {2, 5, 1, false, {L"Video  Renderer"}, {L"Video Renderer", L"OverlayMixer", L"Video Mixer Renderer"}},
      {2, 6, 0, false, {L"Video  Renderer"}, {L"Video Renderer", L"AVI Decompressor"}},
      {2, 6, 0, true, {L"Video  Renderer"}, {L"Video Renderer"}},
      {2, 5, 0, false, {L"Video Renderer", L"OverlayMixer", L"AVI Decompressor", L"Video Mixer Renderer"}, {L"Video  Renderer"}},
      {1, 4, 90, false, {L"Video Renderer", L"AVI Decompressor"}, {L"Video  Renderer"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor) + (c.wow64 ? " WOW64" : ""));
    setWindows(c.platform, c.major, c.minor, c.wow64);
    makeGraph();
    ASSERT_TRUE(graph->BuildVideoChain());
    const auto names = filterNames();
    for (const wchar_t* name : {L"Quarnelix Deinterlacer", L"Quarnelix Video Invert Filter", L"QXM_OverlayFilter"})
      EXPECT_TRUE(has(names, name));
    for (const wchar_t* name : c.present) EXPECT_TRUE(has(names, name));
    for (const wchar_t* name : c.absent) EXPECT_FALSE(has(names, name));
    EXPECT_FALSE(has(names, L"Audio Renderers")) << "no sound source";
    graph.reset();
  }
}

TEST_F(CCaptureGraphTest, PictureValuesAreMappedOntoEachRangeAnd50IsTheDefault) {
  machine().ini().setValue("TVStick", "ProcAmpBrightness", "16,235,1,100");
  tune(67.25f);
  makeGraph();
  // Sharpness, contrast, brightness, hue, saturation.
  ASSERT_TRUE(graph->ApplyTvSettings(0, 10, 20, 50, 70, 100));
  EXPECT_EQ(procAmp(VideoProcAmp_Sharpness), 1);     // 0..15
  EXPECT_EQ(procAmp(VideoProcAmp_Contrast), 25);     // 0..127
  EXPECT_EQ(procAmp(VideoProcAmp_Brightness), 100);  // the default, not the middle
  EXPECT_EQ(procAmp(VideoProcAmp_Hue), 50);          // -128..127
  EXPECT_EQ(procAmp(VideoProcAmp_Saturation), 127);  // 0..127
  long maximum = 0, minimum = 0, middle = 0;
  ASSERT_TRUE(graph->GetProcAmpRange(&maximum, &minimum, &middle, VideoProcAmp_Hue));
  EXPECT_EQ(maximum, 127);
  EXPECT_EQ(minimum, -128);
  EXPECT_EQ(middle, 0);
  EXPECT_FALSE(graph->GetProcAmpRange(&maximum, &minimum, &middle, 9));
  EXPECT_EQ(maximum, 127) << "untouched on failure";

  // A range that starts above zero is reached at both ends.
  graph->SetVideoProcAmp(0, 0, 0, 0, 0);
  EXPECT_EQ(procAmp(VideoProcAmp_Brightness), 16);
  EXPECT_EQ(procAmp(VideoProcAmp_Hue), -128);
  graph->SetVideoProcAmp(100, 100, 100, 100, 100);
  EXPECT_EQ(procAmp(VideoProcAmp_Brightness), 235);
  EXPECT_EQ(procAmp(VideoProcAmp_Hue), 127);
  EXPECT_EQ(stick().procAmp(0), 235) << "the stick itself holds the value";
}

TEST_F(CCaptureGraphTest, RepeatedPictureSettingsKeepNoExtraHoldOnTheDevice) {
  ASSERT_TRUE(build(0));
  IBaseFilter* device = graph->GetCaptureFilter();
  ASSERT_NE(device, nullptr);
  device->AddRef();
  for (int i = 0; i < 3; ++i) graph->SetVideoProcAmp(40, 40, 40, 40, 40);
  graph->Close();
  EXPECT_EQ(graph->GetCaptureFilter(), nullptr);
  EXPECT_EQ(graph->GetGraphBase(), nullptr);
  EXPECT_EQ(device->Release(), 0u);
  EXPECT_EQ(graph->GetProcAmpValue(nullptr, 0), E_FAIL);
}

TEST_F(CCaptureGraphTest, TheCrossbarRoutesEachInputKind) {
  ASSERT_TRUE(build(1));
  EXPECT_EQ(stick().input(), Input::Composite);
  EXPECT_TRUE(graph->SelectCrossbarInput(2));
  EXPECT_EQ(stick().input(), Input::SVideo);
  EXPECT_TRUE(graph->SelectCrossbarInput(0));
  EXPECT_EQ(stick().input(), Input::Tuner);
  // Another kind walks past the last entry: the router refuses it and nothing changes.
  const DWORD before = GetTickCount();
  EXPECT_TRUE(graph->SelectCrossbarInput(3));
  EXPECT_EQ(GetTickCount() - before, 100u);
  EXPECT_EQ(stick().input(), Input::Tuner);

  graph->SelectCrossbarInputByType(PhysConn_Video_SVideo);
  EXPECT_EQ(stick().input(), Input::SVideo);
  graph->SelectCrossbarInputByType(PhysConn_Video_RGB);
  EXPECT_EQ(stick().input(), Input::SVideo);

  CCaptureGraph empty;
  EXPECT_FALSE(empty.SelectCrossbarInput(0));
}

TEST_F(CCaptureGraphTest, AnNtscCompositeSourceBuildsAt480Lines) {
  g_pAppSettings->LineStandard = 3;
  g_pAppSettings->AvInputStandard = 3;
  makeGraph();
  ASSERT_TRUE(build(1));
  EXPECT_EQ(graph->calls[2], "SetCaptureFormat 720x480");
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 0);
  EXPECT_EQ(g_pAppSettings->LineStandard, 4);
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_NTSC_M);
  EXPECT_EQ(standardRegister(), 0);
  EXPECT_TRUE(graph->IsSignalLocked());
  EXPECT_EQ(std::count(graph->calls.begin(), graph->calls.end(), "SetSize 720x480"), 0);
}

TEST_F(CCaptureGraphTest, ASecamSourceSetsTheChipRegisterAndSecamB) {
  stick().setExternalSource(Input::Composite, external("SECAM_L"));
  ASSERT_TRUE(build(1));
  EXPECT_EQ(standardRegister(), 0xFF);
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_SECAM_B);
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 3);
  EXPECT_EQ(g_pAppSettings->LineStandard, 3);
  EXPECT_EQ(graph->calls[2], "SetCaptureFormat 720x576");
  EXPECT_EQ(graph->calls.size(), 4u) << "the running signal agreed: no resize";
}

TEST_F(CCaptureGraphTest, APalSourceThatBecomesNtscWhileStartingIsResizedTo480Lines) {
  stick().setExternalSource(Input::Composite, external("PAL_B"));
  makeGraph();
  graph->onConnect = [this] { stick().setExternalSource(Input::Composite, external("NTSC_M")); };
  ASSERT_TRUE(build(1));
  EXPECT_EQ(graph->calls[2], "SetCaptureFormat 720x576");
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 0);
  EXPECT_EQ(g_pAppSettings->LineStandard, 4);
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_NTSC_M);
  EXPECT_EQ(graph->calls.back(), "SetSize 720x480");
}

TEST_F(CCaptureGraphTest, AnNtscSourceThatBecomesPalWhileStartingIsResizedTo576Lines) {
  makeGraph();
  graph->SetInputType(4);
  graph->onConnect = [this] { stick().setExternalSource(Input::Composite, external("PAL_B")); };
  ASSERT_TRUE(build(1));
  EXPECT_EQ(graph->calls[2], "SetCaptureFormat 720x480");
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 2);
  EXPECT_EQ(g_pAppSettings->LineStandard, 3);
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_PAL_D);
  EXPECT_EQ(standardRegister(), 0);
  EXPECT_EQ(graph->calls.back(), "SetSize 720x576");
}

TEST_F(CCaptureGraphTest, ALineStandardOutsideTheFamiliesLeavesTheExternalFrameHeight) {
  stick().setExternalSource(Input::Composite, external("PAL_B"));
  makeGraph();
  graph->SetInputType(0);
  ASSERT_TRUE(build(1));
  EXPECT_EQ(graph->calls[2], "SetCaptureFormat 720x480");
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 2);
  EXPECT_EQ(g_pAppSettings->LineStandard, 3) << "set once the graph runs";
}

TEST_F(CCaptureGraphTest, FrameRateAndCaptureSize) {
  makeGraph();
  ASSERT_TRUE(graph->CreateCaptureBuilder());
  graph->SetFrameRate(&PIN_CATEGORY_CAPTURE);
  AM_MEDIA_TYPE* type = captureFormat();
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat)->AvgTimePerFrame, 400'000);
  DeleteMediaType(type);
  EXPECT_TRUE(messageBoxTexts().empty());

  // No pin of the category: the user is told and nothing changes.
  const GUID nowhere = {0x1234, 0x5678, 0x9ABC, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_EQ(graph->FindStreamConfig(&nowhere), nullptr);
  robot.answerNextMessageBox(IDOK);
  graph->SetFrameRate(&nowhere);
  EXPECT_EQ(messageBoxTexts(), std::vector<std::string>{"Cannot set frame rate for capture"});
  long width = 0, height = 0;
  EXPECT_FALSE(graph->GetCaptureSize(&width, &height, &nowhere));
  ASSERT_TRUE(graph->GetCaptureSize(&width, &height, &PIN_CATEGORY_PREVIEW));
  EXPECT_EQ(height, 480);
  EXPECT_NE(graph->FindPinByCategory(&PIN_CATEGORY_PREVIEW), nullptr);
  EXPECT_EQ(graph->FindPinByCategory(&nowhere), nullptr);
}

TEST_F(CCaptureGraphTest, StopWaits80MillisecondsBetweenPauseAndStop) {
  ASSERT_TRUE(build(0));
  const DWORD before = GetTickCount();
  EXPECT_TRUE(graph->Stop());
  EXPECT_EQ(GetTickCount() - before, 80u);
  EXPECT_TRUE(graph->GetGraphBase()->IsStopped());
  EXPECT_TRUE(graph->PauseGraph());
  EXPECT_TRUE(graph->GetGraphBase()->IsPaused());
  EXPECT_TRUE(graph->Run());

  CCaptureGraph empty;
  const DWORD start = GetTickCount();
  EXPECT_FALSE(empty.Stop());
  EXPECT_EQ(GetTickCount(), start);
  EXPECT_FALSE(empty.Run());
  EXPECT_FALSE(empty.PauseGraph());
  EXPECT_FALSE(empty.SetWindowAndBuild(nullptr));
  EXPECT_FALSE(empty.AttachVideoWindow(window));
  EXPECT_FALSE(empty.ShowVideo(TRUE));
  EXPECT_EQ(empty.GetEventInterface(), nullptr);
}

TEST_F(CCaptureGraphTest, TheVideoIsPlacedInItsWindowAndEventsReachIt) {
  tune(67.25f);
  ASSERT_TRUE(build(0));
  ASSERT_TRUE(graph->PlaceVideo(10, 20, 320, 240));
  const RECT placed = surface()->placement().rect;
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.top, 20);
  EXPECT_EQ(placed.right, 330);
  EXPECT_EQ(placed.bottom, 260);
  EXPECT_EQ(surface()->placement().owner, window);
  EXPECT_TRUE(graph->SetNotifyWindow(window));
  EXPECT_NE(graph->GetEventInterface(), nullptr);

  // The stick pulled out while it runs: the device-lost event comes to the window.
  ASSERT_TRUE(showFrames(1));
  // Pulled out without the robot's message pump, which would hand the notice to the
  // window's procedure before the test can see it.
  control().setPlugged(false);
  // The streaming thread notices at its next frame time: move time a frame at a time, the
  // streaming threads settled after each, until the event comes.
  plat::StreamActivity& streams = plat::StreamActivity::instance();
  MSG message{};
  bool lost = false;
  for (int frame = 0; frame < 10 && !lost; ++frame) {
    machine().clock().advance(40);
    ASSERT_TRUE(streams.settle(machine().clock()));
    lost = PeekMessageA(&message, window, UM_GRAPH_EVENT, UM_GRAPH_EVENT, PM_REMOVE);
  }
  EXPECT_TRUE(lost);
  long code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  bool deviceLost = false;
  while (!deviceLost && graph->GetEventInterface()->GetEvent(&code, &param1, &param2, 0) == S_OK)
    deviceLost = code == EC_DEVICE_LOST && param2 == 0;
  EXPECT_TRUE(deviceLost);
  EXPECT_FALSE(graph->IsSignalLocked());
  graph->Close();
  EXPECT_FALSE(graph->Run());
}

TEST_F(CCaptureGraphTest, AMissingStickFailsTheBuildCleanly) {
  robot.plugTvStick(false);
  EXPECT_FALSE(build(0));
  EXPECT_EQ(graph->calls, std::vector<std::string>{"CreateDeviceFilters"});
  EXPECT_EQ(graph->GetCaptureFilter(), nullptr);
  EXPECT_EQ(graph->GetGraphBase()->IsRunning(), FALSE);
  EXPECT_EQ(surface(), nullptr);
  graph.reset();

  // Plugged back in, the next graph builds.
  robot.plugTvStick(true);
  EXPECT_TRUE(build(0));
}

TEST_F(CCaptureGraphTest, AFailedStepLeavesAPartGraphThatIsDeletedCleanly) {
  makeGraph().refuseConnect = TRUE;
  EXPECT_FALSE(build(0));
  EXPECT_FALSE(graph->GetGraphBase()->IsRunning());
  EXPECT_TRUE(has(filterNames(), L"Video Capture"));
  graph.reset();

  CCaptureGraph base;
  ASSERT_TRUE(base.SetWindowAndBuild(window));
  EXPECT_FALSE(base.ApplyTvSettings(0, 50, 50, 50, 50, 50)) << "the base has no device step";

  delete g_pAppSettings;
  g_pAppSettings = nullptr;
  EXPECT_FALSE(build(0));
}

TEST_F(CCaptureGraphTest, AFilterModuleThatCannotBeRegisteredStopsTheChainWithAMessage) {
  const auto modules = plat::ProgramFolder::moduleFolder();
  const auto empty = testMachine.root() / "NoModules";
  std::filesystem::create_directories(empty);
  plat::ProgramFolder::setModuleFolder(empty);
  makeGraph();
  robot.answerNextMessageBox(IDOK);
  const BOOL built = graph->BuildVideoChain();
  plat::ProgramFolder::setModuleFolder(modules);
  EXPECT_FALSE(built);
  EXPECT_EQ(messageBoxTexts(), std::vector<std::string>{GetMessageInfo(14)});
  EXPECT_TRUE(filterNames().empty());
}

TEST_F(CCaptureGraphTest, TheOverlayDrawsTextAndPicturesOverTheLiveVideo) {
  LOGFONTA font{};
  font.lfHeight = 41;
  std::strcpy(font.lfFaceName, "Arial");
  makeGraph();
  EXPECT_FALSE(graph->SetOverlayText("Mute", 10, 10, font, 0x00FF00, 0, 5.0)) << "no overlay yet";
  EXPECT_FALSE(graph->HideOverlay());
  tune(67.25f);
  ASSERT_TRUE(build(0));
  EXPECT_FALSE(graph->SetOverlayText(nullptr, 10, 10, font, 0x00FF00, 0, 5.0));

  // Green text at the top left, opaque.
  ASSERT_TRUE(graph->SetOverlayText("Mute", 10, 10, font, 0x00FF00, 0, 5.0));
  ASSERT_TRUE(showFrames(2));
  EXPECT_GT(countNear(0, 0, 200, 80, 0, 255, 0), 50);

  // A blue picture stretched to 64 x 64 at (100, 100); red is its transparent colour.
  std::vector<std::uint32_t> blue(16 * 16, 0x000000FF);
  HBITMAP picture = CreateBitmap(16, 16, 1, 32, blue.data());
  ASSERT_TRUE(graph->SetOverlayBitmap(reinterpret_cast<LONG_PTR>(picture), 100, 100, 64, 64, 1.0));
  DeleteObject(picture);
  ASSERT_TRUE(showFrames(2));
  EXPECT_EQ(countNear(0, 0, 200, 80, 0, 255, 0), 0) << "the picture layer replaced the text";
  EXPECT_EQ(countNear(110, 110, 150, 150, 0, 0, 255), 40 * 40);

  ASSERT_TRUE(graph->HideOverlay());
  ASSERT_TRUE(showFrames(2));
  EXPECT_EQ(countNear(110, 110, 150, 150, 0, 0, 255), 0);
}

TEST_F(CCaptureGraphTest, TheHeldChainIsAddedToTheGraphAgain) {
  for (const int minor : {1, 0}) {
    SCOPED_TRACE(minor == 1 ? "XP: the default renderer" : "2000: the renderer and its helpers");
    setWindows(2, 5, minor);
    makeGraph();
    ASSERT_TRUE(graph->BuildVideoChain());
    auto built = filterNames();
    RemoveAllFilters(graph->GetGraphBase()->GetGraph());
    ASSERT_TRUE(filterNames().empty());
    ASSERT_TRUE(graph->ReAddVideoChain());
    auto again = filterNames();
    // The default renderer comes back under its single-blank name.
    std::replace(built.begin(), built.end(), std::wstring(L"Video  Renderer"), std::wstring(L"Video Renderer"));
    std::sort(built.begin(), built.end());
    std::sort(again.begin(), again.end());
    EXPECT_EQ(again, built);
    graph.reset();
  }
  CCaptureGraph empty;
  EXPECT_FALSE(empty.ReAddVideoChain());
}

}  // namespace
}  // namespace test

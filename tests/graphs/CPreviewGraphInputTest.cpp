// The running preview switched between its inputs, the standard each input gets, and
// the size and frame rate that follow it: resizes, rebuilds and the 320 x 240 restart.
#include "CPreviewGraphTest.h"

#include "core/data/CAppSettings.h"
#include "graphs/CDefaultVideoRendererFilter.h"
#include "graphs/CGraphBase.h"

#include <machine/TvStickControl.h>
#include <win32/time.h>

namespace test {
namespace {

using Input = plat::TvStickCapture::Input;

plat::Scene Camcorder(const char* standard) {
  return plat::Scene{plat::Scene::Kind::External, 0, "Camcorder", standard, 330.0};
}

class CPreviewGraphInputTest : public PreviewGraphTest {
 protected:
  // The colour bars of an external source, negated as the window shows them, at the
  // middle of bars 1, 3 and 6.
  void expectColourBars() {
    ASSERT_TRUE(showFrames(3));
    const plat::VideoSurface::Frame frame = surface()->frame();
    const int y = frame.height / 2;
    for (int bar : {1, 3, 6}) {
      const int x = frame.width * (2 * bar + 1) / 16;
      EXPECT_TRUE(NearColour(surface()->pixel(x, y), shownColour(externalColour(x, y, frame.width, frame.height))))
          << "bar " << bar << ": " << std::hex << surface()->pixel(x, y);
    }
  }
  void expectStation() {
    ASSERT_TRUE(showFrames(3));
    const plat::VideoSurface::Frame frame = surface()->frame();
    EXPECT_GT(rowShare(frame.height - 6, shownColour(plat::TestPicture::stationColour(station))), 0.75);
  }
  void expectFormat(int width, int height, REFERENCE_TIME interval) {
    GUID subtype{};
    const VIDEOINFOHEADER info = previewFormat(&subtype);
    EXPECT_EQ(info.bmiHeader.biWidth, width);
    EXPECT_EQ(info.bmiHeader.biHeight, height);
    EXPECT_EQ(info.AvgTimePerFrame, interval);
    EXPECT_EQ(subtype, MEDIASUBTYPE_YUY2);
    ASSERT_TRUE(showFrames(2));
    EXPECT_EQ(surface()->frame().width, width);
    EXPECT_EQ(surface()->frame().height, height);
  }
  int standardRegister() {
    int value = -1;
    for (const auto& write : stick().control().writes())
      if (write.kind == plat::TvStickControl::Write::Kind::Register && write.address == CCaptureGraph::kStandardRegister)
        value = write.value;
    return value;
  }
  // Milliseconds the calling thread slept through `work` on the machine clock.
  template <class Work>
  DWORD sleptDuring(Work work) {
    const DWORD before = GetTickCount();
    work();
    return GetTickCount() - before;
  }
};

TEST_F(CPreviewGraphInputTest, SwitchingInputsShowsEachSourcesPicture) {
  stick().setExternalSource(Input::SVideo, Camcorder("NTSC_M"));
  ASSERT_TRUE(build(0));
  expectStation();

  ASSERT_TRUE(graph->ChangeInput(1, 720, 480));
  EXPECT_EQ(stick().input(), Input::Composite);
  EXPECT_TRUE(graph->GetGraphBase()->IsRunning());
  expectColourBars();

  ASSERT_TRUE(graph->ChangeInput(2, 720, 480));
  EXPECT_EQ(stick().input(), Input::SVideo);
  expectColourBars();

  ASSERT_TRUE(graph->ChangeInput(0, 720, 480));
  EXPECT_EQ(stick().input(), Input::Tuner);
  expectStation();
}

TEST_F(CPreviewGraphInputTest, OnVistaChangingInputRebuildsAtTheGivenSize) {
  setWindows(2, 6, 0);
  ASSERT_TRUE(build(0));
  expectFormat(720, 480, 333667);
  ASSERT_TRUE(graph->ChangeInput(1, 720, 576));
  EXPECT_EQ(stick().input(), Input::Composite);
  // The decoder still sees NTSC, so the frame rate stays; the size is the one asked for.
  expectFormat(720, 576, 333667);
  EXPECT_EQ(graph->renderers(), std::vector<std::string>{"default"});
  expectColourBars();
}

TEST_F(CPreviewGraphInputTest, ElsewhereChangingInputOnlyReroutesAndRuns) {
  ASSERT_TRUE(build(0));
  ASSERT_TRUE(graph->ChangeInput(1, 720, 576));
  expectFormat(720, 480, 333667);
  expectColourBars();
}

TEST_F(CPreviewGraphInputTest, AnExternalSignalsStandardSetsItsSizeAndFrameRate) {
  ASSERT_TRUE(build(0));
  stick().setExternalSource(Input::Composite, Camcorder("PAL_D"));
  ASSERT_TRUE(graph->DetectStandard(1));
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_PAL_D);
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 2);
  EXPECT_EQ(g_pAppSettings->LineStandard, 3);
  expectFormat(720, 576, 400000);
  expectColourBars();

  stick().setExternalSource(Input::Composite, Camcorder("SECAM_B"));
  ASSERT_TRUE(graph->DetectStandard(1));
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_SECAM_B);
  EXPECT_EQ(standardRegister(), 0xFF);
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 3);
  expectFormat(720, 576, 400000);

  stick().setExternalSource(Input::Composite, Camcorder("NTSC_M"));
  ASSERT_TRUE(graph->DetectStandard(1));
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_NTSC_M);
  EXPECT_EQ(standardRegister(), 0);
  EXPECT_EQ(g_pAppSettings->AvInputStandard, 0);
  EXPECT_EQ(g_pAppSettings->LineStandard, 4);
  expectFormat(720, 480, 333667);
  expectColourBars();
}

TEST_F(CPreviewGraphInputTest, TheTunerTakesItsCountrysStandard) {
  ASSERT_TRUE(build(0));
  graph->ChangeInput(1, 720, 480);
  stick().setDecoderStandard(AnalogVideo_PAL_D);

  // The same line standard: no resize (its stop would sleep 80 ms more than the routing
  // and the standard's 30 ms), the picture values re-applied.
  g_pAppSettings->Brightness = 100;
  EXPECT_EQ(sleptDuring([&] { EXPECT_TRUE(graph->DetectStandard(0)); }), 130u);
  EXPECT_EQ(stick().input(), Input::Tuner);
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_NTSC_M) << "an NTSC country's standard is set by name";
  EXPECT_EQ(stick().procAmp(0), stick().procAmpRange(0).max);
  EXPECT_EQ(previewFormat().bmiHeader.biHeight, 480);

  // A 625-line country: its standard family is stored and the picture resized.
  g_pAppSettings->CountryCode = 49;
  EXPECT_EQ(sleptDuring([&] { EXPECT_TRUE(graph->DetectStandard(0)); }), 180u);
  EXPECT_EQ(g_pAppSettings->LineStandard, 3);
  EXPECT_EQ(previewFormat().bmiHeader.biHeight, 576);
}

TEST_F(CPreviewGraphInputTest, ACountryWithoutAStandardKeepsTheSize) {
  ASSERT_TRUE(build(0));
  g_pAppSettings->CountryCode = 999;
  EXPECT_TRUE(graph->DetectStandard(0));
  EXPECT_EQ(g_pAppSettings->LineStandard, -1);
  expectFormat(720, 480, 333667);
}

TEST_F(CPreviewGraphInputTest, TheExternalStandardOfTheSettingsIsApplied) {
  ASSERT_TRUE(build(0));
  g_pAppSettings->AvInputStandard = 2;
  ASSERT_TRUE(graph->ApplyStandardFromSettings(0));
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_PAL_D);
  EXPECT_EQ(g_pAppSettings->LineStandard, 3);
  expectFormat(720, 576, 400000);

  g_pAppSettings->AvInputStandard = 1;
  ASSERT_TRUE(graph->ApplyStandardFromSettings(0));
  EXPECT_EQ(stick().decoderStandard(), AnalogVideo_NTSC_433);
  EXPECT_EQ(g_pAppSettings->LineStandard, 4);
  expectFormat(720, 480, 333667);
}

TEST_F(CPreviewGraphInputTest, CompositeNtsc443IsNeverResizedTo576Lines) {
  ASSERT_TRUE(build(0));
  g_pAppSettings->VideoInput = 3;
  g_pAppSettings->AvInputStandard = 1;
  ASSERT_TRUE(graph->SetSize(720, 576));
  expectFormat(720, 480, 333667);
  expectStation();

  // Only Composite is corrected; S-Video takes the size asked for.
  g_pAppSettings->VideoInput = 4;
  ASSERT_TRUE(graph->SetSize(720, 576));
  expectFormat(720, 576, 333667);
}

TEST_F(CPreviewGraphInputTest, RebuildingRenewsTheDefaultRenderer) {
  ASSERT_TRUE(build(0));
  // Held here, the old renderer cannot be freed and its address reused.
  IBaseFilter* renderer = graph->m_pDefaultRenderer->GetFilter();
  renderer->AddRef();
  ASSERT_TRUE(graph->RebuildAtSize(640, 480));
  ASSERT_NE(graph->m_pDefaultRenderer, nullptr);
  EXPECT_NE(graph->m_pDefaultRenderer->GetFilter(), renderer);
  renderer->Release();
  expectFormat(640, 480, 333667);
  expectStation();
}

TEST_F(CPreviewGraphInputTest, RestartingShowsTheDeviceAt320x240WithoutTheChain) {
  ASSERT_TRUE(build(0));
  ASSERT_TRUE(graph->RestartAtSize());
  EXPECT_TRUE(graph->GetGraphBase()->IsRunning());
  expectFormat(320, 240, 333667);
  // Straight from the device: the picture is not negated any more.
  EXPECT_GT(rowShare(240 - 6, plat::TestPicture::stationColour(station)), 0.75);
  EXPECT_FALSE(graph->GetGrabbedFrameSize());
  EXPECT_EQ(graph->GetGrabbedFrameDib(), nullptr);
}

TEST_F(CPreviewGraphInputTest, AFormatTheDeviceRefusesIsNotReported) {
  ASSERT_TRUE(build(0));
  // Connected and running, the pin keeps its format.
  EXPECT_TRUE(graph->SetCaptureFormat(352, 288));
  expectFormat(720, 480, 333667);
}

TEST_F(CPreviewGraphInputTest, StoppingWorkStopsTheGraph) {
  EXPECT_FALSE(makeGraph().StopWork()) << "no device opened yet";
  ASSERT_TRUE(build(0));
  EXPECT_TRUE(graph->StopWork());
  EXPECT_TRUE(graph->GetGraphBase()->IsStopped());
  EXPECT_FALSE(graph->ReattachVideoWindow());
}

TEST_F(CPreviewGraphInputTest, WithoutABuildTheInputOperationsFail) {
  makeGraph();
  EXPECT_FALSE(graph->DetectStandard(1));
  EXPECT_FALSE(graph->ChangeInput(1, 720, 480));
  EXPECT_FALSE(graph->SetCaptureFormat(720, 480));
  EXPECT_FALSE(graph->SetSize(720, 480));
  EXPECT_FALSE(graph->RestartAtSize());
  EXPECT_FALSE(graph->ConnectGraph());
}

}  // namespace
}  // namespace test

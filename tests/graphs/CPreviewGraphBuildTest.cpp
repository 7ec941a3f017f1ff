// The preview graph built and run through ApplyTvSettings: the station's picture in the
// video window, the renderer each Windows version ends with, the fallbacks when a
// renderer cannot be made or an overlay refuses the picture, the image grabber's module,
// and a missing stick.
#include "CPreviewGraphTest.h"

#include "core/data/CAppSettings.h"
#include "graphs/CDeinterlacerFilter.h"
#include "graphs/CGraphBase.h"
#include "graphs/COverlayFilter.h"
#include "graphs/CSnapshotGrabber.h"
#include "graphs/CVideoDeviceFilter.h"
#include "graphs/DeviceUtilities.h"

#include <dshow/baseclasses/CTransInPlaceFilter.h>
#include <dshow/engine/PlatformClasses.h>
#include <machine/TvStickControl.h>
#include <vendor/image_grabber/QxmImageGrabber.h>
#include <vendor/overlay_filter/QxmOverlay.h>
#include <vendor/language/Language.h>

#include <algorithm>
#include <filesystem>

namespace test {
namespace {

using Renderers = std::vector<std::string>;

// An overlay filter that takes no picture at all; its interface answers every call.
class RefusingOverlay : public CTransInPlaceFilter, public IQxmOverlay {
 public:
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new RefusingOverlay(outer, phr); }

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IQxmOverlay) return GetInterface(static_cast<IQxmOverlay*>(this), ppv);
    return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
  }
  HRESULT CheckInputType(const CMediaType*) override { return VFW_E_TYPE_NOT_ACCEPTED; }
  HRESULT Transform(IMediaSample*) override { return S_OK; }

  STDMETHODIMP SetMode(int) override { return S_OK; }
  STDMETHODIMP Reserved5() override { return S_OK; }
  STDMETHODIMP Reserved6() override { return S_OK; }
  STDMETHODIMP Reserved7() override { return S_OK; }
  STDMETHODIMP SetPicture(LONG_PTR) override { return S_OK; }
  STDMETHODIMP Reserved9() override { return S_OK; }
  STDMETHODIMP Reserved10() override { return S_OK; }
  STDMETHODIMP Reserved11() override { return S_OK; }
  STDMETHODIMP SetContent(LONG_PTR, LONG_PTR, int) override { return S_OK; }
  STDMETHODIMP Reserved13() override { return S_OK; }
  STDMETHODIMP SetColors(DWORD, DWORD, int) override { return S_OK; }
  STDMETHODIMP Reserved15() override { return S_OK; }
  STDMETHODIMP SetPosition(int, int, int) override { return S_OK; }
  STDMETHODIMP Reserved17() override { return S_OK; }
  STDMETHODIMP SetFont(LOGFONTA, int) override { return S_OK; }
  STDMETHODIMP Reserved19() override { return S_OK; }
  STDMETHODIMP SetBlend(int, int, double, int) override { return S_OK; }

 private:
  RefusingOverlay(LPUNKNOWN outer, HRESULT* phr)
      : CTransInPlaceFilter("Refusing overlay", outer, CLSID_QxmOverlayFilter, phr) {}
};

// A renderer stand-in that takes no picture at all.
class RefusingRenderer : public CTransInPlaceFilter {
 public:
  static CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new RefusingRenderer(outer, phr); }
  HRESULT CheckInputType(const CMediaType*) override { return VFW_E_TYPE_NOT_ACCEPTED; }
  HRESULT Transform(IMediaSample*) override { return S_OK; }

 private:
  RefusingRenderer(LPUNKNOWN outer, HRESULT* phr) : CTransInPlaceFilter("Refusing renderer", outer, GUID_NULL, phr) {}
};

bool Has(const std::vector<std::wstring>& names, const wchar_t* name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

class CPreviewGraphBuildTest : public PreviewGraphTest {
 protected:
  // Builds on the tuner with the class made as a renderer that refuses every picture.
  BOOL buildWithRefusing(REFCLSID clsid) {
    const plat::CreateInstanceFn real = plat::BuiltinClasses::find(clsid);
    plat::BuiltinClasses::add(clsid, plat::PlatformClasses::create<&RefusingRenderer::CreateInstance>);
    const BOOL built = build(0);
    plat::BuiltinClasses::add(clsid, real);
    return built;
  }
  // The station's background fills most of the bottom rows of the window's picture.
  void expectStation() {
    ASSERT_TRUE(showFrames(3));
    const plat::VideoSurface::Frame frame = surface()->frame();
    ASSERT_GT(frame.height, 10);
    EXPECT_GT(rowShare(frame.height - 6, shownColour(plat::TestPicture::stationColour(station))), 0.75);
  }
};

TEST_F(CPreviewGraphBuildTest, TheTunersPictureReachesTheVideoWindowThroughTheDefaultRenderer) {
  ASSERT_TRUE(build(0));
  EXPECT_EQ(graph->renderers(), Renderers{"default"});
  expectStation();
  const plat::VideoSurface::Frame frame = surface()->frame();
  EXPECT_EQ(frame.width, 720);
  EXPECT_EQ(frame.height, 480) << "country 1 has a 525-line standard";
  EXPECT_EQ(surface()->placement().owner, window);

  const auto names = filterNames();
  for (const wchar_t* name : {L"Video Capture", L"Talvik_Image Grabber", L"Video  Renderer"})
    EXPECT_TRUE(Has(names, name)) << std::string(name, name + std::wcslen(name));
  EXPECT_TRUE(messageBoxTexts().empty());
}

TEST_F(CPreviewGraphBuildTest, OnVistaTheDefaultRendererLeavesNoOtherRenderer) {
  setWindows(2, 6, 0);
  ASSERT_TRUE(build(0));
  EXPECT_EQ(graph->renderers(), Renderers{"default"});
  expectStation();
}

TEST_F(CPreviewGraphBuildTest, OnWindows2000TheOverlayMixerFeedsTheOldRenderer) {
  setWindows(2, 5, 0);
  ASSERT_TRUE(build(0));
  // The decompressor and the mixing renderer were not needed and are gone (the graph
  // manager brings its own decompressor for the old renderer).
  EXPECT_EQ(graph->renderers(), (Renderers{"video", "overlay mixer"}));
  EXPECT_FALSE(Has(filterNames(), L"Video Mixer Renderer"));
  expectStation();
}

TEST_F(CPreviewGraphBuildTest, ADefaultRendererThatCannotBeMadeFallsBackToTheOldRendererChain) {
  refuseClass(CLSID_VideoRendererDefault);
  ASSERT_TRUE(build(0));
  EXPECT_EQ(graph->renderers(), (Renderers{"video", "overlay mixer"}));
  expectStation();
}

TEST_F(CPreviewGraphBuildTest, ADefaultRendererRefusingThePictureIsDroppedForTheGraphManagersChoice) {
  ASSERT_TRUE(buildWithRefusing(CLSID_VideoRendererDefault));
  EXPECT_EQ(graph->renderers(), Renderers{});
  EXPECT_FALSE(Has(filterNames(), L"Video  Renderer"));
  expectStation();
}

TEST_F(CPreviewGraphBuildTest, AnOldRendererRefusingTheMixersPictureLeavesTheGraphManagerToRender) {
  setWindows(2, 5, 0);
  ASSERT_TRUE(buildWithRefusing(CLSID_VideoRenderer));
  // The mixer and the old renderer are dropped; the mixing renderer stays held.
  EXPECT_EQ(graph->renderers(), Renderers{"mixing"});
  EXPECT_FALSE(Has(filterNames(), L"OverlayMixer"));
  expectStation();
}

TEST_F(CPreviewGraphBuildTest, WithoutAnOverlayMixerTheDecompressorFeedsTheOldRenderer) {
  setWindows(2, 5, 0);
  refuseClass(CLSID_OverlayMixer);
  ASSERT_TRUE(build(0));
  EXPECT_EQ(graph->renderers(), (Renderers{"video", "decompressor"}));
  EXPECT_TRUE(Has(filterNames(), L"AVI Decompressor"));
  expectStation();
}

TEST_F(CPreviewGraphBuildTest, WithoutMixerOrDecompressorTheMixingRendererTakesThePicture) {
  setWindows(2, 6, 0);
  refuseClass(CLSID_VideoRendererDefault);
  refuseClass(CLSID_OverlayMixer);
  // Vista makes no decompressor; the old renderer is dropped for the mixing one.
  ASSERT_TRUE(build(0));
  EXPECT_EQ(graph->renderers(), Renderers{"mixing"});
  EXPECT_FALSE(Has(filterNames(), L"Video Renderer"));
  expectStation();
}

TEST_F(CPreviewGraphBuildTest, WithOnlyTheOldRendererTheGraphManagerChoosesTheRest) {
  setWindows(2, 6, 0);
  for (const CLSID& clsid : {CLSID_VideoRendererDefault, CLSID_OverlayMixer, CLSID_VideoMixingRenderer9})
    refuseClass(clsid);
  ASSERT_TRUE(build(0));
  EXPECT_EQ(graph->renderers(), Renderers{});
  expectStation();
}

TEST_F(CPreviewGraphBuildTest, AnOverlayRefusingThePictureIsLeftOutAndTheGraphManagerRenders) {
  const plat::CreateInstanceFn real = plat::BuiltinClasses::find(CLSID_QxmOverlayFilter);
  plat::BuiltinClasses::add(CLSID_QxmOverlayFilter, plat::PlatformClasses::create<&RefusingOverlay::CreateInstance>);
  const BOOL built = build(0);
  plat::BuiltinClasses::add(CLSID_QxmOverlayFilter, real);
  ASSERT_TRUE(built);
  ASSERT_NE(graph->m_pOverlay, nullptr);
  EXPECT_FALSE(PinConnected(graph->m_pOverlay->FindPin(TRUE, nullptr)));
  expectStation();
}

TEST_F(CPreviewGraphBuildTest, TheImageGrabbersModuleIsRegisteredFromTheProgramFolder) {
  EXPECT_FALSE(IsFilterRegistered(CLSID_QxmImageGrabber));
  ASSERT_TRUE(build(0));
  EXPECT_TRUE(IsFilterRegistered(CLSID_QxmImageGrabber));
  ASSERT_NE(graph->m_pGrabber, nullptr);
  EXPECT_NE(graph->m_pGrabber->GetFilter(), nullptr);
}

TEST_F(CPreviewGraphBuildTest, AGrabberThatCannotBeMadeStopsTheBuildWithAMessage) {
  std::filesystem::remove(testMachine.programFolder() / "Filter" / "QXM_ImageGrabber.ax");
  EXPECT_FALSE(build(0));
  EXPECT_EQ(messageBoxTexts(), std::vector<std::string>{GetMessageInfo(14)});
  EXPECT_EQ(surface(), nullptr);
  graph.reset();
}

TEST_F(CPreviewGraphBuildTest, AMissingStickFailsTheBuildCleanly) {
  stick().control().setPlugged(false);
  EXPECT_FALSE(build(0));
  EXPECT_EQ(graph->m_pVideoDevice, nullptr);
  EXPECT_EQ(graph->GetCaptureFilter(), nullptr);
  EXPECT_EQ(surface(), nullptr);
  // What a failed build leaves behind answers safely and is deleted.
  EXPECT_EQ(graph->TakeSnapshot(), nullptr);
  EXPECT_EQ(graph->GetGrabbedFrameDib(), nullptr);
  EXPECT_FALSE(graph->ChangeInput(1, 720, 480));
  EXPECT_FALSE(graph->ConnectGraph());
  graph.reset();
}

TEST_F(CPreviewGraphBuildTest, ReAddingTheChainBringsTheGrabberBack) {
  ASSERT_TRUE(build(0));
  graph->Stop();
  IGraphBuilder* manager = graph->GetGraphBase()->GetGraph();
  ASSERT_EQ(manager->RemoveFilter(graph->m_pGrabber->GetFilter()), S_OK);
  EXPECT_FALSE(Has(filterNames(), L"Talvik_Image Grabber"));
  EXPECT_TRUE(graph->ReAddVideoChain());
  EXPECT_TRUE(Has(filterNames(), L"Talvik_Image Grabber"));
}

TEST_F(CPreviewGraphBuildTest, ClosingDeletesEveryWrapperAndEmptiesTheGraph) {
  ASSERT_TRUE(build(0));
  graph->Close();
  EXPECT_EQ(graph->m_pGrabber, nullptr);
  EXPECT_EQ(graph->m_pVideoRenderer, nullptr);
  EXPECT_EQ(graph->m_pDeinterlacer, nullptr);
  EXPECT_EQ(graph->GetGraphBase(), nullptr);
  EXPECT_EQ(surface(), nullptr);
}

}  // namespace
}  // namespace test

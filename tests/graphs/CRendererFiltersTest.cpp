// The platform filter wrappers of the capture graph on the real engine: their names in
// the graph, their classes, and how each renderer is configured when it joins.
#include "GraphsTest.h"

#include "graphs/CAudioRendererFilter.h"
#include "graphs/CAviDecompressorFilter.h"
#include "graphs/CDefaultVideoRendererFilter.h"
#include "graphs/COverlayMixerFilter.h"
#include "graphs/CSmartTeeFilter.h"
#include "graphs/CVideoMixingRendererFilter.h"
#include "graphs/CVideoRendererFilter.h"

#include <cwchar>
#include <memory>
#include <string>

namespace {

using plat::ComPtr;

class CRendererFiltersTest : public test::GraphsTest {
 protected:
  static CLSID classOf(CFilterWrapper& wrapper) {
    CLSID clsid{};
    wrapper.GetFilter()->GetClassID(&clsid);
    return clsid;
  }
  template <class Wrapper>
  void expectJoins(REFCLSID clsid, const wchar_t* name) {
    SCOPED_TRACE(std::string(name, name + std::wcslen(name)));
    Wrapper wrapper(graph.get());
    ASSERT_TRUE(wrapper.AddToGraph());
    EXPECT_EQ(classOf(wrapper), clsid);
    EXPECT_EQ(names(), std::vector<std::wstring>{name});
    Wrapper without(nullptr);
    EXPECT_FALSE(without.AddToGraph());
  }
};

TEST_F(CRendererFiltersTest, EachWrapperCreatesItsClassUnderItsFixedName) {
  expectJoins<CAviDecompressorFilter>(CLSID_AVIDec, L"AVI Decompressor");
  expectJoins<CAudioRendererFilter>(CLSID_DSoundRender, L"Audio Renderers");
  expectJoins<COverlayMixerFilter>(CLSID_OverlayMixer, L"OverlayMixer");
  expectJoins<CSmartTeeFilter>(CLSID_SmartTee, L"Smart Tee");
  expectJoins<CVideoMixingRendererFilter>(CLSID_VideoMixingRenderer9, L"Video Mixer Renderer");
  expectJoins<CDefaultVideoRendererFilter>(CLSID_VideoRendererDefault, L"Video  Renderer");
  expectJoins<CVideoRendererFilter>(CLSID_VideoRenderer, L"Video Renderer");
}

TEST_F(CRendererFiltersTest, TheDefaultRendererComesBackUnderTheSingleBlankName) {
  CDefaultVideoRendererFilter renderer(graph.get());
  ASSERT_TRUE(renderer.AddToGraph());
  IBaseFilter* filter = renderer.GetFilter();
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Video  Renderer"});
  // Someone changed it and took it out; added back it is set up again.
  ComPtr<IVMRFilterConfig> config;
  ASSERT_EQ(filter->QueryInterface(IID_IVMRFilterConfig, config.putVoid()), S_OK);
  ASSERT_EQ(config->SetRenderingPrefs(1), S_OK);
  ComPtr<IVMRAspectRatioControl> aspect;
  ASSERT_EQ(filter->QueryInterface(IID_IVMRAspectRatioControl, aspect.putVoid()), S_OK);
  ASSERT_EQ(aspect->SetAspectRatioMode(VMR_ARMODE_LETTER_BOX), S_OK);
  ASSERT_EQ(graph->RemoveFilter(filter), S_OK);
  ASSERT_TRUE(renderer.AddToGraph());
  EXPECT_EQ(renderer.GetFilter(), filter);
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Video Renderer"});
  DWORD mode = 0;
  config->GetRenderingMode(&mode);
  EXPECT_EQ(mode, static_cast<DWORD>(VMRMode_Windowed));
  config->GetRenderingPrefs(&mode);
  EXPECT_EQ(mode, 0u);
  aspect->GetAspectRatioMode(&mode);
  EXPECT_EQ(mode, static_cast<DWORD>(VMR_ARMODE_NONE));
}

TEST_F(CRendererFiltersTest, TheMixingRendererRendersOneStreamInItsWindowAndCanBeMadeAnew) {
  CVideoMixingRendererFilter renderer(graph.get());
  EXPECT_FALSE(CVideoMixingRendererFilter(nullptr).ReAdd());
  ASSERT_TRUE(renderer.AddToGraph());
  ComPtr<IVMRFilterConfig9> config;
  ASSERT_TRUE(renderer.QueryFilterInterface(IID_IVMRFilterConfig9, config.putVoid()));
  DWORD value = 0;
  config->GetNumberOfStreams(&value);
  EXPECT_EQ(value, 1u);
  config->GetRenderingMode(&value);
  EXPECT_EQ(value, static_cast<DWORD>(VMR9Mode_Windowed));
  ASSERT_EQ(config->SetNumberOfStreams(4), S_OK);

  ASSERT_TRUE(renderer.ReAdd());
  EXPECT_NE(renderer.GetFilter(), nullptr);
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Video Mixer Renderer"});
  ComPtr<IVMRFilterConfig9> fresh;
  ASSERT_TRUE(renderer.QueryFilterInterface(IID_IVMRFilterConfig9, fresh.putVoid()));
  EXPECT_NE(fresh.get(), config.get()) << "a new renderer, not the old one";
  fresh->GetNumberOfStreams(&value);
  EXPECT_EQ(value, 1u);
}

TEST_F(CRendererFiltersTest, TheOverlayMixerStretchesItsInput) {
  COverlayMixerFilter mixer(graph.get());
  ASSERT_TRUE(mixer.AddToGraph());
  IPin* input = mixer.FindPin(TRUE, nullptr);
  ASSERT_NE(input, nullptr);
  ComPtr<IMixerPinConfig> config;
  ASSERT_EQ(input->QueryInterface(IID_IMixerPinConfig, config.putVoid()), S_OK);
  AM_ASPECT_RATIO_MODE mode = AM_ARMODE_CROP;
  config->GetAspectRatioMode(&mode);
  EXPECT_EQ(mode, AM_ARMODE_STRETCHED);
}

TEST_F(CRendererFiltersTest, TheDecompressorHeldIsAddedBackRatherThanMadeAgain) {
  CAviDecompressorFilter decompressor(graph.get());
  ASSERT_TRUE(decompressor.AddToGraph());
  IBaseFilter* filter = decompressor.GetFilter();
  ASSERT_EQ(graph->RemoveFilter(filter), S_OK);
  ASSERT_TRUE(decompressor.AddToGraph());
  EXPECT_EQ(decompressor.GetFilter(), filter);
  EXPECT_EQ(names(), std::vector<std::wstring>{L"AVI Decompressor"});
}

TEST_F(CRendererFiltersTest, DeletingTheWrappersEmptiesTheGraph) {
  auto tee = std::make_unique<CSmartTeeFilter>(graph.get());
  auto renderer = std::make_unique<CVideoRendererFilter>(graph.get());
  auto sound = std::make_unique<CAudioRendererFilter>(graph.get());
  ASSERT_TRUE(tee->AddToGraph());
  ASSERT_TRUE(renderer->AddToGraph());
  ASSERT_TRUE(sound->AddToGraph());
  EXPECT_EQ(names().size(), 3u);
  tee.reset();
  renderer.reset();
  sound.reset();
  EXPECT_TRUE(names().empty());
}

}  // namespace

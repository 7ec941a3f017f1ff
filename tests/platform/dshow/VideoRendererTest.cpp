#include "GraphTest.h"

#include <array>

#include <dshow/filters/VideoRendererBase.h>
#include <machine/VideoSurface.h>

using dstest::firstPin;
using dstest::PushSource;
using dstest::videoType;
using plat::ComPtr;

namespace {

class VideoRendererTest : public dstest::GraphTest {
 protected:
  // A 32 x 8 picture source connected to a new renderer of the class.
  void connectRenderer(REFCLSID clsid) {
    auto* source = add(new PushSource(videoType(MEDIASUBTYPE_RGB32, 32, 8), 2), L"Source");
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, renderer.putVoid()), S_OK);
    ASSERT_EQ(graph->AddFilter(renderer.get(), L"Renderer"), S_OK);
    ASSERT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), firstPin(renderer.get(), PINDIR_INPUT), nullptr),
              S_OK);
    ASSERT_EQ(renderer->QueryInterface(IID_IBasicVideo, video.putVoid()), S_OK);
    ASSERT_EQ(renderer->QueryInterface(IID_IVideoWindow, window.putVoid()), S_OK);
  }
  void TearDown() override {
    video.reset();
    window.reset();
    renderer.reset();
    GraphTest::TearDown();
  }
  // Left, top, width and height.
  using Box = std::array<long, 4>;
  Box source() {
    Box b{};
    EXPECT_EQ(video->GetSourcePosition(&b[0], &b[1], &b[2], &b[3]), S_OK);
    return b;
  }
  Box destination() {
    Box b{};
    EXPECT_EQ(video->GetDestinationPosition(&b[0], &b[1], &b[2], &b[3]), S_OK);
    return b;
  }

  ComPtr<IBaseFilter> renderer;
  ComPtr<IBasicVideo> video;
  ComPtr<IVideoWindow> window;
};

}  // namespace

TEST_F(VideoRendererTest, TheVideoIsDescribedByItsConnection) {
  connectRenderer(CLSID_VideoRenderer);
  long width = 0, height = 0;
  ASSERT_EQ(video->GetVideoSize(&width, &height), S_OK);
  EXPECT_EQ(width, 32);
  EXPECT_EQ(height, 8);
  REFTIME frame = 0;
  ASSERT_EQ(video->get_AvgTimePerFrame(&frame), S_OK);
  EXPECT_DOUBLE_EQ(frame, 0.04);
  // Nothing shown yet: no image to give.
  long size = 0;
  EXPECT_EQ(video->GetCurrentImage(&size, nullptr), E_UNEXPECTED);
}

TEST_F(VideoRendererTest, TheSourceRectangleStaysInsideTheVideo) {
  connectRenderer(CLSID_VideoRendererDefault);
  EXPECT_EQ(source(), (Box{0, 0, 32, 8}));
  EXPECT_EQ(video->IsUsingDefaultSource(), S_OK);
  EXPECT_EQ(video->SetSourcePosition(0, 0, 33, 8), E_INVALIDARG);
  EXPECT_EQ(video->SetSourcePosition(-1, 0, 8, 8), E_INVALIDARG);
  // Edge by edge the same rules hold, and a refused edge changes nothing.
  EXPECT_EQ(video->put_SourceWidth(0), E_INVALIDARG);
  EXPECT_EQ(video->put_SourceLeft(30), E_INVALIDARG);
  EXPECT_EQ(video->put_SourceHeight(9), E_INVALIDARG);
  EXPECT_EQ(source(), (Box{0, 0, 32, 8}));
  EXPECT_EQ(video->IsUsingDefaultSource(), S_OK);
  ASSERT_EQ(video->put_SourceWidth(16), S_OK);
  ASSERT_EQ(video->put_SourceLeft(16), S_OK);
  EXPECT_EQ(source(), (Box{16, 0, 16, 8}));
  EXPECT_EQ(video->IsUsingDefaultSource(), S_FALSE);
  ASSERT_EQ(video->SetDefaultSourcePosition(), S_OK);
  EXPECT_EQ(source(), (Box{0, 0, 32, 8}));
}

TEST_F(VideoRendererTest, TheDefaultDestinationFillsTheWindow) {
  connectRenderer(CLSID_VideoMixingRenderer9);
  EXPECT_EQ(destination(), (Box{0, 0, 32, 8}));
  ASSERT_EQ(window->SetWindowPosition(0, 0, 320, 240), S_OK);
  EXPECT_EQ(video->IsUsingDefaultDestination(), S_OK);
  EXPECT_EQ(destination(), (Box{0, 0, 320, 240}));
  ASSERT_EQ(window->put_Width(400), S_OK);
  EXPECT_EQ(destination(), (Box{0, 0, 400, 240}));

  // A destination of the application's own stays where it was put.
  EXPECT_EQ(video->put_DestinationHeight(0), E_INVALIDARG);
  ASSERT_EQ(video->SetDestinationPosition(10, 10, 100, 50), S_OK);
  ASSERT_EQ(window->SetWindowPosition(0, 0, 640, 480), S_OK);
  EXPECT_EQ(destination(), (Box{10, 10, 100, 50}));
  EXPECT_EQ(video->IsUsingDefaultDestination(), S_FALSE);
  ASSERT_EQ(video->SetDefaultDestinationPosition(), S_OK);
  EXPECT_EQ(destination(), (Box{0, 0, 640, 480}));
}

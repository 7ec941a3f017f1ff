#include "GraphTest.h"

#include <support/Settling.h>

#include <dshow/engine/Pins.h>
#include <dshow/filters/VideoRendererBase.h>
#include <machine/AudioPlayback.h>
#include <machine/VideoSurface.h>
#include <robot/Screenshot.h>
#include <win32/gdi.h>
#include <win32/user.h>

using dstest::firstPin;
using dstest::PushSource;
using dstest::SinkFilter;
using dstest::videoType;
using plat::ComPtr;

namespace {

class PlatformFiltersTest : public dstest::GraphTest {
 protected:
  ComPtr<IBaseFilter> create(REFCLSID clsid, const wchar_t* name) {
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()), S_OK);
    EXPECT_EQ(graph->AddFilter(filter.get(), name), S_OK);
    return filter;
  }
  static plat::VideoSurface& surfaceOf(IBaseFilter* renderer) {
    return *static_cast<plat::VideoRendererBase*>(static_cast<CBaseFilter*>(renderer))->surface();
  }
  HRESULT connect(IBaseFilter* up, const wchar_t* out, IBaseFilter* down) {
    ComPtr<IPin> pin;
    up->FindPin(out, pin.put());
    return graph->ConnectDirect(pin.get(), firstPin(down, PINDIR_INPUT), nullptr);
  }
};

}  // namespace

TEST_F(PlatformFiltersTest, TheSmartTeePassesCaptureAndCopiesAnUntimedPreview) {
  auto* source = add(new PushSource(videoType(MEDIASUBTYPE_YUY2), 5), L"Source");
  ComPtr<IBaseFilter> tee = create(CLSID_SmartTee, L"Smart Tee");
  auto* capture = add(new SinkFilter(), L"Capture sink");
  auto* preview = add(new SinkFilter(), L"Preview sink");
  preview->setReportsCompletion(false);
  ASSERT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), firstPin(tee.get(), PINDIR_INPUT), nullptr), S_OK);
  ASSERT_EQ(connect(tee.get(), L"Capture", capture), S_OK);
  ASSERT_EQ(connect(tee.get(), L"Preview", preview), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  ASSERT_TRUE(capture->waitForEndOfStream());
  ASSERT_TRUE(preview->waitForEndOfStream());
  control->Stop();
  const auto captured = capture->samples();
  ASSERT_EQ(captured.size(), 5u);
  EXPECT_TRUE(captured[4].timed);
  EXPECT_EQ(captured[4].start, 4 * 400000);
  const auto previewed = preview->samples();
  ASSERT_FALSE(previewed.empty());
  for (const auto& sample : previewed) EXPECT_FALSE(sample.timed);
  EXPECT_EQ(previewed.front().frame, 0);
}

TEST_F(PlatformFiltersTest, TheAviDecompressorBringsYuy2ToTheRgbOnlyRenderer) {
  auto* source = add(new PushSource(videoType(MEDIASUBTYPE_YUY2, 16, 4), 2), L"Source");
  ComPtr<IBaseFilter> renderer = create(CLSID_VideoRenderer, L"Video Renderer");
  EXPECT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), firstPin(renderer.get(), PINDIR_INPUT), nullptr),
            VFW_E_NO_ACCEPTABLE_TYPES);
  ASSERT_EQ(graph->Connect(firstPin(source, PINDIR_OUTPUT), firstPin(renderer.get(), PINDIR_INPUT)), S_OK);
  ComPtr<IBaseFilter> decompressor;
  ASSERT_EQ(graph->FindFilterByName(L"AVI Decompressor", decompressor.put()), S_OK);
  AM_MEDIA_TYPE type{};
  ASSERT_EQ(firstPin(renderer.get(), PINDIR_INPUT)->ConnectionMediaType(&type), S_OK);
  EXPECT_EQ(type.subtype, MEDIASUBTYPE_RGB32);
  FreeMediaType(type);

  ComPtr<IMediaFilter> timing = graphAs<IMediaFilter>(IID_IMediaFilter);
  ASSERT_EQ(timing->SetSyncSource(nullptr), S_OK);  // as fast as the samples come
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  plat::VideoSurface& surface = surfaceOf(renderer.get());
  long code = 0;
  ASSERT_EQ(graphAs<IMediaEventEx>(IID_IMediaEventEx)->WaitForCompletion(static_cast<long>(INFINITE), &code), S_OK);
  control->Stop();
  EXPECT_GE(surface.framesShown(), 2u);
  // The last frame, frame 1, is every byte 1: Y 1, U 1, V 1 - a dark green after the studio-range conversion.
  const std::uint32_t pixel = surface.pixel(3, 2);
  EXPECT_EQ((pixel >> 16) & 0xFF, 0u);
  EXPECT_GT((pixel >> 8) & 0xFF, 100u);
  EXPECT_EQ(surface.frame().width, 16);
}

TEST_F(PlatformFiltersTest, APausedRendererShowsAStillThenKeepsTime) {
  auto* source = add(new PushSource(videoType(MEDIASUBTYPE_YUY2, 16, 4), 3), L"Source");
  ComPtr<IBaseFilter> renderer = create(CLSID_VideoRendererDefault, L"Video Renderer");
  ASSERT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), firstPin(renderer.get(), PINDIR_INPUT), nullptr), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Pause(), S_OK);
  OAFilterState state = 0;
  ASSERT_EQ(control->GetState(static_cast<LONG>(INFINITE), &state), S_OK);
  EXPECT_EQ(state, State_Paused);
  plat::VideoSurface& surface = surfaceOf(renderer.get());
  EXPECT_EQ(surface.framesShown(), 1u);

  // Running, each frame waits for its time on the clock: 40 ms apart.
  ASSERT_EQ(control->Run(), S_OK);
  // Settled: the still's own time has come, the next frame's has not.
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return surface.framesShown() == 2; }));
  machine().clock().advance(40);
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return surface.framesShown() == 3; }));
  machine().clock().advance(40);
  ComPtr<IMediaEventEx> events = graphAs<IMediaEventEx>(IID_IMediaEventEx);
  long code = 0;
  ASSERT_EQ(events->WaitForCompletion(static_cast<long>(INFINITE), &code), S_OK);
  EXPECT_EQ(code, EC_COMPLETE);

  long size = 0;
  ComPtr<IBasicVideo> video = graphAs<IBasicVideo>(IID_IBasicVideo);
  ASSERT_EQ(video->GetCurrentImage(&size, nullptr), S_OK);
  EXPECT_EQ(size, static_cast<long>(sizeof(BITMAPINFOHEADER) + 16 * 4 * 4));
  std::vector<long> image(static_cast<size_t>(size + 3) / 4);
  ASSERT_EQ(video->GetCurrentImage(&size, image.data()), S_OK);
  EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER*>(image.data())->biBitCount, 32);
  long tooSmall = 10;
  EXPECT_EQ(video->GetCurrentImage(&tooSmall, image.data()), E_OUTOFMEMORY);
  control->Stop();
}

TEST_F(PlatformFiltersTest, RendererSettingsAreCheckedAndTheWindowNeedsAConnection) {
  ComPtr<IBaseFilter> vmr7 = create(CLSID_VideoRendererDefault, L"Video  Renderer");
  ComPtr<IVideoWindow> window;
  ASSERT_EQ(vmr7->QueryInterface(IID_IVideoWindow, window.putVoid()), S_OK);
  EXPECT_EQ(window->put_Owner(0x1234), VFW_E_NOT_CONNECTED);
  ComPtr<IVMRFilterConfig> config;
  ASSERT_EQ(vmr7->QueryInterface(IID_IVMRFilterConfig, config.putVoid()), S_OK);
  EXPECT_EQ(config->SetRenderingMode(VMRMode_Windowless), E_INVALIDARG);
  EXPECT_EQ(config->SetRenderingMode(VMRMode_Windowed), S_OK);
  EXPECT_EQ(config->SetRenderingPrefs(0), S_OK);
  ComPtr<IVMRAspectRatioControl> aspect;
  ASSERT_EQ(vmr7->QueryInterface(IID_IVMRAspectRatioControl, aspect.putVoid()), S_OK);
  EXPECT_EQ(aspect->SetAspectRatioMode(VMR_ARMODE_NONE), S_OK);

  ComPtr<IBaseFilter> vmr9 = create(CLSID_VideoMixingRenderer9, L"Video Mixer Renderer");
  ComPtr<IVMRFilterConfig9> config9;
  ASSERT_EQ(vmr9->QueryInterface(IID_IVMRFilterConfig9, config9.putVoid()), S_OK);
  EXPECT_EQ(config9->SetRenderingMode(VMR9Mode_Windowed), S_OK);
  EXPECT_EQ(config9->SetNumberOfStreams(1), S_OK);
  DWORD streams = 0;
  config9->GetNumberOfStreams(&streams);
  EXPECT_EQ(streams, 1u);

  ComPtr<IBaseFilter> mixer = create(CLSID_OverlayMixer, L"OverlayMixer");
  ComPtr<IMixerPinConfig> pinConfig;
  ASSERT_EQ(firstPin(mixer.get(), PINDIR_INPUT)->QueryInterface(IID_IMixerPinConfig, pinConfig.putVoid()), S_OK);
  EXPECT_EQ(pinConfig->SetAspectRatioMode(AM_ARMODE_STRETCHED), S_OK);

  ComPtr<IBaseFilter> audio = create(CLSID_DSoundRender, L"Audio Renderers");
  ComPtr<IBasicAudio> volume;
  ASSERT_EQ(audio->QueryInterface(IID_IBasicAudio, volume.putVoid()), S_OK);
  EXPECT_EQ(volume->put_Volume(1), E_INVALIDARG);
  EXPECT_EQ(volume->put_Volume(-10000), S_OK);
}

TEST_F(PlatformFiltersTest, TheVideoWindowFollowsItsOwnerAndAutoShows) {
  auto* source = add(new PushSource(videoType(MEDIASUBTYPE_YUY2, 32, 8), 1), L"Source");
  ComPtr<IBaseFilter> renderer = create(CLSID_VideoRendererDefault, L"Video Renderer");
  ASSERT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), firstPin(renderer.get(), PINDIR_INPUT), nullptr), S_OK);
  ComPtr<IVideoWindow> window = graphAs<IVideoWindow>(IID_IVideoWindow);
  long width = 0, visible = 0;
  ASSERT_EQ(window->get_Width(&width), S_OK);
  EXPECT_EQ(width, 32);  // the video's own size until placed
  ASSERT_EQ(window->get_Visible(&visible), S_OK);
  EXPECT_EQ(visible, OAFALSE);
  ASSERT_EQ(window->put_Owner(0x4242), S_OK);
  ASSERT_EQ(window->SetWindowPosition(10, 20, 300, 200), S_OK);
  ASSERT_EQ(window->put_FullScreenMode(OATRUE), S_OK);
  ASSERT_EQ(graphAs<IMediaControl>(IID_IMediaControl)->Pause(), S_OK);
  const auto placement = surfaceOf(renderer.get()).placement();
  EXPECT_EQ(placement.owner, reinterpret_cast<HWND>(0x4242));
  EXPECT_EQ(placement.rect.left, 10);
  EXPECT_EQ(placement.rect.bottom, 220);
  EXPECT_TRUE(placement.visible);  // auto-shown when paused
  EXPECT_TRUE(placement.fullScreen);
  long left = 0, top = 0, w = 0, h = 0;
  ASSERT_EQ(window->GetWindowPosition(&left, &top, &w, &h), S_OK);
  EXPECT_EQ(h, 200);
  graphAs<IMediaControl>(IID_IMediaControl)->Stop();
}

namespace {

// A window over which a picture is shown: one that paints nothing where it is asked to, as
// a video area does, or one that paints itself black.
LRESULT CALLBACK QuietProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return TRUE;
  if (message == WM_PAINT) {
    ValidateRect(hwnd, nullptr);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK BlackProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return TRUE;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND VideoArea(WNDPROC proc, const char* name, int left) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
  return CreateWindowExA(0, name, name, WS_POPUP | WS_VISIBLE, left, 0, 100, 60, nullptr, nullptr, nullptr, nullptr);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

// Moved to another window or hidden, the picture leaves its last frame on the screen where
// it was, until the window there paints: a video area that paints nothing keeps showing it.
TEST_F(PlatformFiltersTest, APictureThatGoesLeavesItsLastFrameUntilTheWindowPaints) {
  const HWND first = VideoArea(QuietProc, "QuietVideoA", 0);
  const HWND second = VideoArea(QuietProc, "QuietVideoB", 120);
  const HWND black = VideoArea(BlackProc, "BlackVideo", 240);
  Pump();
  auto* source = add(new PushSource(videoType(MEDIASUBTYPE_YUY2, 16, 4), 1), L"Source");
  ComPtr<IBaseFilter> renderer = create(CLSID_VideoRendererDefault, L"Video Renderer");
  ASSERT_EQ(graph->ConnectDirect(firstPin(source, PINDIR_OUTPUT), firstPin(renderer.get(), PINDIR_INPUT), nullptr), S_OK);
  ComPtr<IVideoWindow> window = graphAs<IVideoWindow>(IID_IVideoWindow);
  ASSERT_EQ(window->put_Owner(reinterpret_cast<OAHWND>(first)), S_OK);
  ASSERT_EQ(window->SetWindowPosition(0, 0, 100, 60), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Pause(), S_OK);
  OAFilterState state = 0;
  ASSERT_EQ(control->GetState(static_cast<LONG>(INFINITE), &state), S_OK) << "the still is shown";
  const std::uint32_t pixel = surfaceOf(renderer.get()).pixel(8, 2);
  const COLORREF frame = RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
  ASSERT_EQ(plat::Screenshot::screenPixel(50, 30), frame) << "the picture over the first window";

  ASSERT_EQ(window->put_Owner(reinterpret_cast<OAHWND>(second)), S_OK);
  Pump();
  EXPECT_EQ(plat::Screenshot::screenPixel(170, 30), frame) << "the picture over the second window";
  EXPECT_EQ(plat::Screenshot::screenPixel(50, 30), frame) << "its last frame where it was";

  ASSERT_EQ(window->put_Owner(reinterpret_cast<OAHWND>(black)), S_OK);
  ASSERT_EQ(window->put_Visible(OAFALSE), S_OK);
  Pump();
  EXPECT_EQ(plat::Screenshot::screenPixel(170, 30), frame);
  EXPECT_EQ(plat::Screenshot::screenPixel(290, 30), RGB(0, 0, 0)) << "hidden over a window that paints";
  control->Stop();
  for (HWND hwnd : {first, second, black}) DestroyWindow(hwnd);
}


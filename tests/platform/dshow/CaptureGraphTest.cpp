#include "CaptureTest.h"

#include <support/Settling.h>

#include <dshow/engine/Pins.h>
#include <machine/AudioPlayback.h>
#include <machine/TestPicture.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurfaces.h>
#include <win32/user.h>

#include <cstdlib>

using plat::ComPtr;
using plat::Pins;

namespace {

class CaptureGraphTest : public dstest::CaptureTest {
 protected:
  // The device with its crossbar and tuner, as a capture graph brings them in.
  ComPtr<IBaseFilter> deviceWithHardware() {
    ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
    ComPtr<IBaseFilter> tee;
    EXPECT_EQ(CoCreateInstance(CLSID_SmartTee, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, tee.putVoid()), S_OK);
    EXPECT_EQ(graph->AddFilter(tee.get(), L"Smart Tee"), S_OK);
    EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), nullptr, tee.get()), S_OK);
    return device;
  }
  ComPtr<IAMTVTuner> tuner(IBaseFilter* device) {
    ComPtr<IAMTVTuner> found;
    EXPECT_EQ(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, device, IID_IAMTVTuner, found.putVoid()), S_OK);
    return found;
  }
  HWND videoWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "CaptureGraphTestVideo";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "CaptureGraphTestVideo", "TV", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                           nullptr, nullptr);
  }
  static bool near(std::uint32_t pixel, plat::Rgb expected) {
    const int r = static_cast<int>((pixel >> 16) & 0xFF), g = static_cast<int>((pixel >> 8) & 0xFF),
              b = static_cast<int>(pixel & 0xFF);
    return std::abs(r - expected.r) <= 4 && std::abs(g - expected.g) <= 4 && std::abs(b - expected.b) <= 4;
  }
};

}  // namespace

TEST_F(CaptureGraphTest, RenderStreamBringsTheCrossbarAndTunerIn) {
  ComPtr<IBaseFilter> device = deviceWithHardware();
  ComPtr<IBaseFilter> crossbar, tunerFilter, tee;
  ASSERT_EQ(graph->FindFilterByName(L"USB TV Device Crossbar", crossbar.put()), S_OK);
  ASSERT_EQ(graph->FindFilterByName(L"USB TV Device TvTuner", tunerFilter.put()), S_OK);
  ASSERT_EQ(graph->FindFilterByName(L"Smart Tee", tee.put()), S_OK);
  // Device <- crossbar's video decoder output; crossbar's tuner inputs <- tuner.
  EXPECT_EQ(Pins::filterOf(Pins::peer(pin(device.get(), L"Analog Video In").get()).get()).get(), crossbar.get());
  EXPECT_EQ(Pins::filterOf(Pins::peer(pin(crossbar.get(), L"0: Video Tuner In").get()).get()).get(), tunerFilter.get());
  EXPECT_EQ(Pins::filterOf(Pins::peer(pin(crossbar.get(), L"3: Audio Tuner In").get()).get()).get(), tunerFilter.get());
  EXPECT_FALSE(Pins::peer(pin(crossbar.get(), L"1: Video Composite In").get()));
  EXPECT_EQ(Pins::peer(pin(tee.get(), L"Input").get()).get(), pin(device.get(), L"Capture").get());
  // Found again upstream and downstream.
  ComPtr<IAMCrossbar> routing;
  EXPECT_EQ(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, device.get(), IID_IAMCrossbar, routing.putVoid()), S_OK);
  ComPtr<IAMVideoProcAmp> procAmp;
  EXPECT_EQ(builder->FindInterface(&LOOK_DOWNSTREAM_ONLY, nullptr, tunerFilter.get(), IID_IAMVideoProcAmp,
                                   procAmp.putVoid()),
            S_OK);  // through the crossbar, on the device
  EXPECT_EQ(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, tunerFilter.get(), IID_IAMVideoProcAmp,
                                   procAmp.putVoid()),
            E_NOINTERFACE);
  // A second device build finds the hardware already there and adds nothing.
  const size_t before = names().size();
  builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, device.get(), nullptr, nullptr);
  const auto after = names();
  EXPECT_EQ(std::count(after.begin(), after.end(), L"USB TV Device Crossbar"), 1);
  EXPECT_GT(after.size(), before);  // only a renderer for the preview
}

TEST_F(CaptureGraphTest, TheCrossbarRoutesTheStickInputs) {
  ComPtr<IBaseFilter> device = deviceWithHardware();
  ComPtr<IAMCrossbar> crossbar;
  ASSERT_EQ(builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, device.get(), IID_IAMCrossbar, crossbar.putVoid()), S_OK);
  long outputs = 0, inputs = 0;
  ASSERT_EQ(crossbar->get_PinCounts(&outputs, &inputs), S_OK);
  EXPECT_EQ(outputs, 2);
  EXPECT_EQ(inputs, 5);
  long related = 0, type = 0;
  ASSERT_EQ(crossbar->get_CrossbarPinInfo(TRUE, 1, &related, &type), S_OK);
  EXPECT_EQ(type, PhysConn_Video_Composite);
  EXPECT_EQ(related, 4);
  ASSERT_EQ(crossbar->get_CrossbarPinInfo(FALSE, 0, &related, &type), S_OK);
  EXPECT_EQ(type, PhysConn_Video_VideoDecoder);
  EXPECT_EQ(crossbar->get_CrossbarPinInfo(TRUE, 5, &related, &type), E_INVALIDARG);
  EXPECT_EQ(crossbar->CanRoute(0, 3), S_FALSE);  // video from an audio input
  EXPECT_EQ(crossbar->Route(0, 3), E_FAIL);

  auto& stick = machine().service<plat::TvStickCapture>();
  ASSERT_EQ(crossbar->Route(0, 1), S_OK);
  ASSERT_EQ(crossbar->Route(1, 4), S_OK);
  EXPECT_EQ(stick.input(), plat::TvStickCapture::Input::Composite);
  EXPECT_EQ(stick.scene().name, "Camcorder");
  long routed = -1;
  ASSERT_EQ(crossbar->get_IsRoutedTo(0, &routed), S_OK);
  EXPECT_EQ(routed, 1);
  ASSERT_EQ(crossbar->Route(0, 2), S_OK);
  EXPECT_FALSE(stick.signalPresent());  // nothing on S-Video
}

TEST_F(CaptureGraphTest, APreviewShowsTheTunedChannelInItsWindow) {
  HWND window = videoWindow();
  ASSERT_NE(window, nullptr);
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, device.get(), nullptr, nullptr), S_OK);
  ComPtr<IAMTVTuner> tv = tuner(device.get());
  ASSERT_EQ(tv->put_Channel(4, AMTUNER_SUBCHAN_DEFAULT, AMTUNER_SUBCHAN_DEFAULT), S_OK);
  long signal = 0;
  tv->SignalPresent(&signal);
  EXPECT_EQ(signal, AMTUNER_SIGNALPRESENT);

  ComPtr<IVideoWindow> video = graphAs<IVideoWindow>(IID_IVideoWindow);
  ASSERT_EQ(video->put_Owner(reinterpret_cast<OAHWND>(window)), S_OK);
  ASSERT_EQ(video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN), S_OK);
  ASSERT_EQ(video->SetWindowPosition(0, 0, 320, 240), S_OK);
  ASSERT_EQ(video->put_Visible(OATRUE), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  OAFilterState state = 0;
  EXPECT_EQ(control->GetState(0, &state), S_OK);

  const auto surfaces = machine().service<plat::VideoSurfaces>().ownedBy(window);
  ASSERT_EQ(surfaces.size(), 1u);
  const auto& surface = surfaces[0];
  ASSERT_TRUE(step([&] { return surface->framesShown(); }, 2, 34));
  const auto placement = surface->placement();
  EXPECT_TRUE(placement.visible);
  EXPECT_EQ(placement.rect.right, 320);
  const auto frame = surface->frame();
  ASSERT_EQ(frame.width, 720);
  ASSERT_EQ(frame.height, 480);
  EXPECT_TRUE(near(surface->pixel(700, 460), plat::TestPicture::stationColour(4)));
  EXPECT_FALSE(near(surface->pixel(700, 460), plat::TestPicture::stationColour(7)));

  // Another channel, another picture; the graph's IBasicVideo reports its size.
  ASSERT_EQ(tv->put_Channel(7, AMTUNER_SUBCHAN_DEFAULT, AMTUNER_SUBCHAN_DEFAULT), S_OK);
  ASSERT_TRUE(step([&] { return surface->framesShown(); }, 2, 34));
  EXPECT_TRUE(near(surface->pixel(700, 460), plat::TestPicture::stationColour(7)));
  long width = 0, height = 0;
  ASSERT_EQ(graphAs<IBasicVideo>(IID_IBasicVideo)->GetVideoSize(&width, &height), S_OK);
  EXPECT_EQ(width, 720);
  EXPECT_EQ(height, 480);
  control->Stop();
  DestroyWindow(window);
}

TEST_F(CaptureGraphTest, UnpluggingTheStickGivesDeviceLostAndStopsThePictures) {
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, device.get(), nullptr, nullptr), S_OK);
  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ComPtr<IMediaEventEx> events = graphAs<IMediaEventEx>(IID_IMediaEventEx);
  ASSERT_EQ(control->Run(), S_OK);
  auto surface = machine().service<plat::VideoSurfaces>().all().front();
  ASSERT_TRUE(step([&] { return surface->framesShown(); }, 1, 34));

  machine().service<plat::TvStickControl>().setPlugged(false);
  machine().clock().advance(34);
  LONG_PTR p2 = -1;
  const auto deviceLost = [&] {
    long code = 0;
    LONG_PTR p1 = 0;
    while (events->GetEvent(&code, &p1, &p2, 0) == S_OK)
      if (code == EC_DEVICE_LOST) return true;
    return false;
  };
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), deviceLost));
  EXPECT_EQ(p2, 0);
  const auto shown = surface->framesShown();
  machine().clock().advance(200);
  EXPECT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return surface->framesShown() == shown; }));

  machine().service<plat::TvStickControl>().setPlugged(true);
  machine().clock().advance(34);
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), deviceLost));
  EXPECT_EQ(p2, 1);
  control->Stop();
}

TEST_F(CaptureGraphTest, TheSoundCardRecordsTheTunedChannelsToneAtTheClocksRate) {
  ComPtr<IBaseFilter> device = addDevice(CLSID_VideoInputDeviceCategory, L"Video Capture");
  ComPtr<IBaseFilter> audio = addDevice(CLSID_AudioInputDeviceCategory, L"Audio Volume Control");
  ASSERT_TRUE(audio);
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), nullptr, nullptr), S_OK);
  ASSERT_EQ(tuner(device.get())->put_Channel(2, AMTUNER_SUBCHAN_DEFAULT, AMTUNER_SUBCHAN_DEFAULT), S_OK);
  // The line the stick is wired to, chosen for recording.
  ComPtr<IAMAudioInputMixer> lineIn = as<IAMAudioInputMixer>(pin(audio.get(), L"Line In").get(), IID_IAMAudioInputMixer);
  ASSERT_EQ(lineIn->put_Enable(TRUE), S_OK);
  ASSERT_EQ(lineIn->put_MixLevel(AMF_AUTOMATICGAIN), S_OK);
  ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, audio.get(), nullptr, nullptr), S_OK);
  ComPtr<IBaseFilter> renderer;
  ASSERT_EQ(graph->FindFilterByName(L"Default DirectSound Device", renderer.put()), S_OK);

  ComPtr<IMediaControl> control = graphAs<IMediaControl>(IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  auto& playback = machine().service<plat::AudioPlayback>();
  // Buffers of a tenth of a second: the first at once, three more in three tenths.
  ASSERT_TRUE(test::holdsWhenSettled(machine().clock(), [&] { return playback.levels().frames > 0; }));
  ASSERT_TRUE(step([&] { return playback.levels().frames; }, 3, 100));
  const auto levels = playback.levels();
  EXPECT_EQ(levels.frames, 4u * 4410u);
  EXPECT_NEAR(levels.toneHz, 440.0, 15.0);
  EXPECT_NEAR(levels.peak, 8000, 50);

  ComPtr<IBasicAudio> volume = graphAs<IBasicAudio>(IID_IBasicAudio);
  ASSERT_EQ(volume->put_Volume(-2000), S_OK);  // a tenth of the amplitude
  ASSERT_TRUE(step([&] { return playback.levels().frames; }, 1, 100));
  EXPECT_NEAR(playback.levels().peak, 800, 10);

  // Another line chosen: silence.
  ASSERT_EQ(as<IAMAudioInputMixer>(pin(audio.get(), L"Microphone").get(), IID_IAMAudioInputMixer)->put_Enable(TRUE), S_OK);
  ASSERT_TRUE(step([&] { return playback.levels().frames; }, 1, 100));
  EXPECT_EQ(playback.levels().peak, 0);
  control->Stop();
}

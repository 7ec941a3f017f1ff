// Real files played: an AVI written by the platform's AVI Mux and an MPEG file written by
// the recorder module, both from the TV stick's pictures. Each plays in the player's
// window, pauses, steps ten seconds, seeks by percent and reports its end under the
// machine clock, the streaming threads settled after each move of the clock. A kind of
// file the platform cannot render yet is skipped, saying so.
#include "PlaybackTest.h"

#include <support/CaptureDevice.h>

#include <machine/StreamActivity.h>
#include <machine/TestPicture.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurfaces.h>
#include <vendor/mpeg_recorder/QnMpegEncoder.h>
#include <win32/module.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using plat::ComPtr;

template <class Itf>
ComPtr<Itf> As(IUnknown* object, REFIID iid) {
  ComPtr<Itf> itf;
  EXPECT_EQ(object->QueryInterface(iid, itf.putVoid()), S_OK);
  return itf;
}

ComPtr<IPin> PinOf(IBaseFilter* filter, const wchar_t* name) {
  ComPtr<IPin> found;
  EXPECT_EQ(filter->FindPin(name, found.put()), S_OK) << "no pin named like that";
  return found;
}

bool InputConnected(IBaseFilter* filter) {
  ComPtr<IEnumPins> walk;
  if (FAILED(filter->EnumPins(walk.put()))) return false;
  for (ComPtr<IPin> pin; walk->Next(1, pin.put(), nullptr) == S_OK;) {
    PIN_DIRECTION direction = PINDIR_OUTPUT;
    ComPtr<IPin> peer;
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT) return pin->ConnectedTo(peer.put()) == S_OK;
  }
  return false;
}

std::uint64_t SizeOf(const std::filesystem::path& file) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  return ec ? 0 : static_cast<std::uint64_t>(size);
}

class PlaybackFileTest : public test::PlaybackTest {
 protected:
  void SetUp() override {
    PlaybackTest::SetUp();
    machine().ini().setValue("TVStick", "AudioOut", "1");  // the stick's own sound, for the recorder
    auto& stick = machine().service<plat::TvStickCapture>();
    stick.tuneCarrier(stick.control().broadcast().stations()[2].carrierHz);
    channel = stick.scene().number;
  }

  std::filesystem::path onC(const char* name) { return machine().paths().driveFolder('C') / name; }

  // Until the streaming threads have done all the present time brought.
  void settle() { ASSERT_TRUE(plat::StreamActivity::instance().settle(machine().clock())); }
  void advance(std::uint64_t ms) {
    machine().clock().advance(ms);
    settle();
  }

  // The stick's capture pin in a graph of its own, set to a small picture.
  ComPtr<IBaseFilter> addStick(IGraphBuilder* graph, const GUID& subtype, REFERENCE_TIME interval) {
    ComPtr<IBaseFilter> device = test::AddFirstVideoCapture(graph);
    if (device) test::SetCapturePicture(device.get(), subtype, 160, 120, interval);
    return device;
  }

  // Runs the graph for `ms` of the machine clock a frame at a time, each frame seen
  // through `made` before the next; then checks `caughtUp` and stops it.
  template <class Made, class CaughtUp = bool (*)()>
  void capture(IGraphBuilder* graph, int ms, int periodMs, Made made, CaughtUp caughtUp = [] { return true; }) {
    auto control = As<IMediaControl>(graph, IID_IMediaControl);
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_NO_FATAL_FAILURE(settle());
    ASSERT_GE(made(), 1);
    for (int now = periodMs; now <= ms; now += periodMs) {
      const auto before = made();
      ASSERT_NO_FATAL_FAILURE(advance(static_cast<std::uint64_t>(periodMs)));
      ASSERT_GT(made(), before) << now;
    }
    EXPECT_TRUE(caughtUp());
    ASSERT_EQ(control->Stop(), S_OK);
  }

  // 25.2 s of 160 x 120 pictures, two and a half a second, through the AVI Mux.
  void writeAvi(const char* name) {
    ComPtr<IGraphBuilder> graph;
    ComPtr<ICaptureGraphBuilder2> builder;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()),
              S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                               builder.putVoid()),
              S_OK);
    ASSERT_EQ(builder->SetFiltergraph(graph.get()), S_OK);
    ComPtr<IBaseFilter> device = addStick(graph.get(), MEDIASUBTYPE_YUY2, 4000000);
    ComPtr<IBaseFilter> mux;
    ComPtr<IFileSinkFilter> sink;
    const std::wstring path = L"C:\\" + std::wstring(name, name + std::strlen(name));
    ASSERT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, path.c_str(), mux.put(), sink.put()), S_OK);
    ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), nullptr, mux.get()), S_OK);
    const auto file = onC(name);
    capture(graph.get(), 25000, 400, [&] { return SizeOf(file) / (160 * 120 * 2); });
  }

  // The recorder module registered; false when it is not built.
  static bool registerRecorder() {
    HMODULE module = LoadLibraryA("Filter\\qnmpeg2enc.ax");
    if (!module) return false;
    auto entry = reinterpret_cast<HRESULT (*)()>(GetProcAddress(module, "DllRegisterServer"));
    const bool registered = entry && entry() == S_OK;
    FreeLibrary(module);
    return registered;
  }

  // 25 s of MPEG-1 pictures and their sound from the recorder module.
  void writeMpeg(const char* name) {
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()),
              S_OK);
    ComPtr<IBaseFilter> device = addStick(graph.get(), MEDIASUBTYPE_RGB24, 400000);
    ComPtr<IBaseFilter> recorder;
    ASSERT_EQ(CoCreateInstance(CLSID_QnMpegRecorder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               recorder.putVoid()),
              S_OK);
    ASSERT_EQ(graph->AddFilter(recorder.get(), L"Recorder"), S_OK);
    ASSERT_EQ(graph->ConnectDirect(PinOf(device.get(), L"Capture").get(), PinOf(recorder.get(), L"InputVideo").get(),
                                   nullptr),
              S_OK);
    ASSERT_EQ(graph->ConnectDirect(PinOf(device.get(), L"AudioOut").get(), PinOf(recorder.get(), L"InputAudio").get(),
                                   nullptr),
              S_OK);
    const std::wstring path = L"C:\\" + std::wstring(name, name + std::strlen(name));
    ASSERT_EQ(As<IFileSinkFilter>(recorder.get(), IID_IFileSinkFilter)->SetFileName(path.c_str(), nullptr), S_OK);
    auto settings = As<IQnMpegVideoSettings>(recorder.get(), IID_IQnMpegVideoSettings);
    auto probe = As<IQnMpegRecorderProbe>(recorder.get(), IID_IQnMpegRecorderProbe);
    // The sound is all written by the time the clock has gone through it.
    capture(
        graph.get(), 25000, 40,
        [&] {
          LONG frames = 0;
          settings->GetEncodedFrames(&frames);
          return frames;
        },
        [&] {
          LONG written = 0;
          probe->GetSoundWrittenMs(&written);
          return written >= 25000 - 40;
        });
  }

  // Whether a plain graph can render the file; the reason when it cannot.
  static bool renderable(const char* path, std::string& why) {
    ComPtr<IGraphBuilder> graph;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid())))
      return false;
    const std::string ansi(path);
    const std::wstring wide(ansi.begin(), ansi.end());
    char code[16];
    const HRESULT hr = graph->RenderFile(wide.c_str(), nullptr);
    std::snprintf(code, sizeof(code), "%08X", static_cast<unsigned>(hr));
    why = std::string("the platform cannot render ") + path + " yet (0x" + code +
          "): its file source, splitter or decoder is missing";
    return SUCCEEDED(hr);
  }

  static bool near(std::uint32_t pixel, plat::Rgb expected) {
    const int r = static_cast<int>((pixel >> 16) & 0xFF), g = static_cast<int>((pixel >> 8) & 0xFF),
              b = static_cast<int>(pixel & 0xFF);
    return std::abs(r - expected.r) < 24 && std::abs(g - expected.g) < 24 && std::abs(b - expected.b) < 24;
  }

  // The position is the duration and the progress a full 100, also for a duration with
  // sound, which is rarely whole seconds.
  static void expectAtTheEnd(CPlaybackGraph& playback, double duration) {
    double position = -1;
    ASSERT_TRUE(playback.GetCurrentPosition(&position));
    EXPECT_EQ(position, duration);
    EXPECT_EQ(playback.GetPositionPercent(), 100);
  }

  // The whole life of one played file, as the media player drives it.
  void playThrough(const char* path, double seconds, bool withMakersDecoder = false) {
    auto playback = std::make_unique<CPlaybackGraph>();
    ASSERT_EQ(playback->OpenAndPlay(window(), path), 0);
    if (withMakersDecoder) {
      ComPtr<IBaseFilter> decoder;
      ASSERT_EQ(playback->GetGraph()->FindFilterByName(L"QN MPEG Video Decoder", decoder.put()), S_OK);
      EXPECT_TRUE(InputConnected(decoder.get())) << "the decoder put in first is used";
    }
    ASSERT_TRUE(playback->IsPlaying());
    ASSERT_TRUE(playback->SetNotifyWindow(window()));
    double duration = 0;
    ASSERT_TRUE(playback->GetDuration(&duration));
    EXPECT_NEAR(duration, seconds, 0.5);

    // The pictures reach the player's window.
    const auto surfaces = machine().service<plat::VideoSurfaces>().ownedBy(window());
    ASSERT_EQ(surfaces.size(), 1u);
    const auto& surface = surfaces[0];
    // The first picture may be due a little after the start (an MPEG stream's first
    // picture waits for its successor).
    ASSERT_NO_FATAL_FAILURE(settle());
    for (int ms = 0; ms < 1000 && surface->framesShown() < 1; ms += 40) ASSERT_NO_FATAL_FAILURE(advance(40));
    ASSERT_GE(surface->framesShown(), 1u);
    EXPECT_TRUE(surface->placement().visible);
    EXPECT_EQ(surface->placement().rect.right, 320);
    const auto frame = surface->frame();
    EXPECT_TRUE(near(surface->pixel(frame.width - 6, frame.height - 6), plat::TestPicture::stationColour(channel)));

    // Paused, the position holds while the clock goes on.
    ASSERT_NO_FATAL_FAILURE(advance(2000));
    ASSERT_TRUE(playback->Pause());
    double paused = 0;
    ASSERT_TRUE(playback->GetCurrentPosition(&paused));
    ASSERT_NO_FATAL_FAILURE(advance(3000));
    double later = 0;
    ASSERT_TRUE(playback->GetCurrentPosition(&later));
    EXPECT_NEAR(later, paused, 0.05);
    EXPECT_EQ(playback->OpenAndPlay(window(), "C:\\elsewhere.mpg"), 0) << "resumed";

    // Ten-second steps at the ends, percent seeks and progress.
    ASSERT_TRUE(playback->SetCurrentPosition(4.0));
    ASSERT_TRUE(playback->Backward());
    double position = -1;
    ASSERT_TRUE(playback->GetCurrentPosition(&position));
    EXPECT_NEAR(position, 0.0, 0.5);
    ASSERT_TRUE(playback->SeekPercent(50));
    EXPECT_NEAR(playback->GetPositionPercent(), 50, 2);
    ASSERT_TRUE(playback->SetCurrentPosition(duration - 4.0));
    ASSERT_TRUE(playback->Forward());
    expectAtTheEnd(*playback, duration);
    // The step to the end completes the file once the clock has gone through the last
    // pictures sent; its completion is taken before the next seek.
    ASSERT_NO_FATAL_FAILURE(settle());
    bool complete = playback->IsComplete();
    for (int ms = 0; ms < 1000 && !complete; ms += 100) {
      ASSERT_NO_FATAL_FAILURE(advance(100));
      complete = playback->IsComplete();
    }
    EXPECT_TRUE(complete) << "a step to the end completes the file";

    // From near the end, the end of file is queued once the clock has gone past it.
    ASSERT_TRUE(playback->SeekPercent(90));
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_FALSE(playback->IsComplete());
    for (int ms = 0; ms < 4000; ms += 100) ASSERT_NO_FATAL_FAILURE(advance(100));
    EXPECT_TRUE(playback->IsComplete());
    expectAtTheEnd(*playback, duration);

    ASSERT_TRUE(playback->Close());
    EXPECT_TRUE(playback->IsClosed());
    playback.reset();
    EXPECT_TRUE(machine().service<plat::VideoSurfaces>().ownedBy(window()).empty()) << "the renderer went with the graph";
  }

  int channel = 0;
};

TEST_F(PlaybackFileTest, AnAviFromTheMuxPlaysStepsAndEnds) {
  ASSERT_NO_FATAL_FAILURE(writeAvi("clip.avi"));
  std::string why;
  if (!renderable("C:\\clip.avi", why)) GTEST_SKIP() << why;
  playThrough("C:\\clip.avi", 25.2);
}

TEST_F(PlaybackFileTest, AnMpegRecordingPlaysThroughTheMakersDecoder) {
  if (!installDecoderModules()) GTEST_SKIP() << "the MPEG decoder modules of the Filter folder are not built yet";
  if (!registerRecorder()) GTEST_SKIP() << "the recorder module is not built";
  ASSERT_NO_FATAL_FAILURE(writeMpeg("cap00.mpg"));
  std::string why;
  if (!renderable("C:\\cap00.mpg", why)) GTEST_SKIP() << why;
  playThrough("C:\\cap00.mpg", 25.0, true);
}

}  // namespace

// The playback graph on the real graph manager: its own graph with the splitter put in
// first, the decoder modules registered from the program folder, references let go,
// files that cannot be played, end of file from the event queue, events posted to the
// player's window, and the video placed in that window.
#include "EventOnlyGraph.h"
#include "PlaybackTest.h"

#include "graphs/CMpeg2SplitterFilter.h"
#include "graphs/CMpegVideoDecoderFilter.h"
#include "graphs/DeviceUtilities.h"

#include <machine/StreamActivity.h>
#include <machine/TestPicture.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurfaces.h>
#include <robot/Robot.h>

#include <filesystem>
#include <fstream>

namespace {

using plat::ComPtr;

// {4A844AFA-33B8-4133-A3C9-4324B4B49B15}
const CLSID kVideoDecoder = {0x4A844AFA, 0x33B8, 0x4133, {0xA3, 0xC9, 0x43, 0x24, 0xB4, 0xB4, 0x9B, 0x15}};
// {202822C5-2C23-4530-9A80-B64513158173}
const CLSID kAudioDecoder = {0x202822C5, 0x2C23, 0x4530, {0x9A, 0x80, 0xB6, 0x45, 0x13, 0x15, 0x81, 0x73}};
// {3AE86B20-7BE8-11D1-ABE6-00A0C905F375}
const CLSID kSplitter = {0x3AE86B20, 0x7BE8, 0x11D1, {0xAB, 0xE6, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};

ULONG References(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

bool HasFilter(IGraphBuilder* graph, const wchar_t* name) {
  ComPtr<IBaseFilter> found;
  return graph->FindFilterByName(name, found.put()) == S_OK;
}

class PlaybackEngineTest : public test::PlaybackTest {
 protected:
  std::filesystem::path onC(const char* name) { return machine().paths().driveFolder('C') / name; }

  // The stick's preview drawn by a video renderer in the graph.
  void showPreview(IGraphBuilder* graph) {
    ComPtr<IBaseFilter> renderer;
    ASSERT_EQ(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               renderer.putVoid()),
              S_OK);
    ASSERT_EQ(graph->AddFilter(renderer.get(), L"Video Renderer"), S_OK);
    ComPtr<IBaseFilter> device;
    ASSERT_TRUE(FindVideoCaptureDevice("USB TV Device", device.put()));
    ASSERT_EQ(graph->AddFilter(device.get(), L"Video Capture"), S_OK);
    ComPtr<IPin> preview;
    ComPtr<IPin> input;
    ComPtr<IEnumPins> walk;
    ASSERT_EQ(device->FindPin(L"Preview", preview.put()), S_OK);
    renderer->EnumPins(walk.put());
    walk->Next(1, input.put(), nullptr);
    ASSERT_EQ(graph->Connect(preview.get(), input.get()), S_OK);
  }

  static bool near(std::uint32_t pixel, plat::Rgb expected) {
    const int r = static_cast<int>((pixel >> 16) & 0xFF), g = static_cast<int>((pixel >> 8) & 0xFF),
              b = static_cast<int>(pixel & 0xFF);
    return std::abs(r - expected.r) < 24 && std::abs(g - expected.g) < 24 && std::abs(b - expected.b) < 24;
  }
};

TEST_F(PlaybackEngineTest, CreateMakesOneGraphWithTheSplitterPutInFirst) {
  CPlaybackGraph playback;
  ASSERT_TRUE(playback.Create());
  IGraphBuilder* graph = playback.GetGraph();
  ASSERT_NE(graph, nullptr);
  EXPECT_NE(playback.GetEventInterface(), nullptr);
  ASSERT_NE(playback.GetSplitter(), nullptr) << "kept whether or not its filter could be made";
  EXPECT_EQ(HasFilter(graph, L"MPEG-2 Splitter"), IsFilterRegistered(kSplitter) != FALSE);
  EXPECT_TRUE(playback.IsClosed());

  EXPECT_FALSE(playback.Create()) << "one graph per object";
  EXPECT_EQ(playback.GetGraph(), graph);

  graph->AddRef();
  playback.ReleaseAll();
  EXPECT_EQ(playback.GetGraph(), nullptr);
  EXPECT_EQ(playback.GetSplitter(), nullptr);
  EXPECT_EQ(playback.GetVideoDecoder(), nullptr);
  EXPECT_EQ(playback.GetEventInterface(), nullptr);
  EXPECT_FALSE(HasFilter(graph, L"MPEG-2 Splitter")) << "the wrappers took their filters out first";
  EXPECT_EQ(graph->Release(), 0u) << "nothing of the object holds the graph any more";
}

TEST_F(PlaybackEngineTest, AMissingDecoderIsLeftOutWhenItsModuleIsNotInTheProgramFolder) {
  // The modules lie in the build's module folder, which LoadLibrary searches for bare
  // names; the graph asks for them by their full path in the program folder.
  CPlaybackGraph playback;
  ASSERT_TRUE(playback.Create());
  EXPECT_EQ(playback.GetVideoDecoder(), nullptr);
  EXPECT_FALSE(HasFilter(playback.GetGraph(), L"QN MPEG Video Decoder"));
  EXPECT_FALSE(IsFilterRegistered(kVideoDecoder));
  EXPECT_FALSE(playback.EnsureAudioDecoder());
}

TEST_F(PlaybackEngineTest, TheDecoderModulesAreRegisteredFromTheProgramFolderOnDemand) {
  if (!installDecoderModules()) GTEST_SKIP() << "the MPEG decoder modules of the Filter folder are not built yet";
  ASSERT_FALSE(IsFilterRegistered(kVideoDecoder));
  ASSERT_FALSE(IsFilterRegistered(kAudioDecoder));
  CPlaybackGraph playback;
  ASSERT_TRUE(playback.Create());
  ASSERT_NE(playback.GetVideoDecoder(), nullptr);
  EXPECT_TRUE(HasFilter(playback.GetGraph(), L"QN MPEG Video Decoder"));
  EXPECT_TRUE(IsFilterRegistered(kVideoDecoder));
  EXPECT_TRUE(IsFilterRegistered(kAudioDecoder)) << "registered at creation when missing";
  EXPECT_TRUE(playback.EnsureAudioDecoder());

  // Asked again, the wrappers are made afresh, not doubled.
  playback.EnsureVideoDecoder();
  EXPECT_TRUE(HasFilter(playback.GetGraph(), L"QN MPEG Video Decoder"));
  ComPtr<IEnumFilters> walk;
  ASSERT_EQ(playback.GetGraph()->EnumFilters(walk.put()), S_OK);
  int filters = 0;
  for (ComPtr<IBaseFilter> filter; walk->Next(1, filter.put(), nullptr) == S_OK;) ++filters;
  EXPECT_EQ(filters, IsFilterRegistered(kSplitter) ? 2 : 1);
}

TEST_F(PlaybackEngineTest, AttachHoldsItsOwnReferenceAndAPartialGraphIsReported) {
  CPlaybackGraph playback;
  ASSERT_TRUE(playback.Attach(engine.get()));
  EXPECT_EQ(playback.GetGraph(), engine.get());
  EXPECT_EQ(playback.GetSplitter(), nullptr) << "an attached graph gets no filters of ours";
  EXPECT_TRUE(playback.Attach(nullptr));
  EXPECT_EQ(playback.GetGraph(), nullptr);
  EXPECT_EQ(References(engine.get()), 1u);

  auto* partial = new test::EventOnlyGraph(S_FALSE);
  EXPECT_FALSE(playback.Attach(partial)) << "five of the six interfaces are missing";
  EXPECT_TRUE(playback.SetNotifyWindow(window())) << "true whatever the graph answers";
  EXPECT_FALSE(playback.Run());
  EXPECT_FALSE(playback.GetDuration(nullptr));
  playback.ReleaseAll();
  EXPECT_EQ(partial->references(), 1u);
  partial->Release();
}

TEST_F(PlaybackEngineTest, AFileThatCannotBePlayedIsRefusedAndTheObjectIsSpent) {
  {
    std::ofstream notes(onC("notes.mpg"), std::ios::binary);
    notes << "not a picture in sight";
  }
  CPlaybackGraph missing;
  EXPECT_EQ(missing.OpenAndPlay(window(), "C:\\missing.mpg"), -4);
  EXPECT_TRUE(missing.IsClosed());
  EXPECT_EQ(missing.OpenAndPlay(window(), "C:\\missing.mpg"), -9);

  CPlaybackGraph garbage;
  EXPECT_EQ(garbage.OpenAndPlay(window(), "C:\\notes.mpg"), -4);
  EXPECT_TRUE(garbage.IsClosed());
  EXPECT_FALSE(garbage.Pause());
  EXPECT_FALSE(garbage.Close());
  EXPECT_TRUE(garbage.SetNotifyWindow(window()));
}

TEST_F(PlaybackEngineTest, EndOfFileIsTakenFromTheQueueAndLaterEventsStay) {
  CPlaybackGraph playback;
  ASSERT_TRUE(playback.Create());
  EXPECT_FALSE(playback.IsComplete()) << "empty queue";
  IMediaEventEx* events = playback.GetEventInterface();
  ASSERT_EQ(events->CancelDefaultHandling(EC_COMPLETE), S_OK);  // the test ends the stream itself
  ComPtr<IMediaEventSink> sink;
  ASSERT_EQ(playback.GetGraph()->QueryInterface(IID_IMediaEventSink, sink.putVoid()), S_OK);
  ASSERT_EQ(sink->Notify(EC_PAUSED, 0, 0), S_OK);
  EXPECT_FALSE(playback.IsComplete()) << "an event other than the end";
  ASSERT_EQ(sink->Notify(EC_USERABORT, 0, 0), S_OK);
  ASSERT_EQ(sink->Notify(EC_COMPLETE, S_OK, 0), S_OK);
  ASSERT_EQ(sink->Notify(EC_PAUSED, 0, 0), S_OK);
  EXPECT_TRUE(playback.IsComplete());
  long code = 0;
  LONG_PTR first = 0;
  LONG_PTR second = 0;
  ASSERT_EQ(events->GetEvent(&code, &first, &second, 0), S_OK);
  EXPECT_EQ(code, EC_PAUSED) << "the event after the end stays queued";
  EXPECT_FALSE(playback.IsComplete());
}

TEST_F(PlaybackEngineTest, EventsArePostedToTheNotifyWindowUntilThePlaybackCloses) {
  test::ScriptedPlayback playback;
  playback.next = plat::ComPtr<test::ScriptedFileGraph>::adopt(new test::ScriptedFileGraph(engine.get()));
  ASSERT_EQ(playback.OpenAndPlay(window(), "C:\\a.mpg"), 0);
  ASSERT_TRUE(playback.SetNotifyWindow(window()));
  ComPtr<IMediaEventSink> sink;
  ASSERT_EQ(engine->QueryInterface(IID_IMediaEventSink, sink.putVoid()), S_OK);
  plat::Robot robot;
  ASSERT_EQ(sink->Notify(EC_PAUSED, 0, 0), S_OK);
  robot.pumpUntilIdle();
  EXPECT_EQ(postedEvents(), 1);
  ASSERT_TRUE(playback.Close());
  ASSERT_EQ(sink->Notify(EC_PAUSED, 0, 0), S_OK);
  robot.pumpUntilIdle();
  EXPECT_EQ(postedEvents(), 1) << "Close takes the window off the graph";
}

TEST_F(PlaybackEngineTest, TheVideoFillsThePlayersWindowAndCanBePlacedAndDetached) {
  ASSERT_NO_FATAL_FAILURE(showPreview(engine.get()));
  auto& stick = machine().service<plat::TvStickCapture>();
  stick.tuneCarrier(stick.control().broadcast().stations()[3].carrierHz);
  const int channel = stick.scene().number;

  CPlaybackGraph playback;
  ASSERT_TRUE(playback.Attach(engine.get()));
  HWND owner = window();
  ASSERT_TRUE(playback.SetVideoWindow(owner));
  const auto surfaces = machine().service<plat::VideoSurfaces>().ownedBy(owner);
  ASSERT_EQ(surfaces.size(), 1u);
  const auto& surface = surfaces[0];
  auto placement = surface->placement();
  EXPECT_TRUE(placement.visible);
  EXPECT_EQ(placement.rect.left, 0);
  EXPECT_EQ(placement.rect.top, 0);
  EXPECT_EQ(placement.rect.right, 320);
  EXPECT_EQ(placement.rect.bottom, 240);
  ComPtr<IVideoWindow> video;
  ASSERT_EQ(engine->QueryInterface(IID_IVideoWindow, video.putVoid()), S_OK);
  long style = 0;
  video->get_WindowStyle(&style);
  EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN), WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);

  // The pictures reach the window while the graph runs.
  plat::StreamActivity& streams = plat::StreamActivity::instance();
  ASSERT_TRUE(playback.Run());
  ASSERT_TRUE(streams.settle(machine().clock()));
  const auto shown = surface->framesShown();
  machine().clock().advance(100);
  ASSERT_TRUE(streams.settle(machine().clock()));
  ASSERT_GT(surface->framesShown(), shown);
  const auto frame = surface->frame();
  EXPECT_TRUE(near(surface->pixel(frame.width - 20, frame.height - 20), plat::TestPicture::stationColour(channel)));

  ASSERT_TRUE(playback.PlaceVideoWindow(10, 20, 160, 120));
  placement = surface->placement();
  EXPECT_TRUE(placement.visible);
  EXPECT_EQ(placement.owner, owner);
  EXPECT_EQ(placement.rect.left, 10);
  EXPECT_EQ(placement.rect.top, 20);
  EXPECT_EQ(placement.rect.right, 170);
  EXPECT_EQ(placement.rect.bottom, 140);

  playback.SetFullScreen(OATRUE);
  EXPECT_TRUE(surface->placement().fullScreen);
  playback.SetFullScreen(OAFALSE);
  EXPECT_FALSE(surface->placement().fullScreen);

  // Detached, the video hides; the kept owner still takes a new place.
  ASSERT_TRUE(playback.SetVideoWindow(nullptr));
  placement = surface->placement();
  EXPECT_FALSE(placement.visible);
  EXPECT_EQ(placement.owner, nullptr);
  ASSERT_TRUE(playback.PlaceVideoWindow(0, 0, 80, 60));
  placement = surface->placement();
  EXPECT_EQ(placement.owner, owner);
  EXPECT_TRUE(placement.visible);

  ASSERT_TRUE(playback.Stop());
  playback.ReleaseAll();
  placement = surface->placement();
  EXPECT_FALSE(placement.visible);
  EXPECT_EQ(placement.owner, nullptr) << "a released video is taken off its owner";
}

TEST_F(PlaybackEngineTest, PlacingNeedsAnOwnerFirst) {
  ASSERT_NO_FATAL_FAILURE(showPreview(engine.get()));
  CPlaybackGraph playback;
  ASSERT_TRUE(playback.Attach(engine.get()));
  EXPECT_FALSE(playback.PlaceVideoWindow(0, 0, 80, 60));
  ASSERT_TRUE(playback.SetVideoWindow(nullptr));
  EXPECT_FALSE(playback.PlaceVideoWindow(0, 0, 80, 60)) << "a null window is not kept";
}

}  // namespace

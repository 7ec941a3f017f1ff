// The controller's media playback on the real graph engine: a file written from the TV
// stick through the AVI Mux played in the player's window in place of the live picture,
// with the position timer on the player's window, pause and resume, ten-second steps and
// the end of the file under the machine clock, then the live picture back. Files that
// cannot be played and calls outside media mode leave media mode without a file.
#include "CoreTest.h"

#include "core/CRunState.h"
#include "core/data/CChannelList.h"

#include <support/CaptureDevice.h>

#include <com/ComPtr.h>
#include <dshow/dshow.h>
#include <machine/TestPicture.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurfaces.h>
#include <mfc/afxwin.h>
#include <robot/Robot.h>
#include <win32/user.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

using plat::ComPtr;

int g_positionTicks = 0;

LRESULT CALLBACK PlayerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == CAppController::kMediaTimer) ++g_positionTicks;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool Near(std::uint32_t pixel, plat::Rgb colour) {
  return std::abs(static_cast<int>((pixel >> 16) & 0xFF) - colour.r) < 24 &&
         std::abs(static_cast<int>((pixel >> 8) & 0xFF) - colour.g) < 24 &&
         std::abs(static_cast<int>(pixel & 0xFF) - colour.b) < 24;
}

template <class Itf>
ComPtr<Itf> As(IUnknown* object, REFIID iid) {
  ComPtr<Itf> itf;
  EXPECT_EQ(object->QueryInterface(iid, itf.putVoid()), S_OK);
  return itf;
}

class ControllerMediaTest : public test::LauncherTest {
 protected:
  void SetUp() override {
    installGrabberModule();
    ASSERT_NO_FATAL_FAILURE(openLauncher());
    video = window("MediaTestWindow", PlayerProc, "video", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 320, 240);
    player = window("MediaTestWindow", PlayerProc, "AV", WS_OVERLAPPEDWINDOW, 400, 300);
    ASSERT_TRUE(video && player);
    g_positionTicks = 0;
  }

  plat::TvStickCapture& stick() { return machine().service<plat::TvStickCapture>(); }

  // 25.2 s of 160 x 120 pictures of the tuned station, two and a half a second, written
  // through the AVI Mux before the controller takes the stick; the station's scene number.
  int writeAvi(const wchar_t* path) {
    const auto& station = stick().control().broadcast().stations()[2];
    stick().tuneCarrier(station.carrierHz);
    ComPtr<IGraphBuilder> graph;
    ComPtr<ICaptureGraphBuilder2> builder;
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()),
              S_OK);
    EXPECT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                               builder.putVoid()),
              S_OK);
    EXPECT_EQ(builder->SetFiltergraph(graph.get()), S_OK);
    ComPtr<IBaseFilter> device = addStick(graph.get());
    ComPtr<IBaseFilter> mux;
    ComPtr<IFileSinkFilter> sink;
    EXPECT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, path, mux.put(), sink.put()), S_OK);
    EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, device.get(), nullptr, mux.get()), S_OK);
    const auto file = linuxPath(std::string(path, path + std::wcslen(path)));
    auto frames = [&] {
      std::error_code ec;
      const auto size = std::filesystem::file_size(file, ec);
      return ec ? 0 : size / (160 * 120 * 2);
    };
    auto control = As<IMediaControl>(graph.get(), IID_IMediaControl);
    EXPECT_EQ(control->Run(), S_OK);
    robot.settle();
    EXPECT_GE(frames(), 1u);
    for (int ms = 400; ms <= 25000; ms += 400) {
      const auto before = frames();
      robot.advance(400);
      EXPECT_GT(frames(), before) << ms;
    }
    EXPECT_EQ(control->Stop(), S_OK);
    return station.scene.number;
  }

  ComPtr<IBaseFilter> addStick(IGraphBuilder* graph) {
    ComPtr<IBaseFilter> device = test::AddFirstVideoCapture(graph);
    if (device) test::SetCapturePicture(device.get(), MEDIASUBTYPE_YUY2, 160, 120, 4000000);
    return device;
  }

  // The renderer surfaces in the video window.
  std::vector<std::shared_ptr<plat::VideoSurface>> surfaces() {
    return machine().service<plat::VideoSurfaces>().ownedBy(video);
  }
  // The player's position in seconds, read through the graph's events interface's graph.
  double position() {
    ComPtr<IMediaSeeking> seeking;
    IMediaEventEx* events = controller->GetGraphEventInterface();
    if (!events || FAILED(events->QueryInterface(IID_IMediaSeeking, seeking.putVoid()))) return -1;
    LONGLONG units = 0;
    seeking->GetCurrentPosition(&units);
    return static_cast<double>(units) * 1e-7;
  }
  // The live view running, then set aside for media mode.
  void intoMediaMode() {
    ASSERT_NE(controller->StartPreview(video), 0);
    controller->CloseTvForMedia();
    ASSERT_EQ(controller->GetRunState(), 1);
  }

  HWND video = nullptr;
  HWND player = nullptr;
  plat::Robot robot;
};

TEST_F(ControllerMediaTest, AFileIsPlayedOnlyInMediaMode) {
  ASSERT_EQ(startUp(), 1);
  controller->PlayMediaFile(video, player, "C:\\clip.avi");
  EXPECT_EQ(controller->GetRunState(), 0);
  ASSERT_NE(controller->StartPreview(video), 0);
  controller->PlayMediaFile(video, player, "C:\\clip.avi");
  EXPECT_EQ(controller->GetRunState(), 2) << "live TV is left alone";
  EXPECT_FALSE(controller->IsMediaRunning());
  EXPECT_FALSE(controller->ReturnToTv(1, 0));
}

TEST_F(ControllerMediaTest, AFileThatCannotPlayLeavesMediaModeWithoutAFile) {
  ASSERT_EQ(startUp(), 1);
  intoMediaMode();
  controller->PlayMediaFile(video, player, "C:");
  EXPECT_EQ(controller->GetRunState(), 1) << "a name of two characters";
  controller->PlayMediaFile(nullptr, player, "C:\\clip.avi");
  EXPECT_EQ(controller->GetRunState(), 1) << "no video window";
  controller->PlayMediaFile(video, player, "C:\\missing.avi");
  EXPECT_EQ(controller->GetRunState(), 1);
  EXPECT_EQ(controller->GetGraphEventInterface(), nullptr);
  controller->PlayMediaFile(video, player, "C:\\missing.avi");
  EXPECT_EQ(controller->GetRunState(), 1) << "a failed file leaves nothing behind to fail the next";
  EXPECT_FALSE(controller->IsMediaRunning());
  EXPECT_FALSE(controller->MediaPause());
  EXPECT_FALSE(controller->MediaForward());
  EXPECT_FALSE(controller->MediaBackward());
  EXPECT_FALSE(controller->IsMediaComplete());
  EXPECT_FALSE(controller->RestartMediaTimer(video));
  robot.advance(500);
  EXPECT_EQ(g_positionTicks, 0);
}

TEST_F(ControllerMediaTest, NoLiveGraphToReturnToLeavesTheControllerIdle) {
  ASSERT_EQ(startUp(), 1);
  controller->EnterMediaMode();
  EXPECT_FALSE(controller->ReturnToTv(1, 1));
  EXPECT_EQ(controller->GetRunState(), 0);
}

TEST_F(ControllerMediaTest, AFilePlaysPausesStepsEndsAndTheLivePictureComesBack) {
  const int station = writeAvi(L"C:\\clip.avi");
  ASSERT_EQ(startUp(), 1);
  intoMediaMode();
  const auto live = surfaces().front();

  controller->PlayMediaFile(video, player, "C:\\clip.avi");
  ASSERT_EQ(controller->GetRunState(), 4);
  ASSERT_TRUE(controller->IsMediaRunning());
  EXPECT_EQ(controller->GetAvWindow(), player);
  std::shared_ptr<plat::VideoSurface> played;
  for (const auto& surface : surfaces())
    if (surface != live) played = surface;
  ASSERT_NE(played, nullptr);
  robot.settle();
  ASSERT_GE(played->framesShown(), 1u);
  const auto picture = played->frame();
  EXPECT_TRUE(Near(played->pixel(picture.width - 6, picture.height - 6), plat::TestPicture::stationColour(station)));

  // The position timer runs on the player's window every 100 ms while the file plays.
  robot.advance(1000);
  EXPECT_EQ(g_positionTicks, 10);

  ASSERT_TRUE(controller->MediaPause());
  EXPECT_TRUE(controller->IsMediaOpen());
  EXPECT_FALSE(controller->MediaPause()) << "already paused";
  EXPECT_FALSE(controller->MediaForward());
  const double paused = position();
  robot.advance(1000);
  EXPECT_EQ(g_positionTicks, 10) << "no timer while paused";
  EXPECT_NEAR(position(), paused, 0.05);

  ASSERT_TRUE(controller->RestartMediaTimer(video));
  EXPECT_FALSE(controller->RestartMediaTimer(video)) << "playing, nothing to resume";
  robot.advance(300);
  EXPECT_EQ(g_positionTicks, 13);

  const double before = position();
  ASSERT_TRUE(controller->MediaForward());
  EXPECT_NEAR(position(), before + 10.0, 0.5);
  ASSERT_TRUE(controller->MediaBackward());
  EXPECT_NEAR(position(), before, 0.5);

  // A new player window takes the timer from the next resume; pausing stops it where it runs.
  controller->SetAvWindow(video);
  EXPECT_EQ(controller->GetAvWindow(), video);
  ASSERT_TRUE(controller->MediaPause());
  const int atPause = g_positionTicks;
  robot.advance(300);
  EXPECT_EQ(g_positionTicks, atPause);
  ASSERT_TRUE(controller->RestartMediaTimer(video));

  controller->SeekMediaPercent(90);
  robot.settle();
  EXPECT_FALSE(controller->IsMediaComplete());
  robot.advance(4000);
  EXPECT_TRUE(controller->IsMediaComplete());

  // Returning with the channel restored tunes the list's channel again.
  const auto channelCarrier = stick().tunedCarrier();
  stick().tuneCarrier(stick().control().broadcast().stations()[0].carrierHz);
  ASSERT_NE(stick().tunedCarrier(), channelCarrier);
  ASSERT_TRUE(controller->ReturnToTv(1, 0));
  EXPECT_EQ(stick().tunedCarrier(), channelCarrier);
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_FALSE(controller->IsMediaRunning());
  EXPECT_EQ(controller->IsMuted(), 0);
  EXPECT_EQ(surfaces().size(), 1u) << "the player's renderer went with its graph";
  const int ticks = g_positionTicks;
  const auto shown = live->framesShown();
  for (int i = 0; i < 3; ++i) {
    const auto seen = live->framesShown();
    robot.advance(40);
    EXPECT_GT(live->framesShown(), seen) << "the live graph runs again";
  }
  EXPECT_GT(live->framesShown(), shown);
  EXPECT_EQ(g_positionTicks, ticks) << "the position timer ended with the file";
}

TEST_F(ControllerMediaTest, CompositeComesBackAtTheSettingsSize) {
  writeAvi(L"C:\\clip.avi");
  machine().ini().setValue("Windows", "MajorVersion", "6");  // a size change rebuilds the live graph
  ASSERT_EQ(startUp(), 1);
  g_pAppSettings->VideoInput = 3;
  intoMediaMode();
  controller->PlayMediaFile(video, player, "C:\\clip.avi");
  ASSERT_EQ(controller->GetRunState(), 4);
  controller->StopMediaFile();
  EXPECT_EQ(controller->GetRunState(), 1);
  EXPECT_FALSE(controller->IsMediaRunning());
  robot.advance(300);
  EXPECT_EQ(g_positionTicks, 0) << "the timer ended with the file";

  g_pAppSettings->LineStandard = 1;
  ASSERT_TRUE(controller->ReturnToTv(0, 1));
  EXPECT_EQ(controller->GetRunState(), 11);
  EXPECT_EQ(stick().input(), plat::TvStickCapture::Input::Composite);
  ASSERT_EQ(surfaces().size(), 1u);
  const auto live = surfaces().front();
  const auto seen = live->framesShown();
  robot.advance(40);
  EXPECT_GT(live->framesShown(), seen);
}

}  // namespace

TEST_F(ControllerMediaTest, StoppingEverythingOrShuttingDownEndsThePositionTimer) {
  writeAvi(L"C:\\clip.avi");
  ASSERT_EQ(startUp(), 1);
  intoMediaMode();
  controller->PlayMediaFile(video, player, "C:\\clip.avi");
  ASSERT_EQ(controller->GetRunState(), 4);
  robot.advance(200);
  const int ticks = g_positionTicks;
  EXPECT_EQ(controller->StopAll(), 1);
  robot.advance(500);
  EXPECT_EQ(g_positionTicks, ticks);

  intoMediaMode();
  controller->PlayMediaFile(video, player, "C:\\clip.avi");
  ASSERT_EQ(controller->GetRunState(), 4);
  deleteController();
  const int later = g_positionTicks;
  robot.advance(500);
  EXPECT_EQ(g_positionTicks, later);
}

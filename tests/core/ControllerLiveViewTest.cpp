// The controller's live view on the real graph engine and the simulated TV stick: the
// preview shown in a video window, input switches, text and the volume display drawn into
// the picture, the standard step of tunings in 38 MHz countries, the video's place, the
// picture controls and the channel wall's picture step.
#include "CoreTest.h"

#include "core/CRunState.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "skin/CVideoStaticEx.h"

#include <support/FrameStepping.h>

#include <machine/TestPicture.h>
#include <vendor/language/Language.h>
#include <machine/TvStickCapture.h>
#include <machine/TvStickControl.h>
#include <machine/VideoSurfaces.h>
#include <mfc/afxwin.h>
#include <robot/Robot.h>
#include <win32/gdi.h>
#include <win32/user.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

using Input = plat::TvStickCapture::Input;

bool Near(std::uint32_t pixel, plat::Rgb colour, int tolerance = 40) {
  return std::abs(static_cast<int>((pixel >> 16) & 0xFF) - colour.r) <= tolerance &&
         std::abs(static_cast<int>((pixel >> 8) & 0xFF) - colour.g) <= tolerance &&
         std::abs(static_cast<int>(pixel & 0xFF) - colour.b) <= tolerance;
}

constexpr plat::Rgb kGreen{0, 255, 0};
constexpr plat::Rgb kRed{255, 0, 0};

class ControllerLiveViewTest : public test::LauncherTest {
 protected:
  void SetUp() override {
    installGrabberModule();
    ASSERT_NO_FATAL_FAILURE(openLauncher());
    ASSERT_EQ(startUp(), 1);
    video = window("LiveViewTestVideo", DefWindowProcA, "TV", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300);
    ASSERT_NE(video, nullptr);
  }

  plat::TvStickCapture& stick() { return machine().service<plat::TvStickCapture>(); }
  CAppSettings& settings() { return *g_pAppSettings; }

  // Makes the active list's current channel the one carrying the broadcast's station
  // `index`; its scene number.
  int chooseStation(std::size_t index) {
    const auto& station = stick().control().broadcast().stations().at(index);
    const int list = GetActiveChannelListIndex();
    for (int number = 1; number <= g_pChannelList->GetLastChannelNumber(list); ++number) {
      ChannelRecord record{};
      if (g_pChannelList->GetChannel(number, list, &record) &&
          std::llabs(std::llround(record.Frequency * 1e6) - station.carrierHz) < 100000) {
        g_pChannelList->SetCurrentChannel(number, list);
        return station.scene.number;
      }
    }
    ADD_FAILURE() << "no channel carries station " << index;
    return -1;
  }

  std::shared_ptr<plat::VideoSurface> surface(HWND window = nullptr) {
    const auto owned = machine().service<plat::VideoSurfaces>().ownedBy(window ? window : video);
    return owned.empty() ? nullptr : owned.front();
  }
  // Moves the clock frame by frame, the streaming threads settled after each, until
  // `frames` more were shown.
  bool showFrames(int frames, HWND window = nullptr) { return test::ShowFrames(machine(), surface(window), frames); }
  // Pixels of the latest frame near `colour` inside the rectangle.
  int countNear(plat::Rgb colour, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) count += Near(surface()->pixel(x, y), colour);
    return count;
  }
  int preview() { return controller->StartPreview(video); }

  HWND video = nullptr;
};

TEST_F(ControllerLiveViewTest, ThePreviewShowsTheTunedStationInTheWindow) {
  const int station = chooseStation(1);
  ASSERT_NE(preview(), 0);
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(controller->GetRunStateHolder()->GetSubState(), 15 + settings().VideoInput);
  EXPECT_FALSE(controller->IsGraphMissing());
  EXPECT_EQ(controller->GetVideoWindow(), video);
  EXPECT_EQ(controller->IsMuted(), 0) << "the sound is back on once the picture is up";
  ASSERT_TRUE(showFrames(3));
  const auto frame = surface()->frame();
  int background = 0;
  for (int x = 0; x < frame.width; ++x)
    background += Near(surface()->pixel(x, frame.height - 6), plat::TestPicture::stationColour(station), 12);
  EXPECT_GT(background, frame.width * 3 / 4);
  EXPECT_NE(controller->GetGraphEventInterface(), nullptr);
}

TEST_F(ControllerLiveViewTest, APreviewNeedsALiveWindowAndACaptureDevice) {
  HWND closed = CreateWindowExA(0, "LiveViewTestVideo", "gone", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(closed);
  EXPECT_EQ(controller->StartPreview(closed), 0);
  EXPECT_EQ(controller->StartPreview(nullptr), 0);
  EXPECT_TRUE(controller->IsGraphMissing());
  EXPECT_EQ(controller->GetRunState(), 0);

  settings().CaptureDeviceNames.RemoveAll();
  plat::Robot robot;
  robot.answerNextMessageBox(IDOK);
  EXPECT_EQ(preview(), 0);
  EXPECT_TRUE(controller->IsGraphMissing());
  EXPECT_EQ(controller->GetRunState(), 0);
  EXPECT_EQ(controller->IsMuted(), 0);
  ASSERT_EQ(robot.messageBoxes().size(), 1u);
  EXPECT_EQ(robot.messageBoxes()[0].text, GetMessageInfo(16));
}

TEST_F(ControllerLiveViewTest, CompositeShowsTheExternalPictureAndItsName) {
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  ASSERT_TRUE(showFrames(2));
  const int channelText = countNear(kGreen, 360, 20, 720, 80);

  controller->SelectComposite();
  EXPECT_EQ(controller->GetRunState(), 11);
  EXPECT_EQ(settings().VideoInput, 3);
  EXPECT_EQ(controller->GetRunStateHolder()->GetSubState(), 18);
  EXPECT_EQ(stick().input(), Input::Composite);
  EXPECT_STREQ(controller->GetInputSourceName(), "Composite");
  EXPECT_EQ(controller->GetInputKind(), 1);
  ASSERT_TRUE(showFrames(3));
  // "Composite" in green at the top right of the 720-wide picture.
  const int height = surface()->frame().height;
  const int compositeText = countNear(kGreen, 360, 20, 720, 80);
  EXPECT_GT(compositeText, 50) << "picture height " << height;
  EXPECT_NE(compositeText, channelText) << "the channel's text gave way to the input's";
  EXPECT_EQ(countNear(kGreen, 0, 20, 300, 80), 0);

  controller->SelectComposite();  // already there
  EXPECT_EQ(controller->GetRunState(), 11);
  controller->SelectTuner();
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(stick().input(), Input::Tuner);
  EXPECT_EQ(settings().VideoInput, settings().TunerSource);
}

TEST_F(ControllerLiveViewTest, TextNeedsALiveGraphAndText) {
  controller->ShowOsdText("12");  // no graph: nothing, and no failure
  controller->DrawVolumeOsd(0);
  controller->DrawStatusOsd(1);
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  ASSERT_TRUE(showFrames(2));
  const int before = countNear(kGreen, 360, 20, 720, 80);
  controller->ShowOsdText("");
  ASSERT_TRUE(showFrames(2));
  EXPECT_EQ(countNear(kGreen, 360, 20, 720, 80), before) << "an empty text hides nothing";
}

TEST_F(ControllerLiveViewTest, VolumeKeysRedrawTheVolumeDisplay) {
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  ASSERT_EQ(settings().LineStandard, 4);
  ASSERT_TRUE(showFrames(2));
  EXPECT_EQ(countNear(kGreen, 320, 395, 720, 440), 0);
  controller->VolumeStep(0);
  ASSERT_TRUE(showFrames(2));
  EXPECT_GT(countNear(kGreen, 320, 395, 720, 440), 50) << "\"Volume: 55\" at the bar's place";

  controller->ToggleMute();
  EXPECT_EQ(controller->IsMuted(), 1);
  ASSERT_TRUE(showFrames(2));
  EXPECT_GT(countNear(kRed, 160, 425, 320, 470), 20) << "\"Mute\" in red";
  controller->ToggleMute();
  EXPECT_EQ(controller->IsMuted(), 0);
}

TEST_F(ControllerLiveViewTest, TheChannelStandardReachesTheDecoderOnlyIn38MHzCountries) {
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  const long before = stick().decoderStandard();
  controller->ApplyChannelStandard("PAL_D");  // country 1 uses 45.75 MHz
  EXPECT_EQ(stick().decoderStandard(), before);

  settings().CountryCode = 86;  // PAL_D, 38 MHz
  controller->ApplyChannelStandard("SECAM_K");  // the decoder knows one SECAM
  EXPECT_EQ(stick().decoderStandard(), plat::TvStickCapture::standardBit("SECAM_B"));
}

TEST_F(ControllerLiveViewTest, TuningsIn38MHzCountriesApplyTheRecordsStandard) {
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  settings().CountryCode = 86;
  const int list = GetActiveChannelListIndex();
  auto named = [&](int number, const char* standard) {
    auto* record = new ChannelRecord{};
    std::strcpy(record->StandardName, standard);
    std::snprintf(record->ChannelName, sizeof record->ChannelName, "Channel%d", number);
    record->Frequency = 100.0f + number;
    record->ChannelNumber = number;
    g_pChannelList->AddChannel(list, record);
  };
  named(3, "SECAM_D");
  named(4, "SECAM_D");
  ASSERT_EQ(g_pChannelList->TuneChannel(3, list), 1);
  EXPECT_EQ(stick().decoderStandard(), plat::TvStickCapture::standardBit("SECAM_B"));

  // Tuning the standard in force again: only the operations that always apply it set it.
  stick().setDecoderStandard(plat::TvStickCapture::standardBit("PAL_D"));
  ASSERT_EQ(g_pChannelList->TuneChannel(4, list), 1);
  EXPECT_EQ(stick().decoderStandard(), plat::TvStickCapture::standardBit("PAL_D"));
  ASSERT_EQ(g_pChannelList->TuneChannelInRange(4, list), 1);
  EXPECT_EQ(stick().decoderStandard(), plat::TvStickCapture::standardBit("SECAM_B"));

  // A 45.75 MHz country applies nothing.
  settings().CountryCode = 1;
  stick().setDecoderStandard(plat::TvStickCapture::standardBit("PAL_D"));
  ASSERT_EQ(g_pChannelList->TuneChannelInRange(3, list), 1);
  EXPECT_EQ(stick().decoderStandard(), plat::TvStickCapture::standardBit("PAL_D"));
}

// The rectangle is given as its corner and size, and places the live picture in every
// state that shows one, typing a channel number in either window included.
TEST_F(ControllerLiveViewTest, TheVideoRectangleMovesTheLiveVideoWhereverItIsShown) {
  controller->SetVideoRect(0, 0, 50, 50);  // no graph: nothing
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  controller->SetVideoRect(10, 20, 110, 220);
  const RECT placed = surface()->placement().rect;
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.top, 20);
  EXPECT_EQ(placed.right, 120) << "110 wide";
  EXPECT_EQ(placed.bottom, 240) << "220 high";

  for (int state = 0; state <= 14; ++state) {
    const bool placed = state == 2 || state == 3 || state == 6 || state == 7 || state == 9 || state == 10 ||
                        (state >= 11 && state <= 14);
    controller->GetRunStateHolder()->SetState(state);
    controller->SetVideoRect(state, 0, 100, 80);
    const RECT rect = surface()->placement().rect;
    EXPECT_EQ(rect.left == state && rect.right == state + 100, placed) << "run state " << state;
    controller->GetRunStateHolder()->SetState(2);
    controller->SetVideoRect(0, 0, 100, 80);
  }
}

TEST_F(ControllerLiveViewTest, TheVideoWindowIsTakenOnlyWhenItIsAWindow) {
  EXPECT_EQ(controller->SetVideoWindow(video), 1);
  EXPECT_EQ(controller->GetVideoWindow(), video);
  HWND closed = CreateWindowExA(0, "LiveViewTestVideo", "gone", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(closed);
  EXPECT_EQ(controller->SetVideoWindow(closed), 0);
  EXPECT_EQ(controller->SetVideoWindow(nullptr), 0);
  EXPECT_EQ(controller->GetVideoWindow(), video);
}

// The input's name: "TV" whichever plan the tuner uses, and nothing without a live graph.
TEST_F(ControllerLiveViewTest, TheInputIsNamedTVCompositeOrSVideo) {
  settings().VideoInput = 2;
  EXPECT_STREQ(controller->GetInputSourceName(), "") << "no live graph";
  ASSERT_NE(preview(), 0);
  const struct {
    int input;
    const char* name;
  } inputs[] = {{1, "TV"}, {2, "TV"}, {3, "Composite"}, {4, "S-Video"}, {0, ""}, {5, ""}};
  for (const auto& input : inputs) {
    settings().VideoInput = input.input;
    EXPECT_STREQ(controller->GetInputSourceName(), input.name) << "input " << input.input;
  }
}

TEST_F(ControllerLiveViewTest, PictureControlsAreStoredAndReachTheDecoder) {
  EXPECT_EQ(CAppController::GetBrightness(), settings().Brightness);
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  controller->SetBrightness(10);
  const long low = stick().procAmp(0);
  controller->SetBrightness(90);
  EXPECT_GT(stick().procAmp(0), low);
  EXPECT_EQ(CAppController::GetBrightness(), 90);

  controller->SetPictureAll(20, 30, 40, 60, 70);  // sharpness, contrast, brightness, hue, saturation
  EXPECT_EQ(CAppController::GetSharpness(), 20);
  EXPECT_EQ(CAppController::GetContrast(), 30);
  EXPECT_EQ(CAppController::GetBrightness(), 40);
  EXPECT_EQ(CAppController::GetHue(), 60);
  EXPECT_EQ(CAppController::GetSaturation(), 70);
  const auto brightness = stick().procAmpRange(0);
  EXPECT_EQ(stick().procAmp(0), brightness.min + static_cast<long>(static_cast<double>(brightness.max - brightness.min) * 0.01 * 40))
      << "brightness 40 reached the decoder";
  const auto range = stick().procAmpRange(1);
  EXPECT_LT(stick().procAmp(1), range.max);
  controller->SetContrast(100);
  EXPECT_EQ(stick().procAmp(1), range.max);

  delete g_pAppSettings;
  g_pAppSettings = nullptr;
  EXPECT_EQ(CAppController::GetHue(), -1);
  EXPECT_EQ(CAppController::GetVolume(), -1);
}

TEST_F(ControllerLiveViewTest, TheWallsPictureStepStopsAfterTheLastChannel) {
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  const int list = GetActiveChannelListIndex();
  const int last = g_pChannelList->GetLastChannelNumber(list);
  g_pChannelList->SetCurrentChannel(last, list);
  ASSERT_TRUE(showFrames(3));
  HBITMAP picture = nullptr;
  int channel = 0;
  EXPECT_EQ(controller->LoadChannelBitmap(picture, channel), -6);
  EXPECT_NE(picture, nullptr);
  EXPECT_EQ(channel, last + 1);
  if (picture) DeleteObject(picture);
  picture = nullptr;
  g_pChannelList->SetCurrentChannel(1, list);
  EXPECT_NE(controller->LoadChannelBitmap(picture, channel), -1) << "the busy flag was cleared";
  if (picture) DeleteObject(picture);
}

TEST_F(ControllerLiveViewTest, TheWallStepsAsChannelUpPassingGapsAndSkippedChannels) {
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  const int list = GetActiveChannelListIndex();
  ChannelRecord record{};
  for (int number : {1, 5}) {
    ASSERT_EQ(g_pChannelList->GetChannel(number, list, &record), 1);
    record.SkipFlag = 1;
    g_pChannelList->UpdateChannel(number, list, &record);
  }
  g_pChannelList->RemoveChannel(4, list);
  int first = 0;
  ASSERT_EQ(controller->StartChannelWall(first), 1);
  EXPECT_EQ(first, 2) << "channel 1 takes no part in stepping";
  g_pChannelList->SetCurrentChannel(3, list);
  ASSERT_TRUE(showFrames(3));
  HBITMAP picture = nullptr;
  int channel = 0;
  EXPECT_EQ(controller->LoadChannelBitmap(picture, channel), 0);
  EXPECT_EQ(channel, 6) << "past the gap at 4 and the skipped 5, as channel up goes";
  EXPECT_NE(picture, nullptr);
  if (picture) DeleteObject(picture);
}

TEST_F(ControllerLiveViewTest, ScheduleSwitchesWithoutAGraphMoveOnlyTheState) {
  settings().VideoInput = 2;
  controller->SwitchToSubState(18, 0, 0);
  EXPECT_EQ(controller->GetRunState(), 11);
  EXPECT_EQ(settings().VideoInput, 3);
  controller->SwitchToSubState(16, 5, 1);
  EXPECT_EQ(controller->GetRunState(), 2);
  EXPECT_EQ(settings().VideoInput, 3) << "without a live graph only the run state changes";
  controller->SwitchToSubState(12, 0, 0);
  EXPECT_EQ(controller->GetRunState(), 2);
}

TEST_F(ControllerLiveViewTest, OneCaptureDeviceIsNotStepped) {
  ASSERT_EQ(settings().CaptureDeviceNames.GetSize(), 1);
  const CString before = settings().CaptureDeviceName;
  CString name = "unset";
  EXPECT_EQ(controller->StepCaptureDevice(0, name), 0);
  EXPECT_EQ(name, "unset");
  EXPECT_EQ(before, settings().CaptureDeviceName);
  EXPECT_TRUE(controller->IsGraphMissing());
}

// A PC with a PCI TV card beside the stick: two capture devices.
class ControllerTwoDevicesTest : public ControllerLiveViewTest {
 protected:
  void SetUp() override {
    machine().ini().setValue("CaptureCard", "Present", "1");
    ControllerLiveViewTest::SetUp();
  }
};

TEST_F(ControllerTwoDevicesTest, TheCaptureDeviceStepsRoundTheListAndReopensThePreview) {
  ASSERT_EQ(settings().CaptureDeviceNames.GetSize(), 2);
  const CString card = settings().CaptureDeviceNames.GetAt(1);
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  CString name;
  EXPECT_EQ(controller->StepCaptureDevice(0, name), 1);
  EXPECT_EQ(name, card);
  EXPECT_STREQ(settings().CaptureDeviceName, card);
  EXPECT_TRUE(controller->IsPreviewing());
  EXPECT_EQ(controller->StepCaptureDevice(0, name), 1) << "the last wraps to the first";
  EXPECT_EQ(name, "USB TV Device");
  EXPECT_EQ(controller->StepCaptureDevice(1, name), 1) << "backwards from the first wraps to the last";
  EXPECT_EQ(name, card);

  controller->StopPreview();
  ASSERT_TRUE(controller->IsIdle());
  EXPECT_EQ(controller->StepCaptureDevice(1, name), 1) << "idle steps too";
  EXPECT_EQ(name, "USB TV Device");
  EXPECT_TRUE(controller->IsPreviewing());

  for (int state : {3, 7, 12}) {
    controller->GetRunStateHolder()->SetState(state);
    name = "unset";
    EXPECT_EQ(controller->StepCaptureDevice(0, name), 0) << state;
    EXPECT_EQ(name, "unset");
    EXPECT_EQ(controller->GetRunState(), state) << "nothing is rebuilt over it";
  }
  EXPECT_STREQ(settings().CaptureDeviceName, "USB TV Device");
}

// A stick that delivers its own sound.
class ControllerOwnSoundTest : public ControllerLiveViewTest {
 protected:
  void SetUp() override {
    machine().ini().setValue("TVStick", "AudioOut", "1");
    ControllerLiveViewTest::SetUp();
  }
};

TEST_F(ControllerOwnSoundTest, TheAudioDeviceStepOfAStickWithItsOwnSoundEmptiesTheLineBuffer) {
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  CStringArray& devices = settings().AudioDeviceNames;
  devices.RemoveAll();
  devices.Add("Sound A");
  devices.Add("A sound card whose name fills the whole field!");
  std::strcpy(settings().AudioDeviceName, "Sound A");
  std::strcpy(settings().AudioLineName, "Line In");
  char name[CAppController::kDeviceNameBufferSize] = {};
  char line[CAppController::kLineBufferSize] = "unchanged";
  char spare[CAppController::kLineBufferSize] = "untouched";
  controller->ApplyDeviceSelection(0, name, line, spare);
  EXPECT_STREQ(name, "A sound card whose name fills the whole") << "39 characters and the end";
  EXPECT_STREQ(line, "") << "no line of its own";
  EXPECT_STREQ(spare, "untouched");
  EXPECT_STREQ(settings().AudioLineName, "Line In") << "the graph was not switched";
  EXPECT_TRUE(controller->IsPreviewing());
}

TEST_F(ControllerLiveViewTest, AllFivePictureValuesChangeOnlyWithALivePreview) {
  const int sharpness = CAppController::GetSharpness();
  controller->SetPictureAll(1, 2, 3, 4, 5);
  EXPECT_EQ(CAppController::GetSharpness(), sharpness) << "no preview: nothing stored";
  chooseStation(1);
  ASSERT_NE(preview(), 0);
  controller->GetRunStateHolder()->SetState(7);
  controller->SetPictureAll(1, 2, 3, 4, 5);
  EXPECT_EQ(CAppController::GetSharpness(), sharpness) << "the wall is not previewing";
  controller->GetRunStateHolder()->SetState(2);
  controller->SetPictureAll(50, 50, 50, 50, 50);
  for (int property = 0; property < 5; ++property)
    EXPECT_EQ(stick().procAmp(property), stick().procAmpRange(property).def) << "property " << property;
}

TEST_F(ControllerLiveViewTest, AResizedVideoAreaMovesTheVideoUnlessFullScreen) {
  CFrameWnd* tv = new CFrameWnd;
  ASSERT_TRUE(tv->Create(nullptr, "TV window", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  CVideoStaticEx area;
  ASSERT_TRUE(area.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 320, 240), tv, 100));
  chooseStation(1);
  ASSERT_NE(controller->StartPreview(area.GetSafeHwnd()), 0);
  area.MoveWindow(0, 0, 400, 300);
  RECT rect = surface(area.GetSafeHwnd())->placement().rect;
  EXPECT_EQ(rect.right - rect.left, 400);
  EXPECT_EQ(rect.bottom - rect.top, 300);

  area.EnterFullScreen();
  controller->SetVideoRect(0, 0, 64, 48);
  area.MoveWindow(0, 0, 200, 100);
  rect = surface(area.GetSafeHwnd())->placement().rect;
  EXPECT_EQ(rect.right - rect.left, 64) << "full screen, a resize leaves the video";
  controller->DestroyCaptureGraph();
  area.DestroyWindow();
  tv->DestroyWindow();
}

}  // namespace

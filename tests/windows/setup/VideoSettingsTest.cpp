// The video settings window: five sliders whose every move is stored and set on the live
// picture (read back from the stick's picture controls and its picture), their values
// beside them, the button back to the middle, and a window that only shows while no live
// picture runs.
#include "windows/setup/SettingsWindowsTest.h"

#include "core/CAppSettings.h"
#include "skin/CSkinSlider.h"
#include "skin/CVideoStatic.h"
#include "windows/main/WindowMessages.h"

#include <machine/VideoSurfaces.h>

namespace {

class VideoSettingsTest : public test::SettingsWindowsTest {
 protected:
  CVideoSetDlg& page() { return *g_videoSetPage; }
  CSkinSlider& slider(UINT id) { return *page().GetSlider(id); }
  std::string shown(const char* name) { return label(page(), name); }
  // The slider's thumb dragged by the mouse to `position` of 0..100.
  void drag(UINT id, int position) {
    CRect track;
    slider(id).GetWindowRect(&track);
    const POINT from{track.left + (track.Width() - 1) * slider(id).GetPos() / 100, track.CenterPoint().y};
    const POINT to{track.left + (track.Width() - 1) * position / 100, track.CenterPoint().y};
    robot.drag(from, to);
    robot.pumpUntilIdle();
  }
  // The stick's control at a share of its range, as the graph maps 0..100 onto it.
  long deviceValue(int property, int value) {
    const auto range = stick().procAmpRange(property);
    if (value == 50) return range.def;
    return range.min + static_cast<long>(static_cast<double>(range.max - range.min) * 0.01 * value);
  }
  // The mean brightness of a picture drawn into the page's video area after the last
  // change: a few frames later.
  double pictureLuma() {
    const auto surfaces = machine().service<plat::VideoSurfaces>().ownedBy(page().GetVideoArea()->GetSafeHwnd());
    if (surfaces.empty()) return -1;
    const auto before = surfaces.front()->framesShown();
    for (int step = 0; step < 50 && surfaces.front()->framesShown() < before + 3; ++step) runPictures(40);
    const auto frame = surfaces.front()->frame();
    double sum = 0;
    for (std::uint32_t pixel : frame.pixels) sum += ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
    return frame.pixels.empty() ? -1 : sum / (3.0 * static_cast<double>(frame.pixels.size()));
  }
};

const struct Slider {
  UINT id;
  const char* label;
  int property;  // of the stick's picture controls
  int CAppSettings::*field;
} kSliders[] = {{CVideoSetDlg::kBrightnessId, "VideoLightness_Static", 0, &CAppSettings::Brightness},
                {CVideoSetDlg::kContrastId, "VideoContrast_Static", 1, &CAppSettings::Contrast},
                {CVideoSetDlg::kHueId, "VideoChroma_Static", 2, &CAppSettings::Hue},
                {CVideoSetDlg::kSaturationId, "VideoSaturation_Static", 3, &CAppSettings::Saturation},
                {CVideoSetDlg::kSharpnessId, "VideoDefinition_Static", 4, &CAppSettings::Sharpness}};

TEST_F(VideoSettingsTest, OpensWithTheSettingsValuesOnItsSliders) {
  openLauncher();
  chooseAStation();
  g_pAppSettings->Contrast = 30;
  g_pAppSettings->Sharpness = 0;
  openVideoSettings();
  EXPECT_EQ(mode(), 185);
  EXPECT_TRUE(pictureIn(page().GetVideoArea()));
  for (const Slider& s : kSliders) {
    EXPECT_EQ(slider(s.id).GetPos(), g_pAppSettings->*s.field) << s.label;
    EXPECT_EQ(shown(s.label), std::to_string(g_pAppSettings->*s.field)) << s.label;
  }
  CRect place;
  slider(CVideoSetDlg::kSharpnessId).GetWindowRect(&place);
  EXPECT_EQ(test::Text(place), "387,348,682,360");
  ASSERT_TRUE(untilAPictureShows());
  screenshot(page(), "video_settings");
}

// Dragging the brightness to 73 shows 73, stores 73 and sets the device's brightness.
TEST_F(VideoSettingsTest, EverySliderReachesTheStickAndBothEndsOfItsRange) {
  openVideoSettings();
  drag(CVideoSetDlg::kBrightnessId, 73);
  EXPECT_EQ(shown("VideoLightness_Static"), "73");
  EXPECT_EQ(g_pAppSettings->Brightness, 73);
  EXPECT_EQ(stick().procAmp(0), deviceValue(0, 73));
  for (const Slider& s : kSliders) {
    for (int end : {0, 100}) {
      drag(s.id, end);
      EXPECT_EQ(g_pAppSettings->*s.field, end) << s.label;
      EXPECT_EQ(shown(s.label), std::to_string(end)) << s.label;
      EXPECT_EQ(stick().procAmp(s.property), end ? stick().procAmpRange(s.property).max : stick().procAmpRange(s.property).min)
          << s.label;
    }
  }
}

TEST_F(VideoSettingsTest, TheBrightnessChangesTheLivePicture) {
  openVideoSettings();
  ASSERT_TRUE(untilAPictureShows());
  const double middle = pictureLuma();
  drag(CVideoSetDlg::kBrightnessId, 100);
  const double bright = pictureLuma();
  drag(CVideoSetDlg::kBrightnessId, 0);
  const double dark = pictureLuma();
  EXPECT_GT(bright, middle + 10);
  EXPECT_LT(dark, middle - 10);
}

// A position from outside the range (a message any window may send) is taken at the end.
TEST_F(VideoSettingsTest, APositionOutsideTheRangeIsTakenAtItsEnd) {
  openVideoSettings();
  SendMessageA(page().GetSafeHwnd(), UM_SLIDER_SET, CVideoSetDlg::kContrastId, 101);
  EXPECT_EQ(g_pAppSettings->Contrast, 100);
  EXPECT_EQ(shown("VideoContrast_Static"), "100");
  SendMessageA(page().GetSafeHwnd(), UM_SLIDER_TRACK, CVideoSetDlg::kContrastId, -1);
  EXPECT_EQ(g_pAppSettings->Contrast, 0);
  EXPECT_EQ(stick().procAmp(1), stick().procAmpRange(1).min);
  const int hue = g_pAppSettings->Hue;
  SendMessageA(page().GetSafeHwnd(), UM_SLIDER_SET, 4170, 10);
  EXPECT_EQ(g_pAppSettings->Hue, hue) << "no slider of that id";
}

TEST_F(VideoSettingsTest, TheMiddleButtonPutsAllFiveBackTogether) {
  openVideoSettings();
  for (const Slider& s : kSliders) drag(s.id, 90);
  clickButton(page(), "VIDEODEFAULT_BUTTON");
  for (const Slider& s : kSliders) {
    EXPECT_EQ(g_pAppSettings->*s.field, 50) << s.label;
    EXPECT_EQ(slider(s.id).GetPos(), 50) << s.label;
    EXPECT_EQ(shown(s.label), "50") << s.label;
    EXPECT_EQ(stick().procAmp(s.property), stick().procAmpRange(s.property).def) << s.label;
  }
}

// Opened while a media file has the video (neither previewing nor idle): no picture,
// disabled sliders, blank values, and the middle button does nothing.
TEST_F(VideoSettingsTest, WithoutALivePictureTheSlidersAreDisabledAndTheValuesBlank) {
  openHubFromLauncher();
  g_pAppController->CloseTvForMedia();
  ASSERT_EQ(g_pAppController->GetRunState(), 1);
  g_pAppSettings->Brightness = 80;
  openVideoSettings();
  EXPECT_EQ(g_pAppController->GetRunState(), 1) << "no picture call";
  for (const Slider& s : kSliders) EXPECT_EQ(shown(s.label), " ") << s.label;
  drag(CVideoSetDlg::kBrightnessId, 20);
  EXPECT_EQ(g_pAppSettings->Brightness, 80) << "a disabled slider does not move";
  clickButton(page(), "VIDEODEFAULT_BUTTON");
  EXPECT_EQ(g_pAppSettings->Brightness, 80);
  EXPECT_EQ(shown("VideoLightness_Static"), " ");
}

// Stored even without a live graph to set it on; written with the settings at shut-down.
TEST_F(VideoSettingsTest, AValueIsStoredWithoutAGraphAndSavedAtTheEnd) {
  openVideoSettings();
  g_pAppController->DestroyCaptureGraph();
  SendMessageA(page().GetSafeHwnd(), UM_SLIDER_SET, CVideoSetDlg::kSaturationId, 12);
  EXPECT_EQ(g_pAppSettings->Saturation, 12);
  closeLauncher();
  const test::Bytes file = readBytes(programPath("ZRQData.dat"));
  ASSERT_EQ(file.size(), 768u);
  EXPECT_EQ(test::intAt(file, 36), 12);
}

}  // namespace

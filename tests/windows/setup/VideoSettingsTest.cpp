// The video settings window: five sliders whose every move is stored and set on the live
// picture (read back from the stick's picture controls and its picture), their values
// beside them, the button back to the middle, and a window that only shows while no live
// picture runs.
#include "windows/setup/SettingsWindowsTest.h"

#include "core/data/CAppSettings.h"
#include "skin/CSkinSlider.h"
#include "skin/CVideoStatic.h"
#include "windows/main/WindowMessages.h"

#include <machine/VideoSurfaces.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

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
  // A picture drawn into the page's video area after the last change: a few frames later.
  plat::VideoSurface::Frame picture() {
    const auto surfaces = machine().service<plat::VideoSurfaces>().ownedBy(page().GetVideoArea()->GetSafeHwnd());
    if (surfaces.empty()) return {};
    const auto before = surfaces.front()->framesShown();
    for (int step = 0; step < 50 && surfaces.front()->framesShown() < before + 3; ++step) runPictures(40);
    return surfaces.front()->frame();
  }
};

// What each control does to a picture, measured over all its pixels (0x00RRGGBB).
struct PictureMeasures {
  double luma = 0;       // the mean brightness
  double spread = 0;     // how far the brightness strays from its mean: the contrast
  double colour = 0;     // the mean distance between the strongest and weakest primary
  double extremes = 0;   // the share of pixels near black or white
  double edges = 0;      // the mean squared step in brightness to the right-hand neighbour
  double primaries[3]{}; // the mean red, green and blue: the hue

  explicit PictureMeasures(const plat::VideoSurface::Frame& frame) {
    const auto count = static_cast<double>(frame.pixels.size());
    if (frame.pixels.empty() || frame.width < 2) return;
    std::vector<double> lumas;
    for (std::uint32_t pixel : frame.pixels) {
      const double rgb[3] = {static_cast<double>((pixel >> 16) & 0xFF), static_cast<double>((pixel >> 8) & 0xFF),
                             static_cast<double>(pixel & 0xFF)};
      for (int c = 0; c < 3; ++c) primaries[c] += rgb[c] / count;
      lumas.push_back(0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2]);
      colour += (std::max({rgb[0], rgb[1], rgb[2]}) - std::min({rgb[0], rgb[1], rgb[2]})) / count;
    }
    for (double l : lumas) luma += l / count;
    for (double l : lumas) spread += std::abs(l - luma) / count;
    for (double l : lumas) extremes += (l < 32 || l > 223) / count;
    for (std::size_t i = 1; i < lumas.size(); ++i)
      if (i % static_cast<std::size_t>(frame.width)) edges += (lumas[i] - lumas[i - 1]) * (lumas[i] - lumas[i - 1]) / count;
  }
  double hueShiftFrom(const PictureMeasures& other) const {
    double shift = 0;
    for (int c = 0; c < 3; ++c) shift += std::abs(primaries[c] - other.primaries[c]);
    return shift;
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

// Each slider at either end of its range changes the live picture the way its name says,
// against the picture at the middle values.
TEST_F(VideoSettingsTest, EachSliderChangesTheLivePicture) {
  openLauncher();
  chooseAStation();
  openVideoSettings();
  ASSERT_TRUE(untilAPictureShows());
  for (const Slider& s : kSliders) drag(s.id, 50);
  const PictureMeasures middle(picture());
  ASSERT_GT(middle.luma, 0);
  const auto atEnds = [&](UINT id) {
    drag(id, 100);
    const PictureMeasures high(picture());
    drag(id, 0);
    const PictureMeasures low(picture());
    drag(id, 50);
    return std::pair{high, low};
  };
  const auto [bright, dark] = atEnds(CVideoSetDlg::kBrightnessId);
  EXPECT_GT(bright.luma, middle.luma + 10);
  EXPECT_LT(dark.luma, middle.luma - 10);
  const auto [hard, flat] = atEnds(CVideoSetDlg::kContrastId);
  EXPECT_GT(hard.extremes, middle.extremes + 0.2);
  EXPECT_LT(flat.spread, middle.spread * 0.4);
  const auto [turned, turnedBack] = atEnds(CVideoSetDlg::kHueId);
  EXPECT_GT(turned.hueShiftFrom(middle), 20);
  EXPECT_GT(turnedBack.hueShiftFrom(middle), 20);
  EXPECT_GT(turned.hueShiftFrom(turnedBack), 20) << "the two ends turn opposite ways";
  EXPECT_NEAR(turned.luma, middle.luma, 12) << "the hue leaves the brightness";
  const auto [vivid, grey] = atEnds(CVideoSetDlg::kSaturationId);
  EXPECT_GT(vivid.colour, middle.colour * 1.3);
  EXPECT_LT(grey.colour, middle.colour * 0.3);
  const auto [sharp, soft] = atEnds(CVideoSetDlg::kSharpnessId);
  EXPECT_GT(sharp.edges, middle.edges * 1.2);
  EXPECT_LT(soft.edges, middle.edges);
  EXPECT_NEAR(sharp.luma, middle.luma, 8) << "the sharpness leaves the brightness";
  const PictureMeasures back(picture());
  EXPECT_NEAR(back.luma, middle.luma, 3) << "all five at the middle again";
  EXPECT_NEAR(back.colour, middle.colour, 3);
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

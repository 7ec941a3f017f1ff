// The project pane: cuts added at the end of the video or the audio track, previewed,
// paused, stopped and sought, emptied, and saved through the recording options dialog.
#include "windows/media/VideoEditorTest.h"

#include "platform/dshow/MediaFileWriter.h"
#include "platform/vendor/MpegFileProbe.h"
#include "skin/SkinMessages.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/CRecordOptionsDlg.h"

#include <robot/Screenshot.h>

namespace test {
namespace {

constexpr std::int64_t kSecond = 10000000;
// The clips FFmpeg writes last a few milliseconds more than asked.
constexpr std::int64_t kNear = kSecond / 100;

class VideoEditorProjectTest : public VideoEditorTest {
 protected:
  // The editor with a ten-second clip open and paused at its start.
  CVideoDlg& withClip() {
    CVideoDlg& dlg = openEditor();
    loadClip(putClip("ten.mpg", 10));
    return dlg;
  }
  int thumbnails() { return editor().GetProjectList().GetItemCount(); }
  // The recording options dialog answered while it runs: `choose` acts in it, then OK.
  void answerOptions(const std::function<void(HWND)>& choose) {
    robot.duringModal([choose](plat::Robot& r) {
      HWND options = r.findWindow("#32770", "Select parameter");
      if (!options) return;
      choose(options);
      r.click(r.control(options, CRecordOptionsDlg::kOkButton));
    });
  }
  static void typePath(HWND options, const std::string& path) {
    SetWindowTextA(GetDlgItem(options, CRecordOptionsDlg::kPathEdit), path.c_str());
  }
};

// Two cuts of 5 s and 3 s go to [0, 5 s) and [5 s, 8 s) of the video track, each with
// its start frame in the project list; a cut ends after it starts or is not taken.
TEST_F(VideoEditorProjectTest, CutsFollowOneAnotherOnTheVideoTrackWithTheirStartFrames) {
  CVideoDlg& dlg = withClip();
  cut(0, 50);
  EXPECT_NEAR(dlg.GetVideoEnd(), 5 * kSecond, kNear);
  EXPECT_EQ(thumbnails(), 1);
  EXPECT_TRUE(enabled("RIGHTPLAY_BUTTON"));
  EXPECT_FALSE(enabled("RIGHTPAUSE_BUTTON"));
  EXPECT_FALSE(enabled("RIGHTSTOP_BUTTON"));
  cut(50, 80);
  EXPECT_NEAR(dlg.GetVideoEnd(), 8 * kSecond, kNear);
  EXPECT_EQ(dlg.GetAudioEnd(), 0);
  EXPECT_EQ(thumbnails(), 2);

  cut(60, 60);
  EXPECT_NEAR(dlg.GetVideoEnd(), 8 * kSecond, kNear) << "an empty cut";
  cut(70, 60);
  EXPECT_NEAR(dlg.GetVideoEnd(), 8 * kSecond, kNear) << "an end before the start";
  cut(60, 61);
  EXPECT_NEAR(dlg.GetVideoEnd(), 8 * kSecond + kSecond / 10, kNear) << "one step is enough";
  EXPECT_EQ(thumbnails(), 3);
}

// In audio mode a cut goes to the audio track's end and shows no frame.
TEST_F(VideoEditorProjectTest, AnAudioCutGoesToTheAudioTrackWithoutAFrame) {
  CVideoDlg& dlg = withClip();
  cut(0, 30);
  robot.key(VK_TAB);
  ASSERT_EQ(dlg.GetTrackMode(), CVideoSkinDlg::kAudioTrackMode);
  cut(20, 40);
  EXPECT_NEAR(dlg.GetAudioEnd(), 2 * kSecond, kNear);
  EXPECT_NEAR(dlg.GetVideoEnd(), 3 * kSecond, kNear);
  EXPECT_EQ(thumbnails(), 1);
  cut(40, 50);
  EXPECT_NEAR(dlg.GetAudioEnd(), 3 * kSecond, kNear);
}

TEST_F(VideoEditorProjectTest, ThePreviewPlaysPausesStopsSeeksAndRewindsAtItsEnd) {
  CVideoDlg& dlg = withClip();
  cut(0, 20);
  press("RIGHTPLAY_BUTTON");
  EXPECT_TRUE(dlg.IsPreviewActive());
  EXPECT_TRUE(dlg.IsProjectTimerRunning());
  EXPECT_EQ(dlg.GetProjectPlayState(), CVideoSkinDlg::kPlaying);
  EXPECT_TRUE(enabled("RIGHTPAUSE_BUTTON"));
  EXPECT_TRUE(enabled("RIGHTSTOP_BUTTON"));
  play(1000);
  EXPECT_GE(dlg.GetProjectSlider().GetPos(), 40);
  EXPECT_LE(dlg.GetProjectSlider().GetPos(), 60);

  press("RIGHTPAUSE_BUTTON");
  EXPECT_EQ(dlg.GetProjectPlayState(), CVideoSkinDlg::kPaused);
  EXPECT_FALSE(dlg.IsProjectTimerRunning());
  press("RIGHTPLAY_BUTTON");
  EXPECT_EQ(dlg.GetProjectPlayState(), CVideoSkinDlg::kPlaying);
  press("RIGHTSTOP_BUTTON");
  EXPECT_EQ(dlg.GetProjectPlayState(), CVideoSkinDlg::kStopped);
  EXPECT_EQ(dlg.GetProjectSlider().GetPos(), 0);
  EXPECT_FALSE(dlg.IsProjectTimerRunning());

  // Seeking pauses it where the slider was let go.
  press("RIGHTPLAY_BUTTON");
  SendMessageA(dlg.GetSafeHwnd(), UM_SLIDER_TRACK, CVideoSkinDlg::kProjectSliderId, 75);
  EXPECT_FALSE(dlg.IsProjectTimerRunning());
  SendMessageA(dlg.GetSafeHwnd(), UM_SLIDER_SET, CVideoSkinDlg::kProjectSliderId, 75);
  EXPECT_EQ(dlg.GetProjectPlayState(), CVideoSkinDlg::kPaused);

  // Played to its end, it rewinds and stops.
  press("RIGHTPLAY_BUTTON");
  play(1000);
  EXPECT_EQ(dlg.GetProjectPlayState(), CVideoSkinDlg::kStopped);
  EXPECT_EQ(dlg.GetProjectSlider().GetPos(), 0);
  EXPECT_FALSE(dlg.IsProjectTimerRunning());
  // The project list's item plays it too.
  CImageListView& view = *dlg.GetProjectList().GetListView();
  CRect bounds;
  view.GetItemRect(0, &bounds, LVIR_ICON);
  POINT middle = bounds.CenterPoint();
  ClientToScreen(view.GetSafeHwnd(), &middle);
  robot.doubleClick(middle);
  robot.pumpUntilIdle();
  EXPECT_EQ(dlg.GetProjectPlayState(), CVideoSkinDlg::kPlaying);

  // A cut added while the preview runs stops it first.
  cut(50, 60);
  EXPECT_FALSE(dlg.IsPreviewActive());
  EXPECT_EQ(dlg.GetProjectPlayState(), CVideoSkinDlg::kStopped);
  EXPECT_NEAR(dlg.GetVideoEnd(), 3 * kSecond, kNear);
  EXPECT_TRUE(enabled("RIGHTPLAY_BUTTON"));
  EXPECT_FALSE(enabled("RIGHTSTOP_BUTTON"));
}

TEST_F(VideoEditorProjectTest, AnEmptyProjectIsNotSavedAndAFullOneIsSavedAsChosen) {
  CVideoDlg& dlg = openEditor();
  bool optionsShown = false;
  robot.duringModal([&](plat::Robot& r) { optionsShown = r.findWindow("#32770", "Select parameter") != nullptr; });
  press("HECHENG_BUTTON");
  EXPECT_FALSE(optionsShown);
  EXPECT_EQ(messageTexts(), std::vector<std::string>{"There is no clip in the project to save."});

  loadClip(putClip("ten.mpg", 10));
  cut(10, 40);
  cut(60, 70);
  press("RIGHTPLAY_BUTTON");
  answerOptions([](HWND options) {
    SendMessageA(GetDlgItem(options, CRecordOptionsDlg::kTypeMpeg2), BM_CLICK, 0, 0);
    typePath(options, "C:\\Films\\joined.avi");
  });
  std::filesystem::create_directories(linuxOf("C:\\Films"));
  press("HECHENG_BUTTON");
  EXPECT_EQ(messageTexts().back(), "The video has been saved.");
  EXPECT_EQ(dlg.GetProjectPlayState(), CVideoSkinDlg::kStopped) << "the preview was stopped first";
  const rectest::MpegFileProbe probe(linuxOf("C:\\Films\\joined.mpg").string());
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.video().codec, "mpeg2video");
  EXPECT_NEAR(probe.video().seconds, 4.0, 0.1);

  // Cancelled: nothing is saved, nothing said.
  const std::size_t said = messageTexts().size();
  robot.duringModal([](plat::Robot& r) {
    if (HWND options = r.findWindow("#32770", "Select parameter"))
      r.click(r.control(options, CRecordOptionsDlg::kCancelButton));
  });
  press("HECHENG_BUTTON");
  EXPECT_EQ(messageTexts().size(), said);

  // A file that cannot be written is said to have failed.
  answerOptions([](HWND options) { typePath(options, "C:\\Nowhere\\at\\all.avi"); });
  press("HECHENG_BUTTON");
  EXPECT_EQ(messageTexts().back(), "The video could not be saved.");
}

// A new project: both libraries open anew, the clip pane closes, the frames go with their
// files and both tracks start again at 0.
TEST_F(VideoEditorProjectTest, ANewProjectEmptiesThePaneAndDeletesTheFrames) {
  CVideoDlg& dlg = withClip();
  cut(0, 20);
  robot.key(VK_TAB);
  cut(20, 40);
  ASSERT_EQ(thumbnails(), 1);
  ASSERT_FALSE(captureFiles().empty());
  press("DELETE_BUTTON");
  EXPECT_EQ(thumbnails(), 0);
  EXPECT_TRUE(captureFiles().empty());
  EXPECT_FALSE(dlg.IsClipOpen());
  EXPECT_EQ(dlg.GetVideoEnd(), 0);
  EXPECT_EQ(dlg.GetAudioEnd(), 0);
  EXPECT_EQ(dlg.GetTrackMode(), CVideoSkinDlg::kVideoTrackMode);
  EXPECT_FALSE(enabled("RIGHTPLAY_BUTTON"));
  EXPECT_EQ(dlg.GetClipList().GetItemCount(), 1) << "the source files stay";
  openClip(0);
  EXPECT_TRUE(dlg.IsClipOpen()) << "the new clip player opens it";
}

// Leaving closes both libraries: the frames captured go with the clip player.
TEST_F(VideoEditorProjectTest, LeavingClosesTheLibrariesAndTheirFramesGo) {
  withClip();
  cut(0, 20);
  ASSERT_FALSE(captureFiles().empty());
  press("RETURN_BUTTON");
  EXPECT_FALSE(editorOpen());
  EXPECT_TRUE(captureFiles().empty());
}

TEST_F(VideoEditorProjectTest, AScreenshotOfTheEditorAtWork) {
  // A clip of five colours, two seconds each, so the cuts show which part they took.
  const std::string clip = "C:\\Clips\\colours.avi";
  std::filesystem::create_directories(linuxOf("C:\\Clips"));
  const std::vector<dstest::MediaFileWriter::Colour> colours = {
      dstest::MediaFileWriter::kRed, {41, 240, 110}, {145, 54, 34}, {210, 16, 146}, {170, 166, 16}};
  ASSERT_TRUE(dstest::MediaFileWriter::writeSlides(linuxOf(clip), 2, colours, 176, 144));
  CVideoDlg& dlg = openEditor();
  loadClip(clip);
  cut(10, 40);
  cut(60, 80);
  setClipSlider(30);
  press("CUTLEFT_BUTTON");
  setClipSlider(45);
  press("CUTRIGHT_BUTTON");
  press("RIGHTPLAY_BUTTON");
  play(600);
  press("RIGHTPAUSE_BUTTON");
  const auto shots = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "windows-screens";
  std::filesystem::create_directories(shots);
  EXPECT_TRUE(plat::Screenshot::saveScreen(shots / "video_editor.png"));
  EXPECT_TRUE(dlg.IsPreviewActive());
}

}  // namespace
}  // namespace test

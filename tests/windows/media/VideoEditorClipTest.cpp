// The clip pane: a source file added through the open-file dialog and opened from the clip
// list, played, paused, stopped and sought with its slider, its position polled while it
// plays, and the cut marks set on its slider with a frame captured at each cut start.
#include "windows/media/VideoEditorTest.h"

#include "platform/dshow/MediaFileWriter.h"
#include "skin/SkinMessages.h"

#include <robot/Screenshot.h>

#include <win32/commdlg/commdlg.h>

#include <algorithm>

namespace test {
namespace {

using VideoEditorClipTest = VideoEditorTest;

TEST_F(VideoEditorClipTest, ASourceFileIsAddedThroughTheOpenDialogAndOpenedFromTheList) {
  const std::string clip = putClip("ten.mpg", 10);
  CVideoDlg& dlg = openEditor();
  robot.cancelNextFileDialog();
  press("ADD_BUTTON");
  EXPECT_EQ(dlg.GetClipList().GetItemCount(), 0) << "cancelled";
  addClip(clip);
  ASSERT_EQ(dlg.GetClipList().GetItemCount(), 1);
  const auto dialogs = robot.fileDialogs();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_FALSE(dialogs.back().save);
  EXPECT_EQ(dialogs.back().owner, dlg.GetSafeHwnd()) << "the editor is disabled while the dialog runs";
  EXPECT_TRUE(dialogs.back().flags & OFN_FILEMUSTEXIST);
  EXPECT_TRUE(dialogs.back().flags & OFN_HIDEREADONLY);
  using Type = std::pair<std::string, std::string>;
  EXPECT_EQ(dialogs.back().types, (std::vector<Type>{{"MPEG File (*.mpg;*.mpeg)", "*.mpg;*.mpeg"},
                                                      {"AVI File (*.avi)", "*.avi"},
                                                      {"All Files (*.*)", "*.*"}}));

  EXPECT_FALSE(dlg.IsClipOpen());
  openClip(0);
  EXPECT_TRUE(dlg.IsClipOpen());
  EXPECT_EQ(std::string(dlg.GetClipPath()), clip);
  EXPECT_TRUE(dlg.IsClipTimerRunning()) << "it plays at once";
  EXPECT_EQ(dlg.GetClipSlider().GetPos(), 0);
  EXPECT_EQ(dlg.GetCutStartPercent(), -1);
  EXPECT_EQ(dlg.GetCutEndPercent(), -1);
  play(2000);
  EXPECT_GE(dlg.GetClipSlider().GetPos(), 15) << "the position is polled while it plays";
  EXPECT_LE(dlg.GetClipSlider().GetPos(), 25);

  press("PAUSE_BUTTON");
  EXPECT_FALSE(dlg.IsClipTimerRunning());
  const int paused = dlg.GetClipSlider().GetPos();
  play(1000);
  EXPECT_EQ(dlg.GetClipSlider().GetPos(), paused);
  press("LEFTPLAY_BUTTON");
  EXPECT_TRUE(dlg.IsClipTimerRunning());
  press("STOP_BUTTON");
  EXPECT_FALSE(dlg.IsClipTimerRunning());
  EXPECT_EQ(dlg.GetClipSlider().GetPos(), 0);
}

// The poll stops by itself once the clip is within 0.0001 of its end.
TEST_F(VideoEditorClipTest, ThePollingStopsByItselfAtTheClipsEnd) {
  const std::string clip = putClip("two.mpg", 2);
  CVideoDlg& dlg = openEditor();
  addClip(clip);
  openClip(0);
  ASSERT_TRUE(dlg.IsClipTimerRunning());
  play(1000);
  EXPECT_TRUE(dlg.IsClipTimerRunning()) << "half way";
  play(1600);
  EXPECT_FALSE(dlg.IsClipTimerRunning());
  EXPECT_EQ(dlg.GetClipSlider().GetPos(), 100);
}

// Dragging stops the poll; the release seeks there, paused.
TEST_F(VideoEditorClipTest, TheSliderSeeksTheClipAndStopsThePoll) {
  const std::string clip = putClip("ten.mpg", 10);
  CVideoDlg& dlg = openEditor();
  SendMessageA(dlg.GetSafeHwnd(), UM_SLIDER_SET, CVideoSkinDlg::kClipSliderId, 40);
  EXPECT_EQ(dlg.GetClipSlider().GetPos(), 0) << "no clip open: nothing happens";
  addClip(clip);
  openClip(0);
  ASSERT_TRUE(dlg.IsClipTimerRunning());
  SendMessageA(dlg.GetSafeHwnd(), UM_SLIDER_TRACK, CVideoSkinDlg::kProjectSliderId, 10);
  EXPECT_TRUE(dlg.IsClipTimerRunning()) << "the other slider";
  SendMessageA(dlg.GetSafeHwnd(), UM_SLIDER_TRACK, CVideoSkinDlg::kClipSliderId, 10);
  EXPECT_FALSE(dlg.IsClipTimerRunning());
  press("LEFTPLAY_BUTTON");
  setClipSlider(60);
  EXPECT_FALSE(dlg.IsClipTimerRunning());
  play(1000);
  EXPECT_EQ(dlg.GetClipSlider().GetPos(), 60) << "paused where it was put";
  press("LEFTPLAY_BUTTON");
  play(1000);
  EXPECT_GE(dlg.GetClipSlider().GetPos(), 65) << "and plays on from there";
}

// The end mark needs a start mark since the clip was opened; each start mark captures
// the frame shown.
TEST_F(VideoEditorClipTest, TheCutMarksFollowTheSliderAndTheStartCapturesItsFrame) {
  const std::string clip = putClip("ten.mpg", 10);
  CVideoDlg& dlg = openEditor();
  press("CUTLEFT_BUTTON");
  EXPECT_FALSE(dlg.IsCutStartSet()) << "no clip open";
  loadClip(clip);
  setClipSlider(30);
  press("CUTRIGHT_BUTTON");
  EXPECT_EQ(dlg.GetCutEndPercent(), -1) << "no start marked yet";
  EXPECT_TRUE(captureFiles().empty());
  press("CUTLEFT_BUTTON");
  EXPECT_TRUE(dlg.IsCutStartSet());
  EXPECT_EQ(dlg.GetCutStartPercent(), 30);
  EXPECT_EQ(dlg.GetClipSlider().GetSelStart(), 30);
  EXPECT_EQ(captureFiles().size(), 1u) << "the frame at the cut start";
  setClipSlider(55);
  press("CUTRIGHT_BUTTON");
  EXPECT_EQ(dlg.GetCutEndPercent(), 55);
  EXPECT_EQ(dlg.GetClipSlider().GetSelEnd(), 55);

  // Opening the clip again forgets the marks: the end needs a new start.
  openClip(0);
  EXPECT_FALSE(dlg.IsCutStartSet());
  EXPECT_EQ(dlg.GetCutStartPercent(), -1);
  press("PAUSE_BUTTON");
  setClipSlider(70);
  press("CUTRIGHT_BUTTON");
  EXPECT_EQ(dlg.GetCutEndPercent(), -1);
}

// The editor's own renders (Motion JPEG with A-law sound) and an AVI stored from the top
// (as FFmpeg stores RGB) are listed with their first picture, play, pause and seek in the
// clip pane the right way up; the screen is saved for a look.
TEST_F(VideoEditorClipTest, RenderedAndTopDownAvisShowTheRightWayUpInTheListAndThePane) {
  using Coding = dstest::MediaFileWriter::Coding;
  CVideoDlg& dlg = openEditor();
  const auto folder = std::filesystem::path(ORVANE_TEST_BINARY_DIR) / "windows-screens";
  std::filesystem::create_directories(folder);
  int index = 0;
  for (const auto& [coding, name] : {std::pair{Coding::MjpegAvi, "film"}, std::pair{Coding::RgbTopDownAvi, "topdown"}}) {
    SCOPED_TRACE(name);
    const std::string clip = std::string("C:\\") + name + ".avi";
    ASSERT_TRUE(dstest::MediaFileWriter::writeNumbered(linuxOf(clip), coding, 100));
    addClip(clip);
    ASSERT_EQ(dlg.GetClipList().GetItemCount(), index + 1);
    CImageListView& view = *dlg.GetClipList().GetListView();
    CRect thumb;
    view.GetItemRect(index, &thumb, LVIR_ICON);
    // The 60 x 60 thumbnail in the middle of the icon cell, inside its grey frame.
    const CPoint middle = thumb.CenterPoint();
    robot.pumpUntilIdle();
    EXPECT_EQ(numberOnScreen(view.GetSafeHwnd(), CRect(middle.x - 28, middle.y - 28, middle.x + 28, middle.y + 28)), 0)
        << "the thumbnail shows the first picture";

    openClip(index++);
    ASSERT_TRUE(dlg.IsClipOpen());
    press("PAUSE_BUTTON");
    robot.settle();
    HWND pane = dlg.GetClipVideoArea().GetSafeHwnd();
    EXPECT_GE(numberOnScreen(pane), 0) << "a picture, the right way up";
    setClipSlider(50);
    robot.settle();
    EXPECT_NEAR(numberOnScreen(pane), 50, 1) << "half of 100 frames";
    EXPECT_TRUE(plat::Screenshot::saveScreen(folder / (std::string("VideoEditorClipPane_") + name + ".png")));
  }
}

}  // namespace
}  // namespace test

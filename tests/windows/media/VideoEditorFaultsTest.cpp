// The video editor where a user's file or the project refuses what the window asks: clip
// names longer than the project's record holds, cuts the project does not take, and the
// compressors of a save let go once the save is over.
#include "windows/media/VideoEditorTest.h"

#include "platform/dshow/MediaFileWriter.h"
#include "windows/setup/CRecordOptionsDlg.h"
#include "windows/setup/SaveOptionRecord.h"

namespace test {
namespace {

constexpr std::int64_t kSecond = 10000000;
constexpr std::int64_t kNear = kSecond / 100;

using VideoEditorFaults = VideoEditorTest;

// The project's clip record holds 255 characters of file name: a longer one is not cut
// short into another file's name, its cut is not taken at all.
TEST_F(VideoEditorFaults, AClipWhoseNameTheRecordCannotHoldIsNotCut) {
  CVideoDlg& dlg = openEditor();
  for (const int length : {255, 256}) {
    SCOPED_TRACE(length);
    const std::string folder = "C:\\Clips\\" + std::string(static_cast<std::size_t>(length) - 18, 'f');
    const std::string path = folder + "\\clip.mpg";
    ASSERT_EQ(path.size(), static_cast<std::size_t>(length));
    std::filesystem::create_directories(linuxOf(folder));
    ASSERT_TRUE(dstest::MediaFileWriter::write(linuxOf(path), dstest::MediaFileWriter::Kind::MpegProgram, 4));
    press("DELETE_BUTTON");
    loadClip(path);
    ASSERT_TRUE(dlg.IsClipOpen());
    cut(0, 50);
    if (length == 255) EXPECT_GT(dlg.GetVideoEnd(), kSecond);
    else EXPECT_EQ(dlg.GetVideoEnd(), 0);
  }
}

// A cut the project refuses (its file went away while the clip played) leaves no gap:
// the next cut starts where the track really ends.
TEST_F(VideoEditorFaults, ACutTheProjectRefusesLeavesNoGapInTheTrack) {
  const std::string clip = putClip("ten.mpg", 10);
  CVideoDlg& dlg = openEditor();
  loadClip(clip);
  cut(0, 20);
  const std::int64_t end = dlg.GetVideoEnd();
  ASSERT_NEAR(end, 2 * kSecond, kNear);
  std::filesystem::rename(linuxOf(clip), linuxOf("C:\\Clips\\away.mpg"));
  cut(20, 40);
  EXPECT_EQ(dlg.GetVideoEnd(), end);
  EXPECT_EQ(dlg.GetProjectList().GetItemCount(), 1);
  std::filesystem::rename(linuxOf("C:\\Clips\\away.mpg"), linuxOf(clip));
  cut(40, 50);
  EXPECT_NEAR(dlg.GetVideoEnd(), 3 * kSecond, kNear);
  EXPECT_EQ(dlg.GetProjectList().GetItemCount(), 2);
}

// An AVI saved with both compressors: the record lets them go once the save has read it.
TEST_F(VideoEditorFaults, TheCompressorsOfASaveAreLetGoOnceItIsOver) {
  CVideoDlg& dlg = openEditor();
  loadClip(putClip("ten.mpg", 10));
  cut(0, 20);
  std::filesystem::create_directories(linuxOf("C:\\Films"));
  bool editorDisabled = false;
  robot.duringModal([&](plat::Robot& r) {
    HWND options = r.findWindow("#32770", "Select parameter");
    if (!options) return;
    editorDisabled = !IsWindowEnabled(dlg.GetSafeHwnd());
    SetWindowTextA(GetDlgItem(options, CRecordOptionsDlg::kPathEdit), "C:\\Films\\packed.avi");
    r.click(r.control(options, CRecordOptionsDlg::kOkButton));
  });
  press("HECHENG_BUTTON");
  EXPECT_TRUE(editorDisabled) << "the dialog belongs to the editor";
  EXPECT_EQ(messageTexts().back(), "The video has been saved.");
  EXPECT_TRUE(std::filesystem::exists(linuxOf("C:\\Films\\packed.avi")));
  ASSERT_NE(g_pSaveOption, nullptr);
  EXPECT_EQ(g_pSaveOption->output_type, CRecordOptionsDlg::kOutputAvi);
  EXPECT_EQ(g_pSaveOption->video_compressor, nullptr);
  EXPECT_EQ(g_pSaveOption->audio_compressor, nullptr);
  press("RETURN_BUTTON");
  EXPECT_EQ(g_pSaveOption, nullptr) << "freed with the editor";
}

}  // namespace
}  // namespace test

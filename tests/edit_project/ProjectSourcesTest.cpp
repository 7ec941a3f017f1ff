// The project's clip list: adding with its duplicate and state rules, clips refused for
// marks that are reversed or beyond their file, deleting, moving and the exports' answers
// without a project.
#include "ProjectTest.h"

#include <limits>

namespace {

using edtest::ProjectTest;

class ProjectSourcesTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    file = writeClip("clip.mpg", 3);
  }
  std::string file;
};

TEST_F(ProjectSourcesTest, WithoutAProjectEveryExportRefusesButClose) {
  ASSERT_EQ(project.mpeg_Project_Close(), 1);
  const mpeg_src_s src = clip(file, 0, 0, 1);
  save_option_s save = options(0, "C:\\out.mpg");
  double ratio = 0;
  EXPECT_EQ(project.mpeg_Project_Addsrc(&src), 0);
  EXPECT_EQ(project.mpeg_Project_is_has_source(), 0);
  EXPECT_EQ(project.mpeg_Project_Insert(nullptr, 0, 0), 0);
  EXPECT_EQ(project.mpeg_Project_Preview(host), 0);
  EXPECT_EQ(project.mpeg_Project_get_preview_progress(&ratio), 0);
  EXPECT_EQ(project.mpeg_Project_Save(&save), 0);
  project.mpeg_Project_SetNotifyWnd(host);
  EXPECT_EQ(project.mpeg_Project_Close(), 1);
}

TEST_F(ProjectSourcesTest, AClipAddedTwiceIsOneClipAndAnotherClipOnTheSameStretchIsRefused) {
  EXPECT_EQ(project.mpeg_Project_is_has_source(), 0);
  const mpeg_src_s first = clip(file, 0, 0, 1);
  EXPECT_EQ(project.mpeg_Project_Addsrc(nullptr), 0);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&first), 1);
  EXPECT_EQ(project.mpeg_Project_is_has_source(), 1);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&first), 1) << "the same clip again changes nothing";
  EXPECT_EQ(project.mpeg_Project_Deletesrc(1), 0) << "only one clip was kept";

  mpeg_src_s other = clip(file, 0, 1.5, 1);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&other), 0) << "a different clip at the same stretch is not dropped silently";
  other.video_track = 0;
  EXPECT_EQ(project.mpeg_Project_Addsrc(&other), 1) << "the audio track's stretch is another one";
  EXPECT_EQ(project.mpeg_Project_Insert(&other, 0, 0), 1);
  EXPECT_EQ(project.mpeg_Project_Deletesrc(2), 0) << "insert adds nothing";
}

TEST_F(ProjectSourcesTest, ReversedOrOutOfFileMarksAreRefused) {
  mpeg_src_s reversed = clip(file, 0, 2, 1);
  std::swap(reversed.media_start, reversed.media_stop);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&reversed), 0);
  mpeg_src_s backwards = clip(file, 2, 0, 1);
  std::swap(backwards.timeline_start, backwards.timeline_stop);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&backwards), 0);
  const mpeg_src_s beyond = clip(file, 0, 2.5, 2);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&beyond), 0) << "the file is 3 s long";
  const std::string missing = "C:\\missing.mpg";
  const mpeg_src_s gone = clip(missing, 0, 0, 1);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&gone), 0);
  EXPECT_EQ(project.mpeg_Project_is_has_source(), 0);
  const mpeg_src_s whole = clip(file, 0, 0, 3);
  EXPECT_EQ(project.mpeg_Project_Addsrc(&whole), 1) << "up to the file's end";
}

TEST_F(ProjectSourcesTest, DeletingRenumbersAndAMissingClipIsRefused) {
  const mpeg_src_s a = clip(file, 0, 0, 1);
  const mpeg_src_s b = clip(file, 1, 1, 1);
  const mpeg_src_s c = clip(file, 2, 2, 1);
  for (const auto* src : {&a, &b, &c}) ASSERT_EQ(project.mpeg_Project_Addsrc(src), 1);
  EXPECT_EQ(project.mpeg_Project_Deletesrc(5), 0);
  EXPECT_EQ(project.mpeg_Project_Deletesrc(0), 1);
  EXPECT_EQ(project.mpeg_Project_Deletesrc(2), 0) << "two clips left: 0 and 1";
  EXPECT_EQ(project.mpeg_Project_Deletesrc2(&a), 0) << "already gone";
  EXPECT_EQ(project.mpeg_Project_Deletesrc2(&c), 1);
  EXPECT_EQ(project.mpeg_Project_Deletesrc(0), 1);
  EXPECT_EQ(project.mpeg_Project_is_has_source(), 0);
}

TEST_F(ProjectSourcesTest, MovesStayInsideTheList) {
  const mpeg_src_s a = clip(file, 0, 0, 1);
  const mpeg_src_s b = clip(file, 1, 1, 1);
  const mpeg_src_s c = clip(file, 2, 2, 1);
  for (const auto* src : {&a, &b, &c}) ASSERT_EQ(project.mpeg_Project_Addsrc(src), 1);
  EXPECT_EQ(project.mpeg_Project_Moveto(0, -1), 0);
  EXPECT_EQ(project.mpeg_Project_Moveto(2, 1), 0);
  EXPECT_EQ(project.mpeg_Project_Moveto(2, std::numeric_limits<int>::max()), 0) << "no wrap-around to a place";
  EXPECT_EQ(project.mpeg_Project_Moveto(0, std::numeric_limits<int>::min()), 0);
  EXPECT_EQ(project.mpeg_Project_Moveto(3, 0), 0) << "no such clip";
  EXPECT_EQ(project.mpeg_Project_Moveto(1, 0), 1);
  EXPECT_EQ(project.mpeg_Project_Moveto(0, 2), 1);
  EXPECT_EQ(project.mpeg_Project_Moveto2(2, 2, 1), 1);
  EXPECT_EQ(project.mpeg_Project_Moveto2(0, 5, 1), 0);
  EXPECT_EQ(project.mpeg_Project_Moveto2(0, 2, 0), 1) << "after the last";
  EXPECT_EQ(project.mpeg_Project_Moveto2(2, 0, 1), 1) << "before the first";
  // The moved clip travelled: deleting the first record now takes the clip at index 0.
  EXPECT_EQ(project.mpeg_Project_Deletesrc2(&a), 1);
  EXPECT_EQ(project.mpeg_Project_Deletesrc(2), 0);
}

}  // namespace

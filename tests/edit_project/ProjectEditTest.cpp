// Deleting and moving clips as the saved file shows them: a deleted clip is gone from the
// timeline (a track left without clips is not written), and a moved clip plays in its
// new place in the list, trading stretches with the clips of its own track it passes.
#include "ProjectTest.h"

#include "MpegFileProbe.h"

namespace {

using edtest::ProjectTest;
using rectest::MpegFileProbe;

class ProjectEditTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    writeColourClips();
  }
  void add(std::initializer_list<mpeg_src_s> clips) {
    for (const mpeg_src_s& src : clips) ASSERT_EQ(project.mpeg_Project_Addsrc(&src), 1);
  }
  // Saves the project as MPEG-1 and reads the file back.
  MpegFileProbe saved(const std::string& name) {
    const save_option_s save = options(0, "C:\\" + name);
    EXPECT_EQ(project.mpeg_Project_Save(&save), 1);
    return MpegFileProbe(linuxPath("C:\\" + name).string());
  }
  static bool startsRed(const MpegFileProbe& probe) { return probe.firstPicturePixel(160, 120).v > 200; }
  static bool startsBlue(const MpegFileProbe& probe) { return probe.firstPicturePixel(160, 120).u > 200; }
};

TEST_F(ProjectEditTest, DeletedClipsAreNotInTheSavedFile) {
  const mpeg_src_s blueSound = clip(blue, 2, 1, 1, false);
  add({clip(red, 0, 0.5, 2), clip(blue, 2, 1, 1), clip(red, 0, 0.5, 2, false), blueSound});
  EXPECT_EQ(project.mpeg_Project_Deletesrc(1), 1);
  EXPECT_EQ(project.mpeg_Project_Deletesrc2(&blueSound), 1);
  const MpegFileProbe probe = saved("deleted.mpg");
  ASSERT_TRUE(probe.ok());
  EXPECT_NEAR(probe.video().seconds, 2.0, 0.1) << "the blue second is gone";
  EXPECT_NEAR(probe.audio().seconds, 2.0, 0.15);
  EXPECT_TRUE(startsRed(probe));
}

TEST_F(ProjectEditTest, ADeletedFirstClipLeavesItsStretchEmpty) {
  const mpeg_src_s first = clip(red, 0, 0, 2);
  add({first, clip(blue, 2, 0, 1)});
  ASSERT_EQ(project.mpeg_Project_Deletesrc2(&first), 1);
  const MpegFileProbe probe = saved("later.mpg");
  ASSERT_TRUE(probe.ok());
  EXPECT_NEAR(probe.video().seconds, 3.0, 0.1) << "the blue clip keeps its place";
  EXPECT_FALSE(startsRed(probe));
  EXPECT_FALSE(startsBlue(probe)) << "black before it";
}

TEST_F(ProjectEditTest, ATrackWhoseClipsWereAllDeletedIsNotWritten) {
  add({clip(red, 0, 0, 2), clip(red, 0, 0, 2, false)});
  ASSERT_EQ(project.mpeg_Project_Deletesrc(0), 1);
  const MpegFileProbe probe = saved("sound.mpg");
  ASSERT_TRUE(probe.ok());
  EXPECT_FALSE(probe.video().found);
  EXPECT_NEAR(probe.audio().seconds, 2.0, 0.15);
}

TEST_F(ProjectEditTest, AMovedClipPlaysInItsNewPlace) {
  add({clip(red, 0, 0, 2), clip(blue, 2, 0, 1)});
  ASSERT_EQ(project.mpeg_Project_Moveto(0, 1), 1);
  MpegFileProbe probe = saved("blue-first.mpg");
  ASSERT_TRUE(probe.ok());
  EXPECT_TRUE(startsBlue(probe));
  EXPECT_NEAR(probe.video().seconds, 3.0, 0.1) << "the two keep the stretch they covered";
  ASSERT_EQ(project.mpeg_Project_Moveto2(1, 0, 1), 1) << "red before blue again";
  probe = saved("red-first.mpg");
  EXPECT_TRUE(startsRed(probe));
  EXPECT_NEAR(probe.video().seconds, 3.0, 0.1);
}

TEST_F(ProjectEditTest, AClipMovesPastAClipOfTheOtherTrack) {
  // Pictures: red 0-2 s, blue 2-3 s; sound: red 0-2 s, listed between them.
  add({clip(red, 0, 0, 2), clip(red, 0, 0, 2, false), clip(blue, 2, 0, 1)});
  ASSERT_EQ(project.mpeg_Project_Moveto(0, 2), 1);
  const MpegFileProbe probe = saved("past.mpg");
  ASSERT_TRUE(probe.ok());
  EXPECT_TRUE(startsBlue(probe));
  EXPECT_NEAR(probe.video().seconds, 3.0, 0.1);
  EXPECT_TRUE(probe.audio().found);
}

TEST_F(ProjectEditTest, ClipsAreNotDeletedOrMovedUnderARunningPreview) {
  add({clip(red, 0, 0, 2), clip(blue, 2, 0, 1)});
  ASSERT_EQ(project.mpeg_Project_Preview(host), 1);
  EXPECT_EQ(project.mpeg_Project_Moveto(0, 1), 0);
  EXPECT_EQ(project.mpeg_Project_Deletesrc(1), 0);
  ASSERT_EQ(project.mpeg_Project_Pause(), 1);
  EXPECT_EQ(project.mpeg_Project_Deletesrc(1), 0) << "nor paused";
  ASSERT_EQ(project.mpeg_Project_Stop(), 1);
  EXPECT_EQ(project.mpeg_Project_Moveto(0, 1), 1);
  EXPECT_EQ(project.mpeg_Project_Deletesrc(0), 1) << "blue, now first";
  const MpegFileProbe probe = saved("stopped.mpg");
  EXPECT_FALSE(startsBlue(probe));
  EXPECT_NEAR(probe.video().seconds, 3.0, 0.1) << "red kept the place the move gave it";
}

}  // namespace

// Saving the timeline: MPEG-1 and MPEG-2 through the encoder filter and AVI through the
// capture graph builder, the clips one after another in the file, and failures that say
// so and leave no file under the chosen name.
#include "ProjectTest.h"

#include "CompressorChoice.h"
#include "MpegFileProbe.h"

namespace {

using dstest::MediaFileWriter;
using edtest::ProjectTest;
using rectest::MpegFileProbe;

constexpr MediaFileWriter::Colour kBlue = {41, 240, 110};

class ProjectSaveTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    red = writeClip("red.mpg", 3);
    blue = writeClip("blue.mpg", 3, kBlue);
  }
  // Two seconds of red, then one of blue, pictures and sound.
  void addTwoClips() {
    const mpeg_src_s clips[] = {clip(red, 0, 0.5, 2), clip(blue, 2, 1, 1), clip(red, 0, 0.5, 2, false),
                                clip(blue, 2, 1, 1, false)};
    for (const mpeg_src_s& src : clips) ASSERT_EQ(project.mpeg_Project_Addsrc(&src), 1);
  }
  bool exists(const std::string& path) { return std::filesystem::exists(linuxPath(path)); }

  std::string red;
  std::string blue;
};

TEST_F(ProjectSaveTest, Mpeg1HoldsTheClipsOneAfterAnother) {
  addTwoClips();
  const save_option_s save = options(0, "C:\\joined.mpg");
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  const MpegFileProbe probe(linuxPath("C:\\joined.mpg").string());
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.video().codec, "mpeg1video");
  EXPECT_EQ(probe.video().width, 320);
  EXPECT_EQ(probe.video().height, 240);
  EXPECT_NEAR(probe.video().seconds, 3.0, 0.1);
  EXPECT_TRUE(probe.audio().found);
  EXPECT_NEAR(probe.audio().seconds, 3.0, 0.15);
  const auto first = probe.firstPicturePixel(160, 120);
  EXPECT_GT(first.v, 200) << "the first picture is the red clip's";
  EXPECT_FALSE(exists("C:\\joined.mpg.rendering"));
}

TEST_F(ProjectSaveTest, Mpeg2OfVideoClipsOnly) {
  const mpeg_src_s only = clip(blue, 0, 0, 2);
  ASSERT_EQ(project.mpeg_Project_Addsrc(&only), 1);
  const save_option_s save = options(1, "C:\\video.mpg");
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  const MpegFileProbe probe(linuxPath("C:\\video.mpg").string());
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.video().codec, "mpeg2video");
  EXPECT_EQ(probe.video().width, 640);
  EXPECT_EQ(probe.video().height, 480);
  EXPECT_FALSE(probe.audio().found);
  EXPECT_NEAR(probe.video().seconds, 2.0, 0.1);
  EXPECT_GT(probe.firstPicturePixel(320, 240).u, 200) << "blue";
}

TEST_F(ProjectSaveTest, AviWithoutCompressorsIsUncompressed) {
  addTwoClips();
  const save_option_s save = options(5, "C:\\joined.avi");
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  const MpegFileProbe probe(linuxPath("C:\\joined.avi").string());
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.video().codec, "rawvideo");
  EXPECT_EQ(probe.video().width, 176);
  EXPECT_NEAR(probe.video().seconds, 3.0, 0.1);
  EXPECT_EQ(probe.audio().codec, "pcm_s16le");
}

TEST_F(ProjectSaveTest, AviWithTheChosenCompressors) {
  addTwoClips();
  save_option_s save = options(5, "C:\\compressed.avi");
  save.video_compressor = edtest::FirstCompressor(CLSID_VideoCompressorCategory);
  save.audio_compressor = edtest::FirstCompressor(CLSID_AudioCompressorCategory);
  ASSERT_NE(save.video_compressor, nullptr);
  ASSERT_NE(save.audio_compressor, nullptr);
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  const MpegFileProbe probe(linuxPath("C:\\compressed.avi").string());
  ASSERT_TRUE(probe.ok());
  EXPECT_EQ(probe.video().codec, "mjpeg");
  EXPECT_NEAR(probe.video().seconds, 3.0, 0.1);
  EXPECT_EQ(probe.audio().codec, "pcm_alaw");
  // The compressors stay the caller's: only its own references are left.
  EXPECT_EQ(save.video_compressor->Release(), 0u);
  EXPECT_EQ(save.audio_compressor->Release(), 0u);
}

TEST_F(ProjectSaveTest, ACompressorThatCannotTakeTheStreamIsBypassed) {
  addTwoClips();
  save_option_s save = options(5, "C:\\bypassed.avi");
  save.video_compressor = edtest::FirstCompressor(CLSID_AudioCompressorCategory);  // a sound compressor for the pictures
  ASSERT_EQ(project.mpeg_Project_Save(&save), 1);
  const MpegFileProbe probe(linuxPath("C:\\bypassed.avi").string());
  EXPECT_EQ(probe.video().codec, "rawvideo");
  EXPECT_EQ(probe.audio().codec, "pcm_s16le");
  save.video_compressor->Release();
}

TEST_F(ProjectSaveTest, FailedSavesSayItAndLeaveNoFile) {
  const save_option_s save = options(0, "C:\\empty.mpg");
  EXPECT_EQ(project.mpeg_Project_Save(&save), 0) << "nothing to save";
  EXPECT_EQ(project.mpeg_Project_Save(nullptr), 0);
  addTwoClips();
  const save_option_s unknown = options(3, "C:\\unknown.mpg");
  EXPECT_EQ(project.mpeg_Project_Save(&unknown), 0) << "a type that writes nothing";
  EXPECT_FALSE(exists("C:\\unknown.mpg"));
  const save_option_s nowhere = options(0, "C:\\no such folder\\out.mpg");
  EXPECT_EQ(project.mpeg_Project_Save(&nowhere), 0);
  const save_option_s unnamed = options(5, "");
  EXPECT_EQ(project.mpeg_Project_Save(&unnamed), 0);

  // A name taken by a folder: the rendered file cannot be put in place and none is left.
  std::filesystem::create_directories(linuxPath("C:\\taken.mpg"));
  const save_option_s taken = options(0, "C:\\taken.mpg");
  EXPECT_EQ(project.mpeg_Project_Save(&taken), 0);
  EXPECT_TRUE(std::filesystem::is_directory(linuxPath("C:\\taken.mpg")));
  EXPECT_FALSE(exists("C:\\taken.mpg.rendering"));

  const save_option_s good = options(0, "C:\\after.mpg");
  EXPECT_EQ(project.mpeg_Project_Save(&good), 1) << "the project saves again after a failure";
}

}  // namespace

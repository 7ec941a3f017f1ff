// Frame captures: the bitmap file written from the shown picture, the names generated in
// the temporary folder (never over an existing file), the capture list with its marks and
// lookups, and the files the engine owns and deletes.
#include "ClipPlayerTest.h"

#include <win32/file.h>

#include <cstring>
#include <fstream>

namespace {

using edtest::ClipPlayerTest;

std::uint32_t U32(const std::vector<std::uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

class ClipCaptureTest : public ClipPlayerTest {
 protected:
  void SetUp() override {
    ClipPlayerTest::SetUp();
    clip = writeClip("clip.mpg", 4);
    ASSERT_EQ(lib.mpeg_Init(), 1);
    ASSERT_EQ(lib.mpeg_open(clip.c_str(), host), 1);
    ASSERT_TRUE(pictureShown());
    ASSERT_EQ(lib.mpeg_percent_to_mp_pos_t(100, &duration), 1);
  }
  bool exists(const std::string& windowsPath) { return std::filesystem::exists(linuxPath(windowsPath)); }

  std::string clip;
  mp_pos_t duration = 0;
};

TEST_F(ClipCaptureTest, TheShownFrameBecomesABitmapFileWithAConsistentHeader) {
  const std::string file = "C:\\frame.bmp";
  ASSERT_EQ(lib.mpeg_Capture(file.c_str()), 1);
  const auto bytes = fileBytes(file);
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(U32(bytes, 2), bytes.size()) << "the file size field";
  const std::uint32_t bitCount = bytes[14 + 14] | bytes[14 + 15] << 8;
  EXPECT_EQ(U32(bytes, 10), 14 + U32(bytes, 14) + (bitCount <= 8 ? 4u << bitCount : 0u)) << "bits follow the header";
  EXPECT_EQ(U32(bytes, 18), 176u);
  EXPECT_EQ(U32(bytes, 22), 144u);
  // The clip is red: the middle pixel's bytes are blue, green, red.
  const size_t middle = U32(bytes, 10) + (72 * 176 + 88) * (bitCount / 8);
  EXPECT_GT(bytes[middle + 2], 200);
  EXPECT_LT(bytes[middle + 1], 60);

  EXPECT_EQ(lib.mpeg_Capture("Q:\\no\\such\\folder\\f.bmp"), 0) << "a file that cannot be made";
}

TEST_F(ClipCaptureTest, MarksAreSetByPercentInsideTheRangeOnly) {
  lib.mpeg_set_cut_start(100);
  lib.mpeg_set_cut_start(101);
  lib.mpeg_set_cut_start(-1);
  lib.mpeg_set_cut_end(50);
  ASSERT_EQ(lib.mpeg_capture_and_add_to_mp_list(nullptr), 1);
  mpeg_persist_bitmap_s info{};
  ASSERT_EQ(lib.mpeg_get_last_capture_info(&info), 1);
  EXPECT_EQ(info.valid, 1);
  EXPECT_EQ(info.cut_start, duration) << "100 % is the duration; 101 and -1 were ignored";
  EXPECT_EQ(info.cut_end, duration * 50 / 100);
  lib.mpeg_set_cut_start2(12345);
  lib.mpeg_set_cut_end2(-1);
  ASSERT_EQ(lib.mpeg_capture_and_add_to_mp_list(nullptr), 1);
  ASSERT_EQ(lib.mpeg_get_last_capture_info(&info), 1);
  EXPECT_EQ(info.cut_start, 12345);
  EXPECT_EQ(info.cut_end, -1);
}

TEST_F(ClipCaptureTest, GeneratedNamesFollowTheMarksAndNeverOverwriteAFile) {
  lib.mpeg_set_cut_start2(0);
  ASSERT_EQ(lib.mpeg_capture_and_add_to_mp_list(nullptr), 1);
  mpeg_persist_bitmap_s first{};
  ASSERT_EQ(lib.mpeg_get_last_capture_info(&first), 1);
  EXPECT_EQ(std::string(first.path), tempFolder() + "cap-1_0.bmp") << "0 OR -1 prints as -1";

  // Another clip opened: the count starts again, but the listed capture keeps its file.
  const auto before = fileBytes(first.path);
  std::ofstream(linuxPath(tempFolder() + "cap-1_1.bmp")) << "the user's own file";
  ASSERT_EQ(lib.mpeg_open(clip.c_str(), host), 1);
  ASSERT_TRUE(pictureShown());
  lib.mpeg_set_cut_start2(0);
  ASSERT_EQ(lib.mpeg_capture_and_add_to_mp_list(nullptr), 1);
  mpeg_persist_bitmap_s second{};
  ASSERT_EQ(lib.mpeg_get_last_capture_info(&second), 1);
  EXPECT_EQ(std::string(second.path), tempFolder() + "cap-1_2.bmp");
  EXPECT_EQ(fileBytes(first.path), before);
  EXPECT_EQ(fileBytes(tempFolder() + "cap-1_1.bmp").size(), 19u);
}

TEST_F(ClipCaptureTest, ACaptureWithoutMarksIsWrittenButNotListed) {
  EXPECT_EQ(lib.mpeg_capture_and_add_to_mp_list(nullptr), 0);
  EXPECT_TRUE(exists(tempFolder() + "cap-1_0.bmp"));
  mpeg_persist_bitmap_s info{};
  EXPECT_EQ(lib.mpeg_get_last_capture_info(&info), 0);
  EXPECT_EQ(info.valid, 0);
}

TEST_F(ClipCaptureTest, LookupsFindTheNewestCaptureByTheChosenMark) {
  lib.mpeg_set_cut_start2(1000);
  lib.mpeg_set_cut_end2(2000);
  ASSERT_EQ(lib.mpeg_capture_and_add_to_mp_list("C:\\a.bmp"), 1);
  lib.mpeg_set_cut_end2(3000);
  ASSERT_EQ(lib.mpeg_capture_and_add_to_mp_list("C:\\b.bmp"), 1);

  mpeg_persist_bitmap_s info{};
  std::memset(&info, 0x55, sizeof(info));
  EXPECT_EQ(lib.mpeg_get_capture_info(-1, 2000, &info), 0);
  EXPECT_EQ(info.valid, 0) << "zero-filled";
  ASSERT_EQ(lib.mpeg_get_capture_info(1000, -1, &info), 1);
  EXPECT_STREQ(info.path, "C:\\b.bmp") << "the newer of two captures at one start";
  EXPECT_EQ(lib.mpeg_get_capture_info(999, -1, &info), 0);

  lib.mpeg_set_cut_save_start(0);
  ASSERT_EQ(lib.mpeg_get_capture_info(-1, 2000, &info), 1);
  EXPECT_STREQ(info.path, "C:\\a.bmp");
  EXPECT_EQ(lib.mpeg_get_capture_info(1000, -1, &info), 0) << "keyed by the end now";
}

TEST_F(ClipCaptureTest, CloseDeletesTheListedCapturesOnly) {
  lib.mpeg_set_cut_start2(0);
  ASSERT_EQ(lib.mpeg_capture_and_add_to_mp_list("C:\\listed.bmp"), 1);
  ASSERT_EQ(lib.mpeg_Capture("C:\\loose.bmp"), 1);
  ASSERT_EQ(lib.mpeg_open(clip.c_str(), host), 1);
  EXPECT_TRUE(exists("C:\\listed.bmp")) << "kept across opening another clip";
  EXPECT_EQ(lib.mpeg_Close(), 1);
  EXPECT_FALSE(exists("C:\\listed.bmp"));
  EXPECT_TRUE(exists("C:\\loose.bmp"));
}

TEST_F(ClipCaptureTest, APathThatDoesNotFitTheRecordIsRefusedBeforeGrabbing) {
  lib.mpeg_set_cut_start2(0);
  const std::string longPath = "C:\\" + std::string(300, 'x') + ".bmp";
  EXPECT_EQ(lib.mpeg_capture_and_add_to_mp_list(longPath.c_str()), 0);
  mpeg_persist_bitmap_s info{};
  EXPECT_EQ(lib.mpeg_get_last_capture_info(&info), 0);
}

TEST_F(ClipCaptureTest, CaptureAtAPositionRestoresWhereTheClipStood) {
  ASSERT_EQ(lib.mpeg_MoveToFrame2(25), 1);
  EXPECT_EQ(lib.mpeg_Capture2("C:\\at.bmp", 101), 0);
  ASSERT_EQ(lib.mpeg_Capture2("C:\\at.bmp", 75), 1);
  EXPECT_TRUE(exists("C:\\at.bmp"));
  double ratio = 0;
  ASSERT_EQ(lib.mpeg_get_current_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 0.25, 0.01);
  EXPECT_EQ(lib.mpeg_Pause(), 0) << "still paused";
  EXPECT_EQ(lib.mpeg_Capture3("C:\\at.bmp", duration + 1), 0);
}

}  // namespace

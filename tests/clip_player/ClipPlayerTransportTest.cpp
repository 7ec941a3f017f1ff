// The clip player's engine life, opening, transport state rules and seeking through the
// library's exports, on real clips played by the platform's graph engine.
#include "ClipPlayerTest.h"

#include <algorithm>
#include <limits>

namespace {

using edtest::ClipPlayerTest;

constexpr mp_pos_t kSecond = 10000000;

TEST_F(ClipPlayerTest, WithoutAnEngineEveryExportRefuses) {
  const std::string clip = writeClip("clip.mpg", 2);
  mp_pos_t pos = 0;
  double ratio = 0;
  mpeg_persist_bitmap_s info{};
  EXPECT_EQ(lib.mpeg_Close(), 0);
  EXPECT_EQ(lib.mpeg_open(clip.c_str(), host), 0);
  EXPECT_EQ(lib.mpeg_Preview(nullptr), 0);
  EXPECT_EQ(lib.mpeg_MoveToStart(), 0);
  EXPECT_EQ(lib.mpeg_percent_to_mp_pos_t(10, &pos), 0);
  EXPECT_EQ(lib.mpeg_get_current_progress(&ratio), 0);
  EXPECT_EQ(lib.mpeg_capture_and_add_to_mp_list(nullptr), 0);
  EXPECT_EQ(lib.mpeg_get_last_capture_info(&info), 0);
  lib.mpeg_set_cut_start(10);

  EXPECT_EQ(lib.mpeg_Init(), 1);
  EXPECT_EQ(lib.mpeg_Init(), 1) << "a second init replaces the engine";
  EXPECT_EQ(lib.mpeg_Close(), 1);
  EXPECT_EQ(lib.mpeg_Close(), 0);
}

TEST_F(ClipPlayerTest, OpeningLeavesTheClipStoppedOnItsFirstFrameAndTransportRefusesRepeats) {
  const std::string clip = writeClip("clip.mpg", 2);
  ASSERT_EQ(lib.mpeg_Init(), 1);
  EXPECT_EQ(lib.mpeg_Preview(nullptr), 0) << "nothing open";
  ASSERT_EQ(lib.mpeg_open(clip.c_str(), host), 1);
  EXPECT_TRUE(pictureShown()) << "paused on the first frame in the host window";
  EXPECT_EQ(lib.mpeg_Stop(), 0) << "opening counts as stopped";
  EXPECT_EQ(lib.mpeg_Preview(nullptr), 1);
  EXPECT_EQ(lib.mpeg_Preview(nullptr), 0);
  EXPECT_EQ(lib.mpeg_Pause(), 1);
  EXPECT_EQ(lib.mpeg_Pause(), 0);
  EXPECT_EQ(lib.mpeg_Stop(), 1);
  EXPECT_EQ(lib.mpeg_Stop(), 0);
  EXPECT_EQ(lib.mpeg_video_auto_size(), 1);
}

TEST_F(ClipPlayerTest, FilesThatCannotBePlayedAreNotOpen) {
  ASSERT_EQ(lib.mpeg_Init(), 1);
  EXPECT_EQ(lib.mpeg_open(nullptr, host), 0);
  EXPECT_EQ(lib.mpeg_open("C:\\missing.mpg", host), 0);
  EXPECT_EQ(lib.mpeg_Preview(nullptr), 0);
  EXPECT_EQ(lib.mpeg_MoveToEnd(), 0);
  EXPECT_EQ(lib.mpeg_video_auto_size(), 0);
}

TEST_F(ClipPlayerTest, SeeksByPositionAndPercentWithinTheClipOnly) {
  const std::string clip = writeClip("clip.mpg", 4);
  ASSERT_EQ(lib.mpeg_Init(), 1);
  ASSERT_EQ(lib.mpeg_open(clip.c_str(), host), 1);
  mp_pos_t duration = 0;
  ASSERT_EQ(lib.mpeg_percent_to_mp_pos_t(100, &duration), 1);
  EXPECT_NEAR(static_cast<double>(duration), 4.0 * kSecond, 0.1 * kSecond);
  mp_pos_t half = 0;
  ASSERT_EQ(lib.mpeg_percent_to_mp_pos_t(50, &half), 1);
  EXPECT_EQ(half, duration * 50 / 100);
  EXPECT_EQ(lib.mpeg_percent_to_mp_pos_t(101, &half), 0);
  EXPECT_EQ(lib.mpeg_percent_to_mp_pos_t(-1, &half), 0);

  EXPECT_EQ(lib.mpeg_MoveToFrame(duration + 1), 0);
  EXPECT_EQ(lib.mpeg_MoveToFrame(-1), 0);
  EXPECT_EQ(lib.mpeg_MoveToFrame(duration), 1);
  EXPECT_EQ(lib.mpeg_MoveToFrame(half), 1) << "a seek while paused succeeds";
  double ratio = 0;
  ASSERT_EQ(lib.mpeg_get_current_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 0.5, 0.01);
  EXPECT_EQ(lib.mpeg_MoveToFrame2(101), 0);
  EXPECT_EQ(lib.mpeg_MoveToFrame2(-1), 0);
  EXPECT_EQ(lib.mpeg_MoveToStart(), 1);
  ASSERT_EQ(lib.mpeg_get_current_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 0.0, 0.01);
  EXPECT_EQ(lib.mpeg_MoveToEnd(), 1);
  ASSERT_EQ(lib.mpeg_get_current_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 1.0, 0.01);
}

TEST_F(ClipPlayerTest, PercentsOfAClipCenturiesLongAreTakenWithoutOverflow) {
  // Five pictures of 68 years each: 340 years, so the duration times 100 passes 64 bits.
  constexpr int kLongest = std::numeric_limits<int>::max();
  const std::vector<dstest::MediaFileWriter::Colour> pictures(5, dstest::MediaFileWriter::kRed);
  ASSERT_TRUE(dstest::MediaFileWriter::writeSlides(linuxPath("C:\\centuries.avi"), kLongest, pictures));
  ASSERT_EQ(lib.mpeg_Init(), 1);
  ASSERT_EQ(lib.mpeg_open("C:\\centuries.avi", host), 1);
  mp_pos_t duration = 0;
  ASSERT_EQ(lib.mpeg_percent_to_mp_pos_t(100, &duration), 1);
  EXPECT_EQ(duration, 5 * kSecond * kLongest);
  ASSERT_GT(duration, std::numeric_limits<mp_pos_t>::max() / 100);
  mp_pos_t at = 0;
  ASSERT_EQ(lib.mpeg_percent_to_mp_pos_t(99, &at), 1);
  EXPECT_EQ(at, duration / 100 * 99 + duration % 100 * 99 / 100) << "the duration times 99, truncated by 100";
  double ratio = 0;
  EXPECT_EQ(lib.mpeg_MoveToFrame2(100), 1);
  ASSERT_EQ(lib.mpeg_get_current_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 1.0, 0.01);
  EXPECT_EQ(lib.mpeg_MoveToFrame2(60), 1);
  ASSERT_EQ(lib.mpeg_get_current_progress(&ratio), 1);
  EXPECT_NEAR(ratio, 0.6, 0.01);
  EXPECT_EQ(lib.mpeg_MoveToEnd(), 1);
}

TEST_F(ClipPlayerTest, AssertionsAreReportedAndTheExportGoesOn) {
  ASSERT_EQ(lib.mpeg_Init(), 1);
  EXPECT_EQ(lib.mpeg_Capture(nullptr), 0);
  EXPECT_EQ(lib.mpeg_MoveToFrame(0), 0);
  const auto texts = reports();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "NULL != persist_name"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "has_video () && pMS != NULL"), texts.end());

  const std::string clip = writeClip("clip.mpg", 2);
  ASSERT_EQ(lib.mpeg_open(clip.c_str(), host), 1);
  DestroyWindow(host);
  lib.mpeg_video_auto_size();
  const auto later = reports();
  EXPECT_NE(std::find(later.begin(), later.end(), "::IsWindow (mpeg_preview_hwnd)"), later.end());
}

}  // namespace

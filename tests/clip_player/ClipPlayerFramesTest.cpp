// Which frame the clip pane shows at a position, read off the captured bitmap: clips of
// numbered pictures at 25 and at 29.97 frames a second, as MPEG program streams and as
// the AVIs the editor renders, with the position a hair after a frame's start and a hair
// before it; a seek made at once after opening, before the first picture came; and the
// RGB AVIs stored either way up, shown the right way up.
#include "ClipPlayerTest.h"

#include "NumberedPicture.h"

#include <string>

namespace {

using edtest::ClipPlayerTest;
using Coding = dstest::MediaFileWriter::Coding;
using dstest::NumberedPicture;

constexpr mp_pos_t kHair = 1'000;  // 0.1 ms, far beyond any rounding of times
constexpr mp_pos_t kFrame = 400'000;  // 25 frames a second

struct Rate {
  int num, den;
};

class ClipPlayerFramesTest : public ClipPlayerTest {
 protected:
  void open(const std::string& clip) {
    ASSERT_EQ(lib.mpeg_Init(), 1);
    ASSERT_EQ(lib.mpeg_open(clip.c_str(), host), 1);
    ASSERT_TRUE(pictureShown());
  }
  // The number shown after seeking to `position`, as the captured frame holds it.
  int shownAfterSeeking(mp_pos_t position) {
    if (lib.mpeg_MoveToFrame(position) != 1 || !pictureShown()) return -2;
    const std::string file = "C:\\shown.bmp";
    return lib.mpeg_Capture(file.c_str()) == 1 ? numberInBitmap(file) : -3;
  }
};

TEST_F(ClipPlayerFramesTest, TheFrameAtAPositionIsTheOneStartingLastAtOrBeforeIt) {
  for (const Rate rate : {Rate{25, 1}, Rate{30000, 1001}})
    for (const Coding coding : {Coding::Mpeg2, Coding::MjpegAvi}) {
      const std::string name = std::to_string(rate.num) + (coding == Coding::Mpeg2 ? ".mpg" : ".avi");
      SCOPED_TRACE(name);
      const std::string clip = writeNumbered(name, coding, 150, rate.num, rate.den);
      open(clip);
      EXPECT_EQ(numberInBitmap(lib.mpeg_Capture("C:\\first.bmp") == 1 ? "C:\\first.bmp" : ""), 0) << "opened";
      // Positions count from the file's first packet; sound may start before the pictures.
      const mp_pos_t first = NumberedPicture::firstPictureTime(linuxPath(clip));
      // 2 s; frame 60's start (2.002 s at 29.97) and 50's (2 s at 25); a hair before each.
      const mp_pos_t frameStart = first + (rate.num == 25 ? 20'000'000 : 20'020'000);
      for (const mp_pos_t mark : {mp_pos_t{20'000'000}, frameStart + kHair, frameStart - kHair, mp_pos_t{45'000'000}})
        EXPECT_EQ(shownAfterSeeking(mark), NumberedPicture::shownAt(mark - first, rate.num, rate.den)) << mark;
      lib.mpeg_Close();
    }
}

// Opened and at once moved to a mark, paused as the library opens a clip or playing as the
// editor starts it, the clip shows the frame at the mark once it settles; so does the
// second of two seeks made at once.
TEST_F(ClipPlayerFramesTest, ASeekAtOnceAfterOpeningShowsTheFrameAtTheMark) {
  for (const Coding coding : {Coding::Mpeg2, Coding::MjpegAvi})
    for (const bool playing : {false, true}) {
      const std::string name = coding == Coding::Mpeg2 ? "at once.mpg" : "at once.avi";
      SCOPED_TRACE(name + (playing ? " playing" : " paused"));
      const std::string clip = writeNumbered(name, coding, 150, 25, 1);
      const mp_pos_t first = NumberedPicture::firstPictureTime(linuxPath(clip));
      ASSERT_EQ(lib.mpeg_Init(), 1);
      ASSERT_EQ(lib.mpeg_open(clip.c_str(), host), 1);
      if (playing) {
        ASSERT_EQ(lib.mpeg_Preview(nullptr), 1);
      }
      EXPECT_EQ(shownAfterSeeking(first + 60 * kFrame + kHair), 60);
      ASSERT_EQ(lib.mpeg_MoveToFrame(first + 100 * kFrame + kHair), 1);
      EXPECT_EQ(shownAfterSeeking(first + 20 * kFrame + kHair), 20) << "the second of two seeks at once";
      lib.mpeg_Close();
    }
}

TEST_F(ClipPlayerFramesTest, AviPicturesStoredFromTheTopOrTheBottomShowTheRightWayUp) {
  for (const Coding coding : {Coding::RgbTopDownAvi, Coding::RgbBottomUpAvi, Coding::Yuy2Avi}) {
    open(writeNumbered("way.avi", coding, 50, 25, 1));
    EXPECT_EQ(lib.mpeg_Capture("C:\\way.bmp"), 1);
    EXPECT_EQ(numberInBitmap("C:\\way.bmp"), 0) << static_cast<int>(coding);
    EXPECT_EQ(shownAfterSeeking(10'000'000), 25) << static_cast<int>(coding);
    lib.mpeg_Close();
  }
}

}  // namespace

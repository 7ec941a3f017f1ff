#include <machine/PixelFont.h>
#include <machine/TestPicture.h>
#include <machine/TestTone.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

using plat::Rgb;
using plat::Scene;
using plat::TestPicture;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

std::vector<std::uint8_t> paint(const Scene& scene, std::int64_t timeMs, std::uint64_t frame = 0) {
  std::vector<std::uint8_t> image(kWidth * kHeight * 2);
  TestPicture::paintYuy2(scene, timeMs, frame, kWidth, kHeight, image.data(), kWidth * 2);
  return image;
}

Rgb at(const std::vector<std::uint8_t>& image, int x, int y) {
  const std::uint8_t* pair = image.data() + y * kWidth * 2 + (x & ~1) * 2;
  return TestPicture::yuvToRgb(pair[(x & 1) ? 2 : 0], pair[1], pair[3]);
}

bool near(Rgb a, Rgb b) { return std::abs(a.r - b.r) <= 4 && std::abs(a.g - b.g) <= 4 && std::abs(a.b - b.b) <= 4; }

Scene station(int number) { return Scene{Scene::Kind::Station, number, "News", "NTSC_M", 440}; }

}  // namespace

TEST(TestPictureTest, AStationHasItsOwnBackgroundAndAMovingBar) {
  const auto image = paint(station(4), 0);
  EXPECT_TRUE(near(at(image, kWidth - 10, kHeight - 10), TestPicture::stationColour(4)));
  EXPECT_FALSE(near(TestPicture::stationColour(4), TestPicture::stationColour(7)));
  // At time 0 the bar is at the left edge; a second later a quarter across.
  EXPECT_TRUE(near(at(image, 2, kHeight - 10), {235, 235, 235}));
  EXPECT_EQ(TestPicture::barLeft(1000, kWidth), kWidth / 4);
  const auto later = paint(station(4), 1000);
  EXPECT_TRUE(near(at(later, kWidth / 4 + 1, kHeight - 10), {235, 235, 235}));
  EXPECT_TRUE(near(at(later, 2, kHeight - 10), TestPicture::stationColour(4)));
}

TEST(TestPictureTest, TheChannelNumberIsDrawnIn) {
  // "4" at scale 10 from (16, 12): its stem (column 3) is set in rows 0-6.
  const auto image = paint(station(4), 2000);
  const int scale = (kHeight / 48) * 2;
  ASSERT_TRUE(plat::PixelFont::pixel('4', 3, 4));
  const Rgb stem = at(image, kWidth / 20 + 3 * scale + 1, kHeight / 20 + 4 * scale + 1);
  EXPECT_GT(stem.g, 230);
  EXPECT_FALSE(plat::PixelFont::pixel('4', 0, 0));
  EXPECT_TRUE(near(at(image, kWidth / 20 + 1, kHeight / 20 + 1), TestPicture::stationColour(4)));
}

TEST(TestPictureTest, SnowChangesEveryFrameAndHasNoColour) {
  const auto a = paint(Scene{}, 0, 1);
  const auto b = paint(Scene{}, 0, 2);
  EXPECT_NE(a, b);
  EXPECT_EQ(a[1], 128);
  EXPECT_EQ(a[3], 128);
}

TEST(TestPictureTest, ToneBuffersJoinWithoutAJump) {
  std::vector<std::int16_t> whole(2 * 200), first(2 * 100), second(2 * 100);
  plat::TestTone::fill(440, 2, 48000, 0, 200, whole.data());
  plat::TestTone::fill(440, 2, 48000, 0, 100, first.data());
  plat::TestTone::fill(440, 2, 48000, 100, 100, second.data());
  first.insert(first.end(), second.begin(), second.end());
  EXPECT_EQ(first, whole);
  std::vector<std::int16_t> silence(2 * 10, 5);
  plat::TestTone::fill(0, 2, 48000, 0, 10, silence.data());
  EXPECT_EQ(silence, std::vector<std::int16_t>(20, 0));
}

TEST(TestPictureTest, TheBarAtAnOddColumnIsPaintedAlikeInEveryRow) {
  // The bar starts at an odd column and ends at one: the pairs it shares with the
  // station colour take the bar's luma only in its own half, in every row.
  const int width = 90;
  const int height = 48;
  std::int64_t time = 0;
  while (TestPicture::barLeft(time, width) % 2 == 0) time += 50;
  const int left = TestPicture::barLeft(time, width);
  std::vector<std::uint8_t> image(static_cast<std::size_t>(width) * height * 2);
  TestPicture::paintYuy2(station(4), time, 0, width, height, image.data(), width * 2);
  const auto luma = [&](int x, int y) { return image[static_cast<std::size_t>(y) * width * 2 + x * 2]; };
  std::uint8_t white = 0, u = 0, v = 0;
  TestPicture::rgbToYuv({235, 235, 235}, white, u, v);
  // Below the station's name every row is the same.
  const int first = height * 3 / 4;
  for (int y = first; y < height; ++y) {
    EXPECT_EQ(std::memcmp(&image[static_cast<std::size_t>(y) * width * 2], &image[static_cast<std::size_t>(first) * width * 2],
                          static_cast<std::size_t>(width) * 2),
              0)
        << "row " << y;
    EXPECT_EQ(luma(left, y), white) << "row " << y;
    EXPECT_NE(luma(left - 1, y), white) << "row " << y;
    EXPECT_EQ(luma(left + TestPicture::barWidth(width) - 1, y), white) << "row " << y;
    EXPECT_NE(luma(left + TestPicture::barWidth(width), y), white) << "row " << y;
  }
}

// The editing sources' read-ahead: pictures come in their order and end with the stream,
// no more than a few are made ahead of the taker, and a stop in the middle of a stream
// (a seek) throws away what was made ahead so that the next start begins afresh.
#include <dshow/des/PictureReadAhead.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kBytes = 64;

// Picture `index` of a run: every byte is `first + index`.
plat::PictureReadAhead::Make numbered(int first, int count, std::atomic<int>* taken = nullptr,
                                      std::atomic<std::int64_t>* mostAhead = nullptr) {
  return [=](std::int64_t index, BYTE* out) {
    if (index >= count) return false;
    if (taken && mostAhead) {
      const std::int64_t ahead = index - taken->load();
      std::int64_t most = mostAhead->load();
      while (ahead > most && !mostAhead->compare_exchange_weak(most, ahead)) {
      }
    }
    std::memset(out, first + static_cast<int>(index), kBytes);
    return true;
  };
}

TEST(PictureReadAheadTest, PicturesComeInTheirOrderAndEndWithTheStreamNeverFarAhead) {
  plat::PictureReadAhead readAhead(kBytes);
  std::atomic<int> taken{0};
  std::atomic<std::int64_t> mostAhead{0};
  readAhead.start(numbered(10, 40, &taken, &mostAhead));
  std::vector<BYTE> picture(kBytes);
  for (int n = 0; n < 40; ++n) {
    ASSERT_TRUE(readAhead.take(picture.data())) << n;
    EXPECT_EQ(picture.front(), 10 + n);
    EXPECT_EQ(picture.back(), 10 + n);
    taken = n + 1;
  }
  EXPECT_FALSE(readAhead.take(picture.data())) << "the stream has ended";
  EXPECT_LE(mostAhead.load(), static_cast<std::int64_t>(plat::PictureReadAhead::kAhead));
}

TEST(PictureReadAheadTest, AStopInTheMiddleThrowsAwayWhatWasMadeAheadAndAStartBeginsAgain) {
  plat::PictureReadAhead readAhead(kBytes);
  readAhead.start(numbered(0, 100));
  std::vector<BYTE> picture(kBytes);
  ASSERT_TRUE(readAhead.take(picture.data()));
  ASSERT_TRUE(readAhead.take(picture.data()));
  EXPECT_EQ(picture.front(), 1);
  readAhead.stop();
  // Started again elsewhere, as after a seek: its pictures, from its first.
  readAhead.start(numbered(200, 3));
  for (int n = 0; n < 3; ++n) {
    ASSERT_TRUE(readAhead.take(picture.data()));
    EXPECT_EQ(picture.front(), 200 + n);
  }
  EXPECT_FALSE(readAhead.take(picture.data()));
}

TEST(PictureReadAheadTest, AReadAheadLetGoWhileItRunsStopsItsThread) {
  auto readAhead = std::make_unique<plat::PictureReadAhead>(kBytes);
  readAhead->start(numbered(0, 1000));
  std::vector<BYTE> picture(kBytes);
  ASSERT_TRUE(readAhead->take(picture.data()));
  readAhead.reset();
  SUCCEED();
}

}  // namespace

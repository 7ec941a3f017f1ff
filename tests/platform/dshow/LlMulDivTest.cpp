// llMulDiv scales 64-bit times exactly through a wider product, truncating towards zero,
// and stops at the ends of 64 bits instead of wrapping.
#include <dshow/baseclasses/llMulDiv.h>

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr LONGLONG kMost = std::numeric_limits<LONGLONG>::max();
constexpr LONGLONG kLeast = std::numeric_limits<LONGLONG>::min();

TEST(LlMulDivTest, ScalesExactlyWherePlainProductsWouldOverflow) {
  EXPECT_EQ(llMulDiv(10, 3, 4, 0), 7);
  EXPECT_EQ(llMulDiv(-10, 3, 4, 0), -7) << "towards zero";
  EXPECT_EQ(llMulDiv(10, 3, 4, 2), 8) << "the addend rounds";
  // 220 s into a 440 s clip: the product passes 64 bits, the result does not.
  EXPECT_EQ(llMulDiv(2'200'000'000, 4'400'000'000, 4'400'000'000, 0), 2'200'000'000);
  EXPECT_EQ(llMulDiv(kMost, 100, 100, 0), kMost);
  EXPECT_EQ(llMulDiv(kMost, 99, 100, 0), kMost / 100 * 99 + kMost % 100 * 99 / 100);
  EXPECT_EQ(llMulDiv(kLeast, 1, 1, 0), kLeast);
  EXPECT_EQ(llMulDiv(kMost, kMost, kMost, 0), kMost);
}

TEST(LlMulDivTest, StopsAtTheEndsOfSixtyFourBits) {
  EXPECT_EQ(llMulDiv(kMost, 101, 100, 0), kMost);
  EXPECT_EQ(llMulDiv(kMost, -101, 100, 0), kLeast);
  EXPECT_EQ(llMulDiv(kLeast, -1, 1, 0), kMost) << "one past the largest";
  EXPECT_EQ(llMulDiv(kMost, 1, 1, 1), kMost) << "the addend too";
  EXPECT_EQ(llMulDiv(5, 1, 0, 0), kMost) << "no divisor";
  EXPECT_EQ(llMulDiv(-5, 1, 0, 0), kLeast);
}

}  // namespace

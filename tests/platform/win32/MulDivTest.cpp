// MulDiv rounds half away from zero through a 64-bit product and fails with -1.
#include <win32/muldiv.h>

#include <gtest/gtest.h>

#include <climits>

TEST(MulDivTest, RoundsThroughAWideProductAndFailsWithMinusOne) {
  EXPECT_EQ(MulDiv(10, 3, 4), 8);
  EXPECT_EQ(MulDiv(-10, 3, 4), -8);
  EXPECT_EQ(MulDiv(1, 1, 3), 0);
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(INT_MAX, 4, 1), -1);
}

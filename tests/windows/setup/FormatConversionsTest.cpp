// The check a window makes before it fills a format of the UI text library.
#include "windows/setup/FormatConversions.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatConversions, AFormatIsUsedOnlyWithExactlyItsConversions) {
  EXPECT_TRUE(HasConversions("Antenna channel %d", "d"));
  EXPECT_TRUE(HasConversions("%s: %d-%s-%s %s:%s:%s\n%s\n%s min %s s, %s", "sdsssssssss"));
  EXPECT_TRUE(HasConversions("100%% %-3d", "d"));
  EXPECT_TRUE(HasConversions("%05.2d", "d"));
  EXPECT_TRUE(HasConversions("no value", ""));

  EXPECT_FALSE(HasConversions("channel %s", "d"));      // a text where a number goes
  EXPECT_FALSE(HasConversions("%d %d", "d"));           // one more than given
  EXPECT_FALSE(HasConversions("channel", "d"));         // one fewer
  EXPECT_TRUE(HasConversions("%99.99d", "d"));
  EXPECT_FALSE(HasConversions("%100d", "d"));           // a text of any length
  EXPECT_FALSE(HasConversions("%.100d", "d"));
  EXPECT_FALSE(HasConversions("%*d", "d"));             // a width read from the values
  EXPECT_FALSE(HasConversions("%ld", "d"));             // a length the value has not
  EXPECT_FALSE(HasConversions("%n", ""));               // writes through a value
  EXPECT_FALSE(HasConversions("channel %", ""));        // ends inside a conversion
  EXPECT_FALSE(HasConversions("channel %5", ""));
  EXPECT_FALSE(HasConversions(nullptr, ""));
}

}  // namespace

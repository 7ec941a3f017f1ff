// Due items on the manual clock: once and daily items in the first 21 seconds of their
// minute, weekly ones in the first 11 on their weekday, across days and weeks; the next
// start within 30 days; flagged once items dropped when their minute has passed.
#include "ScheduleTest.h"

namespace {

using test::kDaily;
using test::kOnce;

class ScheduleDueTest : public test::ScheduleTest {
 protected:
  CScheduleItem* add(const CScheduleItem& made) {
    list.Add(&made);
    return list.GetAt(list.GetCount() - 1);
  }
  CScheduleList list;
};

constexpr int kFriday = 5;  // 2024-03-01

TEST_F(ScheduleDueTest, AOnceItemIsDueForTwentyOneSecondsOfItsMinute) {
  CScheduleItem* once = add(item(at(2024, 3, 1, 10, 0), 60, kOnce));
  setNow(2024, 3, 1, 9, 59, 59);
  EXPECT_EQ(list.FindDueItem(), nullptr);
  setNow(2024, 3, 1, 10, 0, 0);
  EXPECT_EQ(list.FindDueItem(), once);
  setNow(2024, 3, 1, 10, 0, 20);
  EXPECT_EQ(list.FindDueItem(), once);
  setNow(2024, 3, 1, 10, 0, 21);
  EXPECT_EQ(list.FindDueItem(), nullptr);
  setNow(2024, 3, 2, 10, 0, 0);
  EXPECT_EQ(list.FindDueItem(), nullptr);
}

TEST_F(ScheduleDueTest, StartingSoonLooksTwentySecondsAhead) {
  CScheduleItem* once = add(item(at(2024, 3, 1, 10, 0), 60, kOnce));
  setNow(2024, 3, 1, 9, 59, 39);
  EXPECT_EQ(list.FindItemStartingSoon(), nullptr);
  setNow(2024, 3, 1, 9, 59, 40);
  EXPECT_EQ(list.FindItemStartingSoon(), once);
  EXPECT_EQ(list.FindDueItem(), nullptr);
  setNow(2024, 3, 1, 10, 0, 1);
  EXPECT_EQ(list.FindItemStartingSoon(), nullptr);
}

TEST_F(ScheduleDueTest, AWeeklyItemIsDueElevenSecondsOnItsWeekdayEveryWeek) {
  CScheduleItem* weekly = add(item(at(2023, 6, 7, 10, 0), 60, kFriday));
  for (int week = 0; week < 3; ++week) {
    setNow(2024, 3, 1 + 7 * week, 10, 0, 10);
    EXPECT_EQ(list.FindDueItem(), weekly) << "week " << week;
    setNow(2024, 3, 1 + 7 * week, 10, 0, 11);
    EXPECT_EQ(list.FindDueItem(), nullptr);
  }
  for (int day = 2; day <= 7; ++day) {
    setNow(2024, 3, day, 10, 0, 0);
    EXPECT_EQ(list.FindDueItem(), nullptr) << "day " << day;
  }
}

TEST_F(ScheduleDueTest, ADailyItemIsDueEveryDayFromItsFirstDay) {
  CScheduleItem* daily = add(item(at(2024, 3, 30, 10, 0), 60, kDaily));
  setNow(2024, 3, 29, 10, 0, 0);
  EXPECT_EQ(list.FindDueItem(), nullptr);
  setNow(2024, 3, 30, 10, 0, 20);
  EXPECT_EQ(list.FindDueItem(), daily);
  setNow(2024, 3, 30, 10, 1, 0);
  EXPECT_EQ(list.FindDueItem(), nullptr);
  // Days of later months before the 30th, and of a later year before March.
  setNow(2024, 4, 1, 10, 0, 0);
  EXPECT_EQ(list.FindDueItem(), daily);
  setNow(2025, 1, 15, 10, 0, 0);
  EXPECT_EQ(list.FindDueItem(), daily);
  setNow(2023, 12, 31, 10, 0, 0);
  EXPECT_EQ(list.FindDueItem(), nullptr);
}

TEST_F(ScheduleDueTest, ARecurrenceThatIsNoWeekdayIsNeverDue) {
  add(item(at(2024, 3, 1, 10, 0), 60, 9));
  for (int day = 1; day <= 7; ++day) {
    setNow(2024, 3, day, 10, 0, 0);
    EXPECT_EQ(list.FindDueItem(), nullptr) << "day " << day;
  }
}

TEST_F(ScheduleDueTest, TheFirstDueItemInListOrderIsFound) {
  add(item(at(2024, 3, 1, 9, 0), 60, kOnce));
  CScheduleItem* weekly = add(item(at(2024, 3, 1, 10, 0), 60, kFriday));
  add(item(at(2024, 3, 1, 10, 0), 120, kOnce));
  setNow(2024, 3, 1, 10, 0, 5);
  EXPECT_EQ(list.FindDueItem(), weekly);
  setNow(2024, 3, 1, 10, 0, 15);  // past the weekly window
  EXPECT_EQ(list.FindDueItem(), list.GetAt(2));
}

TEST_F(ScheduleDueTest, NextDueTimeTakesTheEarliestComingStart) {
  EXPECT_EQ(list.GetNextDueTime(), 0);
  setNow(2024, 3, 1, 12, 0, 0);
  add(item(at(2024, 3, 1, 11, 0), 60, kOnce));  // past
  EXPECT_EQ(list.GetNextDueTime(), 0);
  add(item(at(2024, 3, 20, 8, 0), 60, kOnce));
  EXPECT_EQ(list.GetNextDueTime(), at(2024, 3, 20, 8, 0));
  add(item(at(2024, 1, 1, 13, 30, 45), 60, kDaily));
  EXPECT_EQ(list.GetNextDueTime(), at(2024, 3, 1, 13, 30));
  add(item(at(2024, 1, 1, 12, 30), 60, 0));  // Sundays
  EXPECT_EQ(list.GetNextDueTime(), at(2024, 3, 1, 13, 30));
  add(item(at(2024, 1, 1, 12, 30), 60, kFriday));
  EXPECT_EQ(list.GetNextDueTime(), at(2024, 3, 1, 12, 30));
}

TEST_F(ScheduleDueTest, NextDueTimeOfADailyItemWhoseTimePassedIsTomorrow) {
  setNow(2024, 3, 1, 12, 0, 0);
  add(item(at(2024, 2, 1, 11, 0), 60, kDaily));
  EXPECT_EQ(list.GetNextDueTime(), at(2024, 3, 2, 11, 0));
}

TEST_F(ScheduleDueTest, NextDueTimeOfADailyItemNotYetStartedIsItsFirstDay) {
  setNow(2024, 3, 1, 12, 0, 0);
  add(item(at(2024, 3, 10, 11, 0), 60, kDaily));
  EXPECT_EQ(list.GetNextDueTime(), at(2024, 3, 10, 11, 0));
}

TEST_F(ScheduleDueTest, NextDueTimeOfAWeeklyItemWhoseTimePassedIsNextWeek) {
  setNow(2024, 3, 1, 12, 0, 0);
  add(item(at(2024, 1, 1, 11, 0), 60, kFriday));
  EXPECT_EQ(list.GetNextDueTime(), at(2024, 3, 8, 11, 0));
  list.RemoveAll();
  add(item(at(2024, 1, 1, 11, 0), 60, 1));  // Monday
  EXPECT_EQ(list.GetNextDueTime(), at(2024, 3, 4, 11, 0));
}

TEST_F(ScheduleDueTest, NextDueTimeLooksThirtyDaysAhead) {
  setNow(2024, 3, 1, 12, 0, 0);
  add(item(at(2024, 3, 31, 11, 59, 59), 60, kOnce));
  EXPECT_EQ(list.GetNextDueTime(), at(2024, 3, 31, 11, 59, 59));
  list.RemoveAll();
  add(item(at(2024, 3, 31, 12, 0, 0), 60, kOnce));
  add(item(at(2024, 3, 1, 10, 0), 60, 9));  // no weekday
  EXPECT_EQ(list.GetNextDueTime(), 0);
}

TEST_F(ScheduleDueTest, FlaggedOnceItemsGoWhenTheirMinuteHasPassed) {
  add(item(at(2024, 3, 1, 10, 0, 0), 60, kOnce, 1));
  add(item(at(2024, 3, 1, 10, 0, 30), 60, kOnce, 1));
  add(item(at(2024, 3, 1, 10, 0), 60, kOnce, 0));  // not flagged
  add(item(at(2024, 3, 1, 10, 0), 60, kDaily, 1));
  add(item(at(2024, 3, 1, 10, 1), 60, kOnce, 1));  // a minute later
  setNow(2024, 3, 1, 10, 0, 20);
  EXPECT_EQ(list.RemoveExpiredOnceItems(), 1);
  EXPECT_EQ(list.GetCount(), 5);
  setNow(2024, 3, 1, 10, 0, 21);
  EXPECT_EQ(list.RemoveExpiredOnceItems(), 1);
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetAt(0)->flag, 0);
  EXPECT_EQ(list.GetAt(1)->recurrence, kDaily);
  EXPECT_EQ(list.GetAt(2)->start, at(2024, 3, 1, 10, 1));
}

TEST_F(ScheduleDueTest, FlaggedOnceItemsMissedWhileClosedGoToo) {
  add(item(at(2024, 2, 27, 22, 15), 60, kOnce, 1));
  add(item(at(2024, 3, 5, 22, 15), 60, kOnce, 1));
  setNow(2024, 3, 1, 12, 0, 0);
  list.RemoveExpiredOnceItems();
  ASSERT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.GetAt(0)->start, at(2024, 3, 5, 22, 15));
}

}  // namespace

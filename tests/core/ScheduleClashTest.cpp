// Clashes between a new item and the stored ones: a stored item's window runs from its start
// to its end plus ten seconds, compared by time of day unless both items run once; weekly
// items clash only on their own weekday, daily items only from their first day.
#include "ScheduleTest.h"

namespace {

using test::kDaily;
using test::kOnce;

constexpr int kFriday = 5;  // 2024-03-01
constexpr int kSaturday = 6;

class ScheduleClashTest : public test::ScheduleTest {};

TEST_F(ScheduleClashTest, ANewItemMeetingAStoredOneAnyWayClashes) {
  const CScheduleItem a = item(at(2024, 3, 1, 10, 0), 600, kOnce);
  const CScheduleItem b = item(at(2024, 3, 1, 10, 5), 60, kOnce);
  EXPECT_TRUE(CScheduleList::ItemsConflict(&b, &a));  // starts inside a
  EXPECT_TRUE(CScheduleList::ItemsConflict(&a, &b));  // holds b inside it
  const CScheduleItem before = item(at(2024, 3, 1, 9, 50), 600, kOnce);
  EXPECT_TRUE(CScheduleList::ItemsConflict(&before, &a));  // ends on a's start
  const CScheduleItem earlier = item(at(2024, 3, 1, 9, 50), 599, kOnce);
  EXPECT_FALSE(CScheduleList::ItemsConflict(&earlier, &a));
}

TEST_F(ScheduleClashTest, TenSecondsAfterAStoredItemAreStillItsOwn) {
  const CScheduleItem stored = item(at(2024, 3, 1, 10, 0), 600, kOnce);
  const CScheduleItem atPadding = item(at(2024, 3, 1, 10, 10, 10), 60, kOnce);
  const CScheduleItem after = item(at(2024, 3, 1, 10, 10, 11), 60, kOnce);
  EXPECT_TRUE(CScheduleList::ItemsConflict(&atPadding, &stored));
  EXPECT_FALSE(CScheduleList::ItemsConflict(&after, &stored));
  const CScheduleItem dailyAtPadding = item(at(2024, 1, 1, 10, 10, 10), 60, kDaily);
  const CScheduleItem dailyAfter = item(at(2024, 1, 1, 10, 10, 11), 60, kDaily);
  EXPECT_TRUE(CScheduleList::OverlapByTimeOfDay(&dailyAtPadding, &stored));
  EXPECT_FALSE(CScheduleList::OverlapByTimeOfDay(&dailyAfter, &stored));
}

TEST_F(ScheduleClashTest, OnceItemsOnOtherDaysDoNotClashButTheirTimesOfDayDo) {
  const CScheduleItem today = item(at(2024, 3, 1, 10, 0), 600, kOnce);
  const CScheduleItem tomorrow = item(at(2024, 3, 2, 10, 0), 600, kOnce);
  EXPECT_FALSE(CScheduleList::ItemsConflict(&tomorrow, &today));
  EXPECT_FALSE(CScheduleList::OverlapOnce(&tomorrow, &today));
  EXPECT_TRUE(CScheduleList::OverlapByTimeOfDay(&tomorrow, &today));
}

TEST_F(ScheduleClashTest, WeeklyItemsClashOnlyOnTheirOwnWeekday) {
  const CScheduleItem friday = item(at(2024, 1, 1, 10, 0), 600, kFriday);
  const CScheduleItem saturday = item(at(2024, 1, 1, 10, 0), 600, kSaturday);
  const CScheduleItem fridayAgain = item(at(2023, 5, 5, 10, 5), 60, kFriday);
  EXPECT_FALSE(CScheduleList::ItemsConflict(&saturday, &friday));
  EXPECT_TRUE(CScheduleList::ItemsConflict(&fridayAgain, &friday));

  const CScheduleItem onceFriday = item(at(2024, 3, 1, 10, 5), 60, kOnce);
  const CScheduleItem onceSaturday = item(at(2024, 3, 2, 10, 5), 60, kOnce);
  EXPECT_TRUE(CScheduleList::ItemsConflict(&onceFriday, &friday));
  EXPECT_FALSE(CScheduleList::ItemsConflict(&onceSaturday, &friday));
  EXPECT_TRUE(CScheduleList::ItemsConflict(&friday, &onceFriday));
  EXPECT_FALSE(CScheduleList::ItemsConflict(&friday, &onceSaturday));

  const CScheduleItem daily = item(at(2030, 1, 1, 10, 5), 60, kDaily);
  EXPECT_TRUE(CScheduleList::ItemsConflict(&friday, &daily));
  EXPECT_TRUE(CScheduleList::ItemsConflict(&daily, &friday));
}

TEST_F(ScheduleClashTest, ADailyItemMeetsOnceItemsFromItsFirstDayOn) {
  const CScheduleItem daily = item(at(2024, 3, 30, 10, 0), 600, kDaily);
  const CScheduleItem before = item(at(2024, 3, 29, 10, 5), 60, kOnce);
  const CScheduleItem firstDay = item(at(2024, 3, 30, 10, 5), 60, kOnce);
  const CScheduleItem nextMonth = item(at(2024, 4, 2, 10, 5), 60, kOnce);
  const CScheduleItem otherTime = item(at(2024, 4, 2, 11, 5), 60, kOnce);
  EXPECT_FALSE(CScheduleList::ItemsConflict(&daily, &before));
  EXPECT_TRUE(CScheduleList::ItemsConflict(&daily, &firstDay));
  EXPECT_TRUE(CScheduleList::ItemsConflict(&daily, &nextMonth));
  EXPECT_FALSE(CScheduleList::ItemsConflict(&daily, &otherTime));
  // A once item meets a daily one by time of day, whatever the daily item's first day.
  EXPECT_TRUE(CScheduleList::ItemsConflict(&before, &daily));
}

TEST_F(ScheduleClashTest, ADailyItemRunningPastMidnightMeetsTheNextDaysItems) {
  const CScheduleItem lateDaily = item(at(2024, 3, 1, 23, 55), 600, kDaily);
  const CScheduleItem earlyOnce = item(at(2024, 3, 2, 0, 2), 60, kOnce);
  const CScheduleItem earlyDaily = item(at(2024, 3, 1, 0, 2), 60, kDaily);
  const CScheduleItem laterOnce = item(at(2024, 3, 2, 0, 6), 60, kOnce);
  EXPECT_TRUE(CScheduleList::ItemsConflict(&earlyOnce, &lateDaily));
  EXPECT_TRUE(CScheduleList::ItemsConflict(&earlyDaily, &lateDaily));
  EXPECT_TRUE(CScheduleList::ItemsConflict(&lateDaily, &earlyDaily));
  EXPECT_FALSE(CScheduleList::ItemsConflict(&laterOnce, &lateDaily));  // after the padding
  EXPECT_FALSE(CScheduleList::OverlapByTimeOfDay(&earlyOnce, &lateDaily));
  // Weekly items on the same weekday are a week apart at midnight, not a day.
  const CScheduleItem lateFriday = item(at(2024, 3, 1, 23, 55), 600, kFriday);
  const CScheduleItem earlyFriday = item(at(2024, 3, 1, 0, 2), 60, kFriday);
  EXPECT_FALSE(CScheduleList::ItemsConflict(&earlyFriday, &lateFriday));
}

TEST_F(ScheduleClashTest, FindConflictTriesEveryStoredItem) {
  CScheduleList list;
  const CScheduleItem morning = item(at(2024, 3, 1, 8, 0), 600, kOnce);
  const CScheduleItem evening = item(at(2024, 3, 1, 20, 0), 600, kDaily);
  list.Add(&morning);
  list.Add(&evening);
  const CScheduleItem lateEvening = item(at(2024, 3, 5, 20, 9), 60, kOnce);
  const CScheduleItem noon = item(at(2024, 3, 1, 12, 0), 60, kOnce);
  EXPECT_TRUE(list.FindConflict(&lateEvening));
  EXPECT_FALSE(list.FindConflict(&noon));
}

}  // namespace

// The schedule file as start-up loads it: whole records in file order, a trailing partial
// record ignored, a missing file leaving the list as it was. The items: owned copies, found
// and removed by start, duration and recurrence, never a gap in the list.
#include "ScheduleTest.h"

namespace {

using test::Bytes;
using test::putInt;

class ScheduleListTest : public test::ScheduleTest {
 protected:
  std::string path() { return programPath("schedulefile.she"); }
};

TEST_F(ScheduleListTest, LoadsEveryWholeRecordInFileOrder) {
  const std::int32_t fields[2][9] = {{100, 60, 8, 3, 4, 1, 1, 2, 108}, {200, 70, 2, 5, 6, 0, 0, 3, 0}};
  Bytes bytes(2 * 36, 0);
  for (int i = 0; i < 9; ++i) {
    putInt(bytes, 4 * i, fields[0][i]);
    putInt(bytes, 36 + 4 * i, fields[1][i]);
  }
  writeBytes(path(), bytes);
  CScheduleList list;
  ASSERT_EQ(list.Load(path().c_str()), 1);
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetAt(0)->start, 100);
  EXPECT_EQ(list.GetAt(0)->flag, 108);
  EXPECT_EQ(list.GetAt(1)->recurrence, 2);
  EXPECT_EQ(list.GetAt(1)->action, 3);
  EXPECT_EQ(list.GetAt(2), nullptr);
  EXPECT_EQ(list.GetAt(-1), nullptr);
}

TEST_F(ScheduleListTest, AMissingFileFailsAndKeepsTheItems) {
  writeBytes(path(), Bytes(36, 0));
  CScheduleList list;
  ASSERT_EQ(list.Load(path().c_str()), 1);
  EXPECT_EQ(list.Load(programPath("other.she").c_str()), 0);
  EXPECT_EQ(list.Load(nullptr), 0);
  EXPECT_EQ(list.GetCount(), 1);

  writeBytes(path(), Bytes());
  ASSERT_EQ(list.Load(path().c_str()), 1);
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(ScheduleListTest, AFileLargerThanAnyScheduleIsRefusedUnread) {
  CScheduleList list;
  writeBytes(path(), Bytes(10000 * 36 + 35, 0));
  ASSERT_EQ(list.Load(path().c_str()), 1);
  EXPECT_EQ(list.GetCount(), 10000);
  writeBytes(path(), Bytes(10001 * 36, 0));
  EXPECT_EQ(list.Load(path().c_str()), 0);
  EXPECT_EQ(list.GetCount(), 10000) << "the items are kept";
}

TEST_F(ScheduleListTest, StoredItemsAreCopiesInTheirOwnPlaces) {
  CScheduleList list;
  CScheduleItem a = item(100, 60, 1);
  CScheduleItem b = item(200, 60, 2);
  CScheduleItem c = item(300, 60, 3);
  ASSERT_EQ(list.Add(&a), 1);
  ASSERT_EQ(list.Add(&c), 1);
  ASSERT_EQ(list.InsertAt(1, &b), 1);
  ASSERT_EQ(list.InsertAt(3, &a), 1);  // just past the end appends
  ASSERT_EQ(list.GetCount(), 4);
  EXPECT_NE(list.GetAt(0), &a);
  a.start = 999;
  EXPECT_EQ(list.GetAt(0)->start, 100);
  EXPECT_EQ(list.GetAt(1)->start, 200);
  EXPECT_EQ(list.GetAt(2)->start, 300);
  EXPECT_EQ(list.GetAt(3)->start, 100);
}

TEST_F(ScheduleListTest, NoItemOrAPlaceOutsideTheListIsRefused) {
  CScheduleList list;
  CScheduleItem a = item(100, 60, 1);
  EXPECT_EQ(list.Add(nullptr), 0);
  EXPECT_EQ(list.InsertAt(0, nullptr), 0);
  EXPECT_EQ(list.InsertAt(-1, &a), 0);
  EXPECT_EQ(list.InsertAt(1, &a), 0);  // would leave a null item at 0
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.FindIndex(nullptr), -1);
  EXPECT_EQ(list.Remove(nullptr), 0);
  EXPECT_FALSE(list.FindConflict(nullptr));
  EXPECT_EQ(CScheduleList::CopyItem(nullptr, &a), 0);
  EXPECT_EQ(CScheduleList::CopyItem(&a, nullptr), 0);
  EXPECT_FALSE(CScheduleList::IsSameItem(&a, nullptr));
}

TEST_F(ScheduleListTest, ItemsAreKnownByStartDurationAndRecurrence) {
  CScheduleList list;
  CScheduleItem a = item(100, 60, 1);
  CScheduleItem b = item(100, 60, 2);
  list.Add(&a);
  list.Add(&b);
  list.Add(&a);
  CScheduleItem probe = item(100, 60, 1);
  probe.channel1 = 7;
  probe.mode = 1;
  probe.flag = 1;
  EXPECT_TRUE(CScheduleList::IsSameItem(&a, &probe));
  EXPECT_FALSE(CScheduleList::IsSameItem(&a, &b));
  EXPECT_EQ(list.FindIndex(&probe), 0);
  EXPECT_EQ(list.FindIndex(&b), 1);

  ASSERT_EQ(list.Remove(&probe), 1);  // the first of the two
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetAt(0)->recurrence, 2);
  EXPECT_EQ(list.FindIndex(&a), 1);
  CScheduleItem other = item(100, 61, 1);
  EXPECT_EQ(list.Remove(&other), 0);
  EXPECT_EQ(list.GetCount(), 2);
}

TEST_F(ScheduleListTest, CopyItemCopiesTheWholeRecord) {
  CScheduleItem source = item(100, 60, 4, 1);
  source.channel1 = 5;
  source.channel2 = 6;
  source.source = 2;
  source.mode = 1;
  source.action = 3;
  CScheduleList list;
  ASSERT_EQ(CScheduleList::CopyItem(&list.CurrentItem(), &source), 1);
  const CScheduleItem& copy = list.CurrentItem();
  EXPECT_EQ(std::memcmp(static_cast<const ScheduleRecord*>(&copy), static_cast<const ScheduleRecord*>(&source),
                        sizeof(ScheduleRecord)),
            0);
}

TEST_F(ScheduleListTest, KeywordsGiveRecurrencesInExactCaseOnly) {
  const char* keywords[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT", "DAY"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(CScheduleList::RecurrenceFromKeyword(keywords[i]), i) << keywords[i];
  EXPECT_EQ(CScheduleList::RecurrenceFromKeyword("ONCE"), 8);
  EXPECT_EQ(CScheduleList::RecurrenceFromKeyword("mon"), 8);
  EXPECT_EQ(CScheduleList::RecurrenceFromKeyword("MONDAY"), 8);
  EXPECT_EQ(CScheduleList::RecurrenceFromKeyword(""), 8);
  EXPECT_EQ(CScheduleList::RecurrenceFromKeyword(nullptr), 8);
}

}  // namespace

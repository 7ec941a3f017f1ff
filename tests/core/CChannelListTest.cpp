// The channel lists in memory: records filed by number and owned by the list, counts and
// currents, the record helpers, the tuned-channel text, and channel up and down.
#include "CChannelListTest.h"

namespace {

using test::NewRecord;

class ChannelListRecords : public test::ChannelListTest {};

TEST_F(ChannelListRecords, AddedRecordsAreFiledByNumberAndCounted) {
  ASSERT_EQ(channels.AddChannel(1, NewRecord(5, "Five")), 1);
  ASSERT_EQ(channels.AddChannel(1, NewRecord(2)), 1);
  ASSERT_EQ(channels.AddChannel(2, NewRecord(9)), 1);
  EXPECT_EQ(channels.GetChannelCount(1), 2);
  EXPECT_EQ(channels.GetChannelCount(2), 1);
  EXPECT_EQ(channels.GetFirstChannelNumber(1), 2);
  EXPECT_EQ(channels.GetLastChannelNumber(1), 5);
  ChannelRecord out{};
  ASSERT_EQ(channels.GetChannel(5, 1, &out), 1);
  EXPECT_STREQ(out.ChannelName, "Five");
  EXPECT_EQ(channels.HasChannel(9, 1), 0);
  EXPECT_EQ(channels.HasChannel(9, 2), 1);
}

TEST_F(ChannelListRecords, ARecordUnderATakenNumberReplacesTheOldOne) {
  ASSERT_EQ(channels.AddChannel(1, NewRecord(3, "Old")), 1);
  ASSERT_EQ(channels.AddChannel(1, NewRecord(3, "New")), 1);
  EXPECT_EQ(channels.GetChannelCount(1), 1);
  ChannelRecord out{};
  ASSERT_EQ(channels.GetChannel(3, 1, &out), 1);
  EXPECT_STREQ(out.ChannelName, "New");
}

TEST_F(ChannelListRecords, OtherListIdsAndBadRecordsAreRefusedAndStayTheCallers) {
  std::unique_ptr<ChannelRecord> record(NewRecord(1));
  EXPECT_EQ(channels.AddChannel(3, record.get()), 0);
  EXPECT_EQ(channels.AddChannel(0, record.get()), 0);
  EXPECT_EQ(channels.AddChannel(1, nullptr), 0);
  record->ChannelNumber = 0;
  EXPECT_EQ(channels.AddChannel(1, record.get()), 0) << "numbers start at 1";
  ChannelRecord out{};
  out.ChannelNumber = 77;
  EXPECT_EQ(channels.GetChannel(1, 3, &out), 0);
  EXPECT_EQ(out.ChannelNumber, 77) << "nothing was copied";
  EXPECT_EQ(channels.HasChannel(1, 3), 0);
  EXPECT_EQ(channels.UpdateChannel(1, 3, record.get()), 0);
  EXPECT_EQ(channels.RemoveChannel(1, 3), 0);
  EXPECT_EQ(channels.ClearList(3), 0);
  EXPECT_EQ(channels.GetChannelCount(3), -1);
  EXPECT_EQ(channels.GetCurrentChannel(3), -1);
  EXPECT_EQ(channels.GetFirstChannelNumber(3), -1);
}

TEST_F(ChannelListRecords, UpdateRemoveAndClear) {
  fill(1, {1, 2, 3});
  fill(2, {4});
  std::unique_ptr<ChannelRecord> changed(NewRecord(2, "Renamed", 200.5f, 1));
  EXPECT_EQ(channels.UpdateChannel(2, 1, changed.get()), 1);
  EXPECT_EQ(channels.UpdateChannel(8, 1, changed.get()), 0);
  EXPECT_EQ(channels.UpdateChannel(2, 1, nullptr), 0);
  EXPECT_EQ(channels.IsSkipped(2, 1), 1);
  EXPECT_EQ(channels.IsSkipped(1, 1), 0);
  EXPECT_EQ(channels.IsSkipped(8, 1), 0);
  EXPECT_STREQ(channels.GetStandardName(2, 1), "PAL_D");
  EXPECT_STREQ(channels.GetStandardName(8, 1), "");
  EXPECT_EQ(channels.RemoveChannel(2, 1), 1);
  EXPECT_EQ(channels.RemoveChannel(2, 1), 0);
  EXPECT_EQ(channels.GetChannelCount(1), 2);
  EXPECT_EQ(channels.ClearList(1), 1);
  EXPECT_EQ(channels.GetChannelCount(1), 0);
  EXPECT_EQ(channels.GetFirstChannelNumber(1), -1);
  EXPECT_EQ(channels.GetChannelCount(2), 1);
  channels.SetCurrentChannel(4, 2);
  channels.RemoveAll();
  EXPECT_EQ(channels.GetChannelCount(2), 0);
  EXPECT_EQ(channels.GetCurrentChannel(2), 4) << "the currents stay";
}

TEST_F(ChannelListRecords, PutChannelFilesWithoutCounting) {
  channels.PutChannel(6, 1, NewRecord(6));
  EXPECT_EQ(channels.HasChannel(6, 1), 1);
  EXPECT_EQ(channels.GetChannelCount(1), 0);
  channels.PutChannel(6, 1, NewRecord(6, "Again"));  // the first record is released
  ChannelRecord out{};
  ASSERT_EQ(channels.GetChannel(6, 1, &out), 1);
  EXPECT_STREQ(out.ChannelName, "Again");
  std::unique_ptr<ChannelRecord> refused(NewRecord(0));
  channels.PutChannel(0, 1, refused.get());
  EXPECT_EQ(channels.HasChannel(0, 1), 0);
  EXPECT_EQ(channels.RemoveChannel(6, 1), 1);
  EXPECT_EQ(channels.GetChannelCount(1), 0) << "never below 0";
}

TEST_F(ChannelListRecords, CopyingStopsAtTheFieldsWhenATextHasNoEnd) {
  ChannelRecord source{};
  std::memset(source.StandardName, 'S', sizeof source.StandardName);
  std::memset(source.ChannelName, 'N', sizeof source.ChannelName);
  source.Frequency = 55.25f;
  source.ChannelNumber = 4;
  source.SkipFlag = 1;
  ChannelRecord dest;
  std::memset(&dest, 0x7F, sizeof dest);
  ASSERT_EQ(CopyChannelRecord(&source, &dest), 1);
  EXPECT_EQ(std::string(dest.StandardName), std::string(9, 'S'));
  EXPECT_EQ(std::string(dest.ChannelName), std::string(61, 'N'));
  EXPECT_EQ(dest.Frequency, 55.25f);
  EXPECT_EQ(dest.ChannelNumber, 4);
  EXPECT_EQ(dest.SkipFlag, 1u);
  EXPECT_EQ(CopyChannelRecord(nullptr, &dest), 0);
  EXPECT_EQ(CopyChannelRecord(&source, nullptr), 0);
}

TEST_F(ChannelListRecords, RecordsAreEqualByTheirTextsAndNearlyEqualFrequencies) {
  std::unique_ptr<ChannelRecord> a(NewRecord(3, "Three", 175.25f));
  std::unique_ptr<ChannelRecord> b(NewRecord(3, "Three", 175.25005f));
  std::strcpy(b->ChannelName + 6, "");  // bytes after the NUL mean nothing
  b->ChannelName[7] = 'x';
  EXPECT_EQ(ChannelRecordsEqual(a.get(), b.get()), 1);
  b->Frequency = 175.2503f;
  EXPECT_EQ(ChannelRecordsEqual(a.get(), b.get()), 0);
  b->Frequency = a->Frequency;
  std::strcpy(b->StandardName, "PAL_B");
  EXPECT_EQ(ChannelRecordsEqual(a.get(), b.get()), 0);
  std::strcpy(b->StandardName, "PAL_D");
  b->SkipFlag = 1;
  EXPECT_EQ(ChannelRecordsEqual(a.get(), b.get()), 0);
  EXPECT_EQ(ChannelRecordsEqual(a.get(), nullptr), 0);
  EXPECT_EQ(channels.IsCurrentRecord(a.get()), 0) << "nothing tuned yet";
}

TEST_F(ChannelListRecords, TheActiveListFollowsTheVideoInput) {
  EXPECT_EQ(GetActiveChannelListIndex(), 1);
  settings().VideoInput = 2;
  EXPECT_EQ(GetActiveChannelListIndex(), 2);
  settings().VideoInput = 3;
  EXPECT_EQ(GetActiveChannelListIndex(), -1);
  EXPECT_EQ(GetPlanFirstChannel(), -1);
  settings().VideoInput = 1;
  EXPECT_EQ(GetPlanFirstChannel(), 1);
  EXPECT_EQ(GetPlanLastChannel(), 60);
  settings().CountryCode = 1;
  settings().VideoInput = 1;
  EXPECT_EQ(GetPlanFirstChannel(), 2);
  EXPECT_EQ(GetPlanLastChannel(), 69);
  settings().CountryCode = 999;
  EXPECT_EQ(GetPlanFirstChannel(), -1);
}

TEST_F(ChannelListRecords, TheTunedChannelText) {
  CString text;
  EXPECT_EQ(channels.GetTunedChannelText(text), 0);
  ASSERT_EQ(channels.AddChannel(1, NewRecord(3, "News")), 1);
  ASSERT_EQ(channels.TuneChannel(3, 1), 1);
  ASSERT_EQ(channels.GetTunedChannelText(text), 1);
  EXPECT_STREQ(text, "News 3");
  settings().VideoInput = 2;
  ASSERT_EQ(channels.GetTunedChannelText(text), 1);
  EXPECT_STREQ(text, "Channel 3") << "not in the active list";
}

class ChannelUpDown : public test::ChannelListTest {
 protected:
  int next(int current, int list = 1) {
    ChannelRecord out{};
    return channels.NextChannel(current, list, &out) ? out.ChannelNumber : 0;
  }
  int prev(int current, int list = 1) {
    ChannelRecord out{};
    return channels.PrevChannel(current, list, &out) ? out.ChannelNumber : 0;
  }
  void skip(int number) {
    ChannelRecord record{};
    ASSERT_EQ(channels.GetChannel(number, 1, &record), 1);
    record.SkipFlag = 1;
    ASSERT_EQ(channels.UpdateChannel(number, 1, &record), 1);
  }
};

TEST_F(ChannelUpDown, StepsWrapAtBothEnds) {
  fill(1, {1, 2, 3});
  EXPECT_EQ(next(1), 2);
  EXPECT_EQ(next(3), 1);
  EXPECT_EQ(prev(2), 1);
  EXPECT_EQ(prev(1), 3);
}

TEST_F(ChannelUpDown, GapsAndSkippedChannelsArePassedOver) {
  fill(1, {2, 5, 6, 9});
  skip(6);
  EXPECT_EQ(next(2), 5);
  EXPECT_EQ(next(5), 9);
  EXPECT_EQ(next(9), 2);
  EXPECT_EQ(prev(9), 5);
  EXPECT_EQ(prev(2), 9);
  EXPECT_EQ(prev(6), 5) << "from a skipped channel";
}

TEST_F(ChannelUpDown, NothingToStepTo) {
  EXPECT_EQ(next(1), 0) << "empty list";
  fill(1, {4});
  EXPECT_EQ(next(4), 0) << "the only channel is the current one";
  EXPECT_EQ(prev(4), 0);
  EXPECT_EQ(next(0), 4);
  fill(1, {7});
  skip(4);
  skip(7);
  EXPECT_EQ(next(4), 0);
  EXPECT_EQ(prev(7), 0);
  EXPECT_EQ(next(1, 3), 0) << "no such list";
}

TEST_F(ChannelUpDown, ACurrentOutsideTheListStartsFromItsEnds) {
  fill(1, {10, 11});
  EXPECT_EQ(next(0), 10);
  EXPECT_EQ(next(50), 10);
  EXPECT_EQ(prev(50), 11);
  EXPECT_EQ(prev(3), 11);
  fill(2, {1, 2});
  EXPECT_EQ(next(0, 2), 1);
}

TEST_F(ChannelUpDown, NumbersFarApartAreStepsOfOneRecord) {
  // Walking number by number would take billions of steps here.
  fill(1, {1, 1000000000, 2147483647});
  skip(1000000000);
  EXPECT_EQ(next(1), 2147483647);
  EXPECT_EQ(next(2147483647), 1);
  EXPECT_EQ(prev(1), 2147483647);
  EXPECT_EQ(prev(2147483647), 1);
  EXPECT_EQ(next(1000000000), 2147483647) << "from a skipped channel";
  EXPECT_EQ(prev(1000000000), 1);
}

TEST_F(ChannelUpDown, AListIsWalkedInNumberOrderWhateverTheGaps) {
  fill(1, {3, 1000000000, 2147483647});
  fill(2, {8});
  EXPECT_EQ(channels.GetNextChannelNumber(0, 1), 3);
  EXPECT_EQ(channels.GetNextChannelNumber(3, 1), 1000000000);
  EXPECT_EQ(channels.GetNextChannelNumber(4, 1), 1000000000);
  EXPECT_EQ(channels.GetNextChannelNumber(1000000000, 1), 2147483647);
  EXPECT_EQ(channels.GetNextChannelNumber(2147483647, 1), -1) << "after the last";
  EXPECT_EQ(channels.GetNextChannelNumber(-5, 2), 8);
  EXPECT_EQ(channels.GetNextChannelNumber(8, 2), -1);
  EXPECT_EQ(channels.GetNextChannelNumber(0, 3), -1) << "no such list";
}

}  // namespace

// Tuning: which record each operation tunes, how it keeps the current, previous and tuned
// records, its range checks, and the settling waits it takes on the machine clock.
#include "CChannelListTest.h"

#include "core/CAppController.h"

#include <vendor/chanloret/Chanloret.h>

#include <string>
#include <vector>

namespace {

using test::NewRecord;

class ChannelTuning : public test::ChannelListTest {
 protected:
  // Germany: plan 1 holds 60 channels, plan 2 101.
  void SetUp() override {
    fill(1, {1, 3, 7});
    ASSERT_EQ(channels.AddChannel(1, NewRecord(5, "Skipped", 105.0f, 1)), 1);
  }
};

TEST_F(ChannelTuning, TheFirstTuningFillsAllThreeRecords) {
  ASSERT_EQ(g_pCurrentChannelRecord, nullptr);
  EXPECT_EQ(waited([&] { EXPECT_EQ(channels.TuneChannel(3, 1), 1); }), 300u);
  ASSERT_NE(g_pCurrentChannelRecord, nullptr);
  ASSERT_NE(g_pPreviousChannelRecord, nullptr);
  ASSERT_NE(g_pTunedChannelRecord, nullptr);
  EXPECT_EQ(g_pCurrentChannelRecord->ChannelNumber, 3);
  EXPECT_EQ(g_pPreviousChannelRecord->ChannelNumber, 3);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 3);
  EXPECT_EQ(channels.GetCurrentChannel(1), 3);
  EXPECT_EQ(channels.IsCurrentRecord(g_pTunedChannelRecord), 1);
}

TEST_F(ChannelTuning, EachTuningMovesTheCurrentRecordToPrevious) {
  ASSERT_EQ(channels.TuneChannel(1, 1), 1);
  ASSERT_EQ(channels.TuneChannel(7, 1), 1);
  EXPECT_EQ(g_pPreviousChannelRecord->ChannelNumber, 1);
  EXPECT_EQ(g_pCurrentChannelRecord->ChannelNumber, 7);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 7);
  EXPECT_EQ(channels.GetCurrentChannel(1), 7);
  EXPECT_NE(g_pTunedChannelRecord, g_pCurrentChannelRecord);
}

TEST_F(ChannelTuning, ChannelsMissingOrSkippedAreNotTuned) {
  EXPECT_EQ(channels.TuneChannel(2, 1), 0);
  EXPECT_EQ(channels.TuneChannel(5, 1), 0) << "skipped";
  EXPECT_EQ(channels.TuneChannel(1, 3), 0);
  EXPECT_EQ(g_pCurrentChannelRecord, nullptr);
  EXPECT_EQ(channels.GetCurrentChannel(1), 0);
  EXPECT_EQ(channels.TuneChannelQuick(5, 1), 1) << "the quick tuning takes skipped channels";
}

TEST_F(ChannelTuning, EachOperationWaitsForTheTunerToSettle) {
  EXPECT_EQ(waited([&] { EXPECT_EQ(channels.TuneChannelInRange(3, 1), 1); }), 600u);
  EXPECT_EQ(waited([&] { EXPECT_EQ(channels.TuneChannelQuick(7, 1), 1); }), 400u);
  EXPECT_EQ(waited([&] { EXPECT_EQ(channels.TuneChannelInRangeMuted(1, 1), 1); }), 200u);
  EXPECT_EQ(waited([&] { EXPECT_EQ(channels.TuneNumber(3, 1), 1); }), 600u) << "a list record";
  EXPECT_EQ(waited([&] { EXPECT_EQ(channels.TuneNumber(9, 1), 1); }), 400u) << "a plan entry";
  EXPECT_EQ(waited([&] { EXPECT_EQ(channels.TuneNumberMuted(3, 1), 1); }), 200u);
  EXPECT_EQ(waited([&] { EXPECT_EQ(channels.TuneNumberMuted(9, 1), 1); }), 200u);
  EXPECT_EQ(waited([&] { EXPECT_EQ(channels.TunePreviousChannel(), 1); }), 600u);
}

TEST_F(ChannelTuning, RangeChecksUseThePlanOfTheVideoInput) {
  ASSERT_EQ(channels.AddChannel(1, NewRecord(61)), 1);
  EXPECT_EQ(channels.TuneChannelInRange(61, 1), 0) << "beyond the 60 channels of plan 1";
  EXPECT_EQ(channels.TuneChannelInRangeMuted(61, 1), 0);
  EXPECT_EQ(channels.TuneChannel(61, 1), 1) << "no range check";
  EXPECT_EQ(channels.TuneChannelInRange(0, 1), 0);
  EXPECT_EQ(channels.TuneChannelQuick(-1, 1), 0);
  settings().CountryCode = 999;
  EXPECT_EQ(channels.TuneChannelInRange(3, 1), 0) << "no plan at all";
}

TEST_F(ChannelTuning, APlanEntryIsTunedByNumberWithoutTouchingTheTunedRecord) {
  ASSERT_EQ(channels.TuneChannel(3, 1), 1);
  ASSERT_EQ(channels.TuneNumber(12, 1), 1);
  EXPECT_EQ(g_pCurrentChannelRecord->ChannelNumber, 12);
  EXPECT_STREQ(g_pCurrentChannelRecord->ChannelName, "Channel12");
  EXPECT_STREQ(g_pCurrentChannelRecord->StandardName, "PAL_B");
  EXPECT_EQ(g_pCurrentChannelRecord->Frequency, 471250000 * 0.000001f) << "E21";
  EXPECT_EQ(g_pCurrentChannelRecord->SkipFlag, 0u);
  EXPECT_EQ(g_pPreviousChannelRecord->ChannelNumber, 3);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 3);
  EXPECT_EQ(channels.GetCurrentChannel(1), 12);
  CString text;
  ASSERT_EQ(channels.GetTunedChannelText(text), 1);
  EXPECT_STREQ(text, "Channel 12");
}

TEST_F(ChannelTuning, TuningAPlanEntryStopsARunningScan) {
  ScanRunning = 1;
  ASSERT_EQ(channels.TuneNumber(3, 1), 1);
  EXPECT_EQ(ScanRunning, 1) << "a list record leaves the scan alone";
  ASSERT_EQ(channels.TuneNumber(9, 1), 1);
  EXPECT_EQ(ScanRunning, 0);
}

TEST_F(ChannelTuning, APlanEntryAsTheVeryFirstTuning) {
  ASSERT_EQ(channels.TuneNumber(7, 2), 1) << "7 is in list 1 only";
  EXPECT_STREQ(g_pCurrentChannelRecord->ChannelName, "Channel7");
  EXPECT_EQ(g_pPreviousChannelRecord->ChannelNumber, 0);
  EXPECT_EQ(g_pTunedChannelRecord, nullptr);
  EXPECT_EQ(channels.GetCurrentChannel(2), 7);
}

TEST_F(ChannelTuning, PlanEntriesAreCheckedAgainstThePlanTheyComeFrom) {
  // Cable has 101 channels in Germany, the antenna plan of the video input only 60.
  ASSERT_EQ(channels.TuneNumber(101, 2), 1);
  EXPECT_EQ(g_pCurrentChannelRecord->Frequency, 855250000 * 0.000001f);
  EXPECT_EQ(channels.TuneNumber(102, 2), 0);
  EXPECT_EQ(channels.TuneNumber(61, 1), 0);
  EXPECT_EQ(channels.TuneNumber(0, 1), 0);
  EXPECT_EQ(channels.TuneNumber(1, 3), 0);
  settings().CountryCode = 999;
  EXPECT_EQ(channels.TuneNumber(9, 1), 0) << "no table";
  // The United States number their air channels from 2: entry 68 is channel 69.
  settings().CountryCode = 1;
  ASSERT_EQ(channels.TuneNumberMuted(68, 1), 1);
  EXPECT_EQ(g_pCurrentChannelRecord->Frequency, 801250000 * 0.000001f);
  EXPECT_EQ(channels.TuneNumber(69, 1), 0);
}

TEST_F(ChannelTuning, RecallTogglesBetweenTheLastTwoChannels) {
  EXPECT_EQ(channels.TunePreviousChannel(), 0) << "nothing tuned yet";
  ASSERT_EQ(channels.TuneChannel(1, 1), 1);
  ASSERT_EQ(channels.TuneChannel(7, 1), 1);
  ASSERT_EQ(channels.TunePreviousChannel(), 1);
  EXPECT_EQ(g_pCurrentChannelRecord->ChannelNumber, 1);
  EXPECT_EQ(g_pPreviousChannelRecord->ChannelNumber, 7);
  EXPECT_EQ(g_pTunedChannelRecord->ChannelNumber, 1);
  EXPECT_NE(g_pTunedChannelRecord, g_pCurrentChannelRecord) << "a copy, freed on its own";
  EXPECT_EQ(channels.GetCurrentChannel(1), 1);
  ASSERT_EQ(channels.TunePreviousChannel(), 1);
  EXPECT_EQ(g_pCurrentChannelRecord->ChannelNumber, 7);
  EXPECT_EQ(channels.GetCurrentChannel(1), 7);
}

TEST_F(ChannelTuning, RecallNeedsThePreviousChannelInTheList) {
  ASSERT_EQ(channels.TuneChannel(1, 1), 1);
  ASSERT_EQ(channels.TuneChannel(3, 1), 1);
  ASSERT_EQ(channels.RemoveChannel(1, 1), 1);
  EXPECT_EQ(channels.TunePreviousChannel(), 0);
  EXPECT_EQ(g_pCurrentChannelRecord->ChannelNumber, 3);
  settings().VideoInput = 2;
  fill(2, {1});
  EXPECT_EQ(channels.TunePreviousChannel(), 1) << "inputs other than 1 recall from list 2";
  EXPECT_EQ(channels.GetCurrentChannel(2), 1);
}

// What a list asks of its host, in order.
class RecordingHost : public IChannelTuningHost {
 public:
  void SetAudioOn(int on) override { calls.push_back(on ? "audio on" : "audio off"); }
  void ApplyChannelStandard(CString standardName) override {
    calls.push_back(std::string("standard ") + static_cast<LPCSTR>(standardName));
  }
  std::vector<std::string> calls;
};

TEST_F(ChannelTuning, TheHostMutesAroundMutedTuningsAndGivesTheDecoderEachNewStandard) {
  RecordingHost host;
  CChannelList hosted(&host);
  ASSERT_EQ(hosted.AddChannel(1, NewRecord(1, nullptr, 175.25f, 0, "PAL_B")), 1);
  ASSERT_EQ(hosted.AddChannel(1, NewRecord(2, nullptr, 182.25f, 0, "PAL_B")), 1);
  ASSERT_EQ(hosted.AddChannel(1, NewRecord(3, nullptr, 189.25f, 0, "SECAM_B")), 1);
  ASSERT_EQ(hosted.TuneChannel(1, 1), 1);
  ASSERT_EQ(hosted.TuneChannel(2, 1), 1);
  EXPECT_TRUE(host.calls.empty()) << "the first standard is taken as in force, the same one is not applied";
  ASSERT_EQ(hosted.TuneChannel(3, 1), 1);
  ASSERT_EQ(hosted.TuneChannelInRangeMuted(3, 1), 1);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"standard SECAM_B", "audio off", "standard SECAM_B", "audio on"}));

  host.calls.clear();
  settings().CountryCode = 1;
  ASSERT_EQ(hosted.TuneChannelInRangeMuted(1, 1), 1);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"audio off", "audio on"})) << "a 45.75 MHz country has no standard step";
}

}  // namespace

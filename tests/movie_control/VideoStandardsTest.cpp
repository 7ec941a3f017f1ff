#include <movie_control/CCountryTable.h>
#include <movie_control/CVideoStandardTable.h>

#include <com/hresult.h>

#include <gtest/gtest.h>

#include <string>

TEST(VideoStandardsTest, NamesAreFoundWithoutRegardToCaseAndOnlyWhole) {
  long bit = -5;
  EXPECT_EQ(CVideoStandardTable::StandardFromName("pal_i", &bit), S_OK);
  EXPECT_EQ(bit, 0x100);
  EXPECT_EQ(CVideoStandardTable::StandardFromName("None", &bit), S_OK);
  EXPECT_EQ(bit, 0);
  EXPECT_EQ(CVideoStandardTable::StandardFromName("PAL", &bit), E_FAIL);
  EXPECT_EQ(CVideoStandardTable::StandardFromName("", &bit), E_FAIL);
  EXPECT_EQ(CVideoStandardTable::StandardFromName("PAL_N_COMBO", &bit), S_OK);
  EXPECT_EQ(bit, 0x100000);
}

TEST(VideoStandardsTest, BitsGiveTheirNamesTerminatedWithinTheBuffer) {
  char name[16];
  EXPECT_EQ(CVideoStandardTable::NameFromStandard(0, name, sizeof name), S_OK);
  EXPECT_STREQ(name, "None");
  EXPECT_EQ(CVideoStandardTable::NameFromStandard(0x20000, name, sizeof name), S_OK);
  EXPECT_STREQ(name, "SECAM_K1");
  EXPECT_EQ(CVideoStandardTable::NameFromStandard(0x8, name, sizeof name), E_FAIL);
  // The closing row's bit is no standard.
  EXPECT_EQ(CVideoStandardTable::NameFromStandard(-1, name, sizeof name), E_FAIL);
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(CVideoStandardTable::NameFromStandard(0x10, small, sizeof small), S_OK);
  EXPECT_STREQ(small, "PAL");
  EXPECT_EQ(CVideoStandardTable::NameFromStandard(0x10, small, 0), E_FAIL);
}

TEST(VideoStandardsTest, TheTableEndsWithItsClosingRowAndNamesEachBitOnce) {
  const auto rows = CVideoStandardTable::Rows();
  ASSERT_EQ(rows.size(), 22u);
  EXPECT_EQ(rows.back().bit, -1);
  EXPECT_EQ(rows.back().name, nullptr);
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    long bit = -1;
    ASSERT_EQ(CVideoStandardTable::StandardFromName(rows[i].name, &bit), S_OK) << rows[i].name;
    EXPECT_EQ(bit, rows[i].bit);
  }
}

TEST(CountryTableTest, GroupsGiveTheirRangesAndStandards) {
  const auto japan = CCountryTable::CountryRecord(81);
  ASSERT_TRUE(japan);
  EXPECT_EQ(japan->firstBroadcastChannel, 1);
  EXPECT_EQ(japan->lastBroadcastChannel, 62);
  EXPECT_EQ(japan->firstCableChannel, 1);
  EXPECT_EQ(japan->lastCableChannel, 113);
  EXPECT_STREQ(japan->standardName, "NTSC_M_J");

  const auto states = CCountryTable::CountryRecord(1);
  ASSERT_TRUE(states);
  EXPECT_EQ(states->firstBroadcastChannel, 2);
  EXPECT_EQ(states->lastBroadcastChannel, 69);
  EXPECT_EQ(states->lastCableChannel, 158);
  EXPECT_STREQ(states->standardName, "NTSC_M");
  EXPECT_EQ(states->broadcastFrequencies.front(), 55'250'000);
  EXPECT_EQ(states->broadcastFrequencies.back(), 801'250'000);

  const struct {
    long code;
    const char* standard;
    std::int32_t lastBroadcast, lastCable;
  } groups[] = {{355, "PAL_B", 69, 107},    {220, "PAL_I", 69, 107}, {218, "SECAM_B", 69, 107},
                {235, "SECAM_D", 69, 107},  {216, "SECAM_K1", 69, 107}, {595, "PAL_N", 69, 158},
                {856, "PAL_M", 69, 158},    {852, "PAL_I", 97, 97},  {86, "PAL_D", 68, 105}};
  for (const auto& group : groups) {
    const auto record = CCountryTable::CountryRecord(group.code);
    ASSERT_TRUE(record) << group.code;
    EXPECT_STREQ(record->standardName, group.standard) << group.code;
    EXPECT_EQ(record->lastBroadcastChannel, group.lastBroadcast) << group.code;
    EXPECT_EQ(record->lastCableChannel, group.lastCable) << group.code;
  }
}

TEST(CountryTableTest, EveryTableHoldsOneFrequencyPerChannelAndUnlistedCodesHaveNone) {
  for (long code : {1L, 7L, 44L, 49L, 81L, 86L, 216L, 852L, 1876L}) {
    const auto record = CCountryTable::CountryRecord(code);
    ASSERT_TRUE(record) << code;
    EXPECT_EQ(static_cast<std::int32_t>(record->broadcastFrequencies.size()),
              record->lastBroadcastChannel - record->firstBroadcastChannel + 1);
    EXPECT_EQ(static_cast<std::int32_t>(record->cableFrequencies.size()),
              record->lastCableChannel - record->firstCableChannel + 1);
  }
  // The European groups share one pair of tables.
  EXPECT_EQ(CCountryTable::CountryRecord(355)->broadcastFrequencies.data(),
            CCountryTable::CountryRecord(216)->broadcastFrequencies.data());
  EXPECT_FALSE(CCountryTable::CountryRecord(0));
  EXPECT_FALSE(CCountryTable::CountryRecord(999));
  EXPECT_FALSE(CCountryTable::CountryRecord(-1));
}

#include <movie_control/CCountryTable.h>
#include <movie_control/CVideoStandardTable.h>

#include <com/hresult.h>
#include <support/TestMachine.h>
#include <vendor/chanloret/Chanloret.h>
#include <win32/module.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Every example code of each group, as the control's documentation lists them.
TEST(CountryTableTest, TheListedCodesOfEachGroupCarryItsStandard) {
  const struct {
    const char* standard;
    std::vector<long> codes;
  } groups[] = {
      {"NTSC_M", {57, 58, 63}},
      {"PAL_B", {355, 356, 357, 358, 370, 371, 378, 381, 383, 386, 387, 389, 421, 423, 675, 682, 685, 686, 960, 961,
                 962, 965, 966, 967, 968, 971, 972, 973, 974, 977}},
      {"PAL_I", {220, 500, 852, 853}},
      {"SECAM_B", {218, 222, 230, 253, 963, 964}},
      {"SECAM_D", {235, 242, 359, 372, 373, 374, 375, 380, 976, 992, 993, 994, 996}},
      {"SECAM_K1", {216, 223, 224, 225, 226, 227, 228, 229, 236, 240, 241, 243, 250, 257, 261, 262, 269, 508, 590,
                    594, 596, 687, 689, 855, 876}},
      {"PAL_N", {595, 598}},
      {"PAL_M", {856}},
  };
  for (const auto& group : groups) {
    for (long code : group.codes) {
      const auto record = CCountryTable::CountryRecord(code);
      ASSERT_TRUE(record) << code;
      EXPECT_STREQ(record->standardName, group.standard) << code;
    }
  }
}

// The control numbers the channels of about 250 countries, among them those a user of
// the control is most likely to be in.
TEST(CountryTableTest, CountriesOnEveryContinentHaveChannels) {
  const struct {
    long code;
    const char* standard;
  } countries[] = {{32, "PAL_B"},  {56, "NTSC_M"}, {51, "NTSC_M"},  {60, "PAL_B"}, {66, "PAL_B"},
                   {377, "SECAM_L"}, {33, "SECAM_L"}, {385, "PAL_B"}, {221, "SECAM_K1"}, {995, "SECAM_D"}};
  for (const auto& country : countries) {
    const auto record = CCountryTable::CountryRecord(country.code);
    ASSERT_TRUE(record) << country.code;
    EXPECT_STREQ(record->standardName, country.standard) << country.code;
    EXPECT_LT(record->firstBroadcastChannel, record->lastBroadcastChannel) << country.code;
  }
  int listed = 0;
  for (long code = 0; code < 10000; ++code) listed += CCountryTable::CountryRecord(code) ? 1 : 0;
  EXPECT_GE(listed, 225);
  EXPECT_LE(listed, 275);
}

// The main program's country catalogue and the control tell a user the same standard
// for every country both know.
TEST(CountryTableTest, EveryCountryOfTheFrequencyLibraryHasTheSameStandardHere) {
  test::TestMachine testMachine;
  HMODULE library = LoadLibraryA("Chanloret.dll");
  ASSERT_NE(library, nullptr);
  const auto count = reinterpret_cast<int (*)()>(GetProcAddress(library, "GetCountryNumber"));
  const auto nameAt = reinterpret_cast<const char* (*)(int)>(GetProcAddress(library, "GetCountryName"));
  const auto codeOf = reinterpret_cast<int (*)(const char*)>(GetProcAddress(library, "GetCountryCode"));
  const auto tableOf =
      reinterpret_cast<FrequencyTable* (*)(int)>(GetProcAddress(library, "getFrequencyTableFromCountryCode"));
  ASSERT_TRUE(count && nameAt && codeOf && tableOf);
  ASSERT_GT(count(), 30);
  for (int i = 0; i < count(); ++i) {
    const int code = codeOf(nameAt(i));
    const FrequencyTable* table = tableOf(code);
    ASSERT_NE(table, nullptr) << nameAt(i);
    const auto record = CCountryTable::CountryRecord(code);
    ASSERT_TRUE(record) << nameAt(i) << " (" << code << ") has no channels in the control";
    EXPECT_STREQ(record->standardName, table->StandardName) << nameAt(i);
  }
  FreeLibrary(library);
}

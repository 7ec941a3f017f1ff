// ".chl" files byte for byte: a hand-built file loaded and written back unchanged, the
// default file and lists of several countries, and bad files refused with the lists kept.
#include "CChannelListTest.h"

#include <vendor/chanloret/Chanloret.h>

#include <filesystem>

namespace {

using test::Bytes;
using test::intAt;
using test::NewRecord;
using test::putInt;
using test::putText;
using test::textAt;

constexpr std::size_t kHeader = 16;
constexpr std::size_t kRecord = 84;

void putFloat(Bytes& bytes, std::size_t offset, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  putInt(bytes, offset, static_cast<std::int32_t>(bits));
}

float floatAt(const Bytes& bytes, std::size_t offset) {
  const auto bits = static_cast<std::uint32_t>(intAt(bytes, offset));
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

struct RecordBytes {
  std::uint32_t skip;
  const char* standard;
  std::string name;
  float mhz;
  std::int32_t number;
};

void putRecord(Bytes& bytes, std::size_t offset, const RecordBytes& r) {
  putInt(bytes, offset, static_cast<std::int32_t>(r.skip));
  putText(bytes, offset + 4, r.standard);
  putText(bytes, offset + 14, r.name);
  putFloat(bytes, offset + 76, r.mhz);
  putInt(bytes, offset + 80, r.number);
}

class ChannelFiles : public test::ChannelListTest {
 protected:
  std::string path(const char* name = "Test.chl") { return programPath(name); }

  // Two antenna channels (one skipped, one named with 61 characters) and one cable
  // channel, in ascending order within each list as a save writes them.
  Bytes handBuiltFile() {
    Bytes bytes(kHeader + 3 * kRecord, 0);
    putInt(bytes, 0, 4);
    putInt(bytes, 4, 12);
    putInt(bytes, 8, 2);
    putInt(bytes, 12, 1);
    putRecord(bytes, kHeader, {1, "PAL_B", "Channel2", 55.25f, 2});
    putRecord(bytes, kHeader + kRecord, {0, "PAL_B", std::string(61, 'L'), 471.25f, 4});
    putRecord(bytes, kHeader + 2 * kRecord, {0, "SECAM_L", "Cable Twelve", 231.25f, 12});
    return bytes;
  }

  // Lists the test can recognise as untouched.
  void fillKnownLists() {
    fill(1, {1, 2, 3});
    fill(2, {7});
    channels.SetCurrentChannel(2, 1);
    channels.SetCurrentChannel(7, 2);
  }
  void expectKnownLists() {
    EXPECT_EQ(channels.GetChannelCount(1), 3);
    EXPECT_EQ(channels.GetChannelCount(2), 1);
    EXPECT_EQ(channels.HasChannel(3, 1), 1);
    EXPECT_EQ(channels.HasChannel(7, 2), 1);
    EXPECT_EQ(channels.GetCurrentChannel(1), 2);
    EXPECT_EQ(channels.GetCurrentChannel(2), 7);
  }
};

TEST_F(ChannelFiles, AHandBuiltFileLoadsAndSavesBackByteForByte) {
  const Bytes file = handBuiltFile();
  writeBytes(path(), file);
  ASSERT_EQ(channels.LoadFile(path().c_str()), 1);
  EXPECT_EQ(channels.GetCurrentChannel(1), 4);
  EXPECT_EQ(channels.GetCurrentChannel(2), 12);
  EXPECT_EQ(channels.GetChannelCount(1), 2);
  EXPECT_EQ(channels.GetChannelCount(2), 1);
  ChannelRecord r{};
  ASSERT_EQ(channels.GetChannel(2, 1, &r), 1);
  EXPECT_EQ(r.SkipFlag, 1u);
  EXPECT_STREQ(r.StandardName, "PAL_B");
  EXPECT_EQ(r.Frequency, 55.25f);
  ASSERT_EQ(channels.GetChannel(4, 1, &r), 1);
  EXPECT_EQ(std::string(r.ChannelName), std::string(61, 'L'));
  ASSERT_EQ(channels.GetChannel(12, 2, &r), 1);
  EXPECT_STREQ(r.ChannelName, "Cable Twelve");
  EXPECT_STREQ(r.StandardName, "SECAM_L");

  ASSERT_EQ(channels.SaveFile(path("Copy.chl").c_str()), 1);
  EXPECT_EQ(readBytes(path("Copy.chl")), file);
}

TEST_F(ChannelFiles, SavingReplacesAnOlderFileWhole) {
  writeBytes(path(), Bytes(1000, 0xEE));
  fill(1, {5});
  ASSERT_EQ(channels.SaveFile(path().c_str()), 1);
  const Bytes bytes = readBytes(path());
  ASSERT_EQ(bytes.size(), kHeader + kRecord);
  EXPECT_EQ(intAt(bytes, 8), 1);
  EXPECT_EQ(intAt(bytes, kHeader + 80), 5);
  EXPECT_EQ(textAt(bytes, kHeader + 14, 62), "Channel5");
  EXPECT_FALSE(exists(path() + ".new"));
}

TEST_F(ChannelFiles, TheHeaderCountsTheRecordsWritten) {
  fill(1, {1, 2});
  ASSERT_EQ(channels.AddChannel(1, NewRecord(2, "Replaced")), 1);
  channels.PutChannel(3, 1, NewRecord(3));  // filed without counting
  channels.SetChannelCount(40, 2);          // a count with no records behind it
  ASSERT_EQ(channels.SaveFile(path().c_str()), 1);
  const Bytes bytes = readBytes(path());
  EXPECT_EQ(intAt(bytes, 8), 3);
  EXPECT_EQ(intAt(bytes, 12), 0);
  EXPECT_EQ(bytes.size(), kHeader + 3 * kRecord);
  CChannelList again;
  ASSERT_EQ(again.LoadFile(path().c_str()), 1);
  EXPECT_EQ(again.GetChannelCount(1), 3);
  ChannelRecord r{};
  ASSERT_EQ(again.GetChannel(2, 1, &r), 1);
  EXPECT_STREQ(r.ChannelName, "Replaced");
}

TEST_F(ChannelFiles, AFileShorterThanItsHeaderPromisesChangesNothing) {
  fillKnownLists();
  Bytes file = handBuiltFile();
  file.resize(kHeader + 2 * kRecord + 40);
  writeBytes(path(), file);
  EXPECT_EQ(channels.LoadFile(path().c_str()), 0);
  expectKnownLists();
  file.resize(10);
  writeBytes(path(), file);
  EXPECT_EQ(channels.LoadFile(path().c_str()), 0);
  expectKnownLists();
}

TEST_F(ChannelFiles, ForeignFilesChangeNothing) {
  fillKnownLists();
  const std::string text = "[Settings]\r\nThis is not a channel list at all, but it is long enough.\r\n";
  writeBytes(path(), Bytes(text.begin(), text.end()));
  EXPECT_EQ(channels.LoadFile(path().c_str()), 0);
  Bytes file = handBuiltFile();
  putInt(file, 8, -1);
  writeBytes(path(), file);
  EXPECT_EQ(channels.LoadFile(path().c_str()), 0) << "negative count";
  file = handBuiltFile();
  file.resize(file.size() + kRecord);
  writeBytes(path(), file);
  EXPECT_EQ(channels.LoadFile(path().c_str()), 0) << "more records than the header counts";
  file = handBuiltFile();
  putInt(file, kHeader + kRecord + 80, 0);
  writeBytes(path(), file);
  EXPECT_EQ(channels.LoadFile(path().c_str()), 0) << "channel number 0";
  file = handBuiltFile();
  putInt(file, kHeader + 76, 0x7FC00000);  // not a number
  writeBytes(path(), file);
  EXPECT_EQ(channels.LoadFile(path().c_str()), 0) << "frequency not a number";
  EXPECT_EQ(channels.LoadFile(path("Missing.chl").c_str()), 0);
  EXPECT_EQ(channels.LoadFile(nullptr), 0);
  expectKnownLists();
}

TEST_F(ChannelFiles, TextsWithoutTheirEndAreCutToTheirFields) {
  Bytes file = handBuiltFile();
  std::memset(file.data() + kHeader + 4, 'S', 10);
  std::memset(file.data() + kHeader + 14, 'N', 62);
  writeBytes(path(), file);
  ASSERT_EQ(channels.LoadFile(path().c_str()), 1);
  ChannelRecord r{};
  ASSERT_EQ(channels.GetChannel(2, 1, &r), 1);
  EXPECT_EQ(std::string(r.StandardName), std::string(9, 'S'));
  EXPECT_EQ(std::string(r.ChannelName), std::string(61, 'N'));
  CString text;
  ASSERT_EQ(channels.TuneChannelQuick(2, 1), 1);
  ASSERT_EQ(channels.GetTunedChannelText(text), 1);
  EXPECT_EQ(text.GetLength(), 61 + 2);
}

TEST_F(ChannelFiles, ASaveThatCannotBeWrittenFails) {
  fill(1, {1});
  EXPECT_EQ(channels.SaveFile(programPath("No Such Folder\\Test.chl").c_str()), 0);
  EXPECT_EQ(channels.SaveFile(nullptr), 0);
}

TEST_F(ChannelFiles, TheDefaultFileOfACountryComesStraightFromItsTable) {
  settings().CountryCode = 86;
  ASSERT_EQ(channels.BuildDefaultListFile(path().c_str()), 1);
  const Bytes bytes = readBytes(path());
  const FrequencyTable* china = getFrequencyTableFromCountryCode(86);
  ASSERT_NE(china, nullptr);
  const int count1 = china->LastChannel1 - china->FirstChannel1 + 1;
  const int count2 = china->LastChannel2 - china->FirstChannel2 + 1;
  ASSERT_EQ(bytes.size(), kHeader + (count1 + count2) * kRecord);
  EXPECT_EQ(intAt(bytes, 0), 1);
  EXPECT_EQ(intAt(bytes, 4), 1);
  EXPECT_EQ(intAt(bytes, 8), count1);
  EXPECT_EQ(intAt(bytes, 12), count2);
  // Record 13 of list 1: DS13 at 471.25 MHz.
  const std::size_t r13 = kHeader + 12 * kRecord;
  EXPECT_EQ(intAt(bytes, r13), 0);
  EXPECT_EQ(textAt(bytes, r13 + 4, 10), "PAL_D");
  EXPECT_EQ(textAt(bytes, r13 + 14, 62), "Channel13");
  EXPECT_EQ(floatAt(bytes, r13 + 76), 471250000 * 0.000001f);
  EXPECT_EQ(intAt(bytes, r13 + 80), 13);
  // The first cable record follows the last antenna record.
  const std::size_t c1 = kHeader + count1 * kRecord;
  EXPECT_EQ(intAt(bytes, c1 + 80), 1);
  EXPECT_EQ(floatAt(bytes, c1 + 76), 49750000 * 0.000001f);
  ASSERT_EQ(channels.LoadFile(path().c_str()), 1);
  EXPECT_EQ(channels.GetChannelCount(2), count2);
}

TEST_F(ChannelFiles, NoDefaultFileWithoutATable) {
  settings().CountryCode = 0;
  EXPECT_EQ(channels.BuildDefaultListFile(path().c_str()), 0);
  EXPECT_FALSE(exists(path()));
  EXPECT_EQ(channels.BuildDefaultListFile(nullptr), 0);
}

TEST_F(ChannelFiles, DefaultListsOfSeveralCountries) {
  struct Expect {
    int country;
    int count1;
    int count2;
    const char* standard;
    std::int32_t firstHz;
  } cases[] = {{1, 68, 125, "NTSC_M", 55250000},   {49, 60, 101, "PAL_B", 48250000},
               {44, 49, 49, "PAL_I", 471250000},   {81, 62, 63, "NTSC_M_J", 91250000},
               {7, 61, 99, "SECAM_D", 49750000},   {55, 68, 125, "PAL_M", 55250000}};
  for (const Expect& e : cases) {
    settings().CountryCode = e.country;
    ASSERT_EQ(channels.BuildDefaultLists(), 1) << e.country;
    EXPECT_EQ(channels.GetChannelCount(1), e.count1) << e.country;
    EXPECT_EQ(channels.GetChannelCount(2), e.count2) << e.country;
    EXPECT_EQ(channels.GetFirstChannelNumber(1), 1);
    EXPECT_EQ(channels.GetLastChannelNumber(1), e.count1);
    ChannelRecord r{};
    ASSERT_EQ(channels.GetChannel(1, 1, &r), 1);
    EXPECT_STREQ(r.StandardName, e.standard) << e.country;
    EXPECT_STREQ(r.ChannelName, "Channel1");
    EXPECT_EQ(r.Frequency, e.firstHz * 0.000001f) << e.country;
    EXPECT_EQ(r.SkipFlag, 0u);
  }
}

TEST_F(ChannelFiles, RebuildingForACountryWithoutATableKeepsTheLists) {
  fillKnownLists();
  settings().CountryCode = 0;
  EXPECT_EQ(channels.BuildDefaultLists(), 0);
  expectKnownLists();
  settings().CountryCode = 49;
  ASSERT_EQ(channels.BuildDefaultLists(), 1);
  EXPECT_EQ(channels.GetCurrentChannel(1), 2) << "the currents stay";
  EXPECT_EQ(channels.GetCurrentChannel(2), 7);
}

}  // namespace

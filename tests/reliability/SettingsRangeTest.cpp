// "ZRQData.dat" of the right size with values no table allows: each such value takes its
// default when loaded, on both sides of its range, while flags, reserved fields and texts
// are kept; a file of random values starts a program that tunes and shows its channel.
#include "CoreTest.h"

#include "core/data/CChannelList.h"

#include <random>

namespace {

using test::Bytes;
using test::intAt;
using test::putInt;

constexpr std::size_t kRecordSize = 768;

struct Range {
  const char* field;
  std::size_t offset;
  std::int32_t lowest;
  std::int32_t highest;
  std::int32_t fallback;
  int CAppSettings::*member;
};

// Country 1 (the default PC's region) is NTSC_M, a 525-line family.
const Range kRanges[] = {
    {"VideoWindowAspect", 16, 1, 3, 3, &CAppSettings::VideoWindowAspect},
    {"VideoInput", 20, 1, 4, 2, &CAppSettings::VideoInput},
    {"Brightness", 24, 0, 100, 50, &CAppSettings::Brightness},
    {"Contrast", 28, 0, 100, 50, &CAppSettings::Contrast},
    {"Hue", 32, 0, 100, 50, &CAppSettings::Hue},
    {"Saturation", 36, 0, 100, 50, &CAppSettings::Saturation},
    {"Sharpness", 40, 0, 100, 50, &CAppSettings::Sharpness},
    {"RecordFormat", 44, 0, 7, 4, &CAppSettings::RecordFormat},
    {"RecordQuality", 48, 1, 3, 2, &CAppSettings::RecordQuality},
    {"AvInputStandard", 56, 0, 3, 0, &CAppSettings::AvInputStandard},
    {"LineStandard", 72, 3, 4, 4, &CAppSettings::LineStandard},
    {"Volume", 76, 0, 100, 50, &CAppSettings::Volume},
    {"TunerSource", 84, 1, 2, 2, &CAppSettings::TunerSource},
};

class SettingsRangeTest : public test::SettingsTest {
 protected:
  std::string dataPath() { return programPath("ZRQData.dat"); }
  Bytes defaults() {
    EXPECT_EQ(CAppController::WriteDefaultSettings(dataPath().c_str()), 1);
    return readBytes(dataPath());
  }
  void load(const Bytes& bytes) {
    writeBytes(dataPath(), bytes);
    ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  }
};

TEST_F(SettingsRangeTest, EachValueOutsideItsTableTakesItsDefaultAndItsEndsAreKept) {
  const Bytes base = defaults();
  for (const Range& range : kRanges) {
    for (const auto& [stored, loaded] : std::vector<std::pair<std::int32_t, std::int32_t>>{
             {range.lowest, range.lowest},
             {range.highest, range.highest},
             {range.lowest - 1, range.fallback},
             {range.highest + 1, range.fallback},
             {INT32_MIN, range.fallback},
             {INT32_MAX, range.fallback}}) {
      Bytes bytes = base;
      putInt(bytes, range.offset, stored);
      load(bytes);
      EXPECT_EQ(settings().*range.member, loaded) << range.field << " stored as " << stored;
    }
  }
}

TEST_F(SettingsRangeTest, ACountryWithoutAPlanTakesTheDefaultCountryAndItsLineFamily) {
  Bytes bytes = defaults();
  putInt(bytes, 52, 44);  // the United Kingdom: PAL_I, 625 lines
  putInt(bytes, 72, 3);
  load(bytes);
  EXPECT_EQ(settings().CountryCode, 44);
  EXPECT_EQ(settings().LineStandard, 3);

  for (const std::int32_t country : {0, -1, 99999, INT32_MIN}) {
    putInt(bytes, 52, country);
    putInt(bytes, 72, 0);
    load(bytes);
    EXPECT_EQ(settings().CountryCode, 1) << country;
    EXPECT_EQ(settings().LineStandard, 4) << country;
  }
}

TEST_F(SettingsRangeTest, FlagsReservedFieldsAndTextsAreKeptAsStored) {
  Bytes bytes = defaults();
  for (const std::size_t offset : {0u, 4u, 8u, 12u, 60u, 64u, 68u, 80u}) putInt(bytes, offset, -123456 - static_cast<int>(offset));
  load(bytes);
  ASSERT_EQ(CAppController::SaveSettings(dataPath().c_str()), 1);
  const Bytes saved = readBytes(dataPath());
  for (const std::size_t offset : {0u, 4u, 8u, 12u, 60u, 64u, 68u, 80u})
    EXPECT_EQ(intAt(saved, offset), -123456 - static_cast<int>(offset)) << "field at " << offset;
  EXPECT_EQ(Bytes(saved.begin() + 88, saved.end()), Bytes(bytes.begin() + 88, bytes.end()));
}

class RandomSettingsStartTest : public test::ControllerTest {};

// Random values everywhere but the texts: start-up takes the tuner, a list with its current
// channel and a recordable format.
TEST_F(RandomSettingsStartTest, AFileOfRandomValuesStartsWithAChannelToTuneAndAFormatToRecord) {
  std::mt19937 random(20241207);
  for (int round = 0; round < 10; ++round) {
    Bytes bytes(kRecordSize, 0);
    for (std::size_t offset = 0; offset < 88; offset += 4) putInt(bytes, offset, static_cast<std::int32_t>(random()));
    writeBytes(programPath("ZRQData.dat"), bytes);
    ASSERT_EQ(startUp(), 1) << "round " << round;
    const CAppSettings& settings = *g_pAppSettings;
    EXPECT_TRUE(settings.VideoInput >= 1 && settings.VideoInput <= 4);
    EXPECT_TRUE(settings.TunerSource == 1 || settings.TunerSource == 2);
    EXPECT_NE(CAppController::GetFormatName(), nullptr);
    EXPECT_NE(CAppController::GetBitrateForQuality(), 0);
    ASSERT_NE(g_pChannelList, nullptr);
    const int list = settings.TunerSource;
    EXPECT_EQ(g_pChannelList->TuneNumber(g_pChannelList->GetFirstChannelNumber(list), list, 1), 1);
    CString text;
    EXPECT_EQ(g_pChannelList->GetTunedChannelText(text), 1) << "round " << round;
    deleteController();
  }
}

}  // namespace

// The record format and quality tables, the region country and the standard families
// that the settings take from the frequency tables.
#include "CoreTest.h"

#include "core/CAppController.h"

#include <win32/registry.h>

namespace {

class SettingsTablesTest : public test::SettingsTest {
 protected:
  void setRegion(const BYTE* data, DWORD size, DWORD type = REG_SZ) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "iCountry", 0, type, data, size);
    RegCloseKey(key);
  }
  void setRegion(const std::string& text) {
    setRegion(reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
  }
};

TEST_F(SettingsTablesTest, FormatCycleWalksTheTableOrderBothWays) {
  const int order[] = {0, 4, 2, 1, 6, 5, 7, 3};
  const char* names[] = {"MPEG-1", "MPEG-2", "VCD-NTSC", "VCD-PAL", "DVD-NTSC", "DVD-PAL", "SVCD-NTSC", "SVCD-PAL"};
  settings().RecordFormat = 0;
  for (int step = 1; step <= 8; ++step) {
    LPCSTR name = nullptr;
    ASSERT_EQ(CAppController::CycleFormat(0, &name), 1);
    EXPECT_EQ(settings().RecordFormat, order[step % 8]);
    EXPECT_STREQ(name, names[step % 8]);
  }
  for (int step = 7; step >= 0; --step) {
    LPCSTR name = nullptr;
    ASSERT_EQ(CAppController::CycleFormat(1, &name), 1);
    EXPECT_EQ(settings().RecordFormat, order[step]);
  }
}

TEST_F(SettingsTablesTest, FormatNamesKeepTheirShownSpelling) {
  settings().RecordFormat = 0;
  EXPECT_STREQ(CAppController::GetFormatName(), "MPGE-1");
  settings().RecordFormat = 4;
  EXPECT_STREQ(CAppController::GetFormatName(), "MPGE-2");
  settings().RecordFormat = 3;
  EXPECT_STREQ(CAppController::GetFormatName(), "SVCD-PAL");
  LPCSTR name = nullptr;
  ASSERT_EQ(CAppController::CycleFormat(0, &name), 1);
  EXPECT_EQ(settings().RecordFormat, 0);
  EXPECT_STREQ(name, "MPEG-1");
}

TEST_F(SettingsTablesTest, ValuesOutsideTheTablesAreLeftAlone) {
  settings().RecordFormat = 9;
  settings().RecordQuality = -1;
  LPCSTR name = nullptr;
  EXPECT_EQ(CAppController::GetFormatName(), nullptr);
  EXPECT_EQ(CAppController::CycleFormat(0, &name), 0);
  EXPECT_EQ(CAppController::CycleQuality(1, &name), 0);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(settings().RecordFormat, 9);
  EXPECT_EQ(settings().RecordQuality, -1);
  EXPECT_STREQ(CAppController::GetQualityName(), "Normal");
}

TEST_F(SettingsTablesTest, QualityCyclesBothWays) {
  settings().RecordQuality = 1;
  LPCSTR name = nullptr;
  const int forward[] = {2, 3, 1};
  for (int expected : forward) {
    ASSERT_EQ(CAppController::CycleQuality(0, &name), 1);
    EXPECT_EQ(settings().RecordQuality, expected);
  }
  const int backward[] = {3, 2, 1};
  for (int expected : backward) {
    ASSERT_EQ(CAppController::CycleQuality(1, &name), 1);
    EXPECT_EQ(settings().RecordQuality, expected);
  }
  settings().RecordQuality = 3;
  EXPECT_STREQ(CAppController::GetQualityName(), "Highest");
}

TEST_F(SettingsTablesTest, BitrateFollowsFormatAndQuality) {
  struct Case {
    int format, quality;
    long figure;
  };
  const Case cases[] = {{0, 1, 563},  {4, 2, 900},  {0, 3, 1800}, {5, 1, 1800}, {6, 2, 2700}, {5, 3, 3600},
                        {3, 1, 1330}, {7, 9, 1330}, {1, 2, 517},  {2, 0, 517},  {0, 4, 0},    {6, 0, 0},
                        {8, 1, 0},    {-1, 2, 0}};
  for (const Case& c : cases) {
    settings().RecordFormat = c.format;
    settings().RecordQuality = c.quality;
    EXPECT_EQ(CAppController::GetBitrateForQuality(), c.figure) << c.format << "/" << c.quality;
  }
}

TEST_F(SettingsTablesTest, WithoutSettingsTheTablesGiveNothing) {
  CAppSettings* kept = g_pAppSettings;
  g_pAppSettings = nullptr;
  LPCSTR name = nullptr;
  EXPECT_EQ(CAppController::GetFormatName(), nullptr);
  EXPECT_EQ(CAppController::GetQualityName(), nullptr);
  EXPECT_EQ(CAppController::CycleFormat(0, &name), 0);
  EXPECT_EQ(CAppController::GetBitrateForQuality(), 0);
  EXPECT_EQ(CAppController::GetRecordFolder(), nullptr);
  EXPECT_EQ(CAppController::MakeDefaultFolders(1), nullptr);
  g_pAppSettings = kept;
}

TEST_F(SettingsTablesTest, RegionCountryIsReadSafely) {
  EXPECT_EQ(CAppController::GetRegionCountry(), 1);  // the default PC
  setRegion("44");
  EXPECT_EQ(CAppController::GetRegionCountry(), 44);
  setRegion("358");
  EXPECT_EQ(CAppController::GetRegionCountry(), 358);
  setRegion("");
  EXPECT_EQ(CAppController::GetRegionCountry(), 0);
  // Stored without a NUL, or far too long: never read past the value.
  const BYTE unterminated[] = {'8', '6', '8', '6'};
  setRegion(unterminated, sizeof(unterminated));
  EXPECT_EQ(CAppController::GetRegionCountry(), 8686);
  setRegion(std::string(100, '7'));
  EXPECT_EQ(CAppController::GetRegionCountry(), 0);
  const DWORD number = 49;
  setRegion(reinterpret_cast<const BYTE*>(&number), sizeof(number), REG_DWORD);
  EXPECT_EQ(CAppController::GetRegionCountry(), 0);
}

TEST_F(SettingsTablesTest, StandardFamiliesFollowTheCountryTable) {
  CString name;
  int family = 0;
  EXPECT_EQ(CAppController::GetStandardFamilyForCountry(54, name, family), 1);  // PAL_N
  EXPECT_STREQ(name, "PAL_N");
  EXPECT_EQ(family, 3);
  EXPECT_EQ(CAppController::GetStandardFamilyForCountry(55, name, family), 1);  // PAL_M
  EXPECT_EQ(family, 4);
  EXPECT_EQ(CAppController::GetStandardFamilyForCountry(86, name, family), 1);
  EXPECT_EQ(family, 3);
  family = 7;
  EXPECT_EQ(CAppController::GetStandardFamilyForCountry(-1, name, family), 0);
  EXPECT_EQ(CAppController::GetStandardFamilyForCountry(999, name, family), 0);
  EXPECT_EQ(family, 7);
}

}  // namespace

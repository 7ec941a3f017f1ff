// "ZRQData.dat": the 768-byte record byte for byte, its defaults, load with clamps and
// repairs, save, and files that are short, long, garbage or gone.
#include "CoreTest.h"

#include "core/CAppController.h"

#include <win32/registry.h>

#include <random>
#include <tuple>

namespace {

using test::Bytes;
using test::intAt;
using test::putInt;
using test::putText;
using test::textAt;

constexpr std::size_t kRecordSize = 768;

class SettingsFileTest : public test::SettingsTest {
 protected:
  std::string dataPath() { return programPath("ZRQData.dat"); }

  // A record as another run of the program wrote it, with folders that exist.
  Bytes handBuiltRecord() {
    Bytes bytes(kRecordSize, 0);
    const std::int32_t values[22] = {7, 8, 0, 1, 2, 3, 11, 12, 13, 14, 15, 6, 3, 44, 2, 21, 22, 23, 4, 77, 24, 1};
    for (std::size_t i = 0; i < 22; ++i) putInt(bytes, 4 * i, values[i]);
    putText(bytes, 88, videos);
    putText(bytes, 348, pictures);
    putText(bytes, 608, "Speaker Line");
    putText(bytes, 648, "Capture Line");
    putText(bytes, 688, "Audio Device");
    putText(bytes, 728, "Other TV Device");
    return bytes;
  }

  void makeFolders() {
    std::filesystem::create_directories(linuxPath(videos));
    std::filesystem::create_directories(linuxPath(pictures));
  }

  void removeRegionCountry() {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegDeleteValueA(key, "iCountry");
    RegCloseKey(key);
  }

  std::string videos = programPath("MyVideos\\");
  std::string pictures = programPath("MyPictures\\");
};

TEST_F(SettingsFileTest, FreshDefaultsAreWrittenByteForByte) {
  // The default PC's region is country 1, whose table carries NTSC_M (525-line family).
  ASSERT_EQ(CAppController::WriteDefaultSettings(dataPath().c_str()), 1);
  Bytes bytes = readBytes(dataPath());
  ASSERT_EQ(bytes.size(), kRecordSize);

  EXPECT_EQ(bytes, test::defaultSettingsBytes(programPath("")));
}

TEST_F(SettingsFileTest, WithoutRegionCountryTheDefaultsTakeCountry86) {
  removeRegionCountry();
  EXPECT_EQ(CAppController::GetRegionCountry(), 0);
  ASSERT_EQ(CAppController::WriteDefaultSettings(dataPath().c_str()), 1);
  Bytes bytes = readBytes(dataPath());
  EXPECT_EQ(intAt(bytes, 52), 86);
  EXPECT_EQ(intAt(bytes, 72), 3);  // PAL_D
}

TEST_F(SettingsFileTest, HandBuiltFileLoadsIntoEveryFieldAndSavesBackIdentically) {
  makeFolders();
  Bytes original = handBuiltRecord();
  writeBytes(dataPath(), original);
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);

  EXPECT_EQ(settings().Reserved0, 7);
  EXPECT_EQ(settings().Reserved1, 8);
  EXPECT_EQ(settings().FollowRegionCountry, 0);
  EXPECT_EQ(settings().VideoWindowTopmost, 1);
  EXPECT_EQ(settings().VideoWindowAspect, 2);
  EXPECT_EQ(settings().VideoInput, 3);
  EXPECT_EQ(settings().Brightness, 11);
  EXPECT_EQ(settings().Sharpness, 15);
  EXPECT_EQ(settings().RecordFormat, 6);
  EXPECT_EQ(settings().RecordQuality, 3);
  EXPECT_EQ(settings().CountryCode, 44);
  EXPECT_EQ(settings().AvInputStandard, 2);
  EXPECT_EQ(settings().Reserved60, 21);
  EXPECT_EQ(settings().Reserved68, 23);
  EXPECT_EQ(settings().LineStandard, 4);
  EXPECT_EQ(settings().Volume, 77);
  EXPECT_EQ(settings().Reserved80, 24);
  EXPECT_EQ(settings().TunerSource, 1);
  EXPECT_EQ(std::string(settings().VideoFolder), videos);
  EXPECT_EQ(std::string(settings().PictureFolder), pictures);
  EXPECT_STREQ(settings().AudioLineName, "Speaker Line");
  EXPECT_STREQ(settings().CaptureAudioLine, "Capture Line");
  EXPECT_STREQ(settings().AudioDeviceName, "Audio Device");
  EXPECT_STREQ(settings().CaptureDeviceName, "Other TV Device");

  std::filesystem::remove(linuxPath(dataPath()));
  ASSERT_EQ(CAppController::SaveSettings(dataPath().c_str()), 1);
  EXPECT_EQ(readBytes(dataPath()), original);
}

TEST_F(SettingsFileTest, ChangedSettingsRoundTrip) {
  ASSERT_EQ(CAppController::WriteDefaultSettings(dataPath().c_str()), 1);
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  settings().Volume = 12;
  settings().CountryCode = 49;
  std::strcpy(settings().AudioDeviceName, "Some Card");
  ASSERT_EQ(CAppController::SaveSettings(dataPath().c_str()), 1);

  settings().Volume = 0;
  settings().CountryCode = 0;
  settings().AudioDeviceName[0] = '\0';
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  EXPECT_EQ(settings().Volume, 12);
  EXPECT_EQ(settings().CountryCode, 49);
  EXPECT_STREQ(settings().AudioDeviceName, "Some Card");
}

TEST_F(SettingsFileTest, FullWidthTextsKeepEveryCharacterAndNeverOverrun) {
  makeFolders();
  Bytes original = handBuiltRecord();
  const std::string forty(40, 'L');
  putText(original, 648, forty);  // CaptureAudioLine, followed directly by AudioDeviceName
  putText(original, 728, std::string(40, 'D'));  // the last field of the record
  writeBytes(dataPath(), original);

  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  EXPECT_EQ(std::string(settings().CaptureAudioLine), forty);
  EXPECT_STREQ(settings().AudioDeviceName, "Audio Device");
  EXPECT_EQ(std::string(settings().CaptureDeviceName), std::string(40, 'D'));

  ASSERT_EQ(CAppController::SaveSettings(dataPath().c_str()), 1);
  Bytes saved = readBytes(dataPath());
  EXPECT_EQ(textAt(saved, 648, 40), forty);
  EXPECT_EQ(textAt(saved, 688, 40), "Audio Device");
  EXPECT_EQ(saved, original);
}

TEST_F(SettingsFileTest, LoadClampsInputAndStandardIncludingNegatives) {
  makeFolders();
  Bytes bytes = handBuiltRecord();
  putInt(bytes, 20, 7);
  putInt(bytes, 56, 9);
  writeBytes(dataPath(), bytes);
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  EXPECT_EQ(settings().VideoInput, 2);
  EXPECT_EQ(settings().AvInputStandard, 0);

  putInt(bytes, 20, -3);
  putInt(bytes, 56, -1);
  putInt(bytes, 76, -5);  // outside 0..100 too: its default
  writeBytes(dataPath(), bytes);
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  EXPECT_EQ(settings().VideoInput, 2);
  EXPECT_EQ(settings().AvInputStandard, 0);
  EXPECT_EQ(settings().Volume, 50);

  // The highest valid input and standard are kept; one past them is not.
  for (const auto& [input, standard, wantInput, wantStandard] : {std::tuple{4, 3, 4, 3}, std::tuple{5, 4, 2, 0}}) {
    putInt(bytes, 20, input);
    putInt(bytes, 56, standard);
    writeBytes(dataPath(), bytes);
    ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
    EXPECT_EQ(settings().VideoInput, wantInput) << input;
    EXPECT_EQ(settings().AvInputStandard, wantStandard) << standard;
  }
}

TEST_F(SettingsFileTest, MissingFoldersFallBackToTheProgramFolderAndAreCreated) {
  Bytes bytes = handBuiltRecord();  // folders not made
  writeBytes(dataPath(), bytes);
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  EXPECT_EQ(std::string(settings().VideoFolder), programPath("Videos\\"));
  EXPECT_EQ(std::string(settings().PictureFolder), programPath("Picture\\"));
  EXPECT_TRUE(std::filesystem::is_directory(linuxPath(programPath("Videos"))));
  EXPECT_TRUE(std::filesystem::is_directory(linuxPath(programPath("Picture"))));
}

TEST_F(SettingsFileTest, MissingFileOrSettingsObjectFailsTheLoad) {
  EXPECT_EQ(CAppController::LoadSettings(dataPath().c_str()), 0);
  EXPECT_EQ(CAppController::LoadSettings(nullptr), 0);
  ASSERT_EQ(CAppController::WriteDefaultSettings(dataPath().c_str()), 1);
  CAppSettings* kept = g_pAppSettings;
  g_pAppSettings = nullptr;
  EXPECT_EQ(CAppController::LoadSettings(dataPath().c_str()), 0);
  EXPECT_EQ(CAppController::SaveSettings(dataPath().c_str()), 0);
  g_pAppSettings = kept;
}

TEST_F(SettingsFileTest, TruncatedFileKeepsWhatItHoldsAndTakesDefaultsForTheRest) {
  Bytes bytes = handBuiltRecord();
  bytes.resize(60);  // up to and including AvInputStandard
  writeBytes(dataPath(), bytes);
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  EXPECT_EQ(settings().CountryCode, 44);
  EXPECT_EQ(settings().RecordFormat, 6);
  EXPECT_EQ(settings().Reserved60, 1);
  EXPECT_EQ(settings().Volume, 50);
  EXPECT_EQ(settings().TunerSource, 2);
  EXPECT_STREQ(settings().CaptureDeviceName, "USB TV Device");
  EXPECT_EQ(std::string(settings().VideoFolder), programPath("Videos\\"));

  writeBytes(dataPath(), Bytes());
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  EXPECT_EQ(settings().CountryCode, 1);
}

TEST_F(SettingsFileTest, OversizedFileIsReadAsItsFirstRecordAndSavedAsOne) {
  makeFolders();
  Bytes bytes = handBuiltRecord();
  Bytes longer = bytes;
  longer.resize(2000, 0xAB);
  writeBytes(dataPath(), longer);
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  EXPECT_EQ(settings().CountryCode, 44);
  ASSERT_EQ(CAppController::SaveSettings(dataPath().c_str()), 1);
  EXPECT_EQ(readBytes(dataPath()), bytes);
}

TEST_F(SettingsFileTest, GarbageLoadsBoundedClampedAndRepaired) {
  std::mt19937 random(1234);
  for (int round = 0; round < 20; ++round) {
    Bytes bytes(kRecordSize);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random() | 1);  // no NUL anywhere
    writeBytes(dataPath(), bytes);
    ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
    EXPECT_GE(settings().VideoInput, 0);
    EXPECT_LE(settings().VideoInput, 4);
    EXPECT_GE(settings().AvInputStandard, 0);
    EXPECT_LE(settings().AvInputStandard, 3);
    EXPECT_EQ(std::string(settings().VideoFolder), programPath("Videos\\"));
    EXPECT_EQ(std::string(settings().PictureFolder), programPath("Picture\\"));
    EXPECT_EQ(std::strlen(settings().AudioLineName), 40u);
    EXPECT_EQ(std::strlen(settings().CaptureDeviceName), 40u);
  }
}

TEST_F(SettingsFileTest, SaveWritesTheCurrentSettingsEvenWhenTheFileWasDeleted) {
  ASSERT_EQ(CAppController::WriteDefaultSettings(dataPath().c_str()), 1);
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  settings().Brightness = 81;
  std::filesystem::remove(linuxPath(dataPath()));
  ASSERT_EQ(CAppController::SaveSettings(dataPath().c_str()), 1);
  EXPECT_EQ(intAt(readBytes(dataPath()), 24), 81);
}

TEST_F(SettingsFileTest, SaveReplacesFoldersThatHaveGoneByTheirDefaultsWithoutCreatingThem) {
  ASSERT_EQ(CAppController::WriteDefaultSettings(dataPath().c_str()), 1);
  ASSERT_EQ(CAppController::LoadSettings(dataPath().c_str()), 1);
  std::strcpy(settings().VideoFolder, "C:\\Gone\\");
  std::filesystem::remove_all(linuxPath(programPath("Picture")));
  ASSERT_EQ(CAppController::SaveSettings(dataPath().c_str()), 1);
  Bytes bytes = readBytes(dataPath());
  EXPECT_EQ(textAt(bytes, 88, 260), programPath("Videos\\"));
  EXPECT_EQ(textAt(bytes, 348, 260), programPath("Picture\\"));
  EXPECT_FALSE(exists(programPath("Picture")));
}

TEST_F(SettingsFileTest, UnwritableFolderFailsSaveAndDefaults) {
  EXPECT_EQ(CAppController::SaveSettings("C:\\NoSuchFolder\\ZRQData.dat"), 0);
  EXPECT_EQ(CAppController::WriteDefaultSettings("C:\\NoSuchFolder\\ZRQData.dat"), 0);
}

}  // namespace

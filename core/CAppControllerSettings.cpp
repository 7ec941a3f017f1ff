// The controller's settings operations: the settings file, its defaults and clamps, the
// region country, the folders and the record format and quality tables.
#include "core/CAppController.h"

#include "core/VideoStandardNames.h"
#include "core/data/CAppSettings.h"
#include "core/data/ProgramFolder.h"
#include "core/data/SettingsRecord.h"
#include "core/data/TextField.h"

#include <vendor/chanloret/Chanloret.h>
#include <win32/error.h>
#include <win32/file.h>
#include <win32/handleapi.h>
#include <win32/module.h>
#include <win32/registry.h>
#include <winmm/mmsystem.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kVideosFolderName[] = "Videos\\";
constexpr char kPictureFolderName[] = "Picture\\";
constexpr char kDefaultCaptureDevice[] = "USB TV Device";
constexpr char kDefaultAudioLine[] = "Line In";
constexpr int kNoRegionDefaultCountry = 86;

// The record formats: stored value, the name shown for it, and the name the cycle gives.
struct RecordFormat {
  int value;
  const char* name;
  const char* cycleName;
};
// In cycle order.
constexpr RecordFormat kFormats[] = {
    {0, "MPGE-1", "MPEG-1"},      {4, "MPGE-2", "MPEG-2"},   {2, "VCD-NTSC", "VCD-NTSC"},
    {1, "VCD-PAL", "VCD-PAL"},    {6, "DVD-NTSC", "DVD-NTSC"}, {5, "DVD-PAL", "DVD-PAL"},
    {7, "SVCD-NTSC", "SVCD-NTSC"}, {3, "SVCD-PAL", "SVCD-PAL"},
};
constexpr int kFormatCount = static_cast<int>(std::size(kFormats));

constexpr const char* kQualityNames[] = {"Normal", "High", "Highest"};

int FormatPosition(int value) {
  for (int i = 0; i < kFormatCount; ++i) {
    if (kFormats[i].value == value) return i;
  }
  return -1;
}

constexpr std::size_t kFolderField = sizeof(SettingsRecord::VideoFolder);

// Program folder + name into a folder buffer, when it fits the record's field.
bool DefaultFolder(char* folder, const CString& programFolder, const char* name) {
  return CopyIfFits(folder, kFolderField, programFolder + name);
}

void MakeDefaultRecord(SettingsRecord& record) {
  std::memset(&record, 0, sizeof(record));
  record.FollowRegionCountry = 1;
  record.VideoWindowTopmost = 1;
  record.VideoWindowAspect = 3;
  record.VideoInput = 2;
  record.Brightness = 50;
  record.Contrast = 50;
  record.Hue = 50;
  record.Saturation = 50;
  record.Sharpness = 50;
  record.RecordFormat = 4;
  record.RecordQuality = 2;
  int country = CAppController::GetRegionCountry();
  record.CountryCode = country != 0 ? country : kNoRegionDefaultCountry;
  record.Reserved60 = 1;
  record.Reserved64 = 1;
  record.Reserved68 = 1;
  CString standard;
  int family = VideoStandardNames::kFamily625;
  CAppController::GetStandardFamilyForCountry(record.CountryCode, standard, family);
  record.LineStandard = family;
  record.Volume = 50;
  record.Reserved80 = 1;
  record.TunerSource = 2;
  CString programFolder = CAppController::GetModuleFolder();
  DefaultFolder(record.VideoFolder, programFolder, kVideosFolderName);
  DefaultFolder(record.PictureFolder, programFolder, kPictureFolderName);
  CString line;
  if (!CAppController::FindMixerSourceName(MIXERLINE_COMPONENTTYPE_SRC_LINE, line, 0, nullptr) &&
      !CAppController::FindMixerSourceName(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, line, 0, nullptr))
    line = kDefaultAudioLine;
  CopyToField(record.AudioLineName, sizeof(record.AudioLineName), line);
  if (!CAppController::FindMixerSourceName(MIXERLINE_COMPONENTTYPE_SRC_LINE, line, 1, nullptr))
    line = kDefaultAudioLine;
  CopyToField(record.CaptureAudioLine, sizeof(record.CaptureAudioLine), line);
  CopyToField(record.CaptureDeviceName, sizeof(record.CaptureDeviceName), kDefaultCaptureDevice);
}

// Reads what the file holds of one record over `record` ("r+b": the file must exist and
// be writable). False when it cannot be opened or read.
bool ReadRecordFile(LPCSTR path, SettingsRecord& record) {
  TakeLeftoverFileA(path);
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD read = 0;
  BOOL ok = ReadFile(file, &record, sizeof(record), &read, nullptr);
  CloseHandle(file);
  return ok != FALSE;
}

// Replaces the file by the record, whole or not at all.
bool WriteRecordFile(LPCSTR path, const SettingsRecord& record) {
  return ReplaceFileContentsA(path, &record, sizeof(record)) != FALSE;
}

// A value outside what its table allows takes its default, so one damaged file can neither
// stop every later start nor steer an input, a channel list, a table or a graph outside its
// range. Flags, reserved fields and texts are kept as they stand.
void ClampLoadedValues(CAppSettings& settings, const SettingsRecord& defaults) {
  const auto within = [](int& value, int lowest, int highest, int fallback) {
    if (value < lowest || value > highest) value = fallback;
  };
  within(settings.VideoWindowAspect, 1, 3, defaults.VideoWindowAspect);
  within(settings.VideoInput, 1, 4, defaults.VideoInput);
  within(settings.Brightness, 0, 100, defaults.Brightness);
  within(settings.Contrast, 0, 100, defaults.Contrast);
  within(settings.Hue, 0, 100, defaults.Hue);
  within(settings.Saturation, 0, 100, defaults.Saturation);
  within(settings.Sharpness, 0, 100, defaults.Sharpness);
  within(settings.RecordFormat, 0, kFormatCount - 1, defaults.RecordFormat);
  within(settings.RecordQuality, 1, static_cast<int>(std::size(kQualityNames)), defaults.RecordQuality);
  within(settings.AvInputStandard, 0, 3, defaults.AvInputStandard);
  within(settings.Volume, 0, 100, defaults.Volume);
  within(settings.TunerSource, 1, 2, defaults.TunerSource);
  // A country the frequency tables do not know has no channel plan to tune from.
  if (!getFrequencyTableFromCountryCode(settings.CountryCode)) settings.CountryCode = defaults.CountryCode;
  if (settings.LineStandard != VideoStandardNames::kFamily625 && settings.LineStandard != VideoStandardNames::kFamily525) {
    CString standard;
    int family = VideoStandardNames::kFamily625;
    CAppController::GetStandardFamilyForCountry(settings.CountryCode, standard, family);
    settings.LineStandard = family;
  }
}

// A stored folder that does not exist becomes program folder + name, created when missing.
void RepairFolder(char* folder, const CString& programFolder, const char* name) {
  if (CAppController::FolderExists(folder, TRUE, TRUE)) return;
  char fallback[kFolderField];
  if (!DefaultFolder(fallback, programFolder, name)) return;
  if (!CAppController::FolderExists(fallback, TRUE, TRUE)) CAppController::CreateFolder(fallback);
  std::strcpy(folder, fallback);
}

}  // namespace

CString CAppController::GetModuleFolder() { return GetProgramFolder(); }

int CAppController::LoadSettings(LPCSTR path) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings || !path) return 0;
  SettingsRecord defaults;
  MakeDefaultRecord(defaults);
  SettingsRecord record = defaults;
  if (!ReadRecordFile(path, record)) return 0;
  settings->FromRecord(record);
  ClampLoadedValues(*settings, defaults);
  RepairFolder(settings->VideoFolder, settings->ProgramFolder, kVideosFolderName);
  RepairFolder(settings->PictureFolder, settings->ProgramFolder, kPictureFolderName);
  return 1;
}

int CAppController::WriteDefaultSettings(LPCSTR path) {
  if (!path) return 0;
  SettingsRecord record;
  MakeDefaultRecord(record);
  return WriteRecordFile(path, record) ? 1 : 0;
}

int CAppController::SaveSettings(LPCSTR path) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings || !path) return 0;
  // Text only: a folder that has gone is replaced by its default, not created.
  if (!FolderExists(settings->PictureFolder, TRUE, TRUE))
    DefaultFolder(settings->PictureFolder, settings->ProgramFolder, kPictureFolderName);
  if (!FolderExists(settings->VideoFolder, TRUE, TRUE))
    DefaultFolder(settings->VideoFolder, settings->ProgramFolder, kVideosFolderName);
  SettingsRecord record;
  std::memset(&record, 0, sizeof(record));
  settings->ToRecord(record);
  return WriteRecordFile(path, record) ? 1 : 0;
}

int CAppController::GetRegionCountry() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\International\\", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return 0;
  char text[16] = {};
  DWORD type = 0;
  DWORD size = sizeof(text) - 1;
  LSTATUS status = RegQueryValueExA(key, "iCountry", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return 0;
  text[sizeof(text) - 1] = '\0';
  return std::atoi(text);
}

int CAppController::GetStandardFamilyForCountry(int country, CString& standardName, int& family) {
  if (country == -1) return 0;
  const FrequencyTable* table = getFrequencyTableFromCountryCode(country);
  if (!table || !table->StandardName || table->StandardName[0] == '\0') return 0;
  standardName = table->StandardName;
  int match = VideoStandardNames::FamilyOf(standardName);
  if (match != -1) family = match;
  return 1;
}

LPCSTR CAppController::MakeDefaultFolders(int video) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings) return nullptr;
  char* folder = video ? settings->VideoFolder : settings->PictureFolder;
  if (FolderExists(folder, TRUE, TRUE)) return folder;
  char fallback[kFolderField];
  if (!DefaultFolder(fallback, settings->ProgramFolder, video ? kVideosFolderName : kPictureFolderName))
    return nullptr;
  if (!FolderExists(fallback, TRUE, TRUE) && !CreateFolder(fallback)) return nullptr;
  std::strcpy(folder, fallback);
  return folder;
}

LPCSTR CAppController::SetMediaFolder(LPCSTR path, int video) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings || !path) return nullptr;
  char* folder = video == 1 ? settings->VideoFolder : settings->PictureFolder;
  if (!CopyIfFits(folder, kFolderField, path)) return nullptr;
  return folder;
}

LPCSTR CAppController::GetRecordFolder() {
  CAppSettings* settings = g_pAppSettings;
  if (!settings || settings->VideoFolder[0] == '\0') return nullptr;
  return settings->VideoFolder;
}

int CAppController::SetRecordFolder(LPCSTR path) {
  CAppSettings* settings = g_pAppSettings;
  if (!settings || !path || std::strlen(path) < 3) return 0;
  return CopyIfFits(settings->VideoFolder, kFolderField, path) ? 1 : 0;
}

int CAppController::FolderExists(LPCSTR path, int matchHidden, int allowRemovable) {
  if (!path || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':') return 0;
  const char root[] = {path[0], ':', '\\', '\0'};
  if (!allowRemovable && GetDriveTypeA(root) == DRIVE_CDROM) return 0;
  int letter = std::toupper(static_cast<unsigned char>(path[0])) - 'A';
  bool drivePresent = (GetLogicalDrives() >> letter) & 1;
  if (std::strcmp(path + 2, "\\") == 0) return drivePresent ? 1 : 0;

  CString folder(path);
  if (folder.Right(1) == "\\") folder = folder.Left(folder.GetLength() - 1);
  int lastBackslash = folder.ReverseFind('\\');
  if (lastBackslash < 0) return 0;
  CString parent = folder.Left(lastBackslash);
  CString name = folder.Mid(lastBackslash + 1);
  if (name.IsEmpty()) return 0;

  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(parent + "\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int found = 0;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (name.CompareNoCase(entry.cFileName) != 0) continue;
    if (matchHidden || !(entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) found = 1;
  } while (!found && FindNextFileA(search, &entry));
  FindClose(search);
  return found;
}

int CAppController::CreateFolder(LPCSTR path) {
  if (!path || std::strlen(path) <= 3) return 0;
  if (!std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' || path[2] != '\\') return 0;
  return CreateDirectoryA(path, nullptr) ? 1 : 0;
}

LPCSTR CAppController::GetFormatName() {
  if (!g_pAppSettings) return nullptr;
  int position = FormatPosition(g_pAppSettings->RecordFormat);
  return position < 0 ? nullptr : kFormats[position].name;
}

int CAppController::CycleFormat(int backward, LPCSTR* name) {
  if (!g_pAppSettings) return 0;
  int position = FormatPosition(g_pAppSettings->RecordFormat);
  if (position < 0) return 0;
  position = (position + (backward ? kFormatCount - 1 : 1)) % kFormatCount;
  g_pAppSettings->RecordFormat = kFormats[position].value;
  if (name) *name = kFormats[position].cycleName;
  return 1;
}

LPCSTR CAppController::GetQualityName() {
  if (!g_pAppSettings) return nullptr;
  int quality = g_pAppSettings->RecordQuality;
  return quality >= 1 && quality <= 3 ? kQualityNames[quality - 1] : kQualityNames[0];
}

int CAppController::CycleQuality(int backward, LPCSTR* name) {
  if (!g_pAppSettings) return 0;
  int quality = g_pAppSettings->RecordQuality;
  if (quality < 1 || quality > 3) return 0;
  quality = (quality - 1 + (backward ? 2 : 1)) % 3 + 1;
  g_pAppSettings->RecordQuality = quality;
  if (name) *name = kQualityNames[quality - 1];
  return 1;
}

long CAppController::GetBitrateForQuality() {
  if (!g_pAppSettings) return 0;
  int quality = g_pAppSettings->RecordQuality;
  switch (g_pAppSettings->RecordFormat) {
    case 0:
    case 4:
      if (quality == 1) return 563;
      if (quality == 2) return 900;
      if (quality == 3) return 1800;
      return 0;
    case 5:
    case 6:
      if (quality == 1) return 1800;
      if (quality == 2) return 2700;
      if (quality == 3) return 3600;
      return 0;
    case 3:
    case 7:
      return 1330;
    case 1:
    case 2:
      return 517;
    default:
      return 0;
  }
}

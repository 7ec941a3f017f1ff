// The settings object: every user setting of the program, one process-wide object held in
// g_pAppSettings, created by the controller's start-up and mirrored in "ZRQData.dat"
// (SettingsRecord). Besides the record's values it keeps the program folder and the name
// lists the setup windows offer (devices, audio lines, countries, AV standards).
//
// Text fields are one byte wider than their record fields, so a value that fills its
// record field whole still ends with a NUL here.
#pragma once

#include "core/data/SettingsRecord.h"

#include <mfc/afx.h>

class CAppSettings {
 public:
  CAppSettings();
  CAppSettings(const CAppSettings&) = delete;
  CAppSettings& operator=(const CAppSettings&) = delete;

  // Takes every value of the record, each text bounded by its field.
  void FromRecord(const SettingsRecord& record);
  // Writes every value into the record; bytes after a text are zero.
  void ToRecord(SettingsRecord& record) const;

  CStringArray CaptureDeviceNames;     // from the device list
  CStringArray AudioDeviceNames;       // audio input devices
  CStringArray AudioLineNames;         // mixer lines of the speakers side
  CStringArray CaptureAudioLineNames;  // input lines of the capture audio device
  CStringArray CountryNames;           // from the frequency-table library, in its order
  CStringArray AvStandardNames;        // Composite/S-Video standards
  CString ProgramFolder;               // ends with "\"

  int Reserved0 = 0;
  int Reserved1 = 0;
  int FollowRegionCountry = 0;
  int VideoWindowTopmost = 0;
  int VideoWindowAspect = 0;
  int CountryCode = 0;
  int VideoInput = 0;
  int Brightness = 0;
  int Contrast = 0;
  int Hue = 0;
  int Saturation = 0;
  int Sharpness = 0;
  int RecordFormat = 0;
  int RecordQuality = 0;
  int Reserved60 = 0;
  int Reserved64 = 0;
  int Reserved68 = 0;
  int LineStandard = 0;
  int Volume = 0;
  int Reserved80 = 0;
  int TunerSource = 0;
  int AvInputStandard = 0;

  char VideoFolder[sizeof(SettingsRecord::VideoFolder) + 1] = {};
  char PictureFolder[sizeof(SettingsRecord::PictureFolder) + 1] = {};
  char CaptureDeviceName[sizeof(SettingsRecord::CaptureDeviceName) + 1] = {};
  char AudioDeviceName[sizeof(SettingsRecord::AudioDeviceName) + 1] = {};
  char CaptureAudioLine[sizeof(SettingsRecord::CaptureAudioLine) + 1] = {};
  char AudioLineName[sizeof(SettingsRecord::AudioLineName) + 1] = {};
};

// The one settings object, null before start-up and after shut-down.
extern CAppSettings* g_pAppSettings;

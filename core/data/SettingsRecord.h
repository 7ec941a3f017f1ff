// The settings record: "ZRQData.dat" in the program folder is exactly one of these, 768
// bytes, little-endian, signed 32-bit integers and fixed-width text fields. A text field
// is NUL-terminated when shorter than its field; one that fills its field has no NUL,
// so readers never look past the field's width.
#pragma once

#include <cstddef>
#include <cstdint>

struct SettingsRecord {
  std::int32_t Reserved0;            // kept, no other reader
  std::int32_t Reserved1;            // kept
  std::int32_t FollowRegionCountry;  // nonzero: start-up takes the country from the region
  std::int32_t VideoWindowTopmost;   // free-standing video window always on top
  std::int32_t VideoWindowAspect;    // 1 16:9, 2 4:3, 3 free
  std::int32_t VideoInput;           // 1 or 2 TV tuner, 3 Composite, 4 S-Video
  std::int32_t Brightness;           // 0..100
  std::int32_t Contrast;
  std::int32_t Hue;
  std::int32_t Saturation;
  std::int32_t Sharpness;
  std::int32_t RecordFormat;         // 0..7
  std::int32_t RecordQuality;        // 1..3
  std::int32_t CountryCode;          // country code of the frequency tables
  std::int32_t AvInputStandard;      // 0..3, standard of the Composite and S-Video inputs
  std::int32_t Reserved60;           // kept
  std::int32_t Reserved64;           // kept
  std::int32_t Reserved68;           // kept
  std::int32_t LineStandard;         // 3 625-line family, 4 525-line family
  std::int32_t Volume;               // 0..100
  std::int32_t Reserved80;           // kept
  std::int32_t TunerSource;          // 1 antenna plan, 2 cable plan
  char VideoFolder[260];
  char PictureFolder[260];
  char AudioLineName[40];
  char CaptureAudioLine[40];
  char AudioDeviceName[40];
  char CaptureDeviceName[40];
};

static_assert(sizeof(SettingsRecord) == 768);
static_assert(offsetof(SettingsRecord, FollowRegionCountry) == 8);
static_assert(offsetof(SettingsRecord, VideoWindowAspect) == 16);
static_assert(offsetof(SettingsRecord, VideoInput) == 20);
static_assert(offsetof(SettingsRecord, Brightness) == 24);
static_assert(offsetof(SettingsRecord, Sharpness) == 40);
static_assert(offsetof(SettingsRecord, RecordFormat) == 44);
static_assert(offsetof(SettingsRecord, RecordQuality) == 48);
static_assert(offsetof(SettingsRecord, CountryCode) == 52);
static_assert(offsetof(SettingsRecord, AvInputStandard) == 56);
static_assert(offsetof(SettingsRecord, Reserved60) == 60);
static_assert(offsetof(SettingsRecord, LineStandard) == 72);
static_assert(offsetof(SettingsRecord, Volume) == 76);
static_assert(offsetof(SettingsRecord, Reserved80) == 80);
static_assert(offsetof(SettingsRecord, TunerSource) == 84);
static_assert(offsetof(SettingsRecord, VideoFolder) == 88);
static_assert(offsetof(SettingsRecord, PictureFolder) == 348);
static_assert(offsetof(SettingsRecord, AudioLineName) == 608);
static_assert(offsetof(SettingsRecord, CaptureAudioLine) == 648);
static_assert(offsetof(SettingsRecord, AudioDeviceName) == 688);
static_assert(offsetof(SettingsRecord, CaptureDeviceName) == 728);

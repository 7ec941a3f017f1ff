#include "core/data/CAppSettings.h"

#include "core/data/TextField.h"

CAppSettings* g_pAppSettings = nullptr;

CAppSettings::CAppSettings() = default;

void CAppSettings::FromRecord(const SettingsRecord& record) {
  Reserved0 = record.Reserved0;
  Reserved1 = record.Reserved1;
  FollowRegionCountry = record.FollowRegionCountry;
  VideoWindowTopmost = record.VideoWindowTopmost;
  VideoWindowAspect = record.VideoWindowAspect;
  CountryCode = record.CountryCode;
  VideoInput = record.VideoInput;
  Brightness = record.Brightness;
  Contrast = record.Contrast;
  Hue = record.Hue;
  Saturation = record.Saturation;
  Sharpness = record.Sharpness;
  RecordFormat = record.RecordFormat;
  RecordQuality = record.RecordQuality;
  Reserved60 = record.Reserved60;
  Reserved64 = record.Reserved64;
  Reserved68 = record.Reserved68;
  LineStandard = record.LineStandard;
  Volume = record.Volume;
  Reserved80 = record.Reserved80;
  TunerSource = record.TunerSource;
  AvInputStandard = record.AvInputStandard;
  CopyFromField(VideoFolder, record.VideoFolder, sizeof(record.VideoFolder));
  CopyFromField(PictureFolder, record.PictureFolder, sizeof(record.PictureFolder));
  CopyFromField(AudioDeviceName, record.AudioDeviceName, sizeof(record.AudioDeviceName));
  CopyFromField(CaptureAudioLine, record.CaptureAudioLine, sizeof(record.CaptureAudioLine));
  CopyFromField(AudioLineName, record.AudioLineName, sizeof(record.AudioLineName));
  CopyFromField(CaptureDeviceName, record.CaptureDeviceName, sizeof(record.CaptureDeviceName));
}

void CAppSettings::ToRecord(SettingsRecord& record) const {
  record.Reserved0 = Reserved0;
  record.Reserved1 = Reserved1;
  record.FollowRegionCountry = FollowRegionCountry;
  record.VideoWindowTopmost = VideoWindowTopmost;
  record.VideoWindowAspect = VideoWindowAspect;
  record.VideoInput = VideoInput;
  record.Brightness = Brightness;
  record.Contrast = Contrast;
  record.Hue = Hue;
  record.Saturation = Saturation;
  record.Sharpness = Sharpness;
  record.RecordFormat = RecordFormat;
  record.RecordQuality = RecordQuality;
  record.CountryCode = CountryCode;
  record.AvInputStandard = AvInputStandard;
  record.Reserved60 = Reserved60;
  record.Reserved64 = Reserved64;
  record.Reserved68 = Reserved68;
  record.LineStandard = LineStandard;
  record.Volume = Volume;
  record.Reserved80 = Reserved80;
  record.TunerSource = TunerSource;
  CopyToField(record.VideoFolder, sizeof(record.VideoFolder), VideoFolder);
  CopyToField(record.PictureFolder, sizeof(record.PictureFolder), PictureFolder);
  CopyToField(record.AudioLineName, sizeof(record.AudioLineName), AudioLineName);
  CopyToField(record.CaptureAudioLine, sizeof(record.CaptureAudioLine), CaptureAudioLine);
  CopyToField(record.AudioDeviceName, sizeof(record.AudioDeviceName), AudioDeviceName);
  CopyToField(record.CaptureDeviceName, sizeof(record.CaptureDeviceName), CaptureDeviceName);
}

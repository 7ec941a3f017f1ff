#include "EncoderSettings.h"

namespace {

struct PresetRow {
  LONG formatCode;
  LONG bitRates[3];  // kind 2, 3, 4; one value for every kind when the others are 0
  LONG frameRateCode;
  LONG streamParameter;
  LONG width;
  LONG height;
};

constexpr PresetRow kPresets[] = {
    {1, {1250, 2000, 4000}, 3, 4096, 320, 240}, {4, {1150, 0, 0}, 3, 640, 352, 288},
    {3, {1150, 0, 0}, 4, 640, 352, 240},        {10, {2500, 0, 0}, 3, 800, 480, 576},
    {2, {1250, 2000, 4000}, 3, 4096, 640, 480}, {8, {4000, 6000, 8000}, 3, 4096, 720, 576},
    {7, {4000, 6000, 8000}, 5, 4096, 720, 480}, {9, {2500, 0, 0}, 4, 800, 480, 480},
    {6, {54000, 0, 0}, 3, 4096, 640, 480},
};

}  // namespace

EncoderSettings EncoderSettings::Preset(int type, int kind) {
  EncoderSettings settings{};
  if (type < 0 || type >= static_cast<int>(sizeof(kPresets) / sizeof(kPresets[0]))) return settings;
  const PresetRow& row = kPresets[type];
  settings.formatCode = row.formatCode;
  const bool threeRates = row.bitRates[1] != 0;
  if (!threeRates) settings.bitRateKbit = row.bitRates[0];
  else if (kind >= 2 && kind <= 4) settings.bitRateKbit = row.bitRates[kind - 2];
  settings.frameRateCode = row.frameRateCode;
  settings.streamParameter = row.streamParameter;
  settings.width = row.width;
  settings.height = row.height;
  return settings;
}

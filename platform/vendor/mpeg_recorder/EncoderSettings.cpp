#include "EncoderSettings.h"

namespace plat {

namespace {

struct StreamType {
  LONG code;
  bool mpeg2;
  LONG width;
  LONG height;
};

constexpr StreamType kStreamTypes[] = {
    {1, false, 320, 240}, {2, true, 640, 480}, {3, false, 352, 240}, {4, false, 352, 288},
    {7, true, 720, 480},  {8, true, 720, 576}, {9, true, 480, 480},  {10, true, 480, 576},
};

const StreamType& typeOf(LONG code) {
  for (const auto& type : kStreamTypes)
    if (type.code == code) return type;
  return kStreamTypes[0];
}

}  // namespace

bool EncoderSettings::validStreamType(LONG type) {
  for (const auto& known : kStreamTypes)
    if (known.code == type) return true;
  return false;
}

bool EncoderSettings::mpeg2() const { return typeOf(streamType).mpeg2; }

LONG EncoderSettings::pictureWidth() const { return width > 0 ? width : typeOf(streamType).width; }

LONG EncoderSettings::pictureHeight() const { return height > 0 ? height : typeOf(streamType).height; }

void EncoderSettings::frameRate(LONG code, int& num, int& den) {
  static constexpr int kRates[][2] = {{24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1}, {60000, 1001}, {60, 1}};
  const int index = validFrameRateCode(code) ? code - 1 : 2;
  num = kRates[index][0];
  den = kRates[index][1];
}

}  // namespace plat

// The settings the MPEG save hands the encoder filter, filled from a fixed table of
// presets by type (0 to 8); the kind (2, 3, 4) picks the bit rate of the types that
// offer three. Any other type leaves every field 0.
#pragma once

#include <win32/types.h>

struct EncoderSettings {
  LONG formatCode;
  LONG flag;
  LONG bitRateKbit;
  LONG frameRateCode;
  LONG reserved;
  LONG streamParameter;
  LONG width;
  LONG height;
  LONG streamValue1;
  LONG streamValue2;

  static EncoderSettings Preset(int type, int kind);
};

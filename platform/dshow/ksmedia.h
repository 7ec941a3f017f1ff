// The kernel-streaming tuner property set, as drivers answer it through IKsPropertySet:
// the tuner's capabilities in a mode and its frequency.
#pragma once

#include <com/guid.h>
#include <win32/types.h>

// {6A2E0605-28E4-11D0-A18C-00A0C9118956}
DEFINE_GUID(PROPSETID_TUNER, 0x6A2E0605, 0x28E4, 0x11D0, 0xA1, 0x8C, 0x00, 0xA0, 0xC9, 0x11, 0x89, 0x56);

enum KSPROPERTY_TUNER { KSPROPERTY_TUNER_CAPS = 0, KSPROPERTY_TUNER_MODE_CAPS = 1, KSPROPERTY_TUNER_MODE = 2,
                        KSPROPERTY_TUNER_STANDARD = 3, KSPROPERTY_TUNER_FREQUENCY = 4 };

#define KS_TUNER_TUNING_EXACT 1
#define KS_TUNER_TUNING_FINE 2
#define KS_TUNER_STRATEGY_PLL 0x01
#define KS_TUNER_STRATEGY_SIGNAL_STRENGTH 0x02
#define KS_TUNER_STRATEGY_DRIVER_TUNES 0x04

struct KSPROPERTY {
  GUID Set;
  ULONG Id;
  ULONG Flags;
};

struct KSPROPERTY_TUNER_MODE_CAPS_S {
  KSPROPERTY Property;
  ULONG Mode;
  ULONG StandardsSupported;
  ULONG MinFrequency;
  ULONG MaxFrequency;
  ULONG TuningGranularity;
  ULONG NumberOfInputs;
  ULONG SettlingTime;
  ULONG Strategy;
};

struct KSPROPERTY_TUNER_FREQUENCY_S {
  KSPROPERTY Property;
  ULONG Frequency;
  ULONG LastFrequency;
  ULONG TuningFlags;
  ULONG VideoSubChannel;
  ULONG AudioSubChannel;
  ULONG Channel;
  ULONG Country;
};

// Audio format records: WAVEFORMATEX (the FORMAT_WaveFormatEx block) and the
// capabilities an audio capture pin reports. WAVEFORMATEX itself is wave audio's.
#pragma once

#include <dshow/strmif.h>
#include <winmm/mmsystem.h>


struct AUDIO_STREAM_CONFIG_CAPS {
  GUID guid;
  ULONG MinimumChannels;
  ULONG MaximumChannels;
  ULONG ChannelsGranularity;
  ULONG MinimumBitsPerSample;
  ULONG MaximumBitsPerSample;
  ULONG BitsPerSampleGranularity;
  ULONG MinimumSampleFrequency;
  ULONG MaximumSampleFrequency;
  ULONG SampleFrequencyGranularity;
};

// Audio format records: WAVEFORMATEX (the FORMAT_WaveFormatEx block) and the
// capabilities an audio capture pin reports. WAVEFORMATEX is packed (18 bytes) as on
// Windows; it is guarded so the wave-audio headers may declare it too.
#pragma once

#include <dshow/strmif.h>

#ifndef ORVANE_WAVEFORMATEX_DECLARED
#define ORVANE_WAVEFORMATEX_DECLARED
#pragma pack(push, 1)
struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
};
#pragma pack(pop)
using LPWAVEFORMATEX = WAVEFORMATEX*;
#define WAVE_FORMAT_PCM 1
#endif
static_assert(sizeof(WAVEFORMATEX) == 18);

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

// Video format records: the bitmap header, VIDEOINFOHEADER (the FORMAT_VideoInfo block)
// and the capabilities a capture pin reports. Fixed layouts, checked below.
#pragma once

#include <dshow/strmif.h>
#include <win32/gdi/bitmap.h>

#include <cstddef>


// Four-character codes as a DWORD (first character in the low byte).
#define MAKEFOURCC(a, b, c, d)                                                                            \
  (static_cast<DWORD>(static_cast<BYTE>(a)) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 8) |            \
   (static_cast<DWORD>(static_cast<BYTE>(c)) << 16) | (static_cast<DWORD>(static_cast<BYTE>(d)) << 24))

struct VIDEOINFOHEADER {
  RECT rcSource;
  RECT rcTarget;
  DWORD dwBitRate;
  DWORD dwBitErrorRate;
  REFERENCE_TIME AvgTimePerFrame;
  BITMAPINFOHEADER bmiHeader;
};
static_assert(sizeof(VIDEOINFOHEADER) == 88);
static_assert(offsetof(VIDEOINFOHEADER, AvgTimePerFrame) == 40);
static_assert(offsetof(VIDEOINFOHEADER, bmiHeader) == 48);

#define HEADER(pVideoInfo) (&((reinterpret_cast<VIDEOINFOHEADER*>(pVideoInfo))->bmiHeader))

// What a video capture pin can produce; the block IAMStreamConfig::GetStreamCaps fills.
struct VIDEO_STREAM_CONFIG_CAPS {
  GUID guid;
  ULONG VideoStandard;
  SIZE InputSize;
  SIZE MinCroppingSize;
  SIZE MaxCroppingSize;
  int CropGranularityX;
  int CropGranularityY;
  int CropAlignX;
  int CropAlignY;
  SIZE MinOutputSize;
  SIZE MaxOutputSize;
  int OutputGranularityX;
  int OutputGranularityY;
  int StretchTapsX;
  int StretchTapsY;
  int ShrinkTapsX;
  int ShrinkTapsY;
  LONGLONG MinFrameInterval;
  LONGLONG MaxFrameInterval;
  LONG MinBitsPerSecond;
  LONG MaxBitsPerSecond;
};
static_assert(sizeof(VIDEO_STREAM_CONFIG_CAPS) == 128);

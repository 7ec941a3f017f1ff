// The setup records a filter module describes its filters with, and the merits that
// rank filters for the graph's intelligent connect (a filter at MERIT_DO_NOT_USE or
// below is never picked by it).
#pragma once

#include <dshow/strmif.h>

#define MERIT_PREFERRED 0x800000
#define MERIT_NORMAL 0x600000
#define MERIT_UNLIKELY 0x400000
#define MERIT_DO_NOT_USE 0x200000
#define MERIT_SW_COMPRESSOR 0x100000
#define MERIT_HW_COMPRESSOR 0x100050

struct REGPINTYPES {
  const CLSID* clsMajorType;  // GUID_NULL: any
  const CLSID* clsMinorType;  // GUID_NULL: any
};
using AMOVIESETUP_MEDIATYPE = REGPINTYPES;

struct AMOVIESETUP_PIN {
  LPCWSTR strName;
  BOOL bRendered;
  BOOL bOutput;
  BOOL bZero;
  BOOL bMany;
  const CLSID* clsConnectsToFilter;
  LPCWSTR strConnectsToPin;
  UINT nMediaTypes;
  const AMOVIESETUP_MEDIATYPE* lpMediaType;
};
using REGFILTERPINS = AMOVIESETUP_PIN;

struct AMOVIESETUP_FILTER {
  const CLSID* clsID;
  LPCWSTR strName;
  DWORD dwMerit;
  UINT nPins;
  const AMOVIESETUP_PIN* lpPin;
};

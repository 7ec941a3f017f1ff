// A map from case-sensitive strings to strings.
#pragma once

#include <mfc/CMap.h>

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR> {
 public:
  using CMap::CMap;
};

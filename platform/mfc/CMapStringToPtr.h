// A map from case-sensitive strings to untyped pointers; it never owns what they point to.
#pragma once

#include <mfc/CMap.h>

class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*> {
 public:
  using CMap::CMap;
};

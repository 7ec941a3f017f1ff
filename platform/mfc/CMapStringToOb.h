// A map from case-sensitive strings to CObject pointers; it never owns the objects.
#pragma once

#include <mfc/CMap.h>

class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*> {
 public:
  using CMap::CMap;
};

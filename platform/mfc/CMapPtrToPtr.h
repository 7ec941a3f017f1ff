// A map from pointers to pointers; it owns neither.
#pragma once

#include <mfc/CMap.h>

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
 public:
  using CMap::CMap;
};

// An array of CObject pointers; the array never owns the objects.
#pragma once

#include <mfc/CArray.h>

class CObArray : public CArray<CObject*, CObject*> {
 public:
  using CArray::CArray;
};

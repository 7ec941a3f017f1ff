// An array of untyped pointers; the array never owns what they point to.
#pragma once

#include <mfc/CArray.h>

class CPtrArray : public CArray<void*, void*> {
 public:
  using CArray::CArray;
};

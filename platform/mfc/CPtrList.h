// A list of untyped pointers; the list never owns what they point to.
#pragma once

#include <mfc/CList.h>

class CPtrList : public CList<void*, void*> {
 public:
  using CList::CList;
};

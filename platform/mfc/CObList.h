// A list of CObject pointers; the list never owns the objects.
#pragma once

#include <mfc/CList.h>

class CObList : public CList<CObject*, CObject*> {
 public:
  using CList::CList;
};

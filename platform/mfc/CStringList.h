// A list of CStrings.
#pragma once

#include <mfc/CList.h>
#include <mfc/CString.h>

class CStringList : public CList<CString, LPCSTR> {
 public:
  using CList::CList;
};

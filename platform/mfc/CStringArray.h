// An array of CStrings; Add and SetAt take any text.
#pragma once

#include <mfc/CArray.h>
#include <mfc/CString.h>

class CStringArray : public CArray<CString, LPCSTR> {
 public:
  using CArray::CArray;
};

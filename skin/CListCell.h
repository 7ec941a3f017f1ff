// A cell value: a number shown "%d", a name, and a value shown "%.2f", each kept as the
// text the list shows.
#pragma once

#include <mfc/afx.h>

class CListCell {
 public:
  // Non-negative numbers only; -1 when empty.
  void SetNumber(int nNumber);
  int GetNumber() const;
  void SetName(const CString& strName) { m_strName = strName; }
  // TRUE when the name is not empty.
  BOOL GetName(CString& strName) const;
  // Non-negative values only; 0.0 when empty.
  void SetValue(float fValue);
  float GetValue() const;
  void Copy(const CListCell& other);

  int m_nRow = -1;
  int m_nColumn = -1;

 private:
  CString m_strNumber;
  CString m_strName;
  CString m_strValue;
};

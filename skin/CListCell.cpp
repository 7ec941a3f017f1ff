#include "skin/CListCell.h"

#include <cstdlib>

void CListCell::SetNumber(int nNumber) {
  if (nNumber >= 0) m_strNumber.Format("%d", nNumber);
}

int CListCell::GetNumber() const { return m_strNumber.IsEmpty() ? -1 : std::atoi(m_strNumber); }

BOOL CListCell::GetName(CString& strName) const {
  strName = m_strName;
  return !m_strName.IsEmpty();
}

void CListCell::SetValue(float fValue) {
  if (fValue >= 0.0f) m_strValue.Format("%.2f", static_cast<double>(fValue));
}

float CListCell::GetValue() const { return m_strValue.IsEmpty() ? 0.0f : static_cast<float>(std::atof(m_strValue)); }

void CListCell::Copy(const CListCell& other) {
  m_nRow = other.m_nRow;
  m_nColumn = other.m_nColumn;
  m_strNumber = other.m_strNumber;
  m_strName = other.m_strName;
  m_strValue = other.m_strValue;
}

// What CFile::GetStatus reports about a file: its times, size, attributes (CFile::Attribute)
// and full Windows path.
#pragma once

#include <mfc/CTime.h>

struct CFileStatus {
  CTime m_ctime;
  CTime m_mtime;
  CTime m_atime;
  LONG m_size;
  BYTE m_attribute;
  BYTE m_padding;
  char m_szFullName[MAX_PATH];
};

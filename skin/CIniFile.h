// The reader every skin loader uses: one private-profile INI file (a skin description
// "skin.ini" and the like), read through the platform's profile functions on each call,
// so a missing file, section or key simply gives the default.
#pragma once

#include <mfc/afx.h>

class CIniFile {
 public:
  explicit CIniFile(CString strPath);
  virtual ~CIniFile() = default;

  // The value (at most 2047 characters; longer values are cut), or the default when the
  // key is missing.
  CString GetString(CString strSection, CString strKey, CString strDefault) const;
  // The value as a number; 0 when missing.
  int GetInt(CString strSection, CString strKey) const;
  // Empties `keys`, then appends the section's key names in file order; TRUE when there
  // is at least one.
  BOOL GetSectionKeys(CString strSection, CStringArray& keys) const;

  const CString& GetPath() const { return m_strPath; }

 private:
  CString m_strPath;
};

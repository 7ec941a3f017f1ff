#include "skin/CIniFile.h"

#include <win32/profile.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kValueBufferSize = 2048;
constexpr DWORD kKeyListBufferSize = 16323;

}  // namespace

CIniFile::CIniFile(CString strPath) : m_strPath(std::move(strPath)) {}

CString CIniFile::GetString(CString strSection, CString strKey, CString strDefault) const {
  CString strValue;
  LPSTR buffer = strValue.GetBuffer(kValueBufferSize);
  GetPrivateProfileStringA(strSection, strKey, strDefault, buffer, kValueBufferSize, m_strPath);
  strValue.ReleaseBuffer();
  return strValue;
}

int CIniFile::GetInt(CString strSection, CString strKey) const {
  return static_cast<int>(GetPrivateProfileIntA(strSection, strKey, 0, m_strPath));
}

BOOL CIniFile::GetSectionKeys(CString strSection, CStringArray& keys) const {
  keys.RemoveAll();
  std::vector<char> list(kKeyListBufferSize, '\0');
  const DWORD copied = GetPrivateProfileStringA(strSection, nullptr, "", list.data(), kKeyListBufferSize, m_strPath);
  // A list cut to fit still ends in two NULs; never read past what was copied.
  const char* const end = list.data() + std::min<DWORD>(copied, kKeyListBufferSize - 1);
  for (const char* name = list.data(); name < end && *name != '\0'; name += std::strlen(name) + 1) {
    keys.Add(name);
  }
  return keys.GetSize() > 0;
}

#include <mfc/CFile.h>

#include <machine/Log.h>
#include <win32/error.h>
#include <win32/file.h>
#include <win32/handleapi.h>

#include <cstring>

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

DWORD accessOf(UINT flags) {
  switch (flags & 0x3) {
    case CFile::modeWrite: return GENERIC_WRITE;
    case CFile::modeReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
  }
}

DWORD shareOf(UINT flags) {
  switch (flags & 0x70) {
    case CFile::shareDenyWrite: return FILE_SHARE_READ;
    case CFile::shareDenyRead: return FILE_SHARE_WRITE;
    case CFile::shareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0;
  }
}

DWORD dispositionOf(UINT flags) {
  if (!(flags & CFile::modeCreate)) return OPEN_EXISTING;
  return (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

CString fullPathOf(LPCSTR name) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(name, MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? CString(full) : CString(name);
}

}  // namespace

CFile::~CFile() {
  if (IsOpen()) Close();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  ASSERT(!IsOpen());
  if (IsOpen()) Close();
  if (!lpszFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
  } else {
    m_strFileName = fullPathOf(lpszFileName);
    m_hFile = CreateFileA(lpszFileName, accessOf(nOpenFlags), shareOf(nOpenFlags), nullptr, dispositionOf(nOpenFlags),
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (IsOpen()) return TRUE;
  }
  if (pError) {
    pError->m_lOsError = static_cast<LONG>(GetLastError());
    pError->m_cause = CFileException::OsErrorToException(pError->m_lOsError);
  }
  m_strFileName.Empty();
  return FALSE;
}

void CFile::Close() {
  if (IsOpen()) CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_strFileName.Empty();
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  DWORD read = 0;
  if (nCount == 0) return 0;
  if (!ReadFile(m_hFile, lpBuf, nCount, &read, nullptr)) {
    PLAT_LOG("mfc", "CFile::Read of %s failed, error %u", static_cast<LPCSTR>(m_strFileName), GetLastError());
    return 0;
  }
  return read;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  DWORD written = 0;
  if (nCount == 0) return;
  if (!WriteFile(m_hFile, lpBuf, nCount, &written, nullptr) || written != nCount) {
    PLAT_LOG("mfc", "CFile::Write of %s failed, error %u", static_cast<LPCSTR>(m_strFileName), GetLastError());
  }
}

void CFile::Flush() {
  if (!FlushFileBuffers(m_hFile)) {
    PLAT_LOG("mfc", "CFile::Flush of %s failed, error %u", static_cast<LPCSTR>(m_strFileName), GetLastError());
  }
}

LONG CFile::Seek(LONG lOff, UINT nFrom) {
  const DWORD position = SetFilePointer(m_hFile, lOff, nullptr, nFrom);
  if (position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
  return static_cast<LONG>(position);
}

DWORD CFile::GetPosition() const {
  const DWORD position = SetFilePointer(m_hFile, 0, nullptr, FILE_CURRENT);
  return position == INVALID_SET_FILE_POINTER ? 0 : position;
}

DWORD CFile::GetLength() const {
  const DWORD length = GetFileSize(m_hFile, nullptr);
  return length == INVALID_FILE_SIZE ? 0 : length;
}

void CFile::SetLength(DWORD dwNewLen) {
  if (Seek(static_cast<LONG>(dwNewLen), begin) < 0 || !SetEndOfFile(m_hFile)) {
    PLAT_LOG("mfc", "CFile::SetLength of %s failed, error %u", static_cast<LPCSTR>(m_strFileName), GetLastError());
  }
}

CString CFile::GetFileName() const {
  const char* name = m_strFileName;
  for (const char* p = name; *p; ++p) {
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  }
  return CString(name);
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
  if (!IsOpen() || !GetStatus(m_strFileName, rStatus)) return FALSE;
  rStatus.m_size = static_cast<LONG>(GetLength());  // through the open handle
  return TRUE;
}

BOOL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus) {
  WIN32_FIND_DATAA data{};
  HANDLE search = lpszFileName ? FindFirstFileA(lpszFileName, &data) : INVALID_HANDLE_VALUE;
  if (search == INVALID_HANDLE_VALUE) return FALSE;
  FindClose(search);

  const CString full = fullPathOf(lpszFileName);
  std::memset(rStatus.m_szFullName, 0, sizeof rStatus.m_szFullName);
  std::strncpy(rStatus.m_szFullName, full, sizeof rStatus.m_szFullName - 1);
  rStatus.m_ctime = CTime(data.ftCreationTime);
  rStatus.m_mtime = CTime(data.ftLastWriteTime);
  rStatus.m_atime = CTime(data.ftLastAccessTime);
  rStatus.m_size = static_cast<LONG>(data.nFileSizeLow);
  rStatus.m_attribute = static_cast<BYTE>(data.dwFileAttributes & ~FILE_ATTRIBUTE_NORMAL);
  rStatus.m_padding = 0;
  return TRUE;
}

BOOL CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName) { return MoveFileA(lpszOldName, lpszNewName); }

BOOL CFile::Remove(LPCSTR lpszFileName) { return DeleteFileA(lpszFileName); }

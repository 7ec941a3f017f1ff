#include "core/CFileHandle.h"

#include <mfc/afx.h>
#include <win32/file.h>
#include <win32/handleapi.h>

bool CFileHandle::Close() {
  const bool closed = m_handle == INVALID_HANDLE_VALUE || CloseHandle(m_handle);
  m_handle = INVALID_HANDLE_VALUE;
  return closed;
}

bool CFileHandle::ReplaceWhole(LPCSTR path, const void* data, DWORD size) {
  const CString fresh = CString(path) + ".new";
  CFileHandle file(CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const bool complete = size == 0 || (WriteFile(file.get(), data, size, &written, nullptr) && written == size);
  if (!file.Close() || !complete) {
    DeleteFileA(fresh);
    return false;
  }
  if ((GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES && !DeleteFileA(path)) || !MoveFileA(fresh, path)) {
    DeleteFileA(fresh);
    return false;
  }
  return true;
}

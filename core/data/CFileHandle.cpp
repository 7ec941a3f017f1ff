#include "core/data/CFileHandle.h"

#include <win32/handleapi.h>

bool CFileHandle::Close() {
  const bool closed = m_handle == INVALID_HANDLE_VALUE || CloseHandle(m_handle);
  m_handle = INVALID_HANDLE_VALUE;
  return closed;
}

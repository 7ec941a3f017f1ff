// A file handle closed when it goes out of scope, and the safe way the program's own data
// files are rewritten: the new contents go to a ".new" file beside the old one, which is
// replaced only once everything was written and closed.
#pragma once

#include <win32/types.h>

class CFileHandle {
 public:
  explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
  ~CFileHandle() { Close(); }
  CFileHandle(const CFileHandle&) = delete;
  CFileHandle& operator=(const CFileHandle&) = delete;

  explicit operator bool() const { return m_handle != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return m_handle; }
  // False when closing failed (a write the system held back may have been lost).
  bool Close();

  // Puts `size` bytes in place of the file at `path`; on any failure the old file is left
  // as it was and no ".new" file remains.
  static bool ReplaceWhole(LPCSTR path, const void* data, DWORD size);

 private:
  HANDLE m_handle;
};

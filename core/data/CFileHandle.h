// A file handle closed when it goes out of scope. Stored files are saved with
// ReplaceFileContentsA and opened after TakeLeftoverFileA (see <win32/file.h>).
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

 private:
  HANDLE m_handle;
};

// A binary file on the machine's drives, over the kernel's file handles. Paths are
// Windows paths, as CreateFileA takes them.
//
// Nothing throws: Open returns FALSE (filling the optional CFileException), Read returns
// the bytes it got (0 on failure), Seek returns -1 on failure, Remove and Rename return
// FALSE, and a failed Write or Flush is logged (category "mfc") with the last error set.
// Positions and lengths are 32-bit, as the callers use them.
#pragma once

#include <mfc/CFileException.h>
#include <mfc/CFileStatus.h>
#include <mfc/CObject.h>
#include <mfc/CString.h>

class CFile : public CObject {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,  // for CStdioFile; a CFile is always binary
    typeBinary = 0x8000
  };
  enum Attribute : BYTE { normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04, volume = 0x08, directory = 0x10, archive = 0x20 };
  enum SeekPosition : UINT { begin = 0x0, current = 0x1, end = 0x2 };
  static const HANDLE hFileNull;

  CFile() = default;
  ~CFile() override;

  // modeCreate truncates an existing file unless modeNoTruncate is given; without
  // modeCreate the file must exist.
  virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  virtual void Close();

  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual void Flush();
  // The new position from the start, or -1.
  virtual LONG Seek(LONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
  virtual DWORD GetPosition() const;
  virtual DWORD GetLength() const;
  // Truncates or extends the file; the position moves to the new end.
  virtual void SetLength(DWORD dwNewLen);

  // The full Windows path; GetFileName is its last component.
  CString GetFilePath() const { return m_strFileName; }
  CString GetFileName() const;

  BOOL GetStatus(CFileStatus& rStatus) const;
  static BOOL PASCAL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
  static BOOL PASCAL Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
  static BOOL PASCAL Remove(LPCSTR lpszFileName);

  HANDLE m_hFile = INVALID_HANDLE_VALUE;  // hFileNull when closed

 protected:
  BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

 private:
  CString m_strFileName;
};

// A CFile read and written as lines of text. Opened with typeText (or without typeBinary)
// it is in text mode: WriteString writes "\n" as CR-LF, and ReadString reads CR-LF as
// "\n". In binary mode both pass bytes through unchanged, as Read and Write do in
// either mode.
//
// Lines are read through a read-ahead buffer; Read, Write, Seek, GetPosition and SetLength
// all see the position the caller has read up to, not how far the buffer has read.
#pragma once

#include <mfc/CFile.h>

#include <vector>

class CStdioFile : public CFile {
 public:
  CStdioFile() = default;

  BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  void Close() override;

  // Like fgets: at most nMax - 1 characters, up to and including the line feed, then a
  // NUL. NULL at the end of the file.
  virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
  // The next line without its line feed (in text mode without its CR-LF); FALSE at the end
  // of the file. A last line without a line feed still counts.
  virtual BOOL ReadString(CString& rString);
  // Writes the text as it is, adding no line feed of its own.
  virtual void WriteString(LPCSTR lpsz);

  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  LONG Seek(LONG lOff, UINT nFrom) override;
  DWORD GetPosition() const override;
  void SetLength(DWORD dwNewLen) override;

 private:
  // The next byte, or -1 at the end of the file.
  int NextByte();
  int PeekByte();
  bool FillBuffer();
  // Moves the file back to the caller's position and drops what was read ahead.
  void DropReadAhead();
  DWORD Unread() const { return static_cast<DWORD>(m_readAhead.size() - m_readPos); }

  bool m_bTextMode = true;
  std::vector<char> m_readAhead;
  std::size_t m_readPos = 0;
};

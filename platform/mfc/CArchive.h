// A buffered stream of values over a CFile, for storing (IsStoring) or loading
// (IsLoading). Numbers are stored little-endian at their Windows sizes (BYTE 1, WORD 2,
// LONG/int/DWORD/float 4, double 8). A CString is stored as its length and its characters
// without a terminator; the length takes one byte below 255, else 0xFF and a WORD below
// 0xFFFF, else 0xFF, 0xFFFF and a DWORD.
//
// Loading past the end of the file gives zeros and empty or cut-short strings and logs
// (category "mfc"); nothing throws. Close (or the destructor, unless bNoFlushOnDelete)
// writes what is buffered; after loading it moves the file back to the last byte taken.
#pragma once

#include <mfc/CFile.h>
#include <mfc/CString.h>

#include <vector>

class CArchive {
 public:
  enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  // lpBuf is accepted for compatibility; the archive keeps a buffer of nBufSize bytes.
  CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return !IsLoading(); }
  CFile* GetFile() const { return m_pFile; }

  // Returns the bytes read, fewer than nMax at the end of the file.
  UINT Read(void* lpBuf, UINT nMax);
  void Write(const void* lpBuf, UINT nMax);
  void Flush();
  void Close();

  // A line without its line end ("\n" or "\r\n"); FALSE at the end of the file.
  BOOL ReadString(CString& rString);
  // At most nMax - 1 characters of a line, without its line end; NULL at the end.
  LPSTR ReadString(LPSTR lpsz, UINT nMax);
  // The characters as they are: no terminator and no line end.
  void WriteString(LPCSTR lpsz);

  CArchive& operator<<(BYTE by);
  CArchive& operator<<(WORD w);
  CArchive& operator<<(LONG l);  // also int: LONG is int here
  CArchive& operator<<(DWORD dw);
  CArchive& operator<<(float f);
  CArchive& operator<<(double d);
  CArchive& operator>>(BYTE& by);
  CArchive& operator>>(WORD& w);
  CArchive& operator>>(LONG& l);
  CArchive& operator>>(DWORD& dw);
  CArchive& operator>>(float& f);
  CArchive& operator>>(double& d);

 private:
  void WriteLittleEndian(ULONGLONG value, UINT size);
  ULONGLONG ReadLittleEndian(UINT size);
  int NextByte();
  bool FillBuffer();

  CFile* m_pFile;
  UINT m_nMode;
  std::size_t m_nBufSize;
  std::vector<BYTE> m_buffer;  // storing: bytes not yet written; loading: bytes read ahead
  std::size_t m_readPos = 0;
};

CArchive& operator<<(CArchive& ar, const CString& string);
CArchive& operator>>(CArchive& ar, CString& string);

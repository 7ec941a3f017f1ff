#include <mfc/CStdioFile.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {
constexpr std::size_t kReadAheadSize = 4096;
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  m_readAhead.clear();
  m_readPos = 0;
  m_bTextMode = !(nOpenFlags & typeBinary);
  return CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pError);
}

void CStdioFile::Close() {
  m_readAhead.clear();
  m_readPos = 0;
  CFile::Close();
}

bool CStdioFile::FillBuffer() {
  m_readAhead.resize(kReadAheadSize);
  m_readAhead.resize(CFile::Read(m_readAhead.data(), kReadAheadSize));
  m_readPos = 0;
  return !m_readAhead.empty();
}

int CStdioFile::PeekByte() {
  if (m_readPos == m_readAhead.size() && !FillBuffer()) return -1;
  return static_cast<unsigned char>(m_readAhead[m_readPos]);
}

int CStdioFile::NextByte() {
  const int ch = PeekByte();
  if (ch >= 0) ++m_readPos;
  return ch;
}

void CStdioFile::DropReadAhead() {
  if (Unread() > 0) CFile::Seek(-static_cast<LONG>(Unread()), current);
  m_readAhead.clear();
  m_readPos = 0;
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax) {
  ASSERT(lpsz != nullptr && nMax > 0);
  if (!lpsz || nMax == 0) return nullptr;
  UINT count = 0;
  while (count + 1 < nMax) {
    int ch = NextByte();
    if (ch < 0) break;
    if (m_bTextMode && ch == '\r' && PeekByte() == '\n') ch = NextByte();
    lpsz[count++] = static_cast<char>(ch);
    if (ch == '\n') break;
  }
  lpsz[count] = '\0';
  return count > 0 ? lpsz : nullptr;
}

BOOL CStdioFile::ReadString(CString& rString) {
  std::string line;
  bool any = false;
  for (int ch; (ch = NextByte()) >= 0;) {
    any = true;
    if (ch == '\n') {
      if (m_bTextMode && !line.empty() && line.back() == '\r') line.pop_back();
      break;
    }
    line += static_cast<char>(ch);
  }
  rString = CString(line.data(), static_cast<int>(line.size()));
  return any;
}

void CStdioFile::WriteString(LPCSTR lpsz) {
  ASSERT(lpsz != nullptr);
  if (!lpsz) return;
  if (!m_bTextMode) {
    Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
    return;
  }
  std::string text;
  for (const char* p = lpsz; *p; ++p) {
    if (*p == '\n') text += '\r';
    text += *p;
  }
  Write(text.data(), static_cast<UINT>(text.size()));
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  const UINT fromBuffer = std::min<UINT>(nCount, Unread());
  if (fromBuffer > 0) std::memcpy(lpBuf, m_readAhead.data() + m_readPos, fromBuffer);
  m_readPos += fromBuffer;
  if (fromBuffer == nCount) return nCount;
  return fromBuffer + CFile::Read(static_cast<char*>(lpBuf) + fromBuffer, nCount - fromBuffer);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  DropReadAhead();
  CFile::Write(lpBuf, nCount);
}

LONG CStdioFile::Seek(LONG lOff, UINT nFrom) {
  DropReadAhead();
  return CFile::Seek(lOff, nFrom);
}

DWORD CStdioFile::GetPosition() const { return CFile::GetPosition() - Unread(); }

void CStdioFile::SetLength(DWORD dwNewLen) {
  DropReadAhead();
  CFile::SetLength(dwNewLen);
}

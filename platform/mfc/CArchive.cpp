#include <mfc/CArchive.h>

#include <machine/Log.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kMinBufferSize = 128;
constexpr BYTE kByteEscape = 0xFF;
constexpr WORD kWordEscape = 0xFFFF;

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(std::max<std::size_t>(kMinBufferSize, nBufSize > 0 ? nBufSize : 0)) {
  ASSERT(pFile != nullptr);
  m_buffer.reserve(m_nBufSize);
}

CArchive::~CArchive() {
  if (m_pFile && !(m_nMode & bNoFlushOnDelete)) Close();
}

void CArchive::Close() {
  if (m_pFile) Flush();
  m_pFile = nullptr;
}

void CArchive::Flush() {
  if (!m_pFile) return;
  if (IsStoring()) {
    if (!m_buffer.empty()) m_pFile->Write(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
  } else if (m_readPos < m_buffer.size()) {
    // Hand the bytes read ahead back to the file, so it continues where the caller stopped.
    m_pFile->Seek(-static_cast<LONG>(m_buffer.size() - m_readPos), CFile::current);
  }
  m_buffer.clear();
  m_readPos = 0;
}

bool CArchive::FillBuffer() {
  m_buffer.resize(m_nBufSize);
  m_buffer.resize(m_pFile ? m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_nBufSize)) : 0);
  m_readPos = 0;
  return !m_buffer.empty();
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  ASSERT(IsLoading());
  auto* out = static_cast<BYTE*>(lpBuf);
  UINT done = 0;
  while (done < nMax) {
    if (m_readPos == m_buffer.size() && !FillBuffer()) break;
    const std::size_t chunk = std::min<std::size_t>(nMax - done, m_buffer.size() - m_readPos);
    std::memcpy(out + done, m_buffer.data() + m_readPos, chunk);
    m_readPos += chunk;
    done += static_cast<UINT>(chunk);
  }
  return done;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
  ASSERT(IsStoring());
  if (!m_pFile || nMax == 0) return;
  if (m_buffer.size() + nMax > m_nBufSize) Flush();
  if (nMax >= m_nBufSize) {
    m_pFile->Write(lpBuf, nMax);
    return;
  }
  const auto* bytes = static_cast<const BYTE*>(lpBuf);
  m_buffer.insert(m_buffer.end(), bytes, bytes + nMax);
}

int CArchive::NextByte() {
  BYTE ch = 0;
  return Read(&ch, 1) == 1 ? ch : -1;
}

BOOL CArchive::ReadString(CString& rString) {
  std::string line;
  bool any = false;
  for (int ch; (ch = NextByte()) >= 0;) {
    any = true;
    if (ch == '\n') break;
    line += static_cast<char>(ch);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  rString = CString(line.data(), static_cast<int>(line.size()));
  return any;
}

LPSTR CArchive::ReadString(LPSTR lpsz, UINT nMax) {
  ASSERT(lpsz != nullptr && nMax > 0);
  if (!lpsz || nMax == 0) return nullptr;
  UINT count = 0;
  bool any = false;
  for (int ch; count + 1 < nMax && (ch = NextByte()) >= 0;) {
    any = true;
    if (ch == '\n') break;
    lpsz[count++] = static_cast<char>(ch);
  }
  if (count > 0 && lpsz[count - 1] == '\r') --count;
  lpsz[count] = '\0';
  return any ? lpsz : nullptr;
}

void CArchive::WriteString(LPCSTR lpsz) {
  if (lpsz) Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

void CArchive::WriteLittleEndian(ULONGLONG value, UINT size) {
  BYTE bytes[8];
  for (UINT i = 0; i < size; ++i) bytes[i] = static_cast<BYTE>(value >> (8 * i));
  Write(bytes, size);
}

ULONGLONG CArchive::ReadLittleEndian(UINT size) {
  BYTE bytes[8] = {};
  if (Read(bytes, size) != size) PLAT_LOG("mfc", "CArchive: read past the end of the file");
  ULONGLONG value = 0;
  for (UINT i = 0; i < size; ++i) value |= static_cast<ULONGLONG>(bytes[i]) << (8 * i);
  return value;
}

CArchive& CArchive::operator<<(BYTE by) {
  WriteLittleEndian(by, 1);
  return *this;
}

CArchive& CArchive::operator<<(WORD w) {
  WriteLittleEndian(w, 2);
  return *this;
}

CArchive& CArchive::operator<<(LONG l) {
  WriteLittleEndian(static_cast<DWORD>(l), 4);
  return *this;
}

CArchive& CArchive::operator<<(DWORD dw) {
  WriteLittleEndian(dw, 4);
  return *this;
}

CArchive& CArchive::operator<<(float f) {
  DWORD bits;
  std::memcpy(&bits, &f, sizeof bits);
  WriteLittleEndian(bits, 4);
  return *this;
}

CArchive& CArchive::operator<<(double d) {
  ULONGLONG bits;
  std::memcpy(&bits, &d, sizeof bits);
  WriteLittleEndian(bits, 8);
  return *this;
}

CArchive& CArchive::operator>>(BYTE& by) {
  by = static_cast<BYTE>(ReadLittleEndian(1));
  return *this;
}

CArchive& CArchive::operator>>(WORD& w) {
  w = static_cast<WORD>(ReadLittleEndian(2));
  return *this;
}

CArchive& CArchive::operator>>(LONG& l) {
  l = static_cast<LONG>(static_cast<DWORD>(ReadLittleEndian(4)));
  return *this;
}

CArchive& CArchive::operator>>(DWORD& dw) {
  dw = static_cast<DWORD>(ReadLittleEndian(4));
  return *this;
}

CArchive& CArchive::operator>>(float& f) {
  const auto bits = static_cast<DWORD>(ReadLittleEndian(4));
  std::memcpy(&f, &bits, sizeof f);
  return *this;
}

CArchive& CArchive::operator>>(double& d) {
  const ULONGLONG bits = ReadLittleEndian(8);
  std::memcpy(&d, &bits, sizeof d);
  return *this;
}

CArchive& operator<<(CArchive& ar, const CString& string) {
  const auto length = static_cast<DWORD>(string.GetLength());
  if (length < kByteEscape) {
    ar << static_cast<BYTE>(length);
  } else if (length < kWordEscape) {
    ar << kByteEscape << static_cast<WORD>(length);
  } else {
    ar << kByteEscape << kWordEscape << length;
  }
  ar.Write(static_cast<LPCSTR>(string), length);
  return ar;
}

CArchive& operator>>(CArchive& ar, CString& string) {
  BYTE byteLength = 0;
  ar >> byteLength;
  DWORD length = byteLength;
  if (byteLength == kByteEscape) {
    WORD wordLength = 0;
    ar >> wordLength;
    length = wordLength;
    if (wordLength == kWordEscape) ar >> length;
  }
  // Read in pieces, so a damaged length cannot ask for more memory than the file holds.
  std::string text;
  char chunk[4096];
  while (text.size() < length) {
    const UINT want = static_cast<UINT>(std::min<std::size_t>(sizeof chunk, length - text.size()));
    const UINT got = ar.Read(chunk, want);
    text.append(chunk, got);
    if (got < want) {
      PLAT_LOG("mfc", "CArchive: string of %u characters cut short at %zu", length, text.size());
      break;
    }
  }
  string = CString(text.data(), static_cast<int>(text.size()));
  return ar;
}

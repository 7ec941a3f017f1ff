#include <mfc/CString.h>

#include <mfc/StringResources.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

bool isSpace(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }
char toLowerAscii(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }
char toUpperAscii(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }
LPCSTR orEmpty(LPCSTR lpsz) { return lpsz ? lpsz : ""; }
int sign(int value) { return (value > 0) - (value < 0); }

std::string formatToString(LPCSTR format, va_list args) {
  if (!format) return {};
  va_list sizing;
  va_copy(sizing, args);
  const int length = std::vsnprintf(nullptr, 0, format, sizing);
  va_end(sizing);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  return text;
}

template <class Pred>
std::size_t leadingCount(const std::string& text, Pred inSet) {
  std::size_t n = 0;
  while (n < text.size() && inSet(text[n])) ++n;
  return n;
}

template <class Pred>
std::size_t trailingStart(const std::string& text, Pred inSet) {
  std::size_t n = text.size();
  while (n > 0 && inSet(text[n - 1])) --n;
  return n;
}

}  // namespace

CString::CString(LPCSTR lpsz) {
  if (lpsz && IS_INTRESOURCE(lpsz)) {
    LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(lpsz)));
  } else if (lpsz) {
    m_text = lpsz;
  }
}

CString::CString(LPCSTR lpch, int nLength) {
  if (lpch && nLength > 0) m_text.assign(lpch, static_cast<std::size_t>(nLength));
}

CString::CString(char ch, int nRepeat) {
  if (nRepeat > 0) m_text.assign(static_cast<std::size_t>(nRepeat), ch);
}

char CString::GetAt(int nIndex) const {
  ASSERT(IsValidIndex(nIndex));
  return IsValidIndex(nIndex) ? m_text[static_cast<std::size_t>(nIndex)] : '\0';
}

void CString::SetAt(int nIndex, char ch) {
  ASSERT(IsValidIndex(nIndex));
  if (IsValidIndex(nIndex)) m_text[static_cast<std::size_t>(nIndex)] = ch;
}

CString& CString::operator=(LPCSTR lpsz) {
  // The source may point into this string.
  m_text = std::string(orEmpty(lpsz));
  return *this;
}

CString& CString::operator=(char ch) {
  m_text.assign(1, ch);
  return *this;
}

CString& CString::operator+=(const CString& other) {
  m_text += other.m_text;
  return *this;
}

CString& CString::operator+=(LPCSTR lpsz) {
  m_text += std::string(orEmpty(lpsz));
  return *this;
}

CString& CString::operator+=(char ch) {
  m_text += ch;
  return *this;
}

int CString::Compare(LPCSTR lpsz) const { return sign(std::strcmp(m_text.c_str(), orEmpty(lpsz))); }

int CString::CompareNoCase(LPCSTR lpsz) const {
  const auto* a = reinterpret_cast<const unsigned char*>(m_text.c_str());
  const auto* b = reinterpret_cast<const unsigned char*>(orEmpty(lpsz));
  for (;; ++a, ++b) {
    const auto ca = static_cast<unsigned char>(toLowerAscii(static_cast<char>(*a)));
    const auto cb = static_cast<unsigned char>(toLowerAscii(static_cast<char>(*b)));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int CString::Collate(LPCSTR lpsz) const { return Compare(lpsz); }

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
  const long long length = GetLength();
  long long first = std::max(nFirst, 0);
  long long count = std::max(nCount, 0);
  if (first > length) first = length;
  if (first + count > length) count = length - first;
  return CString(m_text.c_str() + first, static_cast<int>(count));
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
  const int count = std::clamp(nCount, 0, GetLength());
  return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const {
  return Left(static_cast<int>(std::strspn(m_text.c_str(), orEmpty(lpszCharSet))));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const {
  return Left(static_cast<int>(std::strcspn(m_text.c_str(), orEmpty(lpszCharSet))));
}

void CString::MakeUpper() { std::transform(m_text.begin(), m_text.end(), m_text.begin(), toUpperAscii); }

void CString::MakeLower() { std::transform(m_text.begin(), m_text.end(), m_text.begin(), toLowerAscii); }

void CString::MakeReverse() { std::reverse(m_text.begin(), m_text.end()); }

int CString::Replace(char chOld, char chNew) {
  int count = 0;
  for (char& ch : m_text) {
    if (ch == chOld) {
      ch = chNew;
      ++count;
    }
  }
  return count;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew) {
  const std::string from = orEmpty(lpszOld);
  const std::string to = orEmpty(lpszNew);
  if (from.empty()) return 0;
  std::string result;
  int count = 0;
  std::size_t start = 0;
  for (std::size_t hit; (hit = m_text.find(from, start)) != std::string::npos; start = hit + from.size()) {
    result.append(m_text, start, hit - start).append(to);
    ++count;
  }
  result.append(m_text, start, std::string::npos);
  m_text = std::move(result);
  return count;
}

int CString::Remove(char chRemove) {
  const auto newEnd = std::remove(m_text.begin(), m_text.end(), chRemove);
  const int count = static_cast<int>(m_text.end() - newEnd);
  m_text.erase(newEnd, m_text.end());
  return count;
}

int CString::Insert(int nIndex, char ch) {
  m_text.insert(static_cast<std::size_t>(std::clamp(nIndex, 0, GetLength())), 1, ch);
  return GetLength();
}

int CString::Insert(int nIndex, LPCSTR psz) {
  const std::string text = orEmpty(psz);
  m_text.insert(static_cast<std::size_t>(std::clamp(nIndex, 0, GetLength())), text);
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  const int index = std::max(nIndex, 0);
  if (nCount > 0 && index < GetLength()) m_text.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(nCount));
  return GetLength();
}

void CString::TrimLeft() { m_text.erase(0, leadingCount(m_text, isSpace)); }

void CString::TrimLeft(char chTarget) {
  m_text.erase(0, leadingCount(m_text, [chTarget](char ch) { return ch == chTarget; }));
}

void CString::TrimLeft(LPCSTR lpszTargets) {
  const std::string set = orEmpty(lpszTargets);
  m_text.erase(0, leadingCount(m_text, [&set](char ch) { return set.find(ch) != std::string::npos; }));
}

void CString::TrimRight() { m_text.erase(trailingStart(m_text, isSpace)); }

void CString::TrimRight(char chTarget) {
  m_text.erase(trailingStart(m_text, [chTarget](char ch) { return ch == chTarget; }));
}

void CString::TrimRight(LPCSTR lpszTargets) {
  const std::string set = orEmpty(lpszTargets);
  m_text.erase(trailingStart(m_text, [&set](char ch) { return set.find(ch) != std::string::npos; }));
}

void CString::Trim() {
  TrimRight();
  TrimLeft();
}

void CString::Trim(char chTarget) {
  TrimRight(chTarget);
  TrimLeft(chTarget);
}

void CString::Trim(LPCSTR lpszTargets) {
  TrimRight(lpszTargets);
  TrimLeft(lpszTargets);
}

int CString::Find(char ch, int nStart) const {
  if (nStart < 0 || nStart > GetLength()) return -1;
  const auto hit = m_text.find(ch, static_cast<std::size_t>(nStart));
  return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

int CString::Find(LPCSTR lpszSub, int nStart) const {
  if (nStart < 0 || nStart > GetLength()) return -1;
  const auto hit = m_text.find(orEmpty(lpszSub), static_cast<std::size_t>(nStart));
  return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

int CString::ReverseFind(char ch) const {
  const auto hit = m_text.rfind(ch);
  return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

int CString::FindOneOf(LPCSTR lpszCharSet) const {
  const std::string set = orEmpty(lpszCharSet);
  if (set.empty()) return -1;
  const auto hit = m_text.find_first_of(set);
  return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

void CString::FormatV(LPCSTR lpszFormat, va_list argList) { m_text = formatToString(lpszFormat, argList); }

void CString::FormatWidened(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  m_text = formatToString(lpszFormat, args);
  va_end(args);
}

void CString::AppendFormatWidened(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  m_text += formatToString(lpszFormat, args);
  va_end(args);
}

BOOL CString::LoadString(UINT nID) {
  std::string text;
  const bool found = plat::StringResources::find(nID, text);
  m_text = found ? std::move(text) : std::string();
  return found;
}

LPSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > GetLength()) m_text.resize(static_cast<std::size_t>(nMinBufLength));
  return m_text.data();
}

void CString::ReleaseBuffer(int nNewLength) {
  std::size_t length = nNewLength < 0 ? std::strlen(m_text.c_str()) : static_cast<std::size_t>(nNewLength);
  ASSERT(length <= m_text.size());
  m_text.resize(std::min(length, m_text.size()));
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
  m_text.resize(static_cast<std::size_t>(std::max(nNewLength, 0)));
  return m_text.data();
}

LPSTR CString::LockBuffer() { return m_text.data(); }

CString operator+(const CString& a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const CString& a, LPCSTR b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(LPCSTR a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const CString& a, char b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(char a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

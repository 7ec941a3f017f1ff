// A string of ANSI characters (CStringA), a value: copies are independent, and a CString
// converts to `const char*` wherever the platform's functions want one.
//
// Positions and counts are ints as the callers expect; Mid/Left/Right clamp out-of-range
// arguments instead of failing. GetBuffer hands out the characters for writing; after
// writing, ReleaseBuffer sets the length (by strlen when no length is given).
//
// Format is type-aware: a CString argument is passed as its characters (the "%s" idiom),
// and every integer narrower than 64 bits is widened before it reaches printf, so "%ld" —
// 32 bits on the platform the callers were written for, 64 bits here — prints a LONG or
// DWORD correctly while "%d" and "%x" still read the low 32 bits of the widened value.
// FormatV takes a va_list as printf does and cannot do either.
#pragma once

#include <mfc/afxdebug.h>

#include <cstdarg>
#include <string>
#include <type_traits>

class CString;

namespace plat {

// Every variadic argument occupies a 64-bit slot on the ABIs this is built for, and a
// 32-bit read takes the low half of it; widening relies on that.
static_assert(sizeof(void*) == 8, "Format's argument widening assumes a 64-bit ABI");

template <class T>
auto formatArg(const T& value) {
  if constexpr (std::is_enum_v<T>) {
    return formatArg(static_cast<std::underlying_type_t<T>>(value));
  } else if constexpr (std::is_integral_v<T> && sizeof(T) < 8) {
    if constexpr (std::is_signed_v<T>) {
      return static_cast<long long>(value);
    } else {
      return static_cast<unsigned long long>(value);
    }
  } else {
    return value;
  }
}

LPCSTR formatArg(const CString& value);

}  // namespace plat

class CString {
 public:
  CString() = default;
  CString(const CString& other) = default;
  CString(CString&& other) noexcept = default;
  // NULL gives an empty string; MAKEINTRESOURCE(id) loads string `id` (see LoadString).
  CString(LPCSTR lpsz);  // NOLINT: converts implicitly, as callers expect
  CString(LPCSTR lpch, int nLength);
  explicit CString(char ch, int nRepeat = 1);
  ~CString() = default;

  int GetLength() const { return static_cast<int>(m_text.size()); }
  BOOL IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }

  char GetAt(int nIndex) const;
  char operator[](int nIndex) const { return GetAt(nIndex); }
  void SetAt(int nIndex, char ch);
  operator LPCSTR() const { return m_text.c_str(); }  // NOLINT: the implicit conversion is the point

  CString& operator=(const CString& other) = default;
  CString& operator=(CString&& other) noexcept = default;
  CString& operator=(LPCSTR lpsz);
  CString& operator=(char ch);
  CString& operator+=(const CString& other);
  CString& operator+=(LPCSTR lpsz);
  CString& operator+=(char ch);

  // strcmp-style results: negative, zero or positive.
  int Compare(LPCSTR lpsz) const;
  // Without regard to ASCII case; letters compare as lower case, so "_" sorts before "A".
  int CompareNoCase(LPCSTR lpsz) const;
  // Locale order; the programs run in the "C" locale, where it is Compare.
  int Collate(LPCSTR lpsz) const;

  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  // The leading characters that are (SpanIncluding) or are not (SpanExcluding) in the set.
  CString SpanIncluding(LPCSTR lpszCharSet) const;
  CString SpanExcluding(LPCSTR lpszCharSet) const;

  void MakeUpper();
  void MakeLower();
  void MakeReverse();

  // Each returns the number of replacements or removals.
  int Replace(char chOld, char chNew);
  int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
  int Remove(char chRemove);
  // Each returns the new length.
  int Insert(int nIndex, char ch);
  int Insert(int nIndex, LPCSTR psz);
  int Delete(int nIndex, int nCount = 1);

  // Without an argument: white space. With one: that character, or any of a set.
  void TrimLeft();
  void TrimLeft(char chTarget);
  void TrimLeft(LPCSTR lpszTargets);
  void TrimRight();
  void TrimRight(char chTarget);
  void TrimRight(LPCSTR lpszTargets);
  void Trim();
  void Trim(char chTarget);
  void Trim(LPCSTR lpszTargets);

  // Zero-based position, or -1 when absent or when nStart is past the end.
  int Find(char ch, int nStart = 0) const;
  int Find(LPCSTR lpszSub, int nStart = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(LPCSTR lpszCharSet) const;

  template <class... Args>
  void Format(LPCSTR lpszFormat, const Args&... args) {
    FormatWidened(lpszFormat, plat::formatArg(args)...);
  }
  template <class... Args>
  void AppendFormat(LPCSTR lpszFormat, const Args&... args) {
    AppendFormatWidened(lpszFormat, plat::formatArg(args)...);
  }
  void FormatV(LPCSTR lpszFormat, va_list argList);

  // From the string table (plat::StringResources); not found leaves the string empty.
  BOOL LoadString(UINT nID);

  // At least nMinBufLength characters (plus the terminator) to write into.
  LPSTR GetBuffer(int nMinBufLength);
  // Ends writing: the length becomes nNewLength, or strlen of the buffer for -1.
  void ReleaseBuffer(int nNewLength = -1);
  LPSTR GetBufferSetLength(int nNewLength);
  LPSTR LockBuffer();
  void UnlockBuffer() {}

  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, LPCSTR b);
  friend CString operator+(LPCSTR a, const CString& b);
  friend CString operator+(const CString& a, char b);
  friend CString operator+(char a, const CString& b);

 private:
  void FormatWidened(LPCSTR lpszFormat, ...);
  void AppendFormatWidened(LPCSTR lpszFormat, ...);
  bool IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetLength(); }

  std::string m_text;
};

inline LPCSTR plat::formatArg(const CString& value) { return value; }

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
inline bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
inline bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator<=(const CString& a, LPCSTR b) { return a.Compare(b) <= 0; }
inline bool operator<=(LPCSTR a, const CString& b) { return b.Compare(a) >= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
inline bool operator>=(const CString& a, LPCSTR b) { return a.Compare(b) >= 0; }
inline bool operator>=(LPCSTR a, const CString& b) { return b.Compare(a) <= 0; }

using CStringA = CString;

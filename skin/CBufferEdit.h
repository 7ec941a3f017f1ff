// A small edit that keeps a copy of its text in a buffer of its own, released with it, and
// reads that text as an unsigned number of decimal digits.
#pragma once

#include <mfc/afxwin.h>

#include <vector>

class CBufferEdit : public CEdit {
 public:
  // What ParseDigits answers for a text that is no number.
  static constexpr UINT kNoNumber = static_cast<UINT>(-1);

  // Copies the window text into the buffer and returns the buffer.
  LPCSTR ReadText();
  // The buffer as last read ("" before the first read).
  LPCSTR GetBuffer() const { return m_buffer.empty() ? "" : m_buffer.data(); }
  // The value of the buffer's digits (ReadText first).
  UINT GetValue() { return ParseDigits(ReadText()); }

  // Decimal digits to their value, leading zeros skipped; kNoNumber for an empty text, a
  // text with any other character, or a value too large to tell from kNoNumber.
  static UINT ParseDigits(LPCSTR lpszText);

 private:
  std::vector<char> m_buffer;
};

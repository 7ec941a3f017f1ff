#include "skin/CBufferEdit.h"

LPCSTR CBufferEdit::ReadText() {
  const int length = m_hWnd ? GetWindowTextLength() : 0;
  m_buffer.assign(static_cast<std::size_t>(length) + 1, '\0');
  if (length > 0) GetWindowText(m_buffer.data(), length + 1);
  return m_buffer.data();
}

UINT CBufferEdit::ParseDigits(LPCSTR lpszText) {
  if (!lpszText || !*lpszText) return kNoNumber;
  unsigned long long value = 0;
  for (const char* c = lpszText; *c; ++c) {
    if (*c < '0' || *c > '9') return kNoNumber;
    value = value * 10 + static_cast<unsigned>(*c - '0');
    if (value >= kNoNumber) return kNoNumber;
  }
  return static_cast<UINT>(value);
}

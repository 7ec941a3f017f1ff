// Bounded copies into and out of fixed-width text fields. A stored field may fill its whole
// width without a NUL; these never read or write past a field and always terminate what
// they copy into a text buffer.
#pragma once

#include <cstddef>
#include <cstring>

// Copies the text of a field of `fieldWidth` bytes (NUL-terminated or full) into `dest`,
// which holds at least fieldWidth + 1 bytes.
inline void CopyFromField(char* dest, const char* field, std::size_t fieldWidth) {
  std::size_t length = strnlen(field, fieldWidth);
  std::memcpy(dest, field, length);
  dest[length] = '\0';
}

// Stores `text` in a field of `fieldWidth` bytes: up to fieldWidth characters, the rest of
// the field zero, so a full-width text keeps every character and nothing past the field
// is touched.
inline void CopyToField(char* field, std::size_t fieldWidth, const char* text) {
  std::size_t length = strnlen(text, fieldWidth);
  std::memcpy(field, text, length);
  std::memset(field + length, 0, fieldWidth - length);
}

// Copies `text` into a buffer of `size` bytes when it fits with its NUL; false (and the
// buffer unchanged) when it does not.
inline bool CopyIfFits(char* dest, std::size_t size, const char* text) {
  std::size_t length = strnlen(text, size);
  if (length >= size) return false;
  std::memcpy(dest, text, length + 1);
  return true;
}

#include <mfc/afxdebug.h>

#include <win32/debug.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

void AfxAssertFailedLine(LPCSTR lpszFileName, int nLine) {
  std::fprintf(stderr, "Assertion failed: %s(%d)\n", lpszFileName ? lpszFileName : "?", nLine);
  std::fflush(stderr);
  std::abort();
}

void AfxTrace(LPCSTR lpszFormat, ...) {
  if (!lpszFormat) return;
  va_list args;
  va_start(args, lpszFormat);
  va_list sizing;
  va_copy(sizing, args);
  const int length = std::vsnprintf(nullptr, 0, lpszFormat, sizing);
  va_end(sizing);
  if (length >= 0) {
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), lpszFormat, args);
    OutputDebugStringA(text.data());
  }
  va_end(args);
}

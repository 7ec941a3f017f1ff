#include "windows/setup/FormatConversions.h"

#include <cstring>
#include <string>

namespace {

constexpr char kFlags[] = "-+ #0";
constexpr char kConversions[] = "diouxXcseEfgGp";
// A width or precision of more digits would make a text of any length.
constexpr int kMostDigits = 2;

// Skips the digits at `p`; false when there are more than kMostDigits.
bool SkipNumber(const char*& p) {
  int digits = 0;
  while (*p >= '0' && *p <= '9') {
    ++p;
    ++digits;
  }
  return digits <= kMostDigits;
}

}  // namespace

bool HasConversions(LPCSTR format, LPCSTR expected) {
  if (!format || !expected) return false;
  std::string found;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr(kFlags, *p)) ++p;
    if (!SkipNumber(p)) return false;
    if (*p == '.' && !SkipNumber(++p)) return false;
    if (!*p || !std::strchr(kConversions, *p)) return false;
    found += *p;
  }
  return found == expected;
}

#include "windows/setup/FormatConversions.h"

#include <cstring>
#include <string>

namespace {

constexpr char kFlags[] = "-+ #0";
constexpr char kConversions[] = "diouxXcseEfgGp";

}  // namespace

bool HasConversions(LPCSTR format, LPCSTR expected) {
  if (!format || !expected) return false;
  std::string found;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr(kFlags, *p)) ++p;
    while (*p >= '0' && *p <= '9') ++p;
    if (*p == '.') {
      ++p;
      while (*p >= '0' && *p <= '9') ++p;
    }
    if (!*p || !std::strchr(kConversions, *p)) return false;
    found += *p;
  }
  return found == expected;
}

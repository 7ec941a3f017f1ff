// Whether a text the program shows reads right on the machine's screen.
#pragma once

#include <win32/codepage.h>
#include <win32/gdi/FontEngine.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace test {

// What keeps `ansi`, a text in the machine's ANSI code page, from reading right on screen:
// bytes the code page cannot decode (U+FFFD), a '?' a failed conversion left (anywhere
// but at the end of a question in Latin letters), or a character no installed face draws
// (it shows as an empty box). Empty when it reads right.
inline std::string Unreadable(const std::string& ansi) {
  if (ansi.empty()) return "";
  const int length = static_cast<int>(ansi.size());
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), static_cast<int>(wide.size()));
  LOGFONTA font{};
  font.lfHeight = -16;
  std::strcpy(font.lfFaceName, "MS Sans Serif");
  const auto face = plat::FontEngine::instance().face(font);
  const auto latinLetter = [](wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); };
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (c == 0xFFFD) return "bytes the code page cannot decode";
    const bool endsQuestion = i > 0 && latinLetter(wide[i - 1]) && (i + 1 == wide.size() || wide[i + 1] == L' ');
    if (c == L'?' && !endsQuestion) return "a '?' left by a failed conversion";
    if (c >= 0x20 && face && !face->draws(static_cast<char32_t>(c))) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
      return std::string("no face draws ") + code;
    }
  }
  return "";
}

}  // namespace test

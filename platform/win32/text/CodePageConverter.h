// One Windows code page the machine can convert, through iconv. Wide text is UTF-32
// (wchar_t). What cannot be converted is replaced and the result says so, leaving the
// Windows rules for that to the caller; nullopt only when iconv lacks the code page.
#pragma once

#include <win32/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace plat {

class CodePageConverter {
 public:
  // CP_ACP is the machine's ANSI code page; nullopt for a code page not supported.
  static std::optional<CodePageConverter> find(UINT codePage);
  // machine.ini [Windows] AnsiCodePage.
  static UINT ansi();

  struct Decoded {
    std::wstring text;
    bool replaced = false;  // some bytes decoded to nothing
  };
  std::optional<Decoded> decode(std::string_view bytes) const;

  struct Encoded {
    std::string bytes;
    bool replaced = false;  // some characters became `replacement`
  };
  std::optional<Encoded> encode(std::wstring_view text, std::string_view replacement) const;

 private:
  CodePageConverter(const char* iconvName, bool singleByte) : m_iconvName(iconvName), m_singleByte(singleByte) {}

  const char* m_iconvName;
  bool m_singleByte;
};

}  // namespace plat

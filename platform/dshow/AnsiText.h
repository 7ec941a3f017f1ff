// Wide text to and from the machine's ANSI code page, for the registry and for names
// that cross between wide COM strings and narrow Windows calls.
#pragma once

#include <string>
#include <string_view>

namespace plat {

class AnsiText {
 public:
  static std::string fromWide(std::wstring_view text);
  static std::wstring toWide(std::string_view text);
};

}  // namespace plat

// GUIDs as text, the way the registry and the string functions write them:
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", 38 characters, braces included.
#pragma once

#include <com/guid.h>

#include <string>
#include <string_view>

namespace plat {

class GuidText {
 public:
  static constexpr std::size_t kLength = 38;

  // Upper-case hexadecimal.
  static std::string format(REFGUID guid);
  // Hex digits of either case; anything but the exact form is refused.
  static bool parse(std::string_view text, GUID& guid);
  static bool parse(std::wstring_view text, GUID& guid);
};

}  // namespace plat

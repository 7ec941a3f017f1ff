#include <com/GuidText.h>

#include <cstdio>

namespace plat {
namespace {

int hexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Reads `digits` hex digits at `pos`, advancing it.
template <class Char>
bool readHex(std::basic_string_view<Char> text, std::size_t& pos, int digits, std::uint64_t& value) {
  value = 0;
  for (int i = 0; i < digits; ++i, ++pos) {
    int v = hexValue(static_cast<wchar_t>(text[pos]));
    if (v < 0) return false;
    value = (value << 4) | static_cast<std::uint64_t>(v);
  }
  return true;
}

template <class Char>
bool expect(std::basic_string_view<Char> text, std::size_t& pos, char c) {
  return text[pos++] == static_cast<Char>(c);
}

template <class Char>
bool parseGuid(std::basic_string_view<Char> text, GUID& guid) {
  if (text.size() != GuidText::kLength) return false;
  std::size_t pos = 0;
  std::uint64_t data1, data2, data3, clock, node;
  if (!expect(text, pos, '{') || !readHex(text, pos, 8, data1) || !expect(text, pos, '-') ||
      !readHex(text, pos, 4, data2) || !expect(text, pos, '-') || !readHex(text, pos, 4, data3) ||
      !expect(text, pos, '-') || !readHex(text, pos, 4, clock) || !expect(text, pos, '-') ||
      !readHex(text, pos, 12, node) || !expect(text, pos, '}'))
    return false;
  guid.Data1 = static_cast<DWORD>(data1);
  guid.Data2 = static_cast<WORD>(data2);
  guid.Data3 = static_cast<WORD>(data3);
  guid.Data4[0] = static_cast<BYTE>(clock >> 8);
  guid.Data4[1] = static_cast<BYTE>(clock);
  for (int i = 0; i < 6; ++i) guid.Data4[2 + i] = static_cast<BYTE>(node >> (8 * (5 - i)));
  return true;
}

}  // namespace

std::string GuidText::format(REFGUID g) {
  char text[kLength + 1];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

bool GuidText::parse(std::string_view text, GUID& guid) { return parseGuid(text, guid); }

bool GuidText::parse(std::wstring_view text, GUID& guid) { return parseGuid(text, guid); }

}  // namespace plat

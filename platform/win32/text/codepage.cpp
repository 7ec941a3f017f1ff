#include <win32/codepage.h>

#include <win32/error.h>
#include <win32/text/CodePageConverter.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

int fail(DWORD error) {
  SetLastError(error);
  return 0;
}

// Windows' rule for the output: size 0 asks for the size, too small fails.
template <class Text, class Unit>
int copyOut(const Text& text, Unit* output, int size) {
  const int needed = static_cast<int>(text.size());
  if (size == 0) return needed;
  if (size < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
  std::copy(text.begin(), text.end(), output);
  return needed;
}

bool badSizes(const void* input, int inputLength, const void* output, int outputSize) {
  return !input || inputLength == 0 || inputLength < -1 || outputSize < 0 || (outputSize > 0 && !output) ||
         input == output;
}

}  // namespace

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar) {
  if (badSizes(lpMultiByteStr, cbMultiByte, lpWideCharStr, cchWideChar)) return fail(ERROR_INVALID_PARAMETER);
  const std::optional<plat::CodePageConverter> page = plat::CodePageConverter::find(CodePage);
  if (!page) return fail(ERROR_INVALID_PARAMETER);
  const std::size_t length = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<std::size_t>(cbMultiByte);
  const std::optional<plat::CodePageConverter::Decoded> decoded = page->decode(std::string_view(lpMultiByteStr, length));
  if (!decoded) return fail(ERROR_INVALID_PARAMETER);
  if (decoded->replaced && (dwFlags & MB_ERR_INVALID_CHARS)) return fail(ERROR_NO_UNICODE_TRANSLATION);
  return copyOut(decoded->text, lpWideCharStr, cchWideChar);
}

int WideCharToMultiByte(UINT CodePage, DWORD, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) {
  if (badSizes(lpWideCharStr, cchWideChar, lpMultiByteStr, cbMultiByte)) return fail(ERROR_INVALID_PARAMETER);
  if (CodePage == CP_UTF8 && (lpDefaultChar || lpUsedDefaultChar)) return fail(ERROR_INVALID_PARAMETER);
  const std::optional<plat::CodePageConverter> page = plat::CodePageConverter::find(CodePage);
  if (!page) return fail(ERROR_INVALID_PARAMETER);
  const std::size_t length = cchWideChar == -1 ? std::wcslen(lpWideCharStr) + 1 : static_cast<std::size_t>(cchWideChar);
  // UTF-8 can encode every character; only a lone surrogate needs standing in for.
  const std::string_view replacement = CodePage == CP_UTF8 ? "\xEF\xBF\xBD"
                                       : lpDefaultChar      ? std::string_view(lpDefaultChar, 1)
                                                            : "?";
  const std::optional<plat::CodePageConverter::Encoded> encoded =
      page->encode(std::wstring_view(lpWideCharStr, length), replacement);
  if (!encoded) return fail(ERROR_INVALID_PARAMETER);
  if (lpUsedDefaultChar) *lpUsedDefaultChar = encoded->replaced ? TRUE : FALSE;
  return copyOut(encoded->bytes, lpMultiByteStr, cbMultiByte);
}

UINT GetACP() { return plat::CodePageConverter::ansi(); }

UINT GetOEMCP() {
  switch (GetACP()) {
    case 1251:
      return 866;
    case 936:
      return 936;
    case 950:
      return 950;
    default:
      return 437;
  }
}

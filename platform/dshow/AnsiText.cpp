#include <dshow/AnsiText.h>

#include <win32/codepage.h>

namespace plat {

std::string AnsiText::fromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), bytes, nullptr, nullptr);
  return out;
}

std::wstring AnsiText::toWide(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring out(static_cast<size_t>(chars > 0 ? chars : 0), L'\0');
  if (chars > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), chars);
  return out;
}

}  // namespace plat

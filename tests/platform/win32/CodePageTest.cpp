// Code-page round trips for the pages the programs meet, and Windows' rules for sizes,
// NULs, undecodable bytes and characters a page lacks.
#include <support/TestMachine.h>

#include <win32/codepage.h>
#include <win32/error.h>

#include <string>

namespace {

using CodePageTest = test::MachineTest;

std::wstring toWide(UINT page, const std::string& bytes, DWORD flags = 0) {
  const int size = MultiByteToWideChar(page, flags, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring text(size, L'\0');
  if (size) {
    EXPECT_EQ(MultiByteToWideChar(page, flags, bytes.data(), int(bytes.size()), text.data(), size), size);
  }
  return text;
}

std::string toBytes(UINT page, const std::wstring& text) {
  const int size = WideCharToMultiByte(page, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  if (size) {
    EXPECT_EQ(WideCharToMultiByte(page, 0, text.data(), int(text.size()), bytes.data(), size, nullptr, nullptr), size);
  }
  return bytes;
}

TEST_F(CodePageTest, RoundTripsThroughEachPage) {
  const struct {
    UINT page;
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {1252, "caf\xE9 \x80", L"caf\u00E9 \u20AC"},
      {936, "\xD6\xD0\xCE\xC4", L"\u4E2D\u6587"},  // 中文 in GBK
      {950, "\xA4\xA4\xA4\xE5", L"\u4E2D\u6587"},  // and in Big5
      {1251, "\xCF\xF0\xE8\xE2\xE5\xF2", L"\u041F\u0440\u0438\u0432\u0435\u0442"},
      {CP_UTF8, "\xE2\x82\xAC \xF0\x9F\x98\x80", L"\u20AC \U0001F600"},  // one unit each: UTF-32
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toWide(c.page, c.bytes), c.text) << c.page;
    EXPECT_EQ(toBytes(c.page, c.text), c.bytes) << c.page;
  }
}

TEST_F(CodePageTest, AnsiCodePageIsTheMachines) {
  // The default machine's: traditional Chinese, Big5.
  EXPECT_EQ(GetACP(), 950u);
  EXPECT_EQ(GetOEMCP(), 950u);
  EXPECT_EQ(toWide(CP_ACP, "\xB6\x7D"), L"\u958B");
  machine().ini().removeKey("Windows", "AnsiCodePage");
  EXPECT_EQ(GetACP(), 950u);
  machine().ini().setValue("Windows", "AnsiCodePage", "1252");
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(GetOEMCP(), 437u);
  EXPECT_EQ(toWide(CP_ACP, "\xE9"), L"\u00E9");
  machine().ini().setValue("Windows", "AnsiCodePage", "1251");
  EXPECT_EQ(GetACP(), 1251u);
  EXPECT_EQ(GetOEMCP(), 866u);
  EXPECT_EQ(toWide(CP_ACP, "\xCF"), L"\u041F");
  EXPECT_EQ(toBytes(CP_ACP, L"\u0442"), "\xF2");
}

TEST_F(CodePageTest, SizesCountTheNulOnlyWhenLengthIsMinusOne) {
  wchar_t wide[8];
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0), 4);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, wide, 4), 4);
  EXPECT_EQ(std::wstring(wide), L"abc");
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, wide, 8), 3);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, wide, 3), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));

  char bytes[8];
  EXPECT_EQ(WideCharToMultiByte(936, 0, L"\u4E2D\u6587", -1, nullptr, 0, nullptr, nullptr), 5);
  EXPECT_EQ(WideCharToMultiByte(936, 0, L"\u4E2D\u6587", -1, bytes, 5, nullptr, nullptr), 5);
  EXPECT_STREQ(bytes, "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(WideCharToMultiByte(936, 0, L"\u4E2D\u6587", 2, bytes, 3, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));

  for (UINT page : {1250u, 874u, 12345u}) {
    EXPECT_EQ(MultiByteToWideChar(page, 0, "abc", -1, wide, 8), 0) << page;
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  }
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 0, wide, 8), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(MultiByteToWideChar(1252, 0, nullptr, -1, wide, 8), 0);
  EXPECT_EQ(WideCharToMultiByte(1252, 0, L"abc", -2, bytes, 8, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(CodePageTest, MissingCharactersBecomeTheDefaultCharacter) {
  char bytes[16];
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(1252, 0, L"a\u4E2Db", 3, bytes, 16, nullptr, &usedDefault);
  EXPECT_EQ(std::string(bytes, length), "a?b");
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(WideCharToMultiByte(1251, 0, L"\u00E9x", 2, bytes, 16, "*", &usedDefault), 2);
  EXPECT_EQ(std::string(bytes, 2), "*x");
  EXPECT_EQ(WideCharToMultiByte(1252, 0, L"plain", 5, nullptr, 0, nullptr, &usedDefault), 5);
  EXPECT_FALSE(usedDefault);

  // UTF-8 has no default character to offer.
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"x", 1, bytes, 16, nullptr, &usedDefault), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(toBytes(CP_UTF8, std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
}

TEST_F(CodePageTest, UndecodableBytes) {
  EXPECT_EQ(toWide(CP_UTF8, "a\xFF" "b"), L"a\uFFFDb");
  EXPECT_EQ(toWide(CP_UTF8, "a\xE2\x82"), L"a\uFFFD\uFFFD");  // cut short
  EXPECT_EQ(toWide(1252, "\x81"), L"\u0081");  // an unassigned byte keeps its number
  wchar_t wide[8];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, wide, 8), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, "\xD6\xD0", 2, wide, 8), 1);
}

}  // namespace

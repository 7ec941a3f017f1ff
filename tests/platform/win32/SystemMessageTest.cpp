// FormatMessageA with the system's texts: the text and its length, and the failures a
// caller sees for a code without a text, a buffer too small and another source.
#include <win32/error.h>
#include <win32/user/usererror.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr DWORD kSystem = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;

TEST(SystemMessageTest, TheSystemsTextsOfTheWindowErrors) {
  const struct {
    DWORD code;
    const char* text;
  } texts[] = {{0, "The operation completed successfully.\r\n"},
               {1400, "Invalid window handle.\r\n"},
               {1421, "Control ID not found.\r\n"}};
  for (const auto& expected : texts) {
    char buffer[128] = "unchanged";
    EXPECT_EQ(FormatMessageA(kSystem, nullptr, expected.code, 0, buffer, sizeof buffer, nullptr),
              std::strlen(expected.text))
        << expected.code;
    EXPECT_STREQ(buffer, expected.text);
  }
  char buffer[64] = "";
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_CONTROL_ID_NOT_FOUND, 0, buffer, sizeof buffer,
                           nullptr),
            23u)
      << "without the inserts flag too";
}

TEST(SystemMessageTest, FailuresLeaveTheirCodeAndNoText) {
  char buffer[64] = "unchanged";
  SetLastError(0);
  EXPECT_EQ(FormatMessageA(kSystem, nullptr, 0x7FFF0001, 0, buffer, sizeof buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MR_MID_NOT_FOUND));
  EXPECT_STREQ(buffer, "unchanged");

  // "Control ID not found.\r\n" is 23 characters: 24 with the terminator fit, 23 do not.
  char exact[24] = "";
  EXPECT_EQ(FormatMessageA(kSystem, nullptr, 1421, 0, exact, 24, nullptr), 23u);
  EXPECT_EQ(std::string(exact), "Control ID not found.\r\n");
  EXPECT_EQ(FormatMessageA(kSystem, nullptr, 1421, 0, exact, 23, nullptr), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));

  EXPECT_EQ(FormatMessageA(kSystem, nullptr, 1421, 0, nullptr, 64, nullptr), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  const DWORD fromString = 0x00000400;
  EXPECT_EQ(FormatMessageA(fromString, "text", 0, 0, buffer, sizeof buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

}  // namespace

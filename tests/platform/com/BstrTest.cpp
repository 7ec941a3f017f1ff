#include <com/oleauto.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

namespace {

TEST(Bstr, LengthsCountCharactersAndBytes) {
  BSTR text = SysAllocString(L"Tuner");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 5u);
  EXPECT_EQ(SysStringByteLen(text), 5u * sizeof(OLECHAR));
  EXPECT_EQ(text[5], L'\0');
  // The prefix before the characters holds the byte count.
  std::uint32_t prefix = 0;
  std::memcpy(&prefix, reinterpret_cast<const char*>(text) - 4, 4);
  EXPECT_EQ(prefix, 5u * sizeof(OLECHAR));
  SysFreeString(text);
}

TEST(Bstr, EmbeddedNulsAreKept) {
  const OLECHAR chars[] = {L'a', L'\0', L'b', L'\0', L'c'};
  BSTR text = SysAllocStringLen(chars, 5);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 5u);
  EXPECT_EQ(std::wcslen(text), 1u);  // as a C string it ends at the first NUL
  EXPECT_EQ(std::wmemcmp(text, chars, 5), 0);
  EXPECT_EQ(text[5], L'\0');
  SysFreeString(text);
}

TEST(Bstr, NullInputs) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
  // A null source with a length gives that many zeroed characters.
  BSTR blank = SysAllocStringLen(nullptr, 3);
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(SysStringLen(blank), 3u);
  EXPECT_EQ(blank[0], L'\0');
  EXPECT_EQ(blank[2], L'\0');
  SysFreeString(blank);
  BSTR empty = SysAllocString(L"");
  ASSERT_NE(empty, nullptr);  // an empty string is not a null one
  EXPECT_EQ(SysStringLen(empty), 0u);
  SysFreeString(empty);
}

TEST(Bstr, ByteLengthNeedNotBeWholeCharacters) {
  BSTR bytes = SysAllocStringByteLen("abcdefg", 7);
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(SysStringByteLen(bytes), 7u);
  EXPECT_EQ(SysStringLen(bytes), 7u / sizeof(OLECHAR));
  EXPECT_EQ(std::memcmp(bytes, "abcdefg", 7), 0);
  EXPECT_EQ(reinterpret_cast<const char*>(bytes)[7], '\0');
  SysFreeString(bytes);
}

TEST(Bstr, ReallocationReplacesAndMayCopyFromItself) {
  BSTR text = SysAllocString(L"short");
  ASSERT_TRUE(SysReAllocString(&text, L"a longer name"));
  EXPECT_STREQ(text, L"a longer name");
  EXPECT_EQ(SysStringLen(text), 13u);
  ASSERT_TRUE(SysReAllocString(&text, text + 2));
  EXPECT_STREQ(text, L"longer name");
  EXPECT_FALSE(SysReAllocString(nullptr, L"x"));
  SysFreeString(text);
}

}  // namespace

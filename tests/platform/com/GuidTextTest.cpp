#include <com/GuidText.h>
#include <com/objbase.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// {E436EBB3-524F-11CE-9F53-0020AF0BA770}
DEFINE_GUID(kSample, 0xE436EBB3, 0x524F, 0x11CE, 0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);

TEST(GuidText, PrintsRegistryFormInUpperCaseAndParsesItBack) {
  wchar_t text[39];
  ASSERT_EQ(StringFromGUID2(kSample, text, 39), 39);  // the count includes the NUL
  EXPECT_STREQ(text, L"{E436EBB3-524F-11CE-9F53-0020AF0BA770}");

  CLSID parsed{};
  ASSERT_EQ(CLSIDFromString(text, &parsed), S_OK);
  EXPECT_EQ(parsed, kSample);
  EXPECT_EQ(plat::GuidText::format(kSample), "{E436EBB3-524F-11CE-9F53-0020AF0BA770}");
}

TEST(GuidText, ParsesWithoutRegardToCase) {
  GUID parsed{};
  ASSERT_EQ(IIDFromString(L"{e436ebb3-524f-11ce-9f53-0020af0ba770}", &parsed), S_OK);
  EXPECT_EQ(parsed, kSample);
  ASSERT_TRUE(plat::GuidText::parse(std::string_view("{E436ebb3-524F-11ce-9F53-0020aF0bA770}"), parsed));
  EXPECT_EQ(parsed, kSample);
}

TEST(GuidText, RefusesAnythingButTheExactForm) {
  const wchar_t* bad[] = {
      L"E436EBB3-524F-11CE-9F53-0020AF0BA770",     // no braces
      L"{E436EBB3-524F-11CE-9F53-0020AF0BA77}",    // a digit short
      L"{E436EBB3-524F-11CE-9F53-0020AF0BA7700}",  // a digit long
      L"{E436EBB3-524F-11CE-9F530-020AF0BA770}",   // hyphen moved
      L"{E436EBB3-524F-11CE-9F53-0020AF0BA77G}",   // not hex
      L"{E436EBB3 524F-11CE-9F53-0020AF0BA770}",   // blank for hyphen
      L"",
  };
  for (const wchar_t* text : bad) {
    CLSID clsid = kSample;
    EXPECT_EQ(CLSIDFromString(text, &clsid), CO_E_CLASSSTRING) << std::wstring(text).size();
    EXPECT_EQ(clsid, CLSID_NULL);
    IID iid{};
    EXPECT_EQ(IIDFromString(text, &iid), E_INVALIDARG);
  }
}

TEST(GuidText, NullTextIsTheNullGuid) {
  CLSID clsid = kSample;
  EXPECT_EQ(CLSIDFromString(nullptr, &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_NULL);
}

TEST(GuidText, BufferTooSmallGivesNothing) {
  wchar_t text[38] = L"untouched";
  EXPECT_EQ(StringFromGUID2(kSample, text, 38), 0);
  EXPECT_STREQ(text, L"untouched");
}

TEST(GuidText, StringFromClsidAllocatesTaskMemory) {
  LPOLESTR text = nullptr;
  ASSERT_EQ(StringFromCLSID(kSample, &text), S_OK);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, L"{E436EBB3-524F-11CE-9F53-0020AF0BA770}");
  CoTaskMemFree(text);
}

TEST(GuidText, CreatedGuidsAreDistinctRandomGuids) {
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    GUID guid{};
    ASSERT_EQ(CoCreateGuid(&guid), S_OK);
    EXPECT_EQ(guid.Data3 >> 12, 4);           // version 4
    EXPECT_EQ(guid.Data4[0] & 0xC0, 0x80);    // standard variant
    seen.insert(plat::GuidText::format(guid));
  }
  EXPECT_EQ(seen.size(), 100u);
}

}  // namespace

#include <win32/registry.h>
#include <win32/registry/RegistryFile.h>

#include <gtest/gtest.h>

namespace {

plat::RegistryRoots emptyRoots() {
  return {std::make_shared<plat::RegistryKey>("HKEY_CLASSES_ROOT"),
          std::make_shared<plat::RegistryKey>("HKEY_LOCAL_MACHINE")};
}

plat::RegistryValue value(DWORD type, std::string_view bytes) { return {type, {bytes.begin(), bytes.end()}}; }

// Writes the roots out and reads them back into fresh ones.
plat::RegistryRoots roundTrip(const plat::RegistryRoots& roots) {
  auto copy = emptyRoots();
  plat::RegistryFile::parse(plat::RegistryFile::format(roots), copy);
  return copy;
}

TEST(RegistryFile, EveryValueComesBackByteForByte) {
  auto roots = emptyRoots();
  auto key = roots[1]->addChild("SOFTWARE")->addChild("Odd Values");
  const std::vector<std::pair<std::string, plat::RegistryValue>> values = {
      {"", value(REG_SZ, std::string_view("default\0", 8))},
      {"quote\"back\\slash", value(REG_SZ, std::string_view("a\"b\\c\nd\0", 8))},
      {"embedded nul", value(REG_SZ, std::string_view("a\0b\0", 4))},
      {"no terminator", value(REG_SZ, "VISTA")},
      {"empty string", value(REG_SZ, std::string_view("\0", 1))},
      {"zero-length sz", value(REG_SZ, "")},
      {"expand", value(REG_EXPAND_SZ, std::string_view("%TEMP%\\x\0", 9))},
      {"multi", value(REG_MULTI_SZ, std::string_view("one\0two\0\0", 9))},
      {"empty multi", value(REG_MULTI_SZ, std::string_view("\0", 1))},
      {"multi with empty item", value(REG_MULTI_SZ, std::string_view("a\0\0b\0\0", 6))},
      {"dword", value(REG_DWORD, std::string_view("\x10\xd2\x5d\x0d", 4))},
      {"short dword", value(REG_DWORD, std::string_view("\1\2", 2))},
      {"binary", value(REG_BINARY, std::string_view("\0\xff\x80", 3))},
      {"empty binary", value(REG_BINARY, "")},
      {"none", value(REG_NONE, "")},
      {"qword", value(11, std::string_view("\1\0\0\0\0\0\0\0", 8))},
      {"high bytes \xe9", value(REG_SZ, std::string_view("caf\xe9\0", 5))},
  };
  for (const auto& [name, data] : values) key->setValue(name, data);

  auto copy = roundTrip(roots);
  auto read = copy[1]->child("software");
  ASSERT_TRUE(read);
  read = read->child("odd values");
  ASSERT_TRUE(read);
  ASSERT_EQ(read->values().size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(read->values()[i].name, values[i].first);
    EXPECT_EQ(read->values()[i].value, values[i].second) << values[i].first;
  }
}

TEST(RegistryFile, KeysKeepSpellingOrderAndOddCharacters) {
  auto roots = emptyRoots();
  auto clsid = roots[0]->addChild("CLSID");
  clsid->addChild("{B84585A5-237B-426B-8B07-3C6616AE7EC9}")->addChild("InprocServer32");
  clsid->addChild("100% [odd]\nname");
  roots[1]->addChild("Empty");

  auto copy = roundTrip(roots);
  auto read = copy[0]->child("clsid");
  ASSERT_TRUE(read);
  ASSERT_EQ(read->children().size(), 2u);
  EXPECT_EQ(read->children()[0]->name(), "100% [odd]\nname");
  EXPECT_EQ(read->children()[1]->name(), "{B84585A5-237B-426B-8B07-3C6616AE7EC9}");
  EXPECT_TRUE(read->children()[1]->child("INPROCSERVER32"));
  EXPECT_TRUE(copy[1]->child("empty"));
}

// No call can name a key or value holding a NUL, so a file that does (raw or as %00) loads
// without it, and the lines around it still load.
TEST(RegistryFile, NamesHoldingANulAreNotLoaded) {
  auto roots = emptyRoots();
  using namespace std::string_literals;
  const std::string text = "[HKEY_LOCAL_MACHINE\\A\0B]\r\n\"x\"=dword:00000001\r\n"s +
                           "[HKEY_LOCAL_MACHINE\\C%00D]\r\n\"y\"=dword:00000002\r\n"s +
                           "[HKEY_LOCAL_MACHINE\\Kept]\r\n\"v\0w\"=dword:00000003\r\n\"z\"=dword:00000004\r\n"s;
  plat::RegistryFile::parse(text, roots);
  ASSERT_EQ(roots[1]->children().size(), 1u);
  const auto kept = roots[1]->child("Kept");
  ASSERT_TRUE(kept);
  ASSERT_EQ(kept->values().size(), 1u);
  EXPECT_EQ(kept->values()[0].name, "z");
}

TEST(RegistryFile, ShortFormsAreWrittenForPlainData) {
  auto roots = emptyRoots();
  auto key = roots[1]->addChild("K");
  key->setValue("s", value(REG_SZ, std::string_view("a\\b\"c\td\0", 8)));
  key->setValue("m", value(REG_MULTI_SZ, std::string_view("x\0y\0\0", 5)));
  key->setValue("raw", value(REG_SZ, "ab"));
  const std::string text = plat::RegistryFile::format(roots);
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\K]\r\n"
                      "\"s\"=sz:\"a\\\\b\\\"c\\x09d\"\r\n"
                      "\"m\"=multi:\"x\",\"y\"\r\n"
                      "\"raw\"=hex(1):61,62\r\n"),
            std::string::npos)
      << text;
}

}  // namespace

// The UI-text library as the program meets it: loaded from the program folder, every
// export found by name, a valid text for every id, the language code from machine.ini.
#include <support/TestMachine.h>

#include <machine/ProgramFolder.h>
#include <vendor/language/Language.h>

#include <dlfcn.h>

#include <climits>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using TextFunction = decltype(&GetMessageInfo);
using LanguageFunction = decltype(&GetLanguage);

const char* const kTextFunctions[] = {"GetMessageInfo",     "GetComBoxItem",     "GetOtherInfo",
                                      "GetMenuItem",        "GetMenuItem_SINGLE", "GetRecordShowItem",
                                      "GetWindowCommenItem"};

// The printf conversions of a format, in order ("%%" is not one).
std::string conversions(const char* format) {
  std::string result;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::string_view("diouxXeEfgGcsp").find(*p) == std::string_view::npos) ++p;
    if (!*p) break;
    result += *p;
  }
  return result;
}

class LanguageLibrary : public test::MachineTest {
 protected:
  void SetUp() override {
    const auto path = plat::ProgramFolder::moduleFolder() / "Language.dll";
    m_module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(m_module, nullptr) << dlerror();
  }
  void TearDown() override {
    if (m_module) dlclose(m_module);
  }

  void* symbol(const char* name) { return dlsym(m_module, name); }
  const char* text(const char* function, int id) {
    auto fn = reinterpret_cast<TextFunction>(symbol(function));
    return fn ? fn(id) : nullptr;
  }
  int language() { return reinterpret_cast<LanguageFunction>(symbol("GetLanguage"))(); }

 private:
  void* m_module = nullptr;
};

TEST_F(LanguageLibrary, EveryExportIsFoundByName) {
  for (const char* name : kTextFunctions) EXPECT_NE(symbol(name), nullptr) << name;
  EXPECT_NE(symbol("GetLanguage"), nullptr);
}

TEST_F(LanguageLibrary, KnownIdsGiveTheirTexts) {
  EXPECT_STREQ(text("GetMessageInfo", 12), "Orvane Media is already running.");
  EXPECT_STREQ(text("GetComBoxItem", 0), "Antenna");
  EXPECT_STREQ(text("GetComBoxItem", 1), "Cable");
  EXPECT_STREQ(text("GetComBoxItem", 13), "Sunday");
  EXPECT_STREQ(text("GetMenuItem_SINGLE", 17), "NTSC(n3.58)");
  EXPECT_STREQ(text("GetWindowCommenItem", 1), "Select parameter");
  // Owned by the library: the same text at the same place on every call.
  EXPECT_EQ(text("GetMessageInfo", 12), text("GetMessageInfo", 12));
}

TEST_F(LanguageLibrary, EveryIdTheProgramUsesHasItsOwnText) {
  struct Uses {
    const char* function;
    std::vector<int> ids;
  };
  const Uses uses[] = {
      {"GetMessageInfo", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
      {"GetComBoxItem", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
      {"GetOtherInfo", {0, 1}},
      {"GetMenuItem", {1, 2, 3, 4, 5, 6}},
      {"GetMenuItem_SINGLE", {1, 2, 3, 4, 5, 6, 8, 9, 10, 16, 17, 18, 19, 20, 21, 22, 23}},
      {"GetRecordShowItem", {16, 17, 18, 19, 20, 21}},
      {"GetWindowCommenItem", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
  };
  for (const Uses& use : uses) {
    std::set<std::string> seen;
    for (int id : use.ids) {
      const char* found = text(use.function, id);
      ASSERT_NE(found, nullptr) << use.function << "(" << id << ")";
      EXPECT_STRNE(found, "") << use.function << "(" << id << ")";
      EXPECT_TRUE(seen.insert(found).second) << use.function << "(" << id << ") repeats \"" << found << "\"";
    }
  }
}

TEST_F(LanguageLibrary, UnknownAndNegativeIdsGiveAnEmptyText) {
  for (const char* function : kTextFunctions) {
    for (int id : {-1, -12, INT_MIN, INT_MAX, 1000}) {
      const char* found = text(function, id);
      ASSERT_NE(found, nullptr) << function << "(" << id << ")";
      EXPECT_STREQ(found, "") << function << "(" << id << ")";
    }
  }
  EXPECT_STREQ(text("GetMenuItem", 0), "");
  EXPECT_STREQ(text("GetMenuItem_SINGLE", 7), "");  // no third input in the menu
}

// The record plan formats its details with these texts: a conversion that does not match
// its argument would read garbage or crash, and a stray '%' elsewhere would do the same
// in a caller that formats.
TEST_F(LanguageLibrary, FormatTextsTakeExactlyTheirArguments) {
  EXPECT_EQ(conversions(text("GetRecordShowItem", 16)), "d");
  EXPECT_EQ(conversions(text("GetRecordShowItem", 17)), "d");
  EXPECT_EQ(conversions(text("GetRecordShowItem", 20)), "sdsssssssss");
  EXPECT_EQ(conversions(text("GetRecordShowItem", 21)), "sssssssss");

  char line[256];
  std::snprintf(line, sizeof line, text("GetRecordShowItem", 20), "Record", 2024, "03", "01", "20", "05", "00",
                "Antenna channel 5", "45", "00", "Once");
  EXPECT_NE(std::string(line).find("2024-03-01 20:05:00"), std::string::npos) << line;

  for (const char* function : kTextFunctions) {
    for (int id = -1; id <= 40; ++id) {
      if (std::string(function) == "GetRecordShowItem" && (id == 16 || id == 17 || id == 20 || id == 21)) continue;
      EXPECT_EQ(std::string(text(function, id)).find('%'), std::string::npos) << function << "(" << id << ")";
    }
  }
}

TEST_F(LanguageLibrary, LanguageFollowsMachineIni) {
  EXPECT_EQ(language(), 3);  // the default PC: traditional Chinese
  machine().ini().setValue("Windows", "Language", "4");
  EXPECT_EQ(language(), 4);
  machine().ini().setValue("Windows", "Language", "2");
  EXPECT_EQ(language(), 2);
  machine().ini().setValue("Windows", "Language", "Chinese");
  EXPECT_EQ(language(), 3);
  machine().ini().removeKey("Windows", "Language");
  EXPECT_EQ(language(), 3);
}

}  // namespace

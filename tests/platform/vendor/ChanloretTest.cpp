// The frequency-table library as the program meets it: loaded from the program folder by
// name, country names and codes that agree with each other, and channel plans that are
// the real national plans (checked at channels whose carriers are well known).
#include <support/TestMachine.h>

#include <machine/ProgramFolder.h>
#include <vendor/chanloret/Chanloret.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

class ChanloretLibrary : public test::MachineTest {
 protected:
  void SetUp() override {
    const auto path = plat::ProgramFolder::moduleFolder() / "Chanloret.dll";
    m_module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(m_module, nullptr) << dlerror();
    table = bind<decltype(&getFrequencyTableFromCountryCode)>("getFrequencyTableFromCountryCode");
    codeOf = bind<decltype(&GetCountryCode)>("GetCountryCode");
    number = bind<decltype(&GetCountryNumber)>("GetCountryNumber");
    nameAt = bind<decltype(&GetCountryName)>("GetCountryName");
    nameOf = bind<decltype(&GetCountryNameFromCode)>("GetCountryNameFromCode");
    ASSERT_TRUE(table && codeOf && number && nameAt && nameOf);
  }
  void TearDown() override {
    if (m_module) dlclose(m_module);
  }

  template <class F>
  F bind(const char* name) {
    return reinterpret_cast<F>(dlsym(m_module, name));
  }

  // Picture carrier of the program's channel `channel` (from 1) of a plan, in MHz.
  double carrierMHz(int country, int plan, int channel) {
    const FrequencyTable* t = table(country);
    if (!t) return -1;
    const std::int32_t* hz = plan == 1 ? t->Frequencies1 : t->Frequencies2;
    const int count = plan == 1 ? t->LastChannel1 - t->FirstChannel1 + 1 : t->LastChannel2 - t->FirstChannel2 + 1;
    if (channel < 1 || channel > count) return -1;
    return hz[channel - 1] / 1e6;
  }

  std::vector<int> allCodes() {
    std::vector<int> codes;
    for (int i = 0; i < number(); ++i) codes.push_back(codeOf(nameAt(i)));
    return codes;
  }

  decltype(&getFrequencyTableFromCountryCode) table = nullptr;
  decltype(&GetCountryCode) codeOf = nullptr;
  decltype(&GetCountryNumber) number = nullptr;
  decltype(&GetCountryName) nameAt = nullptr;
  decltype(&GetCountryNameFromCode) nameOf = nullptr;

 private:
  void* m_module = nullptr;
};

TEST_F(ChanloretLibrary, NamesAndCodesAgreeAndEveryCountryHasATable) {
  ASSERT_GE(number(), 20);
  std::set<int> codes;
  std::set<std::string> names;
  for (int i = 0; i < number(); ++i) {
    const char* name = nameAt(i);
    ASSERT_NE(name, nullptr) << i;
    ASSERT_STRNE(name, "") << i;
    const int code = codeOf(name);
    EXPECT_GT(code, 0) << name;
    EXPECT_STREQ(nameOf(code), name) << "no two countries share a code";
    EXPECT_NE(table(code), nullptr) << name;
    codes.insert(code);
    names.insert(name);
  }
  EXPECT_EQ(static_cast<int>(codes.size()), number());
  EXPECT_EQ(static_cast<int>(names.size()), number());
}

TEST_F(ChanloretLibrary, TelephoneCountryCodes) {
  EXPECT_STREQ(nameOf(86), "China");
  EXPECT_STREQ(nameOf(1), "United States");
  EXPECT_STREQ(nameOf(44), "United Kingdom");
  EXPECT_STREQ(nameOf(49), "Germany");
  EXPECT_STREQ(nameOf(33), "France");
  EXPECT_STREQ(nameOf(7), "Russia");
  EXPECT_STREQ(nameOf(81), "Japan");
  EXPECT_STREQ(nameOf(55), "Brazil");
  EXPECT_STREQ(nameOf(54), "Argentina");
  EXPECT_STREQ(nameOf(61), "Australia");
  EXPECT_STREQ(nameOf(2), "Canada");
  EXPECT_EQ(codeOf("Ireland"), 353);
  EXPECT_EQ(codeOf("Italy"), 39);
  EXPECT_EQ(codeOf("Netherlands"), 31);
}

TEST_F(ChanloretLibrary, UnknownCountriesAndIndexesGiveNothing) {
  EXPECT_EQ(table(0), nullptr);
  EXPECT_EQ(table(-1), nullptr);
  EXPECT_EQ(table(999), nullptr);
  EXPECT_EQ(nameOf(0), nullptr);
  EXPECT_EQ(nameAt(-1), nullptr);
  EXPECT_EQ(nameAt(number()), nullptr);
  EXPECT_EQ(codeOf("Atlantis"), -1);
  EXPECT_EQ(codeOf("germany"), -1);
  EXPECT_EQ(codeOf(""), -1);
  EXPECT_EQ(codeOf(nullptr), -1);
}

TEST_F(ChanloretLibrary, StandardsByCountry) {
  const struct {
    int code;
    const char* standard;
  } expected[] = {{86, "PAL_D"},  {1, "NTSC_M"},   {2, "NTSC_M"},  {81, "NTSC_M_J"}, {55, "PAL_M"},
                  {54, "PAL_N"},  {44, "PAL_I"},   {353, "PAL_I"}, {33, "SECAM_L"},  {7, "SECAM_D"},
                  {48, "PAL_D"},  {49, "PAL_B"},   {31, "PAL_B"},  {39, "PAL_B"},    {61, "PAL_B"}};
  for (const auto& e : expected) {
    const FrequencyTable* t = table(e.code);
    ASSERT_NE(t, nullptr) << e.code;
    EXPECT_STREQ(t->StandardName, e.standard) << e.code;
  }
}

TEST_F(ChanloretLibrary, EveryPlanIsSoundForTheTuner) {
  const std::set<std::string> standards = {"PAL_B", "PAL_D", "PAL_I", "PAL_M", "PAL_N",
                                           "SECAM_L", "SECAM_D", "NTSC_M", "NTSC_M_J"};
  for (int code : allCodes()) {
    const FrequencyTable* t = table(code);
    ASSERT_NE(t, nullptr);
    EXPECT_LE(std::strlen(t->StandardName), 9u) << code;
    EXPECT_TRUE(standards.count(t->StandardName)) << code << " " << t->StandardName;
    for (int plan : {1, 2}) {
      const int first = plan == 1 ? t->FirstChannel1 : t->FirstChannel2;
      const int last = plan == 1 ? t->LastChannel1 : t->LastChannel2;
      const std::int32_t* hz = plan == 1 ? t->Frequencies1 : t->Frequencies2;
      ASSERT_NE(hz, nullptr) << code;
      ASSERT_GE(first, 1) << code;
      ASSERT_GE(last - first + 1, 40) << code << " plan " << plan;
      std::vector<std::int32_t> sorted(hz, hz + (last - first + 1));
      std::sort(sorted.begin(), sorted.end());
      EXPECT_GE(sorted.front(), 44'000'000) << code;
      EXPECT_LE(sorted.back(), 960'000'000) << code;
      // Two channels of one plan never sit closer than the narrowest real overlap
      // (France's inverted band I), so a repeated or misplaced run shows here.
      for (std::size_t i = 1; i < sorted.size(); ++i)
        EXPECT_GE(sorted[i] - sorted[i - 1], 3'000'000) << code << " plan " << plan << " at " << sorted[i];
      // Every carrier sits on the quarter-megahertz raster of the analogue plans.
      for (std::int32_t f : sorted) EXPECT_EQ(f % 250'000, 0) << code << " " << f;
    }
  }
}

TEST_F(ChanloretLibrary, WesternEuropeCcir) {
  const FrequencyTable* de = table(49);
  ASSERT_NE(de, nullptr);
  EXPECT_EQ(de->LastChannel1 - de->FirstChannel1 + 1, 60);  // E2-E4, E5-E12, E21-E69
  EXPECT_DOUBLE_EQ(carrierMHz(49, 1, 1), 48.25);    // E2
  EXPECT_DOUBLE_EQ(carrierMHz(49, 1, 4), 175.25);   // E5
  EXPECT_DOUBLE_EQ(carrierMHz(49, 1, 11), 224.25);  // E12
  EXPECT_DOUBLE_EQ(carrierMHz(49, 1, 12), 471.25);  // E21
  EXPECT_DOUBLE_EQ(carrierMHz(49, 1, 60), 855.25);  // E69
  // Cable adds the special channels: S2 and the hyperband S21-S41.
  EXPECT_DOUBLE_EQ(carrierMHz(49, 2, 5), 112.25);
  EXPECT_DOUBLE_EQ(carrierMHz(49, 2, 32), 303.25);
  EXPECT_DOUBLE_EQ(carrierMHz(49, 2, 52), 463.25);
  EXPECT_EQ(table(31)->Frequencies1, de->Frequencies1) << "the Netherlands share the plan";
  EXPECT_DOUBLE_EQ(carrierMHz(39, 1, 3), 82.25);  // Italy's C
}

TEST_F(ChanloretLibrary, UkIrelandFranceAndEasternEurope) {
  const FrequencyTable* uk = table(44);
  ASSERT_NE(uk, nullptr);
  EXPECT_EQ(uk->FirstChannel1, 21);
  EXPECT_EQ(uk->LastChannel1, 69);
  EXPECT_DOUBLE_EQ(carrierMHz(44, 1, 1), 471.25);   // 21
  EXPECT_DOUBLE_EQ(carrierMHz(44, 1, 49), 855.25);  // 69
  EXPECT_DOUBLE_EQ(carrierMHz(353, 1, 1), 45.75);   // Ireland A
  EXPECT_DOUBLE_EQ(carrierMHz(353, 1, 4), 175.25);  // Ireland D
  EXPECT_DOUBLE_EQ(carrierMHz(33, 1, 3), 60.50);    // France 3
  EXPECT_DOUBLE_EQ(carrierMHz(33, 1, 5), 176.00);   // France 5
  EXPECT_DOUBLE_EQ(carrierMHz(33, 1, 10), 216.00);  // France 10
  EXPECT_DOUBLE_EQ(carrierMHz(7, 1, 1), 49.75);     // R1
  EXPECT_DOUBLE_EQ(carrierMHz(7, 1, 3), 77.25);     // R3
  EXPECT_DOUBLE_EQ(carrierMHz(7, 1, 12), 223.25);   // R12
  EXPECT_DOUBLE_EQ(carrierMHz(7, 1, 13), 471.25);   // 21
}

TEST_F(ChanloretLibrary, ChinaSkipsTheGapAbove566MHz) {
  const FrequencyTable* cn = table(86);
  ASSERT_NE(cn, nullptr);
  EXPECT_EQ(cn->FirstChannel1, 1);
  EXPECT_EQ(cn->LastChannel1, 68);
  EXPECT_DOUBLE_EQ(carrierMHz(86, 1, 6), 168.25);   // DS6
  EXPECT_DOUBLE_EQ(carrierMHz(86, 1, 13), 471.25);  // DS13
  EXPECT_DOUBLE_EQ(carrierMHz(86, 1, 24), 559.25);  // DS24
  EXPECT_DOUBLE_EQ(carrierMHz(86, 1, 25), 607.25);  // DS25
  EXPECT_DOUBLE_EQ(carrierMHz(86, 1, 68), 951.25);  // DS68
  EXPECT_DOUBLE_EQ(carrierMHz(86, 2, 6), 112.25);   // Z1
}

TEST_F(ChanloretLibrary, SixMegahertzCountries) {
  const FrequencyTable* us = table(1);
  ASSERT_NE(us, nullptr);
  EXPECT_EQ(us->FirstChannel1, 2);
  EXPECT_EQ(us->LastChannel1, 69);
  EXPECT_EQ(us->FirstChannel2, 1);
  EXPECT_EQ(us->LastChannel2, 125);
  EXPECT_DOUBLE_EQ(carrierMHz(1, 1, 1), 55.25);    // air 2
  EXPECT_DOUBLE_EQ(carrierMHz(1, 1, 6), 175.25);   // air 7
  EXPECT_DOUBLE_EQ(carrierMHz(1, 1, 13), 471.25);  // air 14
  EXPECT_DOUBLE_EQ(carrierMHz(1, 1, 68), 801.25);  // air 69
  EXPECT_DOUBLE_EQ(carrierMHz(1, 2, 1), 73.25);    // cable 1
  EXPECT_DOUBLE_EQ(carrierMHz(1, 2, 14), 121.25);  // cable 14 (A)
  EXPECT_DOUBLE_EQ(carrierMHz(1, 2, 37), 301.25);  // cable 37
  EXPECT_DOUBLE_EQ(carrierMHz(1, 2, 95), 91.25);   // cable 95
  EXPECT_DOUBLE_EQ(carrierMHz(1, 2, 125), 799.25);
  EXPECT_DOUBLE_EQ(carrierMHz(81, 1, 4), 171.25);  // Japan 4
  EXPECT_DOUBLE_EQ(carrierMHz(81, 1, 8), 193.25);  // Japan 8
  EXPECT_DOUBLE_EQ(carrierMHz(81, 1, 13), 471.25); // Japan 13
  EXPECT_DOUBLE_EQ(carrierMHz(81, 2, 13), 109.25); // Japan C13
  EXPECT_DOUBLE_EQ(carrierMHz(55, 1, 1), 55.25);   // Brazil 2
  EXPECT_DOUBLE_EQ(carrierMHz(54, 1, 13), 471.25); // Argentina 14
}

TEST_F(ChanloretLibrary, AustraliaKeepsItsLetteredChannels) {
  EXPECT_DOUBLE_EQ(carrierMHz(61, 1, 1), 46.25);    // 0
  EXPECT_DOUBLE_EQ(carrierMHz(61, 1, 7), 138.25);   // 5A
  EXPECT_DOUBLE_EQ(carrierMHz(61, 1, 12), 203.25);  // 9A
  EXPECT_DOUBLE_EQ(carrierMHz(61, 1, 13), 209.25);  // 10
  EXPECT_DOUBLE_EQ(carrierMHz(61, 1, 16), 527.25);  // 28
  EXPECT_DOUBLE_EQ(carrierMHz(61, 1, 57), 814.25);  // 69
}

TEST_F(ChanloretLibrary, RecordsStayPutWhileTheLibraryIsLoaded) {
  const FrequencyTable* first = table(86);
  const char* name = nameOf(86);
  table(1);
  nameAt(0);
  EXPECT_EQ(table(86), first);
  EXPECT_EQ(nameOf(86), name);
}

}  // namespace

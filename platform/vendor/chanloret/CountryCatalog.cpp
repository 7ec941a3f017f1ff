#include <vendor/chanloret/CountryCatalog.h>

#include <cmath>
#include <cstring>
#include <span>

namespace plat {

namespace {

// `count` picture carriers from `firstMHz`, `stepMHz` apart, in channel order.
struct Run {
  double firstMHz;
  double stepMHz;
  int count;
};

enum PlanId : int {
  kEurope,
  kEuropeCable,
  kItaly,
  kUhf8,
  kIreland,
  kFrance,
  kOirt,
  kOirtCable,
  kChina,
  kChinaCable,
  kUsAir,
  kUsCable,
  kJapan,
  kJapanCable,
  kAustralia,
  kPlanCount
};

// Western Europe, CCIR B/G: E2-E4, E5-E12, E21-E69.
constexpr Run kEuropeRuns[] = {{48.25, 7, 3}, {175.25, 7, 8}, {471.25, 8, 49}};
// CCIR cable, by frequency: E2-E4, S1-S10, E5-E12, S11-S20, hyperband S21-S41, E21-E69.
constexpr Run kEuropeCableRuns[] = {{48.25, 7, 3},  {105.25, 7, 10}, {175.25, 7, 8},
                                    {231.25, 7, 10}, {303.25, 8, 21}, {471.25, 8, 49}};
// Italy's own VHF lettering A, B, C, D, E, F, G, H, H1, H2, then UHF 21-69.
constexpr Run kItalyRuns[] = {{53.75, 0, 1},  {62.25, 0, 1},  {82.25, 0, 1},  {175.25, 0, 1},
                              {183.75, 0, 1}, {192.25, 0, 1}, {201.25, 0, 1}, {210.25, 0, 1},
                              {217.25, 0, 1}, {224.25, 0, 1}, {471.25, 8, 49}};
// UHF only, 8 MHz raster, channels 21-69 (United Kingdom, Hong Kong).
constexpr Run kUhf8Runs[] = {{471.25, 8, 49}};
// Ireland, system I: VHF A-C, D-J, then UHF 21-69.
constexpr Run kIrelandRuns[] = {{45.75, 8, 3}, {175.25, 8, 6}, {471.25, 8, 49}};
// France, system L: VHF 1-4 (band I, inverted), 5-10 (band III), then UHF 21-69.
constexpr Run kFranceRuns[] = {{47.75, 0, 1}, {55.75, 0, 1}, {60.50, 0, 1}, {63.75, 0, 1},
                               {176.00, 8, 6}, {471.25, 8, 49}};
// Eastern Europe and Russia, OIRT D/K: R1-R12, then UHF 21-69.
constexpr Run kOirtRuns[] = {{49.75, 0, 1}, {59.25, 0, 1}, {77.25, 8, 3}, {175.25, 8, 7}, {471.25, 8, 49}};
// OIRT cable, by frequency: R1-R5, SK1-SK8, R6-R12, SK11-SK40, UHF 21-69.
constexpr Run kOirtCableRuns[] = {{49.75, 0, 1},   {59.25, 0, 1},   {77.25, 8, 3},  {111.25, 8, 8},
                                  {175.25, 8, 7},  {231.25, 8, 30}, {471.25, 8, 49}};
// China, D/K: DS1-DS5, DS6-DS12, DS13-DS24, DS25-DS68 (566-606 MHz is not used).
constexpr Run kChinaRuns[] = {{49.75, 8, 3}, {77.25, 8, 2}, {168.25, 8, 7}, {471.25, 8, 12}, {607.25, 8, 44}};
// China cable, by frequency: DS1-DS5, Z1-Z7, DS6-DS12, Z8-Z37, DS13-DS68.
constexpr Run kChinaCableRuns[] = {{49.75, 8, 3},  {77.25, 8, 2},   {112.25, 8, 7},  {168.25, 8, 7},
                                   {224.25, 8, 30}, {471.25, 8, 12}, {607.25, 8, 44}};
// North America and the 6 MHz countries, air: 2-4, 5-6, 7-13, 14-69.
constexpr Run kUsAirRuns[] = {{55.25, 6, 3}, {77.25, 6, 2}, {175.25, 6, 7}, {471.25, 6, 56}};
// Standard cable, by channel number: 1, 2-6, 7-13, 14-22 (A-I), 23-36 (J-W), 37-94,
// 95-99 (A-5 … A-1), 100-125.
constexpr Run kUsCableRuns[] = {{73.25, 0, 1},   {55.25, 6, 3},   {77.25, 6, 2},  {175.25, 6, 7}, {121.25, 6, 9},
                                {217.25, 6, 14}, {301.25, 6, 58}, {91.25, 6, 5},  {649.25, 6, 26}};
// Japan: 1-3, 4-7, 8-12 (7 and 8 overlap), UHF 13-62.
constexpr Run kJapanRuns[] = {{91.25, 6, 3}, {171.25, 6, 4}, {193.25, 6, 5}, {471.25, 6, 50}};
// Japan cable: 1-12 as on air, then C13-C22 and C23-C63.
constexpr Run kJapanCableRuns[] = {{91.25, 6, 3}, {171.25, 6, 4}, {193.25, 6, 5}, {109.25, 6, 10}, {223.25, 6, 41}};
// Australia: VHF 0-5, 5A, 6-9, 9A, 10-12, then UHF 28-69 on a 7 MHz raster.
constexpr Run kAustraliaRuns[] = {{46.25, 0, 1},  {57.25, 0, 1},  {64.25, 0, 1},   {86.25, 0, 1},
                                  {95.25, 0, 1},  {102.25, 0, 1}, {138.25, 0, 1},  {175.25, 7, 5},
                                  {209.25, 7, 3}, {527.25, 7, 42}};

struct PlanSpec {
  int firstChannel;  // the country's own number of its first channel, where it numbers them in a row
  std::span<const Run> runs;
};

constexpr PlanSpec kPlanSpecs[kPlanCount] = {
    {1, kEuropeRuns}, {1, kEuropeCableRuns}, {1, kItalyRuns}, {21, kUhf8Runs},     {1, kIrelandRuns},
    {1, kFranceRuns}, {1, kOirtRuns},        {1, kOirtCableRuns}, {1, kChinaRuns}, {1, kChinaCableRuns},
    {2, kUsAirRuns},  {1, kUsCableRuns},     {1, kJapanRuns},   {1, kJapanCableRuns}, {1, kAustraliaRuns},
};

struct CountrySpec {
  const char* name;
  int code;
  const char* standard;
  PlanId antenna;
  PlanId cable;
};

// In the order the library lists the names.
constexpr CountrySpec kCountrySpecs[] = {
    {"Argentina", 54, "PAL_N", kUsAir, kUsCable},
    {"Australia", 61, "PAL_B", kAustralia, kAustralia},
    {"Austria", 43, "PAL_B", kEurope, kEuropeCable},
    {"Belgium", 32, "PAL_B", kEurope, kEuropeCable},
    {"Brazil", 55, "PAL_M", kUsAir, kUsCable},
    {"Canada", 2, "NTSC_M", kUsAir, kUsCable},
    {"China", 86, "PAL_D", kChina, kChinaCable},
    {"Czech Republic", 420, "PAL_D", kOirt, kOirtCable},
    {"Denmark", 45, "PAL_B", kEurope, kEuropeCable},
    {"Finland", 358, "PAL_B", kEurope, kEuropeCable},
    {"France", 33, "SECAM_L", kFrance, kFrance},
    {"Germany", 49, "PAL_B", kEurope, kEuropeCable},
    {"Greece", 30, "PAL_B", kEurope, kEuropeCable},
    {"Hong Kong", 852, "PAL_I", kUhf8, kUhf8},
    {"Hungary", 36, "PAL_D", kOirt, kOirtCable},
    {"Ireland", 353, "PAL_I", kIreland, kIreland},
    {"Italy", 39, "PAL_B", kItaly, kEuropeCable},
    {"Japan", 81, "NTSC_M_J", kJapan, kJapanCable},
    {"Mexico", 52, "NTSC_M", kUsAir, kUsCable},
    {"Netherlands", 31, "PAL_B", kEurope, kEuropeCable},
    {"Norway", 47, "PAL_B", kEurope, kEuropeCable},
    {"Paraguay", 595, "PAL_N", kUsAir, kUsCable},
    {"Poland", 48, "PAL_D", kOirt, kOirtCable},
    {"Portugal", 351, "PAL_B", kEurope, kEuropeCable},
    {"Romania", 40, "PAL_D", kOirt, kOirtCable},
    {"Russia", 7, "SECAM_D", kOirt, kOirtCable},
    {"South Korea", 82, "NTSC_M", kUsAir, kUsCable},
    {"Spain", 34, "PAL_B", kEurope, kEuropeCable},
    {"Sweden", 46, "PAL_B", kEurope, kEuropeCable},
    {"Switzerland", 41, "PAL_B", kEurope, kEuropeCable},
    {"Taiwan", 886, "NTSC_M", kUsAir, kUsCable},
    {"Ukraine", 380, "SECAM_D", kOirt, kOirtCable},
    {"United Kingdom", 44, "PAL_I", kUhf8, kUhf8},
    {"United States", 1, "NTSC_M", kUsAir, kUsCable},
    {"Uruguay", 598, "PAL_N", kUsAir, kUsCable},
};

std::vector<std::int32_t> expand(std::span<const Run> runs) {
  std::vector<std::int32_t> hz;
  for (const Run& run : runs) {
    for (int i = 0; i < run.count; ++i)
      hz.push_back(static_cast<std::int32_t>(std::llround((run.firstMHz + run.stepMHz * i) * 1e6)));
  }
  return hz;
}

}  // namespace

CountryCatalog& CountryCatalog::instance() {
  static CountryCatalog catalog;
  return catalog;
}

CountryCatalog::CountryCatalog() {
  m_plans.reserve(kPlanCount);
  for (const PlanSpec& spec : kPlanSpecs) m_plans.push_back({spec.firstChannel, expand(spec.runs)});

  m_countries.reserve(std::size(kCountrySpecs));
  for (const CountrySpec& spec : kCountrySpecs) {
    Country country{spec.name, spec.code, {}, {}};
    std::strncpy(country.standard.data(), spec.standard, country.standard.size() - 1);
    m_countries.push_back(country);
  }
  // The records point into the plans and into the country's own standard text, so they
  // are filled in only once both vectors have their final storage.
  for (std::size_t i = 0; i < m_countries.size(); ++i) {
    Country& country = m_countries[i];
    Plan& antenna = m_plans[kCountrySpecs[i].antenna];
    Plan& cable = m_plans[kCountrySpecs[i].cable];
    country.table = FrequencyTable{
        antenna.firstChannel,
        antenna.firstChannel + static_cast<std::int32_t>(antenna.hz.size()) - 1,
        cable.firstChannel,
        cable.firstChannel + static_cast<std::int32_t>(cable.hz.size()) - 1,
        antenna.hz.data(),
        cable.hz.data(),
        country.standard.data(),
    };
  }
}

const CountryCatalog::Country* CountryCatalog::find(int code) const {
  for (const Country& country : m_countries) {
    if (country.code == code) return &country;
  }
  return nullptr;
}

FrequencyTable* CountryCatalog::table(int code) {
  for (Country& country : m_countries) {
    if (country.code == code) return &country.table;
  }
  return nullptr;
}

int CountryCatalog::codeOf(std::string_view name) const {
  for (const Country& country : m_countries) {
    if (name == country.name) return country.code;
  }
  return -1;
}

const char* CountryCatalog::nameAt(int index) const {
  return index >= 0 && index < count() ? m_countries[index].name : nullptr;
}

const char* CountryCatalog::nameOf(int code) const {
  const Country* country = find(code);
  return country ? country->name : nullptr;
}

}  // namespace plat

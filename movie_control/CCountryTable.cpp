#include "CCountryTable.h"

#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

// `count` channels from `firstMHz`, `stepMHz` apart; a first of 0 marks unused numbers.
struct Run {
  double firstMHz;
  double stepMHz;
  int count;
};

struct Plan {
  std::int32_t first;
  std::vector<std::int32_t> hz;

  Plan(std::int32_t firstChannel, std::initializer_list<Run> runs) : first(firstChannel) {
    for (const Run& run : runs)
      for (int i = 0; i < run.count; ++i)
        hz.push_back(run.firstMHz == 0 ? 0 : static_cast<std::int32_t>(std::llround((run.firstMHz + run.stepMHz * i) * 1e6)));
  }
  std::int32_t last() const { return first + static_cast<std::int32_t>(hz.size()) - 1; }
};

struct Plans {
  // North America, air 2-69: 2-4, 5-6, 7-13, UHF 14-69.
  Plan northAmerica{2, {{55.25, 6, 3}, {77.25, 6, 2}, {175.25, 6, 7}, {471.25, 6, 56}}};
  // North American cable 1-158: 1, 2-13 as on air, 14-22 (A-I), 23-94, 95-99 (A-5 … A-1), 100-158.
  Plan northAmericaCable{1, {{73.25, 0, 1},
                             {55.25, 6, 3},
                             {77.25, 6, 2},
                             {175.25, 6, 7},
                             {121.25, 6, 9},
                             {217.25, 6, 72},
                             {91.25, 6, 5},
                             {649.25, 6, 59}}};
  // Japan, air 1-62: 1-3, 4-7, 8-12, UHF 13-62.
  Plan japan{1, {{91.25, 6, 3}, {171.25, 6, 4}, {193.25, 6, 5}, {471.25, 6, 50}}};
  // Japanese cable 1-113: 1-12 as on air, C13-C22, C23-C63, then UHF 13-62.
  Plan japanCable{1, {{91.25, 6, 3}, {171.25, 6, 4}, {193.25, 6, 5}, {109.25, 6, 10}, {223.25, 6, 41}, {471.25, 6, 50}}};
  // Europe, air 1-69: E2-E4, E5-E12, UHF E21-E69 (1 and 13-20 unused).
  Plan europe{1, {{0, 0, 1}, {48.25, 7, 3}, {175.25, 7, 8}, {0, 0, 8}, {471.25, 8, 49}}};
  // European cable 1-107, by frequency: E2-E4, S1-S10, E5-E12, S11-S20, S21-S41, E21-E69 (102-107 unused).
  Plan europeCable{1, {{48.25, 7, 3},
                       {105.25, 7, 10},
                       {175.25, 7, 8},
                       {231.25, 7, 10},
                       {303.25, 8, 21},
                       {471.25, 8, 49},
                       {0, 0, 6}}};
  // Hong Kong and Macau, system I, 1-97: UHF 21-69 (the rest unused).
  Plan pacificI{1, {{0, 0, 20}, {471.25, 8, 49}, {0, 0, 28}}};
  // China, air DS1-DS68: DS1-DS5, DS6-DS12, DS13-DS24, DS25-DS68.
  Plan china{1, {{49.75, 8, 3}, {77.25, 8, 2}, {168.25, 8, 7}, {471.25, 8, 12}, {607.25, 8, 44}}};
  // Chinese cable 1-105, by frequency: DS1-DS5, Z1-Z7, DS6-DS12, Z8-Z37, DS13-DS68.
  Plan chinaCable{1, {{49.75, 8, 3}, {77.25, 8, 2}, {112.25, 8, 7}, {168.25, 8, 7}, {224.25, 8, 30}, {471.25, 8, 12}, {607.25, 8, 44}}};
};

const Plans& plans() {
  static const Plans kPlans;
  return kPlans;
}

enum class Group {
  NorthAmerica,
  Japan,
  WesternEurope,
  PalI,
  SecamB,
  SecamD,
  SecamK1,
  SecamL,
  PalD,
  PalM,
  PalN,
  PacificI,
  China
};

struct GroupCodes {
  Group group;
  std::initializer_list<long> codes;
};

// The codes of the platform's analogue TV country list, by group.
const GroupCodes kGroups[] = {
    {Group::NorthAmerica, {1,    2,    51,   52,   53,   56,   57,   58,   63,   82,   501,  502,  503,  504,
                           505,  506,  507,  509,  511,  591,  592,  593,  597,  599,  670,  680,  684,  691,
                           692,  886,  1201, 1204, 1242, 1246, 1264, 1268, 1284, 1340, 1345, 1441, 1473, 1649,
                           1664, 1670, 1671, 1758, 1767, 1784, 1809, 1868, 1869, 1876}},
    {Group::Japan, {81}},
    {Group::WesternEurope, {30,  31,  32,  34,  39,  41,  43,  45,  46,  47,  49,  60,  61,  62,  64,  65,  66,
                            90,  91,  92,  93,  94,  95,  212, 213, 231, 232, 233, 234, 237, 238, 239, 246, 248,
                            249, 251, 254, 255, 256, 260, 263, 264, 265, 267, 268, 290, 291, 297, 298, 299, 350,
                            351, 352, 354, 355, 356, 357, 358, 370, 371, 376, 378, 381, 383, 385, 386, 387, 389,
                            421, 423, 672, 673, 674, 675, 676, 677, 678, 679, 682, 683, 685, 686, 688, 690, 880,
                            960, 961, 962, 965, 966, 967, 968, 971, 972, 973, 974, 975, 977}},
    {Group::PalI, {27, 44, 220, 244, 245, 247, 252, 258, 266, 282, 353, 500}},
    {Group::SecamB, {20, 98, 218, 222, 230, 253, 963, 964}},
    {Group::SecamD, {7, 235, 242, 359, 372, 373, 374, 375, 380, 976, 992, 993, 994, 995, 996, 998}},
    {Group::SecamK1, {216, 221, 223, 224, 225, 226, 227, 228, 229, 236, 240, 241, 243, 250, 257,
                      261, 262, 269, 508, 590, 594, 596, 681, 687, 689, 855, 876}},
    {Group::SecamL, {33, 377}},
    {Group::PalD, {36, 40, 48, 84, 85, 420, 850}},
    {Group::PalM, {55, 856}},
    {Group::PalN, {54, 595, 598}},
    {Group::PacificI, {852, 853}},
    {Group::China, {86}},
};

std::optional<Group> groupOf(long code) {
  for (const GroupCodes& entry : kGroups)
    for (long listed : entry.codes)
      if (listed == code) return entry.group;
  return std::nullopt;
}

FrequencyRecord record(const Plan& broadcast, const Plan& cable, const char* standard) {
  return {broadcast.first, broadcast.last(), cable.first, cable.last(), broadcast.hz, cable.hz, standard};
}

}  // namespace

std::optional<FrequencyRecord> CCountryTable::CountryRecord(long countryCode) {
  const std::optional<Group> group = groupOf(countryCode);
  if (!group) return std::nullopt;
  const Plans& p = plans();
  switch (*group) {
    case Group::NorthAmerica: return record(p.northAmerica, p.northAmericaCable, "NTSC_M");
    case Group::Japan: return record(p.japan, p.japanCable, "NTSC_M_J");
    case Group::WesternEurope: return record(p.europe, p.europeCable, "PAL_B");
    case Group::PalI: return record(p.europe, p.europeCable, "PAL_I");
    case Group::SecamB: return record(p.europe, p.europeCable, "SECAM_B");
    case Group::SecamD: return record(p.europe, p.europeCable, "SECAM_D");
    case Group::SecamK1: return record(p.europe, p.europeCable, "SECAM_K1");
    case Group::SecamL: return record(p.europe, p.europeCable, "SECAM_L");
    case Group::PalD: return record(p.europe, p.europeCable, "PAL_D");
    case Group::PalM: return record(p.northAmerica, p.northAmericaCable, "PAL_M");
    case Group::PalN: return record(p.northAmerica, p.northAmericaCable, "PAL_N");
    case Group::PacificI: return record(p.pacificI, p.pacificI, "PAL_I");
    case Group::China: return record(p.china, p.chinaCable, "PAL_D");
  }
  return std::nullopt;
}

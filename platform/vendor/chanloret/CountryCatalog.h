// The countries the frequency-table library knows: name, telephone country code, video
// standard and the antenna and cable channel plans, as the library's exports hand them out.
//
// Plans are written down compactly as runs of evenly spaced picture carriers (see the
// source) and expanded once, when the catalogue is first used, into the Hz arrays the
// FrequencyTable records point at. The catalogue lives as long as the module.
#pragma once

#include <vendor/chanloret/Chanloret.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace plat {

class CountryCatalog {
 public:
  static CountryCatalog& instance();

  // NULL when no country has that code.
  FrequencyTable* table(int code);
  // -1 when no country has that name (exact match).
  int codeOf(std::string_view name) const;
  int count() const { return static_cast<int>(m_countries.size()); }
  // NULL for an index outside 0 .. count() - 1.
  const char* nameAt(int index) const;
  // NULL when no country has that code.
  const char* nameOf(int code) const;

 private:
  struct Plan {
    std::int32_t firstChannel = 1;
    std::vector<std::int32_t> hz;
  };
  struct Country {
    const char* name;
    int code;
    std::array<char, 12> standard;
    FrequencyTable table;
  };

  CountryCatalog();
  const Country* find(int code) const;

  std::vector<Plan> m_plans;  // filled once before any table points into it
  std::vector<Country> m_countries;
};

}  // namespace plat

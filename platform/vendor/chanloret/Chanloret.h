// The makers' frequency-table library ("Chanloret.dll"): the analogue TV channel plans of
// the countries the tuner is sold for, and the names of those countries.
//
// Plain C exports. Countries are known by their telephone country code (1 United States,
// 44 United Kingdom, 49 Germany, 86 China …; Canada keeps Windows' own code 2 so that no
// two countries share a code). Each country has two plans: plan 1 for the antenna, plan 2
// for the cable network, as arrays of picture-carrier frequencies in Hz; entry k of a plan
// is the program's channel k + 1, whatever the country's own channel names. The first and
// last numbers of a plan are the country's nominal channel numbers, so last - first + 1 is
// always the number of entries. The standard name is one of the video-standard names the
// program knows ("PAL_B", "PAL_D", "PAL_I", "SECAM_L", "NTSC_M" …), at most 9 characters.
//
// Everything returned lives in the library's static storage for as long as the library is
// loaded; callers read it and never free or change it.
#pragma once

#include <cstdint>

extern "C" {

struct FrequencyTable {
  std::int32_t FirstChannel1;   // plan 1 (antenna): first and last channel number
  std::int32_t LastChannel1;
  std::int32_t FirstChannel2;   // plan 2 (cable)
  std::int32_t LastChannel2;
  std::int32_t* Frequencies1;   // plan 1 picture carriers in Hz, LastChannel1 - FirstChannel1 + 1 entries
  std::int32_t* Frequencies2;   // plan 2, likewise
  char* StandardName;           // the country's video standard, NUL-terminated
};

// The country's table, or NULL for a code the library does not know.
FrequencyTable* getFrequencyTableFromCountryCode(int countryCode);

// The code of the country of that name (as GetCountryName gives it), -1 when unknown.
int GetCountryCode(const char* countryName);

// The country names in the library's order: GetCountryName(0 .. GetCountryNumber() - 1).
// NULL for an index outside that range.
int GetCountryNumber();
const char* GetCountryName(int index);
// The name of the country with that code, NULL for a code the library does not know.
const char* GetCountryNameFromCode(int countryCode);

}  // extern "C"

#include <vendor/chanloret/Chanloret.h>

#include <vendor/chanloret/CountryCatalog.h>

using plat::CountryCatalog;

extern "C" {

FrequencyTable* getFrequencyTableFromCountryCode(int countryCode) {
  return CountryCatalog::instance().table(countryCode);
}

int GetCountryCode(const char* countryName) {
  return countryName ? CountryCatalog::instance().codeOf(countryName) : -1;
}

int GetCountryNumber() { return CountryCatalog::instance().count(); }

const char* GetCountryName(int index) { return CountryCatalog::instance().nameAt(index); }

const char* GetCountryNameFromCode(int countryCode) { return CountryCatalog::instance().nameOf(countryCode); }

}  // extern "C"

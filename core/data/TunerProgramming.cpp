#include "core/data/TunerProgramming.h"

#include "core/data/CAppSettings.h"
#include "core/data/DeviceControl.h"

#include <vendor/chanloret/Chanloret.h>
#include <vendor/qxmdll/QXUSBControl.h>
#include <win32/time.h>

#include <cstring>
#include <mutex>

namespace {

constexpr BYTE kTunerAddress = 0xC0;
constexpr BYTE kTunerMode = 2;
constexpr BYTE kControlByte = 0xCE;
constexpr WORD kStatusRegister = 0xC037;
constexpr BYTE kSignalBit = 0x08;
constexpr int kWriteTries = 3;
constexpr DWORD kTryWaitMs = 20;
constexpr DWORD kFailedTryWaitMs = 5;

constexpr double kLowBandTop = 164.25;
constexpr double kMidBandTop = 464.25;
constexpr double kIf38 = 38.0;
constexpr double kIf4575 = 45.75;
constexpr double kDividerSteps = 16.0;

// The user-interface thread and the scan worker both reach the device: one call at a time.
std::mutex& DeviceLock() {
  static std::mutex lock;
  return lock;
}

bool Equal(const char* name, const char* wanted) { return name && std::strcmp(name, wanted) == 0; }

bool AnyOf(const char* name, std::initializer_list<const char*> names) {
  for (const char* wanted : names) {
    if (Equal(name, wanted)) return true;
  }
  return false;
}

// The country's standard name, null when the library has no table (or the table no name).
const char* CountryStandard(int country) {
  const FrequencyTable* table = getFrequencyTableFromCountryCode(country);
  return table ? table->StandardName : nullptr;
}

}  // namespace

void TunerWritePll(int divider, int band) {
  if (!g_pDeviceControl) return;
  BYTE data[4] = {static_cast<BYTE>(divider >> 8 & 0xFF), static_cast<BYTE>(divider & 0xFF), kControlByte,
                  static_cast<BYTE>(band)};
  for (int attempt = 0; attempt < kWriteTries; ++attempt) {
    BYTE address = kTunerAddress;
    WORD subAddress = 0;
    long result;
    {
      std::lock_guard guard(DeviceLock());
      result = g_pDeviceControl->SetI2CData(&address, &subAddress, kTunerMode, data, sizeof data);
    }
    Sleep(kTryWaitMs);
    if (result >= 0) return;
    Sleep(kFailedTryWaitMs);
  }
}

int TunerReadSignalLock() {
  if (!g_pDeviceControl) return 0;
  BYTE status = 0;
  std::lock_guard guard(DeviceLock());
  if (g_pDeviceControl->GetRegData(kStatusRegister, &status, 1) < 0) return 0;
  return (status & kSignalBit) ? 1 : 0;
}

int TunerBandForFrequency(float mhz) {
  const double f = mhz;
  if (f <= kLowBandTop) return 1;
  if (f <= kMidBandTop) return 2;
  return 8;
}

int TunerDivider(float mhz, double ifMhz) { return static_cast<int>((static_cast<double>(mhz) + ifMhz) * kDividerSteps); }

void TunerTuneFrequency(float mhz) {
  const int band = TunerBandForFrequency(mhz);
  const double ifMhz = CurrentCountryUsesIf38() ? kIf38 : kIf4575;
  TunerWritePll(TunerDivider(mhz, ifMhz), band);
}

int IsIf38Standard(const char* name) { return AnyOf(name, {"NTSC_M", "NTSC_433", "PAL_M", "PAL_N"}) ? 0 : 1; }

int CountryUsesIf38(int country) {
  char name[kStandardNameSize] = {};
  GetCountryStandardName(country, name, sizeof name);
  return IsIf38Standard(name);
}

int CurrentCountryUsesIf38() { return CountryUsesIf38(g_pAppSettings ? g_pAppSettings->CountryCode : 0); }

int GetCountryStandardName(int country, char* buffer, std::size_t size) {
  if (!getFrequencyTableFromCountryCode(country)) return 0;
  if (!buffer || size == 0) return 1;
  const char* name = CountryStandard(country);
  const std::size_t length = name ? strnlen(name, size - 1) : 0;
  if (length) std::memcpy(buffer, name, length);
  buffer[length] = '\0';
  return 1;
}

int GetStandardFamilyCode(const char* name) {
  if (AnyOf(name, {"PAL_D", "PAL_B", "PAL_H", "PAL_I", "PAL_N", "PAL_60", "PAL_N_COMBO", "SECAM_B", "SECAM_D",
                   "SECAM_G", "SECAM_H", "SECAM_K", "SECAM_K1", "SECAM_L", "SECAM_L1"}))
    return 3;
  if (AnyOf(name, {"NTSC_M", "NTSC_M_J", "NTSC_433", "PAL_M"})) return 4;
  return -1;
}

int GetCountryStandardCode(int country) {
  char name[kStandardNameSize] = {};
  if (!GetCountryStandardName(country, name, sizeof name)) return -1;
  return GetStandardFamilyCode(name);
}

int GetCurrentCountryStandardCode() {
  if (!g_pAppSettings) return -1;
  return GetCountryStandardCode(g_pAppSettings->CountryCode);
}

double GetFineTuneSpanForStandard(const char* name) {
  if (AnyOf(name, {"PAL_B", "PAL_M", "PAL_N", "SECAM_B", "NTSC_M", "NTSC_M_J"})) return 3.0;
  if (Equal(name, "PAL_I")) return 3.5;
  if (AnyOf(name, {"PAL_D", "SECAM_D", "SECAM_K1", "SECAM_L"})) return 4.0;
  return 0.0;
}

double GetFineTuneSpan(int country) {
  char name[kStandardNameSize] = {};
  if (!GetCountryStandardName(country, name, sizeof name)) return 0.0;
  return GetFineTuneSpanForStandard(name);
}

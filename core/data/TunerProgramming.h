// Tuner programming: the one 4-byte I2C write that sets the stick's tuner, the signal bit
// read from its decoder status, the arithmetic from a channel frequency to the tuner's
// bytes, and the lookups of a country's video standard (IF, line family, fine-tune span).
//
// Every device access goes through g_pDeviceControl; without it the write does nothing and
// the read reports no signal. The current country is that of g_pAppSettings.
#pragma once

#include <cstddef>

// Standard names have up to 11 characters ("PAL_N_COMBO"); a buffer this size holds any.
inline constexpr std::size_t kStandardNameSize = 12;

// Writes [divider high, divider low, 0xCE, band] to the tuner, up to three tries; each try
// waits 20 ms, a failed one 5 ms more. A write that fails three times is dropped.
void TunerWritePll(int divider, int band);
// 1 while the decoder reports a signal (bit 3 of register 0xC037); 0 otherwise, on a failed
// read and without the device control object.
int TunerReadSignalLock();

// Band byte of a channel frequency in MHz: 1 up to 164.25, 2 up to 464.25, else 8.
int TunerBandForFrequency(float mhz);
// (f + IF) × 16 in double precision, truncated toward zero.
int TunerDivider(float mhz, double ifMhz);
// Programs the tuner for a channel frequency in MHz with the IF of the current country.
void TunerTuneFrequency(float mhz);

// 0 for the 45.75 MHz IF standards (NTSC_M, NTSC_433, PAL_M, PAL_N), 1 for every other
// name, the empty or missing one included.
int IsIf38Standard(const char* name);
int CountryUsesIf38(int country);
int CurrentCountryUsesIf38();

// Copies the country's standard name into `buffer` (at most size - 1 characters, always
// terminated); 1 when the library has a table for the country, else 0 with the buffer left
// alone.
int GetCountryStandardName(int country, char* buffer, std::size_t size);
// 3 for the 625-line standards, 4 for the 525-line ones, -1 for any other name.
int GetStandardFamilyCode(const char* name);
// -1 when the country has no table.
int GetCountryStandardCode(int country);
// -1 without the settings object.
int GetCurrentCountryStandardCode();

// Half-width in MHz of the fine-tuning range for a standard; 0.0 for unlisted names.
double GetFineTuneSpanForStandard(const char* name);
// 0.0 when the country has no table.
double GetFineTuneSpan(int country);

// The country table: for a telephone country code, the channel ranges of broadcast and
// cable reception, their picture-carrier frequencies and the country's video standard.
//
// The plans follow the national channel plans. Every table holds one entry per channel
// from the first to the last; a channel number the plan leaves unused holds 0 Hz, which
// no tuner accepts. The tables are built once and live as long as the module.
#pragma once

#include <win32/types.h>

#include <cstdint>
#include <optional>
#include <span>

struct FrequencyRecord {
  std::int32_t firstBroadcastChannel;
  std::int32_t lastBroadcastChannel;
  std::int32_t firstCableChannel;
  std::int32_t lastCableChannel;
  std::span<const std::int32_t> broadcastFrequencies;  // Hz, channel first .. last
  std::span<const std::int32_t> cableFrequencies;
  const char* standardName;
};

class CCountryTable {
 public:
  // None for a code the table does not list.
  static std::optional<FrequencyRecord> CountryRecord(long countryCode);
};

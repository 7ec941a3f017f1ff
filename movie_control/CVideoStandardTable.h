// The analogue video standards the control can name: each standard's bit (as the
// decoders and tuners report it) and its name. Lookups stop at the closing row.
#pragma once

#include <win32/types.h>

#include <cstddef>
#include <cstdint>
#include <span>

struct VideoStandardRow {
  std::int32_t bit;
  const char* name;  // null on the closing row
};

class CVideoStandardTable {
 public:
  // Every row, the closing row (bit -1, no name) last.
  static std::span<const VideoStandardRow> Rows();
  // The bit of the first row named `name` without regard to case; E_FAIL when none is.
  static HRESULT StandardFromName(const char* name, long* bit);
  // The name of the first row with `bit`, cut to size - 1 characters and terminated;
  // E_FAIL when no row has the bit or there is no room.
  static HRESULT NameFromStandard(long bit, char* buffer, std::size_t size);
};

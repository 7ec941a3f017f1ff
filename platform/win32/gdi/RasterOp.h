// A ternary raster operation: the bitwise function of pattern (P), source (S) and
// destination (D) that a block transfer writes. Bits 16 to 23 of the ROP code are its
// truth table, indexed by P·4 + S·2 + D; the common operations have direct loops.
#pragma once

#include <win32/gdi/Surface.h>

#include <cstdint>

namespace plat {

class RasterOp {
 public:
  explicit RasterOp(DWORD rop) : m_table(static_cast<std::uint8_t>(rop >> 16)) {}

  bool usesPattern() const { return ((m_table >> 4) ^ m_table) & 0x0F; }
  bool usesSource() const { return ((m_table >> 2) ^ m_table) & 0x33; }
  bool usesDestination() const { return ((m_table >> 1) ^ m_table) & 0x55; }
  // The truth table: the ROP code's bits 16 to 23.
  std::uint8_t table() const { return m_table; }

  // dst[i] = op(pattern[i], source[i], dst[i]); unused inputs may be null.
  void apply(const Pixel* pattern, const Pixel* source, Pixel* dst, int count) const;

 private:
  std::uint8_t m_table;
};

}  // namespace plat

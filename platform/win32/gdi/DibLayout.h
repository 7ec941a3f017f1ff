// The shape of a device-independent bitmap as its header describes it (1, 4, 8, 16, 24
// or 32 bits a pixel, a colour table or bit-field masks, bottom-up or top-down rows
// padded to 4 bytes), and the conversion of its rows to pixels. SetDIBits, CreateDIBSection
// and the picture files read bits through it.
#pragma once

#include <win32/gdi/Surface.h>
#include <win32/gdi/bitmap.h>

#include <cstddef>
#include <optional>
#include <vector>

namespace plat {

class DibLayout {
 public:
  // `colors` holds the colour table (bit counts up to 8) or the three masks (BI_BITFIELDS),
  // `colorBytes` long; null when the header describes nothing readable (RLE included:
  // the file reader expands RLE first).
  static std::optional<DibLayout> from(const BITMAPINFOHEADER& header, const std::uint8_t* colors,
                                       std::size_t colorBytes);
  // Bytes of colour table or masks that follow such a header.
  static std::size_t colorBytes(const BITMAPINFOHEADER& header);

  int width() const { return m_width; }
  int height() const { return m_height; }
  int bitCount() const { return m_bitCount; }
  int stride() const { return m_stride; }
  bool bottomUp() const { return m_bottomUp; }
  std::size_t imageSize() const { return static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(m_height); }
  // Offset of picture row y (0 = top) inside the bits.
  std::size_t rowOffset(int y) const {
    return static_cast<std::size_t>(m_bottomUp ? m_height - 1 - y : y) * static_cast<std::size_t>(m_stride);
  }
  void readRow(const std::uint8_t* row, Pixel* out) const;

 private:
  int m_width = 0;
  int m_height = 0;
  int m_bitCount = 0;
  int m_stride = 0;
  bool m_bottomUp = true;
  // readRow for 16- and 32-bit pixels.
  template <int Bytes>
  void readFields(const std::uint8_t* row, Pixel* out) const;
  // Fills m_levels when every mask is a run of at most 8 bits.
  void makeLevels();

  std::vector<Pixel> m_palette;
  DWORD m_masks[3] = {0, 0, 0};
  // Per channel (red, green, blue): the field's shift and its values scaled to 8 bits, so
  // that a row of bit fields reads with three lookups a pixel; empty when not possible.
  int m_shifts[3] = {0, 0, 0};
  std::vector<std::uint8_t> m_levels[3];
};

}  // namespace plat

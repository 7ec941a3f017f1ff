// A rectangle of real pixels: what a bitmap, a DIB section, a window or the screen
// holds. Every drawing call of the platform ends in one.
//
// Three memory layouts, the ones a bitmap can have: 1 bit per pixel (most significant
// bit first, 1 = white), 24-bit blue-green-red and 32-bit blue-green-red-unused. Rows
// are padded to 4 bytes and may be stored bottom-up, exactly as a device-independent
// bitmap of the same format, so a DIB section's bits are the surface's own memory.
//
// Pixels travel as 0x00RRGGBB words (a 32-bit row read as little-endian words), so the
// 32-bit layout copies without conversion; a monochrome pixel reads as black or white
// and a colour written to it becomes white when it is light.
#pragma once

#include <win32/types.h>

#include <cstdint>
#include <vector>

namespace plat {

enum class PixelFormat { Mono1, Bgr24, Bgrx32 };

using Pixel = std::uint32_t;
inline constexpr Pixel kBlackPixel = 0x000000;
inline constexpr Pixel kWhitePixel = 0xFFFFFF;

constexpr Pixel pixelFromColorRef(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF colorRefFromPixel(Pixel p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
// The monochrome value a colour takes where a colour has to become black or white.
constexpr bool isLightPixel(Pixel p) {
  return ((p >> 16 & 0xFF) * 30 + (p >> 8 & 0xFF) * 59 + (p & 0xFF) * 11) >= 128 * 100;
}

class Surface {
 public:
  Surface(int width, int height, PixelFormat format, bool bottomUp = false);
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  Surface(Surface&&) = default;
  Surface& operator=(Surface&&) = default;
  Surface clone() const;

  static int bitsPerPixel(PixelFormat format);
  // Bytes per row of a device-independent bitmap: padded to 4 bytes.
  static int dibStride(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

  int width() const { return m_width; }
  int height() const { return m_height; }
  PixelFormat format() const { return m_format; }
  int bitsPerPixel() const { return bitsPerPixel(m_format); }
  bool isMono() const { return m_format == PixelFormat::Mono1; }
  int stride() const { return m_stride; }
  bool bottomUp() const { return m_bottomUp; }
  RECT bounds() const { return RECT{0, 0, m_width, m_height}; }

  // The memory as a DIB of this format sees it (first stored row first).
  std::uint8_t* bits() { return m_bytes.data(); }
  const std::uint8_t* bits() const { return m_bytes.data(); }
  std::size_t byteSize() const { return m_bytes.size(); }
  // Row y counted from the top of the picture, whatever the storage order.
  std::uint8_t* row(int y) { return m_bytes.data() + rowOffset(y); }
  const std::uint8_t* row(int y) const { return m_bytes.data() + rowOffset(y); }

  // Coordinates must lie inside the surface.
  Pixel pixel(int x, int y) const;
  void setPixel(int x, int y, Pixel p);
  void readSpan(int x, int y, int count, Pixel* out) const;
  void writeSpan(int x, int y, int count, const Pixel* in);
  // Fills the part of `area` inside the surface.
  void fill(const RECT& area, Pixel p);

 private:
  std::size_t rowOffset(int y) const {
    return static_cast<std::size_t>(m_bottomUp ? m_height - 1 - y : y) * static_cast<std::size_t>(m_stride);
  }

  int m_width;
  int m_height;
  PixelFormat m_format;
  bool m_bottomUp;
  int m_stride;
  std::vector<std::uint8_t> m_bytes;
};

}  // namespace plat

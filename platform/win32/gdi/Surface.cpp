#include <win32/gdi/Surface.h>

#include <algorithm>
#include <cstring>

namespace plat {

Surface::Surface(int width, int height, PixelFormat format, bool bottomUp)
    : m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_format(format),
      m_bottomUp(bottomUp),
      m_stride(dibStride(m_width, bitsPerPixel(format))),
      m_bytes(static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(m_height), 0) {}

Surface Surface::clone() const {
  Surface copy(m_width, m_height, m_format, m_bottomUp);
  copy.m_bytes = m_bytes;
  return copy;
}

int Surface::bitsPerPixel(PixelFormat format) {
  switch (format) {
    case PixelFormat::Mono1:
      return 1;
    case PixelFormat::Bgr24:
      return 24;
    case PixelFormat::Bgrx32:
      break;
  }
  return 32;
}

Pixel Surface::pixel(int x, int y) const {
  Pixel p;
  readSpan(x, y, 1, &p);
  return p;
}

void Surface::setPixel(int x, int y, Pixel p) { writeSpan(x, y, 1, &p); }

void Surface::readSpan(int x, int y, int count, Pixel* out) const {
  const std::uint8_t* r = row(y);
  switch (m_format) {
    case PixelFormat::Bgrx32:
      std::memcpy(out, r + x * 4, static_cast<std::size_t>(count) * 4);
      for (int i = 0; i < count; ++i) out[i] &= 0xFFFFFF;
      return;
    case PixelFormat::Bgr24:
      for (int i = 0; i < count; ++i) {
        const std::uint8_t* p = r + (x + i) * 3;
        out[i] = p[0] | (p[1] << 8) | (p[2] << 16);
      }
      return;
    case PixelFormat::Mono1:
      for (int i = 0; i < count; ++i) {
        const int bit = x + i;
        out[i] = (r[bit >> 3] >> (7 - (bit & 7)) & 1) ? kWhitePixel : kBlackPixel;
      }
      return;
  }
}

void Surface::writeSpan(int x, int y, int count, const Pixel* in) {
  std::uint8_t* r = row(y);
  switch (m_format) {
    case PixelFormat::Bgrx32:
      std::memcpy(r + x * 4, in, static_cast<std::size_t>(count) * 4);
      return;
    case PixelFormat::Bgr24:
      for (int i = 0; i < count; ++i) {
        std::uint8_t* p = r + (x + i) * 3;
        p[0] = static_cast<std::uint8_t>(in[i]);
        p[1] = static_cast<std::uint8_t>(in[i] >> 8);
        p[2] = static_cast<std::uint8_t>(in[i] >> 16);
      }
      return;
    case PixelFormat::Mono1:
      for (int i = 0; i < count; ++i) {
        const int bit = x + i;
        const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (bit & 7));
        if (isLightPixel(in[i]))
          r[bit >> 3] |= mask;
        else
          r[bit >> 3] &= static_cast<std::uint8_t>(~mask);
      }
      return;
  }
}

void Surface::fill(const RECT& area, Pixel p) {
  const int left = std::max<int>(area.left, 0);
  const int right = std::min<int>(area.right, m_width);
  const int top = std::max<int>(area.top, 0);
  const int bottom = std::min<int>(area.bottom, m_height);
  if (left >= right || top >= bottom) return;
  std::vector<Pixel> line(static_cast<std::size_t>(right - left), p & 0xFFFFFF);
  for (int y = top; y < bottom; ++y) writeSpan(left, y, right - left, line.data());
}

}  // namespace plat

#include <win32/gdi/DibLayout.h>

#include <bit>
#include <cstring>

namespace plat {

namespace {

// Scales the masked field of `value` to 8 bits.
std::uint32_t channel(DWORD value, DWORD mask) {
  if (!mask) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  std::uint32_t v = (value & mask) >> shift;
  if (bits >= 8) return v >> (bits - 8);
  return (v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1);
}

// The pixel value of `Bytes` bytes at p, little-endian.
template <int Bytes>
inline DWORD load(const std::uint8_t* p) {
  DWORD v = 0;
  std::memcpy(&v, p, Bytes);
  return v;
}

}  // namespace

std::size_t DibLayout::colorBytes(const BITMAPINFOHEADER& header) {
  if (header.biBitCount <= 8) {
    const DWORD count = header.biClrUsed ? header.biClrUsed : (1u << header.biBitCount);
    return static_cast<std::size_t>(count) * sizeof(RGBQUAD);
  }
  // A plain BITMAPINFOHEADER is followed by the masks; later headers hold them inside.
  if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER)) return 3 * sizeof(DWORD);
  return 0;
}

std::optional<DibLayout> DibLayout::from(const BITMAPINFOHEADER& header, const std::uint8_t* colors,
                                         std::size_t colorBytes) {
  DibLayout layout;
  const int bits = header.biBitCount;
  const bool supported = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (!supported || header.biWidth <= 0 || header.biHeight == 0 || header.biWidth > 32767) return std::nullopt;
  if (header.biHeight < -32767 || header.biHeight > 32767) return std::nullopt;
  layout.m_width = header.biWidth;
  layout.m_height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  layout.m_bottomUp = header.biHeight > 0;
  layout.m_bitCount = bits;
  layout.m_stride = Surface::dibStride(layout.m_width, bits);

  if (header.biCompression == BI_RGB) {
    if (bits <= 8) {
      const std::size_t count = colorBytes / sizeof(RGBQUAD);
      if (count == 0) return std::nullopt;
      for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* q = colors + i * sizeof(RGBQUAD);
        layout.m_palette.push_back(static_cast<Pixel>(q[0] | q[1] << 8 | q[2] << 16));
      }
      // Indexes past the table read as its first colour.
      layout.m_palette.resize(std::size_t{1} << bits, layout.m_palette.front());
    } else if (bits == 16) {
      layout.m_masks[0] = 0x7C00;
      layout.m_masks[1] = 0x03E0;
      layout.m_masks[2] = 0x001F;
      layout.makeLevels();
    }
    return layout;
  }
  if (header.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32) && colorBytes >= 12) {
    std::memcpy(layout.m_masks, colors, 12);
    layout.makeLevels();
    return layout;
  }
  return std::nullopt;
}

void DibLayout::makeLevels() {
  for (int c = 0; c < 3; ++c) {
    const DWORD mask = m_masks[c];
    const int shift = mask ? std::countr_zero(mask) : 0;
    const int bits = std::popcount(mask);
    if (bits > 8 || (mask >> shift) != (1u << bits) - 1) {
      for (auto& levels : m_levels) levels.clear();
      return;
    }
    m_shifts[c] = shift;
    m_levels[c].resize(std::size_t{1} << bits);
    for (DWORD v = 0; v < m_levels[c].size(); ++v)
      m_levels[c][v] = static_cast<std::uint8_t>(channel(v << shift, mask));
  }
}

template <int Bytes>
void DibLayout::readFields(const std::uint8_t* row, Pixel* out) const {
  if (Bytes == 4 && m_masks[0] == 0) {
    for (int x = 0; x < m_width; ++x) out[x] = load<4>(row + 4 * x) & 0xFFFFFF;
    return;
  }
  if (!m_levels[0].empty()) {
    const std::uint8_t* red = m_levels[0].data();
    const std::uint8_t* green = m_levels[1].data();
    const std::uint8_t* blue = m_levels[2].data();
    const DWORD redTop = static_cast<DWORD>(m_levels[0].size() - 1);
    const DWORD greenTop = static_cast<DWORD>(m_levels[1].size() - 1);
    const DWORD blueTop = static_cast<DWORD>(m_levels[2].size() - 1);
    for (int x = 0; x < m_width; ++x) {
      const DWORD v = load<Bytes>(row + Bytes * x);
      out[x] = static_cast<Pixel>(red[v >> m_shifts[0] & redTop]) << 16 |
               static_cast<Pixel>(green[v >> m_shifts[1] & greenTop]) << 8 | blue[v >> m_shifts[2] & blueTop];
    }
    return;
  }
  for (int x = 0; x < m_width; ++x) {
    const DWORD v = load<Bytes>(row + Bytes * x);
    out[x] = channel(v, m_masks[0]) << 16 | channel(v, m_masks[1]) << 8 | channel(v, m_masks[2]);
  }
}

void DibLayout::readRow(const std::uint8_t* row, Pixel* out) const {
  switch (m_bitCount) {
    case 1:
      for (int x = 0; x < m_width; ++x) out[x] = m_palette[row[x >> 3] >> (7 - (x & 7)) & 1];
      return;
    case 4:
      for (int x = 0; x < m_width; ++x) out[x] = m_palette[(x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4];
      return;
    case 8:
      for (int x = 0; x < m_width; ++x) out[x] = m_palette[row[x]];
      return;
    case 24:
      for (int x = 0; x < m_width; ++x) out[x] = static_cast<Pixel>(row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16);
      return;
    default:
      break;
  }
  if (m_bitCount == 16)
    readFields<2>(row, out);
  else
    readFields<4>(row, out);
}

}  // namespace plat

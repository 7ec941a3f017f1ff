#include "BmpReader.h"

#include <cstring>

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kMostPaletteEntries = 256;

std::uint32_t u32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// The palette index of pixel x of a row of `bits` bits a pixel (1, 4 or 8).
unsigned indexAt(const std::uint8_t* row, int x, int bits) {
  const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bits);
  const unsigned byte = row[bit / 8];
  const unsigned shift = 8 - static_cast<unsigned>(bits) - static_cast<unsigned>(bit % 8);
  return (byte >> shift) & ((1u << bits) - 1);
}

}  // namespace

const char* BmpReader::read(std::span<const std::uint8_t> file, DecodedPicture& out) {
  if (file.size() < kFileHeader + 40 || file[0] != 'B' || file[1] != 'M') return "not a BMP file";
  const std::uint8_t* info = file.data() + kFileHeader;
  const std::uint32_t headerSize = u32(info);
  if (headerSize < 40 || headerSize > file.size() - kFileHeader) return "unsupported BMP header";
  const long long width = static_cast<std::int32_t>(u32(info + 4));
  const long long signedHeight = static_cast<std::int32_t>(u32(info + 8));
  const int bits = u16(info + 14);
  const std::uint32_t compression = u32(info + 16);
  const std::uint32_t used = u32(info + 32);
  if (compression != 0) return "compressed BMP";
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return "unsupported bit depth";
  const long long height = signedHeight < 0 ? -signedHeight : signedHeight;
  if (!CxImagePixels::sizeAllowed(width, height)) return "picture size out of range";

  std::uint32_t entries = 0;
  if (bits <= 8) {
    entries = used ? used : (1u << bits);
    if (entries > kMostPaletteEntries) return "palette too large";
  }
  const std::size_t paletteAt = kFileHeader + headerSize;
  if (file.size() - paletteAt < static_cast<std::size_t>(entries) * 4) return "truncated palette";
  const std::size_t bitsAt = u32(file.data() + 10);
  const std::size_t stride = ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32) * 4;
  const std::size_t need = stride * static_cast<std::size_t>(height);
  if (bitsAt < paletteAt || bitsAt > file.size() || file.size() - bitsAt < need) return "truncated pixels";

  const std::uint8_t* palette = file.data() + paletteAt;
  out.resize(static_cast<int>(width), static_cast<int>(height));
  for (int y = 0; y < out.height; ++y) {
    // Bottom-up files keep the last row first.
    const int stored = signedHeight < 0 ? y : out.height - 1 - y;
    const std::uint8_t* in = file.data() + bitsAt + static_cast<std::size_t>(stored) * stride;
    std::uint8_t* to = out.row(y);
    if (bits == 24) {
      std::memcpy(to, in, static_cast<std::size_t>(width) * 3);
      continue;
    }
    for (int x = 0; x < out.width; ++x, to += 3) {
      if (bits == 32) {
        std::memcpy(to, in + static_cast<std::size_t>(x) * 4, 3);
        continue;
      }
      const unsigned index = indexAt(in, x, bits);
      // An index past the palette reads as black, as it would be drawn.
      if (index < entries) std::memcpy(to, palette + static_cast<std::size_t>(index) * 4, 3);
    }
  }
  return nullptr;
}

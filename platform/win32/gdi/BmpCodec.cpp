#include <win32/gdi/BmpCodec.h>

#include <win32/gdi/DibLayout.h>

#include <cstring>
#include <vector>

namespace plat {

namespace {

std::uint32_t le32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }
std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// Expands RLE8/RLE4 data into one palette index a byte, rows bottom-up; pixels the data
// skips stay 0. False when the data runs out or breaks its own rules.
bool expandRle(std::span<const std::uint8_t> in, bool four, int width, int height, std::vector<std::uint8_t>& out) {
  out.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  int x = 0;
  int y = 0;  // counted from the bottom
  std::size_t i = 0;
  const auto put = [&](std::uint8_t index) {
    if (x < width && y < height) out[static_cast<std::size_t>(height - 1 - y) * width + x] = index;
    ++x;
  };
  while (i + 1 < in.size()) {
    const std::uint8_t count = in[i];
    const std::uint8_t value = in[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(four ? ((k & 1) ? value & 0x0F : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return true;
    } else if (value == 2) {  // delta
      if (i + 2 > in.size()) return false;
      x += in[i];
      y += in[i + 1];
      i += 2;
    } else {  // absolute run of `value` pixels, padded to a word
      const std::size_t bytes = four ? (value + 1u) / 2 : value;
      if (i + bytes > in.size()) return false;
      for (int k = 0; k < value; ++k) put(four ? ((k & 1) ? in[i + k / 2] & 0x0F : in[i + k / 2] >> 4) : in[i + k]);
      i += (bytes + 1) & ~std::size_t{1};
    }
  }
  return false;  // no end-of-bitmap mark: truncated
}

}  // namespace

std::optional<PictureFile::Picture> BmpCodec::decode(std::span<const std::uint8_t> data) {
  if (data.size() < 14 + 12 || data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const std::uint32_t offBits = le32(&data[10]);
  const std::uint8_t* info = &data[14];
  const std::uint32_t headerSize = le32(info);
  if (headerSize != 12 && (headerSize < 40 || headerSize > 124)) return std::nullopt;
  if (data.size() < 14 + headerSize) return std::nullopt;

  BITMAPINFOHEADER h{};
  h.biSize = sizeof(BITMAPINFOHEADER);
  std::size_t entrySize = 4;
  if (headerSize == 12) {
    h.biWidth = le16(info + 4);
    h.biHeight = static_cast<std::int16_t>(le16(info + 6));
    h.biBitCount = le16(info + 10);
    entrySize = 3;
  } else {
    h.biWidth = static_cast<LONG>(le32(info + 4));
    h.biHeight = static_cast<LONG>(le32(info + 8));
    h.biBitCount = le16(info + 14);
    h.biCompression = le32(info + 16);
    h.biClrUsed = le32(info + 32);
  }
  const int fileBits = h.biBitCount;
  if (!PictureFile::sizeAllowed(h.biWidth, h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight))
    return std::nullopt;

  // Colour table (or masks) into RGBQUAD form.
  std::vector<std::uint8_t> colors;
  std::size_t tableAt = 14 + headerSize;
  if (h.biCompression == BI_BITFIELDS) {
    const std::size_t at = headerSize >= 52 ? 14 + 40 : tableAt;
    if (data.size() < at + 12) return std::nullopt;
    colors.assign(&data[at], &data[at] + 12);
  } else if (h.biBitCount <= 8) {
    if (h.biClrUsed > 256u) return std::nullopt;
    const std::size_t count = h.biClrUsed ? h.biClrUsed : (std::size_t{1} << h.biBitCount);
    if (data.size() < tableAt + count * entrySize) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t* e = &data[tableAt + i * entrySize];
      colors.insert(colors.end(), {e[0], e[1], e[2], 0});
    }
    h.biClrUsed = static_cast<DWORD>(count);
  }

  const bool rle = h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4;
  std::vector<std::uint8_t> expanded;
  std::span<const std::uint8_t> bits;
  if (offBits > data.size()) return std::nullopt;
  if (rle) {
    const bool four = h.biCompression == BI_RLE4;
    if (h.biHeight < 0 || h.biBitCount != (four ? 4 : 8)) return std::nullopt;
    if (!expandRle(data.subspan(offBits), four, h.biWidth, h.biHeight, expanded)) return std::nullopt;
    h.biBitCount = 8;
    h.biCompression = BI_RGB;
    // One index a byte: rows of the width padded to 4.
    const int stride = Surface::dibStride(h.biWidth, 8);
    std::vector<std::uint8_t> padded(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h.biHeight));
    for (int y = 0; y < h.biHeight; ++y)
      std::memcpy(&padded[static_cast<std::size_t>(y) * stride], &expanded[static_cast<std::size_t>(y) * h.biWidth],
                  static_cast<std::size_t>(h.biWidth));
    expanded = std::move(padded);
    h.biHeight = -h.biHeight;  // expanded top-down
    bits = expanded;
  } else {
    bits = data.subspan(offBits);
  }

  const auto layout = DibLayout::from(h, colors.data(), colors.size());
  if (!layout || bits.size() < layout->imageSize()) return std::nullopt;

  const bool mono = h.biBitCount == 1 && colors.size() >= 8 && colors[0] == 0 && colors[1] == 0 && colors[2] == 0 &&
                    colors[4] == 255 && colors[5] == 255 && colors[6] == 255;
  Surface pixels(layout->width(), layout->height(), mono ? PixelFormat::Mono1 : PixelFormat::Bgrx32);
  std::vector<Pixel> row(static_cast<std::size_t>(layout->width()));
  for (int y = 0; y < layout->height(); ++y) {
    layout->readRow(bits.data() + layout->rowOffset(y), row.data());
    pixels.writeSpan(0, y, layout->width(), row.data());
  }
  return PictureFile::Picture{std::move(pixels), fileBits};
}

}  // namespace plat

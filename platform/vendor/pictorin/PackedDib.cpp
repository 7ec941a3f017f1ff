#include "PackedDib.h"

#include "Pictorin.h"

#include <com/globalmem.h>

#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
constexpr DWORD kLongestHeader = 124;

std::uint32_t u32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
void put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

bool PackedDib::sizeAllowed(long long width, long long height) {
  return width > 0 && height > 0 && width <= PICTORIN_MOST_SIDE && height <= PICTORIN_MOST_SIDE &&
         width * height <= PICTORIN_MOST_PIXELS;
}

bool PackedDib::layoutAllowed(int width, int height, int srcBytesPerPixel, int dstBytesPerPixel, int stride) {
  return srcBytesPerPixel == 3 && dstBytesPerPixel == 3 && sizeAllowed(width, height) &&
         stride >= static_cast<long long>(width) * 3;
}

std::size_t PackedDib::bitsOffset(const BITMAPINFOHEADER& h) {
  std::size_t entries = 0;
  if (h.biBitCount <= 8) entries = h.biClrUsed ? h.biClrUsed : (std::size_t{1} << h.biBitCount);
  const std::size_t masks = h.biCompression == BI_BITFIELDS ? 12 : 0;
  return h.biSize + masks + entries * 4;
}

const BITMAPINFOHEADER* PackedDib::header(const std::uint8_t* dib, std::size_t size) {
  if (!dib || size < kInfoHeader) return nullptr;
  const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
  if (h->biSize != kInfoHeader || h->biBitCount != 24 || h->biCompression != BI_RGB || h->biPlanes != 1) return nullptr;
  const long long height = h->biHeight < 0 ? -static_cast<long long>(h->biHeight) : h->biHeight;
  if (!sizeAllowed(h->biWidth, height)) return nullptr;
  if ((size - kInfoHeader) / static_cast<std::size_t>(height) < strideOf(h->biWidth)) return nullptr;
  return h;
}

HGLOBAL PackedDib::fromFile(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeader + kInfoHeader || file[0] != 'B' || file[1] != 'M') return nullptr;
  const std::uint8_t* info = file.data() + kFileHeader;
  const std::uint32_t headerSize = u32(info);
  if (headerSize < kInfoHeader || headerSize > kLongestHeader || headerSize > file.size() - kFileHeader) return nullptr;
  const long long width = static_cast<std::int32_t>(u32(info + 4));
  const long long signedHeight = static_cast<std::int32_t>(u32(info + 8));
  const long long height = signedHeight < 0 ? -signedHeight : signedHeight;
  if (u16(info + 12) != 1 || u16(info + 14) != 24 || u32(info + 16) != BI_RGB || !sizeAllowed(width, height))
    return nullptr;
  const std::size_t stride = strideOf(width);
  const std::size_t image = stride * static_cast<std::size_t>(height);
  const std::size_t bitsAt = u32(file.data() + 10);
  if (bitsAt < kFileHeader + headerSize || bitsAt > file.size() || file.size() - bitsAt < image) return nullptr;

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kInfoHeader + image);
  auto* dib = block ? static_cast<std::uint8_t*>(GlobalLock(block)) : nullptr;
  if (!dib) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  BITMAPINFOHEADER h{};
  h.biSize = kInfoHeader;
  h.biWidth = static_cast<LONG>(width);
  h.biHeight = static_cast<LONG>(height);
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(image);
  h.biXPelsPerMeter = static_cast<LONG>(u32(info + 24));
  h.biYPelsPerMeter = static_cast<LONG>(u32(info + 28));
  std::memcpy(dib, &h, sizeof(h));
  const std::uint8_t* from = file.data() + bitsAt;
  if (signedHeight > 0) {
    std::memcpy(dib + kInfoHeader, from, image);
  } else {
    // A top-down file is turned bottom-up, the one order callers meet.
    for (long long y = 0; y < height; ++y)
      std::memcpy(dib + kInfoHeader + static_cast<std::size_t>(height - 1 - y) * stride,
                  from + static_cast<std::size_t>(y) * stride, stride);
  }
  GlobalUnlock(block);
  return block;
}

bool PackedDib::toFile(const std::uint8_t* dib, std::size_t size, std::vector<std::uint8_t>& file) {
  const BITMAPINFOHEADER* h = header(dib, size);
  if (!h) return false;
  const long long height = h->biHeight < 0 ? -static_cast<long long>(h->biHeight) : h->biHeight;
  const std::size_t image = strideOf(h->biWidth) * static_cast<std::size_t>(height);
  file.assign(kFileHeader + kInfoHeader + image, 0);
  file[0] = 'B';
  file[1] = 'M';
  put32(&file[2], static_cast<std::uint32_t>(file.size()));
  put32(&file[10], static_cast<std::uint32_t>(kFileHeader + kInfoHeader));
  BITMAPINFOHEADER out = *h;
  out.biSizeImage = static_cast<DWORD>(image);
  out.biClrUsed = 0;
  out.biClrImportant = 0;
  std::memcpy(&file[kFileHeader], &out, kInfoHeader);
  std::memcpy(&file[kFileHeader + kInfoHeader], dib + kInfoHeader, image);
  return true;
}

#include "windows/media/CDibLock.h"

#include <com/globalmem.h>
#include <vendor/pictorin/Pictorin.h>
#include <win32/gdi/bitmap.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr WORD kBitCount = 24;

}  // namespace

CDibLock::CDibLock(HGLOBAL hDib) : m_hDib(hDib) {
  if (!m_hDib) return;
  m_pDib = static_cast<BYTE*>(::GlobalLock(m_hDib));
  if (!m_pDib) return;
  const SIZE_T blockSize = ::GlobalSize(m_hDib);
  if (blockSize < sizeof(BITMAPINFOHEADER)) return;
  BITMAPINFOHEADER header{};
  std::memcpy(&header, m_pDib, sizeof header);
  // 24-bit rows only: other depths have fewer bytes per pixel than the effects assume.
  if (header.biSize < sizeof header || header.biBitCount != kBitCount || header.biCompression != BI_RGB ||
      header.biPlanes != 1 || header.biWidth <= 0 || header.biHeight == 0 || header.biWidth > PICTORIN_MOST_SIDE)
    return;
  const std::int64_t rows = header.biHeight < 0 ? -static_cast<std::int64_t>(header.biHeight) : header.biHeight;
  if (rows > PICTORIN_MOST_SIDE) return;
  const std::int64_t stride = (static_cast<std::int64_t>(header.biWidth) * kBitCount + 31) / 8 / 4 * 4;
  BYTE* bits = ::GetDIBBits(m_pDib);
  if (!bits || bits < m_pDib) return;
  const auto offset = static_cast<std::uint64_t>(bits - m_pDib);
  if (offset > blockSize || static_cast<std::uint64_t>(stride * rows) > blockSize - offset) return;
  m_nWidth = header.biWidth;
  m_nHeight = static_cast<int>(rows);
  m_nBytesPerPixel = (kBitCount + 7) / 8;
  m_nStride = static_cast<int>(stride);
  m_pBits = bits;
}

CDibLock::~CDibLock() {
  if (m_pDib) ::GlobalUnlock(m_hDib);
}

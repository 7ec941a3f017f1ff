#include "Pictorin.h"

#include "Histogram.h"
#include "PackedDib.h"
#include "PixelAdjust.h"
#include "Smoothing.h"

#include <com/globalmem.h>
#include <win32/file.h>
#include <win32/handleapi.h>

#include <cstring>
#include <vector>

namespace {

constexpr DWORD kMostFileBytes = 256UL * 1024 * 1024;

bool readFile(const char* path, std::vector<std::uint8_t>& bytes) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  const DWORD size = ::GetFileSize(file, &high);
  bool ok = high == 0 && size <= kMostFileBytes;
  if (ok) {
    bytes.resize(size);
    DWORD read = 0;
    ok = size == 0 || (::ReadFile(file, bytes.data(), size, &read, nullptr) && read == size);
  }
  ::CloseHandle(file);
  return ok;
}

// A locked DIB handle, unlocked when it goes.
class LockedDib {
 public:
  explicit LockedDib(HGLOBAL block)
      : m_block(block), m_bytes(block ? static_cast<std::uint8_t*>(GlobalLock(block)) : nullptr) {}
  ~LockedDib() {
    if (m_bytes) GlobalUnlock(m_block);
  }
  LockedDib(const LockedDib&) = delete;
  LockedDib& operator=(const LockedDib&) = delete;
  const std::uint8_t* bytes() const { return m_bytes; }
  std::size_t size() const { return m_bytes ? GlobalSize(m_block) : 0; }

 private:
  HGLOBAL m_block;
  std::uint8_t* m_bytes;
};

using Adjustment = void (*)(std::uint8_t*, int, int, int, int);

BOOL adjust(Adjustment how, BYTE* bits, int width, int height, int srcBpp, int dstBpp, int stride, int value) {
  if (!bits || !PackedDib::layoutAllowed(width, height, srcBpp, dstBpp, stride) || value < -127 || value > 127)
    return FALSE;
  if (value != 0) how(bits, width, height, stride, value);
  return TRUE;
}

using Filter = void (*)(const std::uint8_t*, std::uint8_t*, int, int, int);

BOOL smooth(Filter how, const BYTE* src, int srcBpp, int dstBpp, int width, int height, int stride, BYTE* dst) {
  if (!src || !dst || src == dst || !PackedDib::layoutAllowed(width, height, srcBpp, dstBpp, stride)) return FALSE;
  how(src, dst, width, height, stride);
  return TRUE;
}

}  // namespace

extern "C" {

HGLOBAL DIBRead(const char* path) {
  std::vector<std::uint8_t> file;
  if (!path || !readFile(path, file)) return nullptr;
  return PackedDib::fromFile(file);
}

BOOL DIBSave(HGLOBAL hDIB, const char* path) {
  if (!path) return FALSE;
  const LockedDib dib(hDIB);
  std::vector<std::uint8_t> file;
  if (!PackedDib::toFile(dib.bytes(), dib.size(), file)) return FALSE;
  return ::ReplaceFileContentsA(path, file.data(), static_cast<DWORD>(file.size()));
}

BOOL DIBDisplay(HDC hDC, const RECT* lpDCRect, HGLOBAL hDIB, const RECT* lpDIBRect, DWORD) {
  if (!hDC || !lpDCRect || !lpDIBRect) return FALSE;
  const LockedDib dib(hDIB);
  const BITMAPINFOHEADER* h = PackedDib::header(dib.bytes(), dib.size());
  if (!h) return FALSE;
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(hDC, reinterpret_cast<const BITMAPINFO*>(h), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section || !bits) return FALSE;
  const long long height = h->biHeight < 0 ? -static_cast<long long>(h->biHeight) : h->biHeight;
  std::memcpy(bits, dib.bytes() + h->biSize, PackedDib::strideOf(h->biWidth) * static_cast<std::size_t>(height));
  HDC source = ::CreateCompatibleDC(hDC);
  HGDIOBJ old = ::SelectObject(source, section);
  const int oldMode = ::SetStretchBltMode(hDC, HALFTONE);
  const RECT& to = *lpDCRect;
  const RECT& from = *lpDIBRect;
  const BOOL drawn = ::StretchBlt(hDC, to.left, to.top, to.right - to.left, to.bottom - to.top, source, from.left,
                                  from.top, from.right - from.left, from.bottom - from.top, SRCCOPY);
  if (oldMode) ::SetStretchBltMode(hDC, oldMode);
  ::SelectObject(source, old);
  ::DeleteDC(source);
  ::DeleteObject(section);
  return drawn;
}

BYTE* GetDIBBits(BYTE* lpDIB) {
  if (!lpDIB) return nullptr;
  BITMAPINFOHEADER h;
  std::memcpy(&h, lpDIB, sizeof(h));
  if (h.biSize < 40 || h.biSize > 124 || h.biClrUsed > 256) return nullptr;
  return lpDIB + PackedDib::bitsOffset(h);
}

BOOL AdjustLightness(BYTE* bits, int width, int height, int srcBpp, int dstBpp, int stride, int value, int) {
  return adjust(&PixelAdjust::lightness, bits, width, height, srcBpp, dstBpp, stride, value);
}

BOOL AdjustHue(BYTE* bits, int width, int height, int srcBpp, int dstBpp, int stride, int value, int) {
  return adjust(&PixelAdjust::hue, bits, width, height, srcBpp, dstBpp, stride, value);
}

BOOL AdjustContrast(BYTE* bits, int width, int height, int srcBpp, int dstBpp, int stride, int value, int) {
  return adjust(&PixelAdjust::contrast, bits, width, height, srcBpp, dstBpp, stride, value);
}

BOOL AdjustSaturation(BYTE* bits, int width, int height, int srcBpp, int dstBpp, int stride, int value, int) {
  return adjust(&PixelAdjust::saturation, bits, width, height, srcBpp, dstBpp, stride, value);
}

BOOL GaussSmooth(const BYTE* src, int srcBpp, int dstBpp, int width, int height, int stride, BYTE* dst) {
  return smooth(&Smoothing::gauss, src, srcBpp, dstBpp, width, height, stride, dst);
}

BOOL MedianSmooth(const BYTE* src, int srcBpp, int dstBpp, int width, int height, int stride, BYTE* dst) {
  return smooth(&Smoothing::median, src, srcBpp, dstBpp, width, height, stride, dst);
}

BOOL HistogramFromDIB(const BYTE* bits, int bytesPerPixel, int colorChannels, int width, int height, int stride,
                      int channelMask, DWORD* counts, DWORD* maxima) {
  if (!bits || !counts || !maxima || colorChannels != 3 ||
      !PackedDib::layoutAllowed(width, height, bytesPerPixel, bytesPerPixel, stride))
    return FALSE;
  Histogram::count(bits, width, height, stride, channelMask, counts, maxima);
  return TRUE;
}

BOOL DrawHistogram(HDC hDC, const RECT* lpRect, int colorCount, int channelMask, const DWORD* counts,
                   const DWORD* maxima, const COLORREF* colors, int, int, int, int, int) {
  if (!hDC || !lpRect || !counts || !maxima || !colors || colorCount < 0) return FALSE;
  Histogram::draw(hDC, *lpRect, colorCount, channelMask, counts, maxima, colors);
  return TRUE;
}

}  // extern "C"

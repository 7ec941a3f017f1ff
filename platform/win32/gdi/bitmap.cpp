#include <win32/gdi/bitmap.h>

#include <win32/error.h>
#include <win32/gdi/Blitter.h>
#include <win32/gdi/DrawingContext.h>
#include <win32/gdi/DibLayout.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/RasterOp.h>
#include <win32/gdi/dc.h>
#include <win32/gdi/object.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using plat::BitmapObject;
using plat::DrawingContext;
using plat::GdiTable;
using plat::Pixel;
using plat::PixelFormat;
using plat::Surface;

constexpr long long kMaxPixels = 64ll * 1024 * 1024;

bool sizeAllowed(int width, int height) {
  if (width <= 0 || height <= 0 || width > 32767 || height > 32767 ||
      static_cast<long long>(width) * height > kMaxPixels) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

HBITMAP addBitmap(Surface surface, bool dibSection) {
  return static_cast<HBITMAP>(GdiTable::instance().add(std::make_shared<BitmapObject>(std::move(surface), dibSection)));
}

std::optional<PixelFormat> formatForBits(int bits) {
  switch (bits) {
    case 1:
      return PixelFormat::Mono1;
    case 24:
      return PixelFormat::Bgr24;
    case 32:
      return PixelFormat::Bgrx32;
    default:
      return std::nullopt;
  }
}

// Writes rows of `surface` as a DIB of `bits` per pixel (1, 24 or 32).
void writeDibRow(const Pixel* row, int width, int bits, std::uint8_t* out) {
  switch (bits) {
    case 1:
      for (int x = 0; x < width; ++x) {
        const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
        if (plat::isLightPixel(row[x]))
          out[x >> 3] |= mask;
        else
          out[x >> 3] &= static_cast<std::uint8_t>(~mask);
      }
      return;
    case 24:
      for (int x = 0; x < width; ++x) {
        out[3 * x] = static_cast<std::uint8_t>(row[x]);
        out[3 * x + 1] = static_cast<std::uint8_t>(row[x] >> 8);
        out[3 * x + 2] = static_cast<std::uint8_t>(row[x] >> 16);
      }
      return;
    default:
      std::memcpy(out, row, static_cast<std::size_t>(width) * 4);
  }
}

std::shared_ptr<DrawingContext> dcOf(HDC hdc) { return GdiTable::lookup<DrawingContext>(hdc); }

// GDI's device space: 28-bit signed coordinates, as on Windows. A blit whose rectangles
// reach past it fails, so no coordinate sum below can overflow.
constexpr long long kDeviceSpace = 1LL << 27;

// A logical point in device units (64-bit, so that no given point overflows), when it
// lies in the device space.
std::optional<POINT> deviceOf(const DrawingContext& dc, long long x, long long y) {
  const DrawingContext::State& state = dc.state();
  const long long dx = x - state.windowOrg.x + state.viewportOrg.x;
  const long long dy = y - state.windowOrg.y + state.viewportOrg.y;
  if (dx < -kDeviceSpace || dx > kDeviceSpace || dy < -kDeviceSpace || dy > kDeviceSpace) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  return POINT{static_cast<LONG>(dx), static_cast<LONG>(dy)};
}

// The destination and source of a blit, in device units, normalised; flips when the
// two rectangles' directions differ.
struct Mapping {
  RECT dst;
  RECT src;
  bool flipX;
  bool flipY;
};

// One axis of a blit rectangle in device units: a negative extent runs from the start
// point backwards, the start point included.
std::pair<LONG, LONG> span(LONG start, LONG end) {
  return end >= start ? std::pair<LONG, LONG>{start, end} : std::pair<LONG, LONG>{end + 1, start + 1};
}

std::optional<Mapping> mapRects(const DrawingContext& dst, int x, int y, int w, int h, const DrawingContext& src,
                                int sx, int sy, int sw, int sh) {
  const auto d0 = deviceOf(dst, x, y);
  const auto d1 = deviceOf(dst, LONGLONG{x} + w, LONGLONG{y} + h);
  const auto s0 = deviceOf(src, sx, sy);
  const auto s1 = deviceOf(src, LONGLONG{sx} + sw, LONGLONG{sy} + sh);
  if (!d0 || !d1 || !s0 || !s1) return std::nullopt;
  const POINT o = src.origin();
  const auto [dx0, dx1] = span(d0->x, d1->x);
  const auto [dy0, dy1] = span(d0->y, d1->y);
  const auto [sx0, sx1] = span(s0->x, s1->x);
  const auto [sy0, sy1] = span(s0->y, s1->y);
  Mapping m;
  m.dst = RECT{dx0, dy0, dx1, dy1};
  m.src = RECT{sx0 + o.x, sy0 + o.y, sx1 + o.x, sy1 + o.y};
  m.flipX = (d1->x < d0->x) != (s1->x < s0->x);
  m.flipY = (d1->y < d0->y) != (s1->y < s0->y);
  return m;
}

}  // namespace

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
  const auto format = formatForBits(static_cast<int>(nBitCount));
  if (nPlanes != 1 || !format) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!sizeAllowed(nWidth, nHeight)) return nullptr;
  Surface surface(nWidth, nHeight, *format);
  if (lpBits) {
    // A device-dependent bitmap's rows are padded to 2 bytes.
    const int inStride = ((nWidth * static_cast<int>(nBitCount) + 15) / 16) * 2;
    const int rowBytes = (nWidth * static_cast<int>(nBitCount) + 7) / 8;
    const auto* in = static_cast<const std::uint8_t*>(lpBits);
    for (int y = 0; y < nHeight; ++y)
      std::memcpy(surface.row(y), in + static_cast<std::size_t>(y) * inStride, static_cast<std::size_t>(rowBytes));
  }
  return addBitmap(std::move(surface), false);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  auto dc = dcOf(hdc);
  if (!dc) return nullptr;
  if (cx == 0 || cy == 0) return addBitmap(Surface(1, 1, PixelFormat::Mono1), false);
  if (!sizeAllowed(cx, cy)) return nullptr;
  const bool mono = dc->isMemory() && dc->surface().isMono();
  return addBitmap(Surface(cx, cy, mono ? PixelFormat::Mono1 : PixelFormat::Bgrx32), false);
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection,
                         DWORD offset) {
  if (ppvBits) *ppvBits = nullptr;
  if (!pbmi || hSection || usage != DIB_RGB_COLORS || pbmi->bmiHeader.biCompression != BI_RGB) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const BITMAPINFOHEADER& h = pbmi->bmiHeader;
  const auto format = formatForBits(h.biBitCount);
  if (!format) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  if (!sizeAllowed(h.biWidth, height)) return nullptr;
  auto bitmap = std::make_shared<BitmapObject>(Surface(h.biWidth, height, *format, h.biHeight > 0), true);
  if (ppvBits) *ppvBits = bitmap->surface().bits();
  return static_cast<HBITMAP>(GdiTable::instance().add(bitmap));
}

int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage) {
  auto bitmap = GdiTable::lookup<BitmapObject>(hbm);
  if (!dcOf(hdc) || !bitmap) return 0;
  if (!lpbmi || lpbmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const Surface& surface = bitmap->surface();
  BITMAPINFOHEADER& h = lpbmi->bmiHeader;
  if (h.biBitCount == 0) {
    // Asking for the bitmap's own format.
    h.biWidth = surface.width();
    h.biHeight = surface.height();
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(surface.bitsPerPixel());
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(Surface::dibStride(surface.width(), surface.bitsPerPixel()) * surface.height());
    return lpvBits ? 0 : surface.height();
  }
  if (!formatForBits(h.biBitCount) || h.biWidth <= 0 || h.biHeight == 0 || h.biCompression != BI_RGB) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  const int stride = Surface::dibStride(h.biWidth, h.biBitCount);
  h.biSizeImage = static_cast<DWORD>(stride * height);
  if (h.biBitCount == 1) {
    lpbmi->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
    (&lpbmi->bmiColors[0])[1] = RGBQUAD{255, 255, 255, 0};
  }
  if (!lpvBits) return height;
  const int width = std::min(h.biWidth, static_cast<LONG>(surface.width()));
  std::vector<Pixel> row(static_cast<std::size_t>(width));
  int copied = 0;
  for (UINT i = 0; i < cLines; ++i) {
    const long long line = static_cast<long long>(start) + i;
    if (line >= height) break;
    const int y = h.biHeight > 0 ? height - 1 - static_cast<int>(line) : static_cast<int>(line);
    auto* out = static_cast<std::uint8_t*>(lpvBits) + static_cast<std::size_t>(i) * stride;
    if (y < surface.height()) {
      surface.readSpan(0, y, width, row.data());
      writeDibRow(row.data(), width, h.biBitCount, out);
    }
    ++copied;
  }
  return copied;
}

int SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const void* lpBits, const BITMAPINFO* lpbmi,
              UINT ColorUse) {
  auto bitmap = GdiTable::lookup<BitmapObject>(hbm);
  if (!bitmap) return 0;
  if (!lpbmi || !lpBits || ColorUse != DIB_RGB_COLORS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const BITMAPINFOHEADER& h = lpbmi->bmiHeader;
  const auto* colors = reinterpret_cast<const std::uint8_t*>(lpbmi) + h.biSize;
  const auto layout = plat::DibLayout::from(h, colors, plat::DibLayout::colorBytes(h));
  if (!layout) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Surface& surface = bitmap->surface();
  const int width = std::min(layout->width(), surface.width());
  std::vector<Pixel> row(static_cast<std::size_t>(layout->width()));
  int written = 0;
  for (UINT i = 0; i < cLines; ++i) {
    const long long line = static_cast<long long>(start) + i;
    if (line >= layout->height()) break;
    const int y = layout->bottomUp() ? layout->height() - 1 - static_cast<int>(line) : static_cast<int>(line);
    layout->readRow(static_cast<const std::uint8_t*>(lpBits) + static_cast<std::size_t>(i) * layout->stride(),
                    row.data());
    if (y < surface.height()) surface.writeSpan(0, y, width, row.data());
    ++written;
  }
  return written;
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  auto dst = dcOf(hdc);
  if (!dst) return FALSE;
  if (cx <= 0 || cy <= 0) return TRUE;
  const auto d = deviceOf(*dst, x, y);
  const auto end = deviceOf(*dst, LONGLONG{x} + cx, LONGLONG{y} + cy);
  if (!d || !end) return FALSE;
  const RECT device{d->x, d->y, end->x, end->y};
  if (!plat::RasterOp(rop).usesSource()) {
    plat::Blitter::transfer(*dst, device, nullptr, rop);
    return TRUE;
  }
  auto src = dcOf(hdcSrc);
  if (!src) return FALSE;
  const auto s = deviceOf(*src, x1, y1);
  if (!s) return FALSE;
  const plat::Blitter::Source source{src->surface(), s->x + src->origin().x, s->y + src->origin().y,
                                     plat::pixelFromColorRef(src->state().bkColor)};
  plat::Blitter::transfer(*dst, device, &source, rop);
  return TRUE;
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop) {
  auto dst = dcOf(hdcDest);
  if (!dst) return FALSE;
  if (!plat::RasterOp(rop).usesSource()) return PatBlt(hdcDest, xDest, yDest, wDest, hDest, rop);
  auto src = dcOf(hdcSrc);
  if (!src) return FALSE;
  const auto mapped = mapRects(*dst, xDest, yDest, wDest, hDest, *src, xSrc, ySrc, wSrc, hSrc);
  if (!mapped) return FALSE;
  const Mapping& m = *mapped;
  const Pixel background = plat::pixelFromColorRef(src->state().bkColor);
  const bool sameSize = m.dst.right - m.dst.left == m.src.right - m.src.left &&
                        m.dst.bottom - m.dst.top == m.src.bottom - m.src.top;
  if (sameSize && !m.flipX && !m.flipY) {
    const plat::Blitter::Source source{src->surface(), m.src.left, m.src.top, background};
    plat::Blitter::transfer(*dst, m.dst, &source, rop);
    return TRUE;
  }
  const bool halftone = dst->state().stretchMode == HALFTONE;
  plat::Blitter::stretch(*dst, {m.dst, m.src, m.flipX, m.flipY, halftone}, src->surface(), background, rop,
                         std::nullopt);
  return TRUE;
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  auto dc = dcOf(hdc);
  if (!dc) return FALSE;
  const auto a = deviceOf(*dc, x, y);
  const auto b = deviceOf(*dc, LONGLONG{x} + w, LONGLONG{y} + h);
  if (!a || !b) return FALSE;
  const RECT device{std::min(a->x, b->x), std::min(a->y, b->y), std::max(a->x, b->x), std::max(a->y, b->y)};
  plat::Blitter::transfer(*dc, device, nullptr, rop);
  return TRUE;
}

BOOL TransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                    int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, UINT crTransparent) {
  auto dst = dcOf(hdcDest);
  auto src = dcOf(hdcSrc);
  if (!dst || !src) return FALSE;
  if (wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto m = mapRects(*dst, xoriginDest, yoriginDest, wDest, hDest, *src, xoriginSrc, yoriginSrc, wSrc, hSrc);
  if (!m) return FALSE;
  plat::Blitter::stretch(*dst, {m->dst, m->src, false, false, false}, src->surface(),
                         plat::pixelFromColorRef(src->state().bkColor), SRCCOPY,
                         plat::pixelFromColorRef(crTransparent));
  return TRUE;
}

int SetStretchBltMode(HDC hdc, int mode) {
  auto dc = dcOf(hdc);
  if (!dc) return 0;
  if (mode < BLACKONWHITE || mode > HALFTONE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int previous = dc->state().stretchMode;
  dc->state().stretchMode = mode;
  return previous;
}

int GetStretchBltMode(HDC hdc) {
  auto dc = dcOf(hdc);
  return dc ? dc->state().stretchMode : 0;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  auto dc = dcOf(hdc);
  if (!dc) return CLR_INVALID;
  const POINT d = dc->toDevice(x, y);
  const auto at = dc->surfacePoint(d.x, d.y);
  if (!at) return CLR_INVALID;
  return plat::colorRefFromPixel(dc->surface().pixel(at->x, at->y));
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  auto dc = dcOf(hdc);
  if (!dc) return CLR_INVALID;
  const POINT d = dc->toDevice(x, y);
  const auto at = dc->surfacePoint(d.x, d.y);
  if (!at) return CLR_INVALID;
  dc->surface().setPixel(at->x, at->y, plat::pixelFromColorRef(color));
  return plat::colorRefFromPixel(dc->surface().pixel(at->x, at->y));
}

#include <vendor/overlay_filter/COverlayLayer.h>

#include <dshow/amvideo.h>

#include <algorithm>
#include <cstdlib>

namespace {

// 0x00BBGGRR to 0x00RRGGBB, the order of 32-bit DIB pixels.
std::uint32_t toPixel(COLORREF color) {
  return (static_cast<std::uint32_t>(GetRValue(color)) << 16) | (static_cast<std::uint32_t>(GetGValue(color)) << 8) |
         GetBValue(color);
}

BYTE mix(BYTE under, int over, int alpha) { return static_cast<BYTE>(under + ((over - under) * alpha) / 256); }

// BT.601 studio range, as the capture hardware delivers it.
void toYuv(std::uint32_t pixel, int& y, int& u, int& v) {
  const int r = (pixel >> 16) & 0xFF;
  const int g = (pixel >> 8) & 0xFF;
  const int b = pixel & 0xFF;
  y = 16 + ((66 * r + 129 * g + 25 * b + 128) >> 8);
  u = 128 + ((-38 * r - 74 * g + 112 * b + 128) >> 8);
  v = 128 + ((112 * r - 94 * g - 18 * b + 128) >> 8);
}

}  // namespace

void COverlayLayer::setText(std::string text) {
  m_text = std::move(text);
  m_dirty = true;
}

void COverlayLayer::setSize(int width, int height) {
  m_width = width;
  m_height = height;
  m_dirty = true;
}

bool COverlayLayer::setPicture(HBITMAP picture) {
  BITMAP info{};
  if (GetObjectA(picture, sizeof(info), &info) != sizeof(info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header.bmiHeader.biWidth = info.bmWidth;
  header.bmiHeader.biHeight = -info.bmHeight;  // top-down
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  Image copy{info.bmWidth, info.bmHeight, std::vector<std::uint32_t>(static_cast<size_t>(info.bmWidth) * info.bmHeight)};
  HDC dc = CreateCompatibleDC(nullptr);
  const int lines = GetDIBits(dc, picture, 0, static_cast<UINT>(info.bmHeight), copy.pixels.data(), &header,
                              DIB_RGB_COLORS);
  DeleteDC(dc);
  if (lines != info.bmHeight) return false;
  for (std::uint32_t& pixel : copy.pixels) pixel &= 0x00FFFFFF;
  m_source = std::move(copy);
  m_dirty = true;
  return true;
}

void COverlayLayer::clearPicture() {
  m_source = Image{};
  m_dirty = true;
}

void COverlayLayer::setColors(COLORREF ink, COLORREF key) {
  m_ink = ink;
  m_key = key;
  m_dirty = true;
}

void COverlayLayer::setPosition(int x, int y) {
  m_x = x;
  m_y = y;
}

void COverlayLayer::setFont(const LOGFONTA& font) {
  m_font = font;
  m_dirty = true;
}

void COverlayLayer::setBlend(double blend) { m_blend = blend; }

void COverlayLayer::render() {
  m_image = Image{};
  if (m_isText)
    renderText();
  else
    renderPicture();
  m_dirty = false;
}

void COverlayLayer::renderText() {
  if (m_text.empty()) return;
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontIndirectA(&m_font);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32A(dc, m_text.c_str(), static_cast<int>(m_text.size()), &extent);
  if (extent.cx > 0 && extent.cy > 0) {
    BITMAPINFO header{};
    header.bmiHeader = {sizeof(BITMAPINFOHEADER), extent.cx, -extent.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP surface = CreateDIBSection(dc, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (surface && bits) {
      HGDIOBJ oldBitmap = SelectObject(dc, surface);
      RECT all{0, 0, extent.cx, extent.cy};
      HBRUSH background = CreateSolidBrush(m_key);
      FillRect(dc, &all, background);
      DeleteObject(background);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, m_ink);
      TextOutA(dc, 0, 0, m_text.c_str(), static_cast<int>(m_text.size()));
      const auto* pixels = static_cast<const std::uint32_t*>(bits);
      m_image = Image{extent.cx, extent.cy, std::vector<std::uint32_t>(pixels, pixels + extent.cx * extent.cy)};
      for (std::uint32_t& pixel : m_image.pixels) pixel &= 0x00FFFFFF;
      SelectObject(dc, oldBitmap);
    }
    if (surface) DeleteObject(surface);
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
  DeleteDC(dc);
}

// Nearest-pixel stretch to the size asked for.
void COverlayLayer::renderPicture() {
  if (m_source.pixels.empty()) return;
  const int width = m_width > 0 ? m_width : m_source.width;
  const int height = m_height > 0 ? m_height : m_source.height;
  m_image = Image{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      m_image.pixels[static_cast<size_t>(y) * width + x] =
          m_source.pixels[static_cast<size_t>(y * m_source.height / height) * m_source.width +
                          x * m_source.width / width];
}

bool COverlayLayer::isKey(std::uint32_t pixel) const { return pixel == toPixel(m_key); }

int COverlayLayer::alpha() const {
  return m_blend >= 0.0 && m_blend <= 1.0 ? static_cast<int>(m_blend * 256.0 + 0.5) : 256;
}

void COverlayLayer::drawOnto(BYTE* frame, long length, const VIDEOINFOHEADER& format, bool yuy2) {
  if (m_dirty) render();
  const int width = format.bmiHeader.biWidth;
  const int height = std::abs(format.bmiHeader.biHeight);
  const int bytesPerPixel = format.bmiHeader.biBitCount / 8;
  const long stride = (width * format.bmiHeader.biBitCount + 31) / 32 * 4;
  // RGB with a positive height is stored bottom row first; YUY2 always top row first.
  const bool bottomUp = !yuy2 && format.bmiHeader.biHeight > 0;
  const int a = alpha();
  for (int ly = 0; ly < m_image.height; ++ly) {
    const int y = m_y + ly;
    if (y < 0 || y >= height) continue;
    const long rowOffset = (bottomUp ? height - 1 - y : y) * stride;
    if (rowOffset + stride > length) continue;
    BYTE* row = frame + rowOffset;
    for (int lx = 0; lx < m_image.width; ++lx) {
      const int x = m_x + lx;
      const std::uint32_t pixel = m_image.pixels[static_cast<size_t>(ly) * m_image.width + lx];
      if (x < 0 || x >= width || isKey(pixel)) continue;
      if (yuy2) {
        int luma = 0, u = 0, v = 0;
        toYuv(pixel, luma, u, v);
        BYTE* pair = row + (x & ~1) * 2;
        pair[(x & 1) * 2] = mix(pair[(x & 1) * 2], luma, a);
        pair[1] = mix(pair[1], u, a);
        pair[3] = mix(pair[3], v, a);
      } else {
        BYTE* out = row + x * bytesPerPixel;
        out[0] = mix(out[0], pixel & 0xFF, a);
        out[1] = mix(out[1], (pixel >> 8) & 0xFF, a);
        out[2] = mix(out[2], (pixel >> 16) & 0xFF, a);
      }
    }
  }
}

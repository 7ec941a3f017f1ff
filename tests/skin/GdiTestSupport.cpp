#include "GdiTestSupport.h"

namespace test {

HBITMAP MakeBitmap(int cx, int cy, const std::function<COLORREF(int, int)>& pixel) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = cx;
  bmi.bmiHeader.biHeight = -cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP hBitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* out = static_cast<BYTE*>(bits);
  for (int y = 0; y < cy; ++y) {
    for (int x = 0; x < cx; ++x) {
      const COLORREF c = pixel(x, y);
      BYTE* p = out + (static_cast<std::size_t>(y) * cx + x) * 4;
      p[0] = static_cast<BYTE>(c >> 16);
      p[1] = static_cast<BYTE>(c >> 8);
      p[2] = static_cast<BYTE>(c);
      p[3] = 0;
    }
  }
  return hBitmap;
}

COLORREF BitmapPixel(HBITMAP hBitmap, int x, int y) {
  HDC hdc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, hBitmap);
  const COLORREF c = GetPixel(hdc, x, y);
  SelectObject(hdc, old);
  DeleteDC(hdc);
  return c;
}

MemoryCanvas::MemoryCanvas(int cx, int cy, COLORREF fill)
    : m_dc(CreateCompatibleDC(nullptr)), m_bitmap(MakeBitmap(cx, cy, [fill](int, int) { return fill; })) {
  m_old = SelectObject(m_dc, m_bitmap);
}

MemoryCanvas::~MemoryCanvas() {
  SelectObject(m_dc, m_old);
  DeleteObject(m_bitmap);
  DeleteDC(m_dc);
}

}  // namespace test

// A memory device context with a bitmap of its own selected, released at the end of a
// test; pixels read back as 0x00RRGGBB through GetPixel.
#pragma once

#include <win32/gdi.h>

#include <gtest/gtest.h>

namespace test {

class Canvas {
 public:
  // bits: 1 or 32 (CreateBitmap), 24 (a bottom-up DIB section).
  Canvas(int width, int height, int bits = 32) : m_width(width), m_height(height) {
    m_dc = CreateCompatibleDC(nullptr);
    if (bits == 1) {
      m_bitmap = CreateBitmap(width, height, 1, 1, nullptr);
    } else if (bits == 24) {
      BITMAPINFO bmi{};
      bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      bmi.bmiHeader.biWidth = width;
      bmi.bmiHeader.biHeight = height;
      bmi.bmiHeader.biPlanes = 1;
      bmi.bmiHeader.biBitCount = 24;
      m_bitmap = CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, nullptr, nullptr, 0);
    } else {
      m_bitmap = CreateBitmap(width, height, 1, 32, nullptr);
    }
    m_old = SelectObject(m_dc, m_bitmap);
  }
  ~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return m_dc; }
  HBITMAP bitmap() const { return m_bitmap; }
  int width() const { return m_width; }
  int height() const { return m_height; }

  void fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    RECT all{0, 0, m_width, m_height};
    FillRect(m_dc, &all, brush);
    DeleteObject(brush);
  }
  // GetPixel without the context's origins and clip region in the way.
  COLORREF at(int x, int y) const {
    const int saved = SaveDC(m_dc);
    SetWindowOrgEx(m_dc, 0, 0, nullptr);
    SetViewportOrgEx(m_dc, 0, 0, nullptr);
    SelectClipRgn(m_dc, nullptr);
    const COLORREF c = GetPixel(m_dc, x, y);
    RestoreDC(m_dc, saved);
    return c;
  }
  // Number of pixels of `color` inside the rectangle.
  int count(COLORREF color, RECT r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += at(x, y) == color;
    return n;
  }
  int count(COLORREF color) const { return count(color, RECT{0, 0, m_width, m_height}); }

 private:
  int m_width;
  int m_height;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
};

}  // namespace test

// Bitmaps and pixel reads for the skin tests, through GDI itself.
#pragma once

#include <win32/gdi.h>

#include <functional>

namespace test {

// A 32-bit bitmap whose pixel (x, y) has the COLORREF `pixel(x, y)`.
HBITMAP MakeBitmap(int cx, int cy, const std::function<COLORREF(int, int)>& pixel);
// The colour of pixel (x, y) of a bitmap that is not selected anywhere.
COLORREF BitmapPixel(HBITMAP hBitmap, int x, int y);

// A memory device context drawing into a new cx x cy bitmap filled with `fill`.
class MemoryCanvas {
 public:
  MemoryCanvas(int cx, int cy, COLORREF fill);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  HDC dc() const { return m_dc; }
  COLORREF pixel(int x, int y) const { return GetPixel(m_dc, x, y); }

 private:
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
};

}  // namespace test

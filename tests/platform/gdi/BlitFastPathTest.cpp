// The whole-row blits against the general pipeline: random pictures with junk in the
// unused bytes, every pairing of 24- and 32-bit surfaces stored either way up, clipped
// rectangles reaching past both surfaces, and a blit within one surface. The expected
// picture is made pixel by pixel through the general read, raster operation and write.
#include <win32/gdi.h>
#include <win32/gdi/RasterOp.h>
#include <win32/gdi/Surface.h>

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using plat::Pixel;
using plat::PixelFormat;
using plat::Surface;

struct DibDc {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  std::uint8_t* bits = nullptr;
  std::size_t bytes = 0;
  DibDc(int width, int height, int bitCount, bool bottomUp) {
    dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bmi{};
    bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, bottomUp ? height : -height, 1,
                                     static_cast<WORD>(bitCount), BI_RGB, 0, 0, 0, 0, 0};
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<std::uint8_t*>(p);
    bytes = static_cast<std::size_t>(Surface::dibStride(width, bitCount)) * static_cast<std::size_t>(height);
    SelectObject(dc, bitmap);
  }
  ~DibDc() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  DibDc(const DibDc&) = delete;
  DibDc& operator=(const DibDc&) = delete;
};

// A surface holding the same bytes as the DIB: the model the general path works on.
Surface modelOf(const DibDc& dib, int width, int height, int bitCount, bool bottomUp) {
  Surface model(width, height, bitCount == 32 ? PixelFormat::Bgrx32 : PixelFormat::Bgr24, bottomUp);
  std::memcpy(model.bits(), dib.bits, dib.bytes);
  return model;
}

// dst(dx + i, dy + j) = op(src(sx + i, sy + j), dst) over the parts inside both surfaces.
void generalBlit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, DWORD rop) {
  const plat::RasterOp op(rop);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const int tx = dx + i, ty = dy + j, fx = sx + i, fy = sy + j;
      if (tx < 0 || ty < 0 || tx >= dst.width() || ty >= dst.height()) continue;
      const bool readsSource = op.usesSource();
      if (readsSource && (fx < 0 || fy < 0 || fx >= src.width() || fy >= src.height())) continue;
      Pixel s = readsSource ? src.pixel(fx, fy) : 0;
      Pixel d = dst.pixel(tx, ty);
      op.apply(nullptr, &s, &d, 1);
      dst.setPixel(tx, ty, d);
    }
}

void randomise(std::uint8_t* bytes, std::size_t count, std::mt19937& rng) {
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(rng());
}

constexpr DWORD kOps[] = {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, DSTINVERT, BLACKNESS, WHITENESS};

TEST(BlitFastPathTest, RowBlitsMatchTheGeneralPathOnRandomPictures) {
  std::mt19937 rng(19);
  std::uniform_int_distribution<int> size(1, 70);
  std::uniform_int_distribution<int> place(-12, 60);
  for (int round = 0; round < 400; ++round) {
    const int sw = size(rng), sh = size(rng), dw = size(rng), dh = size(rng);
    const int sBits = rng() % 2 ? 32 : 24, dBits = rng() % 2 ? 32 : 24;
    const bool sUp = rng() % 2, dUp = rng() % 2;
    const DWORD rop = kOps[rng() % std::size(kOps)];
    DibDc src(sw, sh, sBits, sUp);
    DibDc dst(dw, dh, dBits, dUp);
    randomise(src.bits, src.bytes, rng);
    randomise(dst.bits, dst.bytes, rng);
    const Surface from = modelOf(src, sw, sh, sBits, sUp);
    Surface expected = modelOf(dst, dw, dh, dBits, dUp);
    const int x = place(rng), y = place(rng), w = size(rng), h = size(rng), sx = place(rng), sy = place(rng);

    generalBlit(expected, x, y, w, h, from, sx, sy, rop);
    ASSERT_TRUE(BitBlt(dst.dc, x, y, w, h, src.dc, sx, sy, rop));
    ASSERT_EQ(std::memcmp(dst.bits, expected.bits(), dst.bytes), 0)
        << "round " << round << ": rop " << std::hex << rop << std::dec << ", " << sBits << (sUp ? " up" : " down")
        << " to " << dBits << (dUp ? " up" : " down");
  }
}

TEST(BlitFastPathTest, StretchAtOneToOneAndBlitsWithinOneSurfaceMatchTheGeneralPath) {
  std::mt19937 rng(23);
  for (int bits : {24, 32}) {
    DibDc dib(48, 40, bits, true);
    randomise(dib.bits, dib.bytes, rng);
    Surface expected = modelOf(dib, 48, 40, bits, true);
    // Overlapping source and destination: the source is read as it was before the blit.
    const Surface before = expected.clone();
    generalBlit(expected, 5, 3, 30, 30, before, 0, 0, SRCCOPY);
    ASSERT_TRUE(BitBlt(dib.dc, 5, 3, 30, 30, dib.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(std::memcmp(dib.bits, expected.bits(), dib.bytes), 0) << bits << " bits, overlapping";

    DibDc other(20, 20, bits == 24 ? 32 : 24, false);
    randomise(other.bits, other.bytes, rng);
    const Surface from = modelOf(other, 20, 20, bits == 24 ? 32 : 24, false);
    generalBlit(expected, 10, 10, 20, 20, from, 0, 0, SRCINVERT);
    ASSERT_TRUE(StretchBlt(dib.dc, 10, 10, 20, 20, other.dc, 0, 0, 20, 20, SRCINVERT));
    EXPECT_EQ(std::memcmp(dib.bits, expected.bits(), dib.bytes), 0) << bits << " bits, stretch at 1:1";
  }
}

}  // namespace

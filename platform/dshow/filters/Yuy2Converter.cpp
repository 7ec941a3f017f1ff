#include <dshow/filters/Yuy2Converter.h>
#include <win32/gdi/VectorClones.h>

#include <algorithm>

namespace plat {

namespace {

inline int clip(int value) { return std::min(std::max(value, 0), 255); }

// Calls put(x, r, g, b) for each pixel; the two pixels of a pair share their chroma. The
// pairs are independent of each other, so the loop vectorises. An odd last pixel has
// no V byte of its own in the row and is taken as neutral in V.
template <class Put>
inline void convert(const std::uint8_t* yuy2, int width, Put put) {
  const auto pixel = [&](int x, int luma, int d, int e) {
    const int c = 298 * (luma - 16);
    put(x, clip((c + 409 * e + 128) >> 8), clip((c - 100 * d - 208 * e + 128) >> 8), clip((c + 516 * d + 128) >> 8));
  };
  const int pairs = width / 2;
  for (int i = 0; i < pairs; ++i) {
    const std::uint8_t* q = yuy2 + 4 * i;
    const int d = q[1] - 128;
    const int e = q[3] - 128;
    pixel(2 * i, q[0], d, e);
    pixel(2 * i + 1, q[2], d, e);
  }
  if (width & 1) pixel(width - 1, yuy2[4 * pairs], yuy2[4 * pairs + 1] - 128, 0);
}

}  // namespace

ORVANE_VECTOR_CLONES
void Yuy2Converter::toBgr(const std::uint8_t* yuy2, int width, std::uint8_t* out, int bytesPerPixel) {
  if (bytesPerPixel == 4) {
    convert(yuy2, width, [&](int x, int r, int g, int b) {
      std::uint8_t* pixel = out + 4 * x;
      pixel[0] = static_cast<std::uint8_t>(b);
      pixel[1] = static_cast<std::uint8_t>(g);
      pixel[2] = static_cast<std::uint8_t>(r);
      pixel[3] = 0;
    });
    return;
  }
  convert(yuy2, width, [&](int x, int r, int g, int b) {
    std::uint8_t* pixel = out + 3 * x;
    pixel[0] = static_cast<std::uint8_t>(b);
    pixel[1] = static_cast<std::uint8_t>(g);
    pixel[2] = static_cast<std::uint8_t>(r);
  });
}

ORVANE_VECTOR_CLONES
void Yuy2Converter::toPacked(const std::uint8_t* yuy2, int width, std::uint32_t* out) {
  convert(yuy2, width, [&](int x, int r, int g, int b) {
    out[x] = static_cast<std::uint32_t>(r << 16 | g << 8 | b);
  });
}

ORVANE_VECTOR_CLONES
void Yuy2Converter::fromPlanes(const std::uint8_t* __restrict y, const std::uint8_t* __restrict u,
                               const std::uint8_t* __restrict v, int width, std::uint8_t* __restrict out) {
  for (int i = 0; i < width / 2; ++i) {
    out[4 * i] = y[2 * i];
    out[4 * i + 1] = u[i];
    out[4 * i + 2] = y[2 * i + 1];
    out[4 * i + 3] = v[i];
  }
}

}  // namespace plat

#include <dshow/filters/Yuy2Converter.h>

namespace plat {

namespace {

inline std::uint8_t clip(int value) { return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value); }

// Calls put(x, r, g, b) for each pixel; the two pixels of a pair share their chroma.
template <class Put>
inline void convert(const std::uint8_t* yuy2, int width, Put put) {
  for (int x = 0; x < width; x += 2) {
    const int d = yuy2[1] - 128;
    const int e = yuy2[3] - 128;
    const int red = 409 * e + 128;
    const int green = -100 * d - 208 * e + 128;
    const int blue = 516 * d + 128;
    for (int i = 0; i < 2 && x + i < width; ++i) {
      const int c = 298 * (yuy2[i * 2] - 16);
      put(x + i, clip((c + red) >> 8), clip((c + green) >> 8), clip((c + blue) >> 8));
    }
    yuy2 += 4;
  }
}

}  // namespace

void Yuy2Converter::toBgr(const std::uint8_t* yuy2, int width, std::uint8_t* out, int bytesPerPixel) {
  convert(yuy2, width, [&](int x, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::uint8_t* pixel = out + x * bytesPerPixel;
    pixel[0] = b;
    pixel[1] = g;
    pixel[2] = r;
    if (bytesPerPixel == 4) pixel[3] = 0;
  });
}

void Yuy2Converter::toPacked(const std::uint8_t* yuy2, int width, std::uint32_t* out) {
  convert(yuy2, width, [&](int x, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    out[x] = (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | b;
  });
}

}  // namespace plat

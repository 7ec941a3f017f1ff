#include <machine/TestPicture.h>

#include <machine/PixelFont.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace plat {

namespace {

std::uint8_t clampByte(double value) { return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

Rgb fromHue(int degrees) {
  // Saturated but not extreme, so the colours stay apart after conversion both ways.
  const double h = (degrees % 360) / 60.0;
  const double c = 150.0;
  const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h)) {
    case 0: r = c; g = x; break;
    case 1: r = x; g = c; break;
    case 2: g = c; b = x; break;
    case 3: g = x; b = c; break;
    case 4: r = x; b = c; break;
    default: r = c; b = x; break;
  }
  return {clampByte(r + 40), clampByte(g + 40), clampByte(b + 40)};
}

// Writes one pixel's luma and, on even columns, the pair's chroma.
class Painter {
 public:
  Painter(std::uint8_t* out, int width, int height, int stride) : m_out(out), m_width(width), m_height(height), m_stride(stride) {}
  void set(int x, int y, std::uint8_t luma, std::uint8_t u, std::uint8_t v) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    std::uint8_t* pair = m_out + static_cast<std::ptrdiff_t>(y) * m_stride + (x & ~1) * 2;
    pair[(x & 1) ? 2 : 0] = luma;
    pair[1] = u;
    pair[3] = v;
  }
  // The first row pixel by pixel, the whole pairs of the others copied from it: a frame
  // is painted 25 times a second.
  void fill(int left, int top, int right, int bottom, Rgb rgb) {
    std::uint8_t y = 0, u = 0, v = 0;
    TestPicture::rgbToYuv(rgb, y, u, v);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_width);
    bottom = std::min(bottom, m_height);
    if (left >= right || top >= bottom) return;
    for (int col = left; col < right; ++col) set(col, top, y, u, v);
    const int firstPair = (left + 1) & ~1;
    const int endPair = right & ~1;
    const std::uint8_t* pattern = at(firstPair, top);
    for (int row = top + 1; row < bottom; ++row) {
      if (left & 1) set(left, row, y, u, v);
      if (endPair > firstPair) std::memcpy(at(firstPair, row), pattern, static_cast<std::size_t>(endPair - firstPair) * 2);
      if (right & 1) set(right - 1, row, y, u, v);
    }
  }
  void text(const std::string& words, int x, int y, int scale) {
    PixelFont::draw(words, x, y, scale, [&](int px, int py) { set(px, py, 235, 128, 128); });
  }

 private:
  std::uint8_t* at(int x, int y) { return m_out + static_cast<std::ptrdiff_t>(y) * m_stride + x * 2; }

  std::uint8_t* m_out;
  int m_width;
  int m_height;
  int m_stride;
};

void paintSnow(Painter& painter, std::uint64_t frame, int width, int height) {
  std::uint64_t state = frame * 0x9E3779B97F4A7C15ULL + 1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      painter.set(x, y, static_cast<std::uint8_t>(16 + state % 220), 128, 128);
    }
}

}  // namespace

void TestPicture::rgbToYuv(Rgb rgb, std::uint8_t& y, std::uint8_t& u, std::uint8_t& v) {
  const double r = rgb.r, g = rgb.g, b = rgb.b;
  y = clampByte(16 + (65.738 * r + 129.057 * g + 25.064 * b) / 256);
  u = clampByte(128 + (-37.945 * r - 74.494 * g + 112.439 * b) / 256);
  v = clampByte(128 + (112.439 * r - 94.154 * g - 18.285 * b) / 256);
}

Rgb TestPicture::yuvToRgb(std::uint8_t y, std::uint8_t u, std::uint8_t v) {
  const double c = 1.164383 * (y - 16);
  const double d = u - 128;
  const double e = v - 128;
  return {clampByte(c + 1.596027 * e), clampByte(c - 0.391762 * d - 0.812968 * e), clampByte(c + 2.017232 * d)};
}

Rgb TestPicture::stationColour(int number) { return fromHue(number * 47); }

int TestPicture::barLeft(std::int64_t timeMs, int width) {
  const std::int64_t period = 4000;
  return static_cast<int>(((timeMs % period + period) % period) * width / period);
}

void TestPicture::paintYuy2(const Scene& scene, std::int64_t timeMs, std::uint64_t frame, int width, int height,
                            std::uint8_t* out, int stride) {
  Painter painter(out, width, height, stride);
  const int scale = std::max(1, height / 48);
  switch (scene.kind) {
    case Scene::Kind::Snow:
      paintSnow(painter, frame, width, height);
      return;
    case Scene::Kind::Station: {
      painter.fill(0, 0, width, height, stationColour(scene.number));
      const int bar = barLeft(timeMs, width);
      painter.fill(bar, 0, bar + barWidth(width), height, {235, 235, 235});
      painter.text(std::to_string(scene.number), width / 20, height / 20, scale * 2);
      painter.text(scene.name, width / 20, height / 20 + PixelFont::kCellHeight * scale * 2 + scale * 2, scale);
      return;
    }
    case Scene::Kind::External: {
      static const Rgb kBars[] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                                  {191, 0, 191},   {191, 0, 0},   {0, 0, 191},   {16, 16, 16}};
      for (int i = 0; i < 8; ++i) painter.fill(width * i / 8, 0, width * (i + 1) / 8, height, kBars[i]);
      painter.text(scene.name, width / 20, height - height / 20 - PixelFont::kCellHeight * scale, scale);
      return;
    }
  }
}

}  // namespace plat

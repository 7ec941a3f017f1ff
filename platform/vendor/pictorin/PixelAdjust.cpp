#include "PixelAdjust.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace {

using Table = std::array<std::uint8_t, 256>;

std::uint8_t clampByte(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

void mapBytes(std::uint8_t* bits, int width, int height, int stride, const Table& table) {
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
    for (std::size_t i = 0; i < rowBytes; ++i) row[i] = table[row[i]];
  }
}

// Mixes each pixel's channels through a 3 x 3 matrix in 1/4096 units, (blue, green, red) order.
void mixChannels(std::uint8_t* bits, int width, int height, int stride, const int (&m)[3][3]) {
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
    for (int x = 0; x < width; ++x, p += 3) {
      const int b = p[0], g = p[1], r = p[2];
      for (int c = 0; c < 3; ++c) p[c] = clampByte((m[c][0] * b + m[c][1] * g + m[c][2] * r + 2048) >> 12);
    }
  }
}

// The weights of a pixel's grey, in 1/4096 units (blue, green, red).
constexpr int kGrey[3] = {467, 2404, 1225};

}  // namespace

void PixelAdjust::lightness(std::uint8_t* bits, int width, int height, int stride, int value) {
  Table table;
  for (int v = 0; v < 256; ++v) table[static_cast<std::size_t>(v)] = clampByte(v + value);
  mapBytes(bits, width, height, stride, table);
}

void PixelAdjust::contrast(std::uint8_t* bits, int width, int height, int stride, int value) {
  Table table;
  for (int v = 0; v < 256; ++v) table[static_cast<std::size_t>(v)] = clampByte(128 + (v - 128) * (128 + value) / 128);
  mapBytes(bits, width, height, stride, table);
}

void PixelAdjust::saturation(std::uint8_t* bits, int width, int height, int stride, int value) {
  // Each channel: grey + (channel - grey) x k, with k = (128 + value) / 128.
  const int k = (128 + value) * 32;  // in 1/4096 units
  int m[3][3];
  for (int c = 0; c < 3; ++c)
    for (int j = 0; j < 3; ++j) m[c][j] = kGrey[j] * (4096 - k) / 4096 + (c == j ? k : 0);
  mixChannels(bits, width, height, stride, m);
}

void PixelAdjust::hue(std::uint8_t* bits, int width, int height, int stride, int value) {
  // A turn about the grey axis (1, 1, 1): Rodrigues' rotation of the colour cube.
  const double angle = value * 3.14159265358979323846 / 128.0;
  const double cosA = std::cos(angle), sinA = std::sin(angle);
  const double third = 1.0 / 3.0, root = std::sqrt(third);
  int m[3][3];
  for (int c = 0; c < 3; ++c)
    for (int j = 0; j < 3; ++j) {
      double w = cosA * (c == j ? 1.0 : 0.0) + third * (1.0 - cosA);
      // The cross-product term: a positive turn carries red toward blue, blue toward
      // green and green toward red.
      if ((j + 1) % 3 == c) w += root * sinA;
      if ((c + 1) % 3 == j) w -= root * sinA;
      m[c][j] = static_cast<int>(std::lround(w * 4096));
    }
  mixChannels(bits, width, height, stride, m);
}

#include <win32/gdi/Resampler.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace plat {

namespace {

constexpr int kWeightBits = 12;
constexpr int kWeightOne = 1 << kWeightBits;

// Source taps of each output position along one axis.
struct Taps {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<int> offset;
  std::vector<int> weights;
};

void addTaps(Taps& taps, int sourceLength, int outputLength, int u) {
  std::vector<std::pair<int, double>> raw;
  const double scale = static_cast<double>(sourceLength) / outputLength;
  if (scale > 1.0) {
    const double a = u * scale;
    const double b = (u + 1) * scale;
    for (int k = static_cast<int>(std::floor(a)); k < static_cast<int>(std::ceil(b)); ++k) {
      const double overlap = std::min(b, k + 1.0) - std::max(a, static_cast<double>(k));
      if (overlap > 0) raw.emplace_back(std::min(k, sourceLength - 1), overlap / scale);
    }
  } else {
    const double c = (u + 0.5) * scale - 0.5;
    const int k0 = static_cast<int>(std::floor(c));
    const double f = c - k0;
    raw.emplace_back(std::clamp(k0, 0, sourceLength - 1), 1.0 - f);
    raw.emplace_back(std::clamp(k0 + 1, 0, sourceLength - 1), f);
  }
  // Integer weights that add up to exactly one; taps of one source pixel merged.
  const int first = raw.front().first;
  const int last = std::max_element(raw.begin(), raw.end())->first;
  std::vector<int> w(static_cast<std::size_t>(last - first + 1), 0);
  for (const auto& [k, weight] : raw) w[static_cast<std::size_t>(k - first)] += static_cast<int>(std::lround(weight * kWeightOne));
  int sum = 0;
  for (int v : w) sum += v;
  *std::max_element(w.begin(), w.end()) += kWeightOne - sum;
  taps.first.push_back(first);
  taps.count.push_back(static_cast<int>(w.size()));
  taps.offset.push_back(static_cast<int>(taps.weights.size()));
  taps.weights.insert(taps.weights.end(), w.begin(), w.end());
}

Taps tapsFor(int sourceLength, int outputLength, bool flip, int from, int to) {
  Taps taps;
  for (int i = from; i < to; ++i) addTaps(taps, sourceLength, outputLength, flip ? outputLength - 1 - i : i);
  return taps;
}

}  // namespace

Surface Resampler::scale(const Surface& surface, const RECT& source, int width, int height, bool flipX, bool flipY,
                         const RECT& part) {
  const int partW = part.right - part.left;
  const int partH = part.bottom - part.top;
  Surface out(partW, partH, PixelFormat::Bgrx32);
  const int srcW = source.right - source.left;
  const int srcH = source.bottom - source.top;
  if (partW <= 0 || partH <= 0 || srcW <= 0 || srcH <= 0) return out;

  const Taps xs = tapsFor(srcW, width, flipX, part.left, part.right);
  const Taps ys = tapsFor(srcH, height, flipY, part.top, part.bottom);
  int rowFirst = srcH;
  int rowLast = -1;
  for (std::size_t i = 0; i < ys.first.size(); ++i) {
    rowFirst = std::min(rowFirst, ys.first[i]);
    rowLast = std::max(rowLast, ys.first[i] + ys.count[i] - 1);
  }
  int colFirst = srcW;
  int colLast = -1;
  for (std::size_t i = 0; i < xs.first.size(); ++i) {
    colFirst = std::min(colFirst, xs.first[i]);
    colLast = std::max(colLast, xs.first[i] + xs.count[i] - 1);
  }
  const int cols = colLast - colFirst + 1;
  const int rows = rowLast - rowFirst + 1;

  // Horizontal pass: each needed source row to partW pixels, 4 fraction bits kept.
  std::vector<std::uint16_t> mid(static_cast<std::size_t>(rows) * partW * 3);
  std::vector<Pixel> line(static_cast<std::size_t>(cols));
  for (int r = 0; r < rows; ++r) {
    surface.readSpan(source.left + colFirst, source.top + rowFirst + r, cols, line.data());
    std::uint16_t* o = &mid[static_cast<std::size_t>(r) * partW * 3];
    for (int x = 0; x < partW; ++x) {
      const int* w = &xs.weights[static_cast<std::size_t>(xs.offset[static_cast<std::size_t>(x)])];
      const Pixel* s = &line[static_cast<std::size_t>(xs.first[static_cast<std::size_t>(x)] - colFirst)];
      int red = 0, green = 0, blue = 0;
      for (int k = 0; k < xs.count[static_cast<std::size_t>(x)]; ++k) {
        red += w[k] * static_cast<int>(s[k] >> 16 & 0xFF);
        green += w[k] * static_cast<int>(s[k] >> 8 & 0xFF);
        blue += w[k] * static_cast<int>(s[k] & 0xFF);
      }
      o[3 * x] = static_cast<std::uint16_t>((red + 128) >> (kWeightBits - 4));
      o[3 * x + 1] = static_cast<std::uint16_t>((green + 128) >> (kWeightBits - 4));
      o[3 * x + 2] = static_cast<std::uint16_t>((blue + 128) >> (kWeightBits - 4));
    }
  }

  // Vertical pass.
  std::vector<Pixel> result(static_cast<std::size_t>(partW));
  constexpr int kShift = kWeightBits + 4;
  for (int y = 0; y < partH; ++y) {
    const int* w = &ys.weights[static_cast<std::size_t>(ys.offset[static_cast<std::size_t>(y)])];
    const int count = ys.count[static_cast<std::size_t>(y)];
    const std::size_t base = static_cast<std::size_t>(ys.first[static_cast<std::size_t>(y)] - rowFirst) * partW * 3;
    for (int x = 0; x < partW; ++x) {
      int red = 0, green = 0, blue = 0;
      for (int k = 0; k < count; ++k) {
        const std::uint16_t* m = &mid[base + static_cast<std::size_t>(k) * partW * 3 + 3 * static_cast<std::size_t>(x)];
        red += w[k] * m[0];
        green += w[k] * m[1];
        blue += w[k] * m[2];
      }
      const auto clampByte = [](int v) { return static_cast<Pixel>(std::clamp((v + (1 << (kShift - 1))) >> kShift, 0, 255)); };
      result[static_cast<std::size_t>(x)] = clampByte(red) << 16 | clampByte(green) << 8 | clampByte(blue);
    }
    out.writeSpan(0, y, partW, result.data());
  }
  return out;
}

}  // namespace plat

#include "Smoothing.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

// The row above, the row and the row below y, the edge rows standing in for missing ones.
struct Rows {
  const std::uint8_t* up;
  const std::uint8_t* mid;
  const std::uint8_t* down;
};

Rows rowsAround(const std::uint8_t* src, int y, int height, int stride) {
  auto at = [&](int r) { return src + static_cast<std::size_t>(std::clamp(r, 0, height - 1)) * static_cast<std::size_t>(stride); };
  return Rows{at(y - 1), at(y), at(y + 1)};
}

// Copies a row's n bytes into `padded` with one pixel (3 bytes) repeated at each end, so
// every byte has its channel's neighbours at -3 and +3.
template <class T>
void padEnds(std::vector<T>& padded, std::size_t n) {
  for (std::size_t c = 0; c < 3; ++c) {
    padded[c] = padded[3 + c];
    padded[3 + n + c] = padded[n + c];
  }
}

inline std::uint8_t lo(std::uint8_t a, std::uint8_t b) { return a < b ? a : b; }
inline std::uint8_t hi(std::uint8_t a, std::uint8_t b) { return a < b ? b : a; }

}  // namespace

void Smoothing::gauss(const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride) {
  const std::size_t n = static_cast<std::size_t>(width) * 3;
  std::vector<std::uint16_t> column(n + 6);
  for (int y = 0; y < height; ++y) {
    const Rows r = rowsAround(src, y, height, stride);
    std::uint16_t* col = column.data() + 3;
    for (std::size_t i = 0; i < n; ++i)
      col[i] = static_cast<std::uint16_t>(r.up[i] + 2 * r.mid[i] + r.down[i]);
    padEnds(column, n);
    std::uint8_t* out = dst + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
    for (std::size_t i = 0; i < n; ++i)
      out[i] = static_cast<std::uint8_t>((col[i - 3] + 2 * col[i] + col[i + 3] + 8) >> 4);
  }
}

void Smoothing::median(const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride) {
  const std::size_t n = static_cast<std::size_t>(width) * 3;
  std::vector<std::uint8_t> lows(n + 6), mids(n + 6), highs(n + 6);
  for (int y = 0; y < height; ++y) {
    const Rows r = rowsAround(src, y, height, stride);
    std::uint8_t* l = lows.data() + 3;
    std::uint8_t* m = mids.data() + 3;
    std::uint8_t* h = highs.data() + 3;
    // Each column sorted: low, middle, high.
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t a = r.up[i], b = r.mid[i], c = r.down[i];
      const std::uint8_t minAB = lo(a, b), maxAB = hi(a, b);
      l[i] = lo(minAB, c);
      h[i] = hi(maxAB, c);
      m[i] = hi(minAB, lo(maxAB, c));
    }
    padEnds(lows, n);
    padEnds(mids, n);
    padEnds(highs, n);
    // The median of nine is the median of the largest low, the middle middle and the
    // smallest high of the three columns.
    std::uint8_t* out = dst + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t maxLow = hi(hi(l[i - 3], l[i]), l[i + 3]);
      const std::uint8_t minHigh = lo(lo(h[i - 3], h[i]), h[i + 3]);
      const std::uint8_t a = m[i - 3], b = m[i], c = m[i + 3];
      const std::uint8_t midMid = hi(lo(a, b), lo(hi(a, b), c));
      out[i] = hi(lo(maxLow, midMid), lo(hi(maxLow, midMid), minHigh));
    }
  }
}

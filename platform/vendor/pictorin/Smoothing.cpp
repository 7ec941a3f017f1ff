#include "Smoothing.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <thread>
#include <vector>

#include <win32/gdi/VectorClones.h>

namespace {

// Up to this many bands, each of at least this many bytes of picture.
constexpr std::size_t kMostBands = 4;
constexpr std::size_t kBytesPerBand = 512 * 1024;

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

inline std::uint8_t lo(std::uint8_t a, std::uint8_t b) { return a < b ? a : b; }
inline std::uint8_t hi(std::uint8_t a, std::uint8_t b) { return a < b ? b : a; }

// One output row of each filter. `col` and the sorted columns have three bytes of room
// before and after the n bytes of the row. The rows and buffers never overlap, which the
// vectoriser is told.
ORVANE_VECTOR_CLONES void gaussRow(const Rows& r, std::uint16_t* __restrict col, std::uint8_t* __restrict out,
                                   std::size_t n) {
  const std::uint8_t* __restrict up = r.up;
  const std::uint8_t* __restrict mid = r.mid;
  const std::uint8_t* __restrict down = r.down;
  for (std::size_t i = 0; i < n; ++i) col[i] = static_cast<std::uint16_t>(up[i] + 2 * mid[i] + down[i]);
  // Each byte's neighbours of its channel are 3 bytes to the left and right; beyond the
  // row's ends the end pixels stand in.
  const std::uint16_t* left = col - 3;
  const std::uint16_t* right = col + 3;
  for (std::size_t c = 0; c < 3; ++c) {
    (col - 3)[c] = col[c];
    col[n + c] = col[n - 3 + c];
  }
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>((left[i] + 2 * col[i] + right[i] + 8) >> 4);
}

ORVANE_VECTOR_CLONES void medianRow(const Rows& r, std::uint8_t* __restrict l, std::uint8_t* __restrict m,
                                    std::uint8_t* __restrict h, std::uint8_t* __restrict out, std::size_t n) {
  const std::uint8_t* __restrict up = r.up;
  const std::uint8_t* __restrict mid = r.mid;
  const std::uint8_t* __restrict down = r.down;
  // Each column sorted: low, middle, high.
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t a = up[i], b = mid[i], c = down[i];
    const std::uint8_t minAB = lo(a, b), maxAB = hi(a, b);
    l[i] = lo(minAB, c);
    h[i] = hi(maxAB, c);
    m[i] = hi(minAB, lo(maxAB, c));
  }
  for (std::uint8_t* sorted : {l, m, h})
    for (std::size_t c = 0; c < 3; ++c) {
      (sorted - 3)[c] = sorted[c];
      sorted[n + c] = sorted[n - 3 + c];
    }
  // The median of nine is the median of the largest low, the middle middle and the
  // smallest high of the three columns.
  const std::uint8_t* __restrict lLeft = l - 3;
  const std::uint8_t* __restrict lRight = l + 3;
  const std::uint8_t* __restrict mLeft = m - 3;
  const std::uint8_t* __restrict mRight = m + 3;
  const std::uint8_t* __restrict hLeft = h - 3;
  const std::uint8_t* __restrict hRight = h + 3;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t maxLow = hi(hi(lLeft[i], l[i]), lRight[i]);
    const std::uint8_t minHigh = lo(lo(hLeft[i], h[i]), hRight[i]);
    const std::uint8_t a = mLeft[i], b = m[i], c = mRight[i];
    const std::uint8_t midMid = hi(lo(a, b), lo(hi(a, b), c));
    out[i] = hi(lo(maxLow, midMid), lo(hi(maxLow, midMid), minHigh));
  }
}

// Large pictures are cut into bands of rows filtered side by side, each by a thread of
// its own with its own row buffers: every band reads the source only and writes only its
// own rows of the destination.
template <class Band>
void inBands(int height, std::size_t rowBytes, Band band) {
  const std::size_t bytes = rowBytes * static_cast<std::size_t>(height);
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const int bands = static_cast<int>(std::min<std::size_t>({kMostBands, cores, bytes / kBytesPerBand + 1}));
  if (bands <= 1) {
    band(0, height);
    return;
  }
  std::vector<std::thread> workers;
  for (int b = 1; b < bands; ++b) workers.emplace_back(band, height * b / bands, height * (b + 1) / bands);
  band(0, height / bands);
  for (std::thread& worker : workers) worker.join();
}

}  // namespace

void Smoothing::gauss(const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride) {
  const std::size_t n = static_cast<std::size_t>(width) * 3;
  inBands(height, n, [=](int first, int last) {
    std::vector<std::uint16_t> column(n + 6);
    for (int y = first; y < last; ++y)
      gaussRow(rowsAround(src, y, height, stride), column.data() + 3,
               dst + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride), n);
  });
}

void Smoothing::median(const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride) {
  const std::size_t n = static_cast<std::size_t>(width) * 3;
  inBands(height, n, [=](int first, int last) {
    std::vector<std::uint8_t> lows(n + 6), mids(n + 6), highs(n + 6);
    for (int y = first; y < last; ++y)
      medianRow(rowsAround(src, y, height, stride), lows.data() + 3, mids.data() + 3, highs.data() + 3,
                dst + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride), n);
  });
}

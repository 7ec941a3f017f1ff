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

const std::uint8_t* rowAt(const std::uint8_t* src, int y, int height, int stride) {
  return src + static_cast<std::size_t>(std::clamp(y, 0, height - 1)) * static_cast<std::size_t>(stride);
}

Rows rowsAround(const std::uint8_t* src, int y, int height, int stride) {
  return Rows{rowAt(src, y - 1, height, stride), rowAt(src, y, height, stride), rowAt(src, y + 1, height, stride)};
}

// The four source rows y - 1 .. y + 2 around the output rows y and y + 1, which share
// the middle two.
struct PairRows {
  PairRows(const std::uint8_t* src, int y, int height, int stride)
      : above(rowAt(src, y - 1, height, stride)),
        top(rowAt(src, y, height, stride)),
        bottom(rowAt(src, y + 1, height, stride)),
        below(rowAt(src, y + 2, height, stride)) {}
  const std::uint8_t* above;
  const std::uint8_t* top;
  const std::uint8_t* bottom;
  const std::uint8_t* below;
};

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

// A column's three bytes sorted.
struct Sorted {
  std::uint8_t low, mid, high;
};

// The column of `a` and an already ordered pair p <= q.
inline Sorted sortedWith(std::uint8_t a, std::uint8_t p, std::uint8_t q) { return {lo(a, p), hi(p, lo(a, q)), hi(a, q)}; }

// The median of nine is the median of the largest low, the middle middle and the
// smallest high of the three columns.
inline std::uint8_t medianOf(const Sorted& left, const Sorted& mid, const Sorted& right) {
  const std::uint8_t maxLow = hi(hi(left.low, mid.low), right.low);
  const std::uint8_t minHigh = lo(lo(left.high, mid.high), right.high);
  const std::uint8_t midMid = hi(lo(left.mid, mid.mid), lo(hi(left.mid, mid.mid), right.mid));
  return hi(lo(maxLow, midMid), lo(hi(maxLow, midMid), minHigh));
}

// Output bytes [from, to) of the rows y and y + 1 at once: they share the source rows y
// and y + 1, whose pair is ordered once for both. `left` and `right` give each byte's
// neighbour of its channel, 3 bytes away or the byte itself at the row's ends.
template <class Left, class Right>
inline void medianPairAt(const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* c, const std::uint8_t* d,
                         std::uint8_t* top, std::uint8_t* bottom, std::size_t i, Left left, Right right) {
  const std::size_t at[3] = {left(i), i, right(i)};
  Sorted upper[3], lower[3];
  for (int k = 0; k < 3; ++k) {
    const std::size_t j = at[k];
    const std::uint8_t p = lo(b[j], c[j]), q = hi(b[j], c[j]);
    upper[k] = sortedWith(a[j], p, q);
    lower[k] = sortedWith(d[j], p, q);
  }
  top[i] = medianOf(upper[0], upper[1], upper[2]);
  bottom[i] = medianOf(lower[0], lower[1], lower[2]);
}

// The bytes whose neighbours both lie within the row: plain loads 3 bytes either side,
// which the compiler turns into vector instructions with every column in registers.
// The rows may be one row (at the picture's edges) but never overlap the outputs, which
// the vectoriser is told.
ORVANE_VECTOR_CLONES void medianPairInside(const PairRows& r, std::uint8_t* __restrict top,
                                           std::uint8_t* __restrict bottom, std::size_t from, std::size_t to) {
  const std::uint8_t* __restrict a = r.above;
  const std::uint8_t* __restrict b = r.top;
  const std::uint8_t* __restrict c = r.bottom;
  const std::uint8_t* __restrict d = r.below;
  for (std::size_t i = from; i < to; ++i)
    medianPairAt(a, b, c, d, top, bottom, i, [](std::size_t j) { return j - 3; }, [](std::size_t j) { return j + 3; });
}

void medianPair(const PairRows& r, std::uint8_t* top, std::uint8_t* bottom, std::size_t n) {
  const std::size_t inside = std::min<std::size_t>(3, n), end = std::max(inside, n - 3);
  if (end > inside) medianPairInside(r, top, bottom, inside, end);
  for (const auto& [from, to] : {std::pair{std::size_t{0}, inside}, std::pair{end, n}})
    for (std::size_t i = from; i < to; ++i)
      medianPairAt(r.above, r.top, r.bottom, r.below, top, bottom, i, [](std::size_t j) { return j < 3 ? j : j - 3; },
                   [n](std::size_t j) { return j + 3 < n ? j + 3 : j; });
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
    // A band of an odd number of rows ends with a lone row, whose partner goes here.
    std::vector<std::uint8_t> spare((last - first) % 2 ? n : 0);
    for (int y = first; y < last; y += 2) {
      std::uint8_t* top = dst + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
      medianPair(PairRows(src, y, height, stride), top, y + 1 < last ? top + stride : spare.data(), n);
    }
  });
}

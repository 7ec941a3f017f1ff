#include "Smoothing.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <utility>

#include <win32/gdi/VectorClones.h>

namespace {

// Output rows filtered together: each source row's part is computed once for the three
// output rows it touches and handed down in registers, while the block's rows stay few
// enough to be streamed side by side.
constexpr int kBlockRows = 8;

// 32 bytes (or 16 words) handled as one; the baseline build works them as two halves.
// The helpers taking and giving them are all inlined into the block filters, so no vector
// crosses a call, whose convention differs between the builds.
#pragma GCC diagnostic ignored "-Wpsabi"
typedef std::uint8_t Bytes __attribute__((vector_size(32)));
typedef std::uint16_t Words __attribute__((vector_size(32)));

// The source rows y - 1 .. y + count of the output rows y .. y + count - 1, the edge rows
// standing in for missing ones.
struct Block {
  Block(const std::uint8_t* src, std::uint8_t* dst, int y, int height, int stride)
      : count(std::min(kBlockRows, height - y)) {
    for (int k = 0; k < count + 2; ++k)
      rows[k] = src + static_cast<std::size_t>(std::clamp(y - 1 + k, 0, height - 1)) * static_cast<std::size_t>(stride);
    for (int k = 0; k < count; ++k) outs[k] = dst + static_cast<std::size_t>(y + k) * static_cast<std::size_t>(stride);
  }
  int count;
  const std::uint8_t* rows[kBlockRows + 2];
  std::uint8_t* outs[kBlockRows];
};

template <class T>
[[gnu::always_inline]] inline T load(const std::uint8_t* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

template <class T>
[[gnu::always_inline]] inline T lo(T a, T b) {
  return a < b ? a : b;
}
template <class T>
[[gnu::always_inline]] inline T hi(T a, T b) {
  return a < b ? b : a;
}

// The median of nine: each row's byte and its neighbours sorted, then the median of the
// largest low, the middle middle and the smallest high of the three rows. Written once
// for one byte (T = std::uint8_t) and for 32.
template <class T>
struct Median {
  using Lanes = T;
  struct Row {
    T low, mid, high;
  };
  [[gnu::always_inline]] static Row row(T left, T mid, T right) {
    const T minLM = lo(left, mid), maxLM = hi(left, mid);
    return {lo(minLM, right), hi(minLM, lo(maxLM, right)), hi(maxLM, right)};
  }
  [[gnu::always_inline]] static T out(const Row& above, const Row& row, const Row& below) {
    const T maxLow = hi(hi(above.low, row.low), below.low);
    const T minHigh = lo(lo(above.high, row.high), below.high);
    const T midMid = hi(lo(above.mid, row.mid), lo(hi(above.mid, row.mid), below.mid));
    return hi(lo(maxLow, midMid), lo(hi(maxLow, midMid), minHigh));
  }
};

// Weights 1 2 1 along the row, then 1 2 1 down the rows, the sum rounded: (sum + 8) / 16.
struct GaussByte {
  using Lanes = std::uint8_t;
  using Row = int;
  [[gnu::always_inline]] static Row row(Lanes left, Lanes mid, Lanes right) { return left + 2 * mid + right; }
  [[gnu::always_inline]] static Lanes out(Row above, Row row, Row below) {
    return static_cast<Lanes>((above + 2 * row + below + 8) >> 4);
  }
};

// The same on 32 bytes read as 16 words: the even bytes (each word's low byte) are summed
// in one set of words and the odd bytes in another, each sum at most 16 x 255 + 8, and the
// two results put back side by side, so no byte needs widening or packing across lanes.
static_assert(std::endian::native == std::endian::little, "a word's low byte is its first");
struct GaussWords {
  using Lanes = Words;
  struct Row {
    Words even, odd;
  };
  [[gnu::always_inline]] static Row row(Words left, Words mid, Words right) {
    return {(left & 0xFF) + 2 * (mid & 0xFF) + (right & 0xFF), (left >> 8) + 2 * (mid >> 8) + (right >> 8)};
  }
  [[gnu::always_inline]] static Words out(const Row& above, const Row& row, const Row& below) {
    const Words even = (above.even + 2 * row.even + below.even + 8) >> 4;
    const Words odd = (above.odd + 2 * row.odd + below.odd + 8) >> 4;
    return even | (odd << 8);
  }
};

// Bytes [at, at + sizeof Lanes) of the block's output rows, walking down: each source
// row's part computed once. `left` and `right` are where the neighbours of the channel
// start: 3 bytes either way, or the bytes themselves at the row's ends.
template <class Filter, int Rows>
[[gnu::always_inline]] inline void walkDown(const Block& b, std::size_t at, std::size_t left, std::size_t right) {
  using Lanes = typename Filter::Lanes;
  auto row = [&](const std::uint8_t* r) { return Filter::row(load<Lanes>(r + left), load<Lanes>(r + at), load<Lanes>(r + right)); };
  const int count = Rows ? Rows : b.count;
  typename Filter::Row above = row(b.rows[0]), mid = row(b.rows[1]);
#pragma GCC unroll 8
  for (int k = 0; k < count; ++k) {
    const typename Filter::Row below = row(b.rows[k + 2]);
    const Lanes out = Filter::out(above, mid, below);
    std::memcpy(b.outs[k] + at, &out, sizeof out);
    above = mid;
    mid = below;
  }
}

// A block's n bytes a row: the bytes with both neighbours inside the row a vector at a
// time, the last vector overlapping the one before rather than reading past the row;
// the end pixels, and rows too short for a vector, a byte at a time.
template <class Wide, class Narrow, int Rows>
[[gnu::always_inline]] inline void filterBlock(const Block& b, std::size_t n) {
  constexpr std::size_t kWide = sizeof(typename Wide::Lanes);
  const std::size_t inside = std::min<std::size_t>(3, n), end = std::max(inside, n - 3);
  std::size_t at = inside;
  if (end - inside >= kWide) {
    for (; at + kWide <= end; at += kWide) walkDown<Wide, Rows>(b, at, at - 3, at + 3);
    if (at < end) walkDown<Wide, Rows>(b, end - kWide, end - kWide - 3, end - kWide + 3);
    at = end;
  }
  for (; at < end; ++at) walkDown<Narrow, Rows>(b, at, at - 3, at + 3);
  for (const auto& [from, to] : {std::pair{std::size_t{0}, inside}, std::pair{end, n}})
    for (at = from; at < to; ++at) walkDown<Narrow, Rows>(b, at, at < 3 ? at : at - 3, at + 3 < n ? at + 3 : at);
}

// Whole blocks get the loop over their rows unrolled; the last, shorter one does not.
ORVANE_VECTOR_CLONES void medianBlock(const Block& b, std::size_t n) {
  if (b.count == kBlockRows)
    filterBlock<Median<Bytes>, Median<std::uint8_t>, kBlockRows>(b, n);
  else
    filterBlock<Median<Bytes>, Median<std::uint8_t>, 0>(b, n);
}

ORVANE_VECTOR_CLONES void gaussBlock(const Block& b, std::size_t n) {
  if (b.count == kBlockRows)
    filterBlock<GaussWords, GaussByte, kBlockRows>(b, n);
  else
    filterBlock<GaussWords, GaussByte, 0>(b, n);
}

template <class BlockFilter>
void smooth(BlockFilter filter, const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride) {
  const std::size_t n = static_cast<std::size_t>(width) * 3;
  for (int y = 0; y < height; y += kBlockRows) filter(Block(src, dst, y, height, stride), n);
}

}  // namespace

void Smoothing::gauss(const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride) {
  smooth(&gaussBlock, src, dst, width, height, stride);
}

void Smoothing::median(const std::uint8_t* src, std::uint8_t* dst, int width, int height, int stride) {
  smooth(&medianBlock, src, dst, width, height, stride);
}

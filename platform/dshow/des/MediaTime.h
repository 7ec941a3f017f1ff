// Media times of timelines and files, which may reach towards the end of 64 bits (a clip
// placed months or years into a timeline, a file whose header claims centuries): sample
// counts and times convert through llMulDiv, and sums near either end stop at it.
#pragma once

#include <dshow/baseclasses/llMulDiv.h>

#include <cstdint>
#include <limits>

namespace plat::MediaTime {

constexpr std::int64_t kSecond = 10'000'000;

// The sample (at `rate` a second) that `time` falls in.
inline std::int64_t toSamples(std::int64_t time, int rate) { return llMulDiv(time, rate, kSecond, 0); }
// The time sample `sample` starts at.
inline std::int64_t fromSamples(std::int64_t sample, int rate) { return llMulDiv(sample, kSecond, rate, 0); }

inline std::int64_t plus(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}

inline std::int64_t minus(std::int64_t a, std::int64_t b) {
  std::int64_t difference = 0;
  if (!__builtin_sub_overflow(a, b, &difference)) return difference;
  return b < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}

}  // namespace plat::MediaTime

// A 24-bit colour and the mixing the painters share.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace skingen {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;

  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// a + (b - a) × t, t in [0, 1], rounded to the nearest level.
inline Rgb mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto channel = [t](std::uint8_t from, std::uint8_t to) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
  };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

}  // namespace skingen

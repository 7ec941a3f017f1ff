// Waiting for this process's streaming threads on the manual machine clock.
#pragma once

#include <machine/Clock.h>
#include <machine/StreamActivity.h>

#include <cstdint>

namespace test {

// Settles the streaming threads at the clock's tick, then whether pred() holds.
template <class Pred>
bool holdsWhenSettled(const plat::Clock& clock, Pred pred) {
  return plat::StreamActivity::instance().settle(clock) && pred();
}

// Moves the manual clock `stepMs` at a time, the streaming threads settled after each step,
// until pred() holds or `limitMs` have passed; whether it held.
template <class Pred>
bool advanceUntil(plat::Clock& clock, Pred pred, std::uint64_t stepMs = 10, std::uint64_t limitMs = 10000) {
  plat::StreamActivity& streams = plat::StreamActivity::instance();
  streams.settle(clock);
  for (std::uint64_t moved = 0; !pred(); moved += stepMs) {
    if (moved >= limitMs) return false;
    clock.advance(stepMs);
    streams.settle(clock);
  }
  return true;
}

}  // namespace test

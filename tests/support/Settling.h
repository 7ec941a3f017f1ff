// Waiting for this process's streaming threads on the manual machine clock.
#pragma once

#include <machine/Clock.h>
#include <machine/StreamActivity.h>

namespace test {

// Settles the streaming threads at the clock's tick, then whether pred() holds.
template <class Pred>
bool holdsWhenSettled(const plat::Clock& clock, Pred pred) {
  return plat::StreamActivity::instance().settle(clock) && pred();
}

}  // namespace test

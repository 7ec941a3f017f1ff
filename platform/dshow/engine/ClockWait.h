// Waiting on the machine clock for media work: a renderer waiting for a sample's time,
// a live source waiting for its next frame, a caller waiting with a time-out. Waits end
// when the machine's shared time reaches the target, when a condition holds, or when
// the wait is cancelled (a stop or a flush), so streaming never outlasts a state change.
//
// On a real clock the wait sleeps until the deadline. On a manual clock time moves only
// when a test advances it, so a wait with a deadline checks again every millisecond of
// real time. Conditions that do not depend on time are woken through notify().
#pragma once

#include <dshow/strmif.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace plat {

class ClockWait {
 public:
  // The machine's shared time in 100-ns units (what the graph's system clock reads).
  static REFERENCE_TIME now();

  // True when `ready` holds (checked under no lock of ours, after each wake-up); false on
  // cancel or once the machine time passes `deadline`. A deadline of -1 never passes.
  bool waitFor(const std::function<bool()>& ready, REFERENCE_TIME deadline);
  // Wakes the waiters to look at their condition again.
  void notify();
  // Every wait ends (false) until reset().
  void cancel();
  void reset();
  bool cancelled() const;

 private:
  mutable std::mutex m_lock;
  std::condition_variable m_changed;
  bool m_cancelled = false;
};

}  // namespace plat

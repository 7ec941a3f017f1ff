// Waiting on the machine clock for media work: a renderer waiting for a sample's time,
// a live source waiting for its next frame, a caller waiting with a time-out. Waits end
// when the machine's shared time reaches the target, when a condition holds, or when
// the wait is cancelled (a stop or a flush), so streaming never outlasts a state change.
//
// The waits are the streaming threads' (StreamActivity): whoever changes what a condition
// reads calls notify() afterwards, and the clock wakes a wait whose time it reached, so a
// manual clock's settle knows each waiter is done with the present.
//
// A timed wait by the thread that drives the manual clock (a test, a robot script) cannot
// be ended by time passing, since that thread moves time itself: once the streaming threads
// have settled with the condition still unmet, it moves the clock on towards its deadline,
// stopping at every time a streaming thread waits for, as time would pass on a PC while
// it waits. Nothing but the streaming threads can meet such a condition in this process,
// so the outcome is the same however loaded the machine.
#pragma once

#include <dshow/strmif.h>

#include <atomic>
#include <cstdint>
#include <functional>

namespace plat {

class ClockWait {
 public:
  // The machine's shared time in 100-ns units (what the graph's system clock reads).
  static REFERENCE_TIME now();

  // True when `ready` holds (checked under no lock of ours, at first and after each
  // notify); false on cancel or once the machine time passes `deadline`. A deadline of -1
  // never passes.
  bool waitFor(const std::function<bool()>& ready, REFERENCE_TIME deadline);
  // Wakes the waiters to look at their condition again.
  void notify();
  // Every wait ends (false) until reset().
  void cancel();
  void reset();
  bool cancelled() const;

 private:
  std::atomic<bool> m_cancelled{false};
};

}  // namespace plat

// The wait of a streaming hand-off: a thread waiting for state that another thread
// changes under the same mutex. Hand-offs between streaming threads usually complete
// within microseconds, so a waiter first watches the change count for a short while
// without the lock and without sleeping, and only then sleeps on the condition variable;
// a thread that changes the state wakes the other side only when it really sleeps. Each
// sample then costs no system call while both sides keep up with each other.
//
// Use: under the mutex, change the state and call changed(); after unlocking, call
// wake() when changed() returned true.
//
// The sleep is a streaming wait (StreamActivity): a thread asleep here has done all it can
// until the state changes, which is what the manual clock's settle asks of it.
#pragma once

#include <machine/StreamActivity.h>

#include <atomic>
#include <chrono>
#include <mutex>

namespace plat {

class WakeSignal {
 public:
  // How long a waiter watches before it sleeps.
  static constexpr std::chrono::microseconds kSpin{30};

  // Under the mutex: the state changed. True when a waiter sleeps and must be woken.
  bool changed() {
    m_changes.fetch_add(1, std::memory_order_release);
    return m_sleepers > 0;
  }
  // Outside the mutex, after changed() returned true (or to wake every waiter at once).
  void wake() { StreamActivity::instance().notify(this); }

  // Under the mutex held by `guard`: returns once `ready()` (checked under the mutex).
  template <class Ready>
  void wait(std::unique_lock<std::mutex>& guard, Ready ready) {
    if (ready()) return;
    const unsigned seen = m_changes.load(std::memory_order_acquire);
    guard.unlock();
    watch(seen);
    guard.lock();
    if (ready()) return;
    ++m_sleepers;
    StreamActivity::instance().wait(this, ready, std::nullopt, &guard);
    --m_sleepers;
  }

 private:
  // Returns when the change count moves from `seen` or the spin time is over.
  void watch(unsigned seen) const;

  std::atomic<unsigned> m_changes{0};
  int m_sleepers = 0;  // under the mutex
};

}  // namespace plat

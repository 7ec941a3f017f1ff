// The wait of a streaming hand-off: a thread waiting for state that another thread
// changes under the same mutex. Hand-offs between streaming threads usually complete
// within microseconds, so a waiter first watches the change count for a short while
// without the lock and without sleeping, and only then sleeps;
// a thread that changes the state wakes the other side only when it really sleeps, and
// only once until it has woken: a burst of changes while the sleeper is still on its way
// costs one system call. Each sample then costs none while both sides keep up with each
// other. Watching is given up by a signal whose changes come far apart, where it would
// only burn a core, and where far more threads watch than the machine has cores.
//
// Use: under the mutex, change the state and call changed(); after unlocking, call
// wake() when changed() returned true. A thread that changes the state without the mutex
// (atomically) looks at sleepingNow() after a sequentially consistent fence, and only
// when it says so takes the mutex to call changed(): a waiter says it sleeps before its
// last look at the state, so one of the two sees the other.
//
// A streaming thread asleep here counts idle (StreamActivity): it has done all it can until
// the state changes, which is what the manual clock's settle asks of it; the changing thread
// counts it busy again before it goes on. Neither takes a lock of the process for it.
#pragma once

#include <machine/StreamActivity.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace plat {

class WakeSignal {
 public:
  // How long a waiter watches before it sleeps.
  static constexpr std::chrono::microseconds kSpin{60};
  // A sleep shorter than this says the next change may come while a waiter watches.
  static constexpr std::chrono::microseconds kWorthWatching{4 * kSpin};

  // Under the mutex: the state changed. True when a waiter sleeps and has not been woken
  // yet since it went to sleep: the caller must wake it.
  bool changed() {
    m_changes.fetch_add(1, std::memory_order_release);
    if (m_sleepers.empty() || m_woken) return false;
    m_woken = true;
    for (StreamActivity::Waiter* sleeper : m_sleepers) StreamActivity::instance().wakeUp(*sleeper);
    return true;
  }
  // Under the mutex: how many waiters sleep now.
  int sleepers() const { return static_cast<int>(m_sleepers.size()); }
  // Without the mutex, after a sequentially consistent fence: whether a waiter sleeps or
  // is about to, having perhaps not seen a change made without the mutex.
  bool sleepingNow() const { return m_sleeping.load(std::memory_order_relaxed) > 0; }
  // Outside the mutex, after changed() returned true (or to wake every waiter at once).
  void wake() { m_condition.notify_all(); }

  // Takes the mutex of a hand-off, held by the other side only for moments: blocking at once
  // would put this thread to sleep and make the other side pay for waking it when it lets go.
  static void lockSoon(std::unique_lock<std::mutex>& guard);

  // Under the mutex held by `guard`: returns once `ready()` (checked under the mutex).
  template <class Ready>
  void wait(std::unique_lock<std::mutex>& guard, Ready ready) {
    if (ready()) return;
    if (watching()) {
      const unsigned seen = m_changes.load(std::memory_order_acquire);
      guard.unlock();
      watch(m_changes, seen);
      lockSoon(guard);
      if (ready()) return;
    }
    sleep(guard, ready);
  }

  // Whether waiting should watch before it sleeps: changes have followed each other closely.
  bool watching() const { return m_watching.load(std::memory_order_relaxed); }
  // Returns when `counter` moves from `seen` or the spin time is over; at once where too
  // many threads watch already.
  static void watch(const std::atomic<unsigned>& counter, unsigned seen);

  // Under the mutex held by `guard`: sleeps without watching until `ready()`.
  template <class Ready>
  void sleep(std::unique_lock<std::mutex>& guard, Ready ready) {
    if (ready()) return;
    // Said before the last look, for the threads that change the state without the mutex;
    // one that sees it takes the mutex, which this thread holds until it sleeps.
    m_sleeping.fetch_add(1, std::memory_order_seq_cst);
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (ready()) {
      m_sleeping.fetch_sub(1, std::memory_order_relaxed);
      return;
    }
    const auto asleep = std::chrono::steady_clock::now();
    StreamActivity& activity = StreamActivity::instance();
    StreamActivity::Waiter* me = &activity.rest();
    m_sleepers.push_back(me);
    // Each look that finds it not ready is followed by a sleep the next change must wake;
    // a wake on its way may have passed this waiter already: the next change wakes again.
    for (;;) {
      m_woken = false;
      m_condition.wait(guard);
      activity.resume();
      if (ready()) break;
      activity.rest();
    }
    std::erase(m_sleepers, me);
    m_sleeping.fetch_sub(1, std::memory_order_relaxed);
    // Watching pays only where changes follow each other closely: after a sleep that a
    // watch could not have bridged by far (live pictures 40 ms apart), the next wait
    // sleeps at once; after a short one it watches again.
    m_watching.store(std::chrono::steady_clock::now() - asleep < kWorthWatching, std::memory_order_relaxed);
  }

 private:
  std::atomic<unsigned> m_changes{0};
  std::condition_variable m_condition;
  std::vector<StreamActivity::Waiter*> m_sleepers;  // under the mutex
  bool m_woken = false;    // under the mutex: a wake is on its way to the sleepers
  std::atomic<bool> m_watching{true};  // the next wait watches before it sleeps
  std::atomic<int> m_sleeping{0};      // m_sleepers' size, for a look without the mutex
};

}  // namespace plat

// Where threads wait for kernel objects. One lock guards the signal state of every
// waitable object in the process and one condition wakes the waiters: whoever signals an
// object does so under lock() and then calls notifyAll().
//
// Timeouts count on the machine clock, in the waiting thread's view of it. A manual clock
// moves only when a test advances it, so a timed wait on a manual clock (and any wait on
// an object another process may signal) looks again every millisecond of real time
// instead of sleeping through; an untimed wait sleeps until notified.
#pragma once

#include <machine/Clock.h>
#include <win32/kernel/Waitable.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace plat {

class WaitHub {
 public:
  static WaitHub& instance();

  std::mutex& lock() { return m_lock; }
  void notifyAll() { m_changed.notify_all(); }
  // Sleeps until the next notifyAll; `guard` holds lock().
  void waitForChange(std::unique_lock<std::mutex>& guard) { m_changed.wait(guard); }

  // Waits for any (or all) of `objects`: WAIT_OBJECT_0 + index, WAIT_ABANDONED_0 + index
  // or WAIT_TIMEOUT. A timeout of 0 only looks; INFINITE never times out.
  DWORD wait(const std::vector<std::shared_ptr<Waitable>>& objects, bool all, DWORD timeoutMs, Clock& clock);

  // Threads blocked in wait() now, their deadlines already taken: a test advances the
  // manual clock only once its worker is counted here.
  std::size_t blockedCount() const;

 private:
  WaitHub() = default;
  DWORD trySatisfy(const std::vector<std::shared_ptr<Waitable>>& objects, bool all, DWORD threadId);

  mutable std::mutex m_lock;
  std::condition_variable m_changed;
  std::size_t m_blocked = 0;
};

}  // namespace plat

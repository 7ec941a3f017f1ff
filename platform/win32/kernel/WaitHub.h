// Where threads wait for kernel objects. One lock guards the signal state of every
// waitable object in the process and one condition wakes the waiters: whoever signals an
// object does so under lock() and then calls notifyAll().
//
// Timeouts count on the machine clock, in the waiting thread's view of it. The threads the
// process follows on the machine clock (StreamActivity: those of CreateThread, the
// streaming threads) wait for objects of this process as the clock can see: idle until a
// signal or their deadline, so settling the manual clock knows they have nothing to do.
// Other threads on a manual clock with a timeout (and any thread waiting on an object
// another process may signal) look again every millisecond of real time instead of
// sleeping through; an untimed wait sleeps until notified.
//
// A wait for threads to end, by the thread that drives the manual clock, lets time pass as
// it would on a PC: once the followed threads have settled with none of them ended, it moves
// the clock to the next time one of them waits for (never past its own deadline). Only
// those threads can end themselves, and they are settled, so the outcome does not depend
// on how fast they run.
#pragma once

#include <machine/Clock.h>
#include <win32/kernel/Waitable.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace plat {

class WaitHub {
 public:
  static WaitHub& instance();

  std::mutex& lock() { return m_lock; }
  // Under lock(): wakes every waiter to look at its objects again.
  void notifyAll();
  // Not under lock(): something a waiter's `arrived` reads has changed.
  void wakeWaiters();

  // Waits for any (or all) of `objects`: WAIT_OBJECT_0 + index, WAIT_ABANDONED_0 + index
  // or WAIT_TIMEOUT. A timeout of 0 only looks; INFINITE never times out. With `arrived`,
  // the wait also ends with WAIT_OBJECT_0 + the number of objects once it holds (looked
  // at under lock() after each wakeWaiters).
  DWORD wait(const std::vector<std::shared_ptr<Waitable>>& objects, bool all, DWORD timeoutMs, Clock& clock,
             const std::function<bool()>& arrived = nullptr);

  // Threads blocked in wait() now, their deadlines already taken: a test advances the
  // manual clock only once its worker is counted here.
  std::size_t blockedCount() const;

 private:
  struct Request;

  WaitHub() = default;
  DWORD trySatisfy(const std::vector<std::shared_ptr<Waitable>>& objects, bool all, DWORD threadId);
  // Under the request's guard: the object granted, WAIT_OBJECT_0 + count for an arrival,
  // or WAIT_TIMEOUT.
  DWORD look(Request& request);
  // A wait the machine clock's followers can see (StreamActivity).
  DWORD waitFollowed(Request& request);
  // A wait that looks again whenever notified, or every millisecond when it polls.
  DWORD waitPlain(Request& request);

  mutable std::mutex m_lock;
  std::condition_variable m_changed;
  std::size_t m_blocked = 0;
};

}  // namespace plat

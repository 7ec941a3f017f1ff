// The streaming threads of this process and the waits they block in, so that whoever moves
// the manual clock can wait until they have done everything the new time made due.
//
// A streaming thread (started through startThread) is busy while it runs and idle while it
// waits in wait() for a condition another thread signals through notify(), or for a time
// of the machine clock. The process is settled at a tick when no streaming thread is busy
// and none waits for a time at or before that tick. notify() marks the threads waiting on
// its key busy before it returns, and the clock marks those whose time it reached as it
// moves, so a settled process has nothing left to do at that tick: only a notify from
// outside (a state change, a message) or the clock moving on gives it work again. A thread
// blocked anywhere else (a lock, a codec's own threads) counts as busy, which is right for
// waits that end by themselves; a thread that stays busy for kHangLimit of real time while
// someone waits for the threads to settle is reported on stderr and left out until it next
// waits, so a thread blocked where the process cannot see never hangs the one driving the clock.
//
// Any thread may wait() and notify(); only streaming threads count. A waiter checks its
// condition after it is registered, so a notify between its look and its sleep is never
// lost. On a clock shared with other processes the state is published in the machine's
// followers page (ClockFollowers), and a waiter with a deadline looks at the shared clock
// every millisecond, as another process may move it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace plat {

class Clock;
class ClockFollowers;

class StreamActivity {
 public:
  static constexpr std::chrono::seconds kHangLimit{60};

  // How a wait ended: its condition held, the clock reached its deadline, or (for a wait
  // that asked for it) every streaming thread settled with the condition still unmet.
  enum class Woke { Ready, Deadline, Settled };

  static StreamActivity& instance();

  // Starts a streaming thread named `name` running `body`. It counts as busy from this
  // call, so the process cannot look settled before the new thread has run.
  std::thread startThread(std::string name, std::function<void()> body);
  // Whether the calling thread is a streaming thread.
  bool isStreamingThread() const;

  // Blocks until `ready()` holds, or the shared tick of the machine's clock reaches
  // `deadline`, or (with `untilSettled`) the streaming threads settle. `ready` is checked
  // at first and after each notify of `key`; when `guard` is given it holds the mutex
  // `ready` reads under, and is let go only while sleeping.
  // A wait until settled, like settle(), stops waiting for threads busy after hangLimit().
  template <class Ready>
  Woke wait(const void* key, Ready&& ready, std::optional<std::uint64_t> deadline,
            std::unique_lock<std::mutex>* guard = nullptr, bool untilSettled = false) {
    std::optional<std::chrono::steady_clock::time_point> giveUpAt;
    if (untilSettled) giveUpAt = std::chrono::steady_clock::now() + hangLimit();
    for (;;) {
      enter(key, deadline, untilSettled);
      if (ready()) {
        leave();
        return Woke::Ready;
      }
      const Rest rest = goIdle();
      if (rest == Rest::LookAgain) continue;
      if (rest == Rest::Deadline) return Woke::Deadline;
      if (rest == Rest::Settled) return Woke::Settled;
      if (guard) guard->unlock();
      const bool woke = sleep(giveUpAt);
      if (guard) guard->lock();
      leave();
      if (!woke) {
        giveUpOnBusy("a timed wait on the clock it drives is due at tick " + std::to_string(deadline.value_or(0)));
        giveUpAt = std::chrono::steady_clock::now() + hangLimit();
      }
    }
  }
  // Every thread waiting on `key` looks at its condition again.
  void notify(const void* key);

  // For a wait that sleeps on a condition variable of its own (WakeSignal), without the
  // activity's lock on the way: rest() counts the calling thread idle and returns its
  // record; the thread that wakes it calls wakeUp() with that record before it signals, so
  // the sleeper counts busy from then; a sleeper that woke by itself calls resume().
  struct Waiter;
  Waiter& rest();
  void wakeUp(Waiter& waiter);
  void resume();
  // `clock` moved (or, with `everyDeadline`, changed how it runs): waiters on it whose
  // deadline came, or all that have one, look again.
  void clockChanged(const Clock& clock, bool everyDeadline);

  // Whether no streaming thread is busy and none waits for a time at or before `tick`.
  bool settledAt(std::uint64_t tick) const;
  // The earliest time a waiting streaming thread waits for.
  std::optional<std::uint64_t> nextDue() const;
  // Counts every change of the streaming threads' state.
  std::uint64_t version() const;
  // Waits up to `limit` for the state to change from `seen`.
  void awaitChange(std::uint64_t seen, std::chrono::microseconds limit) const;
  // Waits until settled at the clock's shared tick; after kHangLimit reports the threads
  // still busy on stderr, leaves them out and returns false.
  bool settle(const Clock& clock);
  // Leaves out the threads busy now until they next wait, with a report on stderr.
  void giveUpOnBusy(const std::string& why);
  // How long settling waits for a busy thread (kHangLimit unless a test shortens it).
  std::chrono::milliseconds hangLimit() const;
  void setHangLimit(std::chrono::milliseconds limit);

  // The followers page the state is published in (null: none).
  void publishTo(ClockFollowers* followers);

 private:
  enum class Rest { Idle, LookAgain, Deadline, Settled };
  // A thread outside the streaming ones, a busy or idle one, or one busy for too long and
  // left out until it next waits.
  enum class State : std::uint8_t { Outside, Busy, Idle, Ignored };

  // Counts whoever waits for the state to change (a settle, a wait until settled, a look
  // for changes, the followers page) while it does.
  class Observing {
   public:
    explicit Observing(std::atomic<int>& observers) : m_observers(observers) { m_observers.fetch_add(1); }
    ~Observing() { m_observers.fetch_sub(1); }
    Observing(const Observing&) = delete;
    Observing& operator=(const Observing&) = delete;

   private:
    std::atomic<int>& m_observers;
  };

  StreamActivity() = default;
  static Waiter& self();
  // A started thread's life: takes over its placeholder's count, runs `body`, leaves.
  void run(Waiter& starting, const std::string& name, const std::function<void()>& body);
  void enter(const void* key, std::optional<std::uint64_t> deadline, bool untilSettled);
  Rest goIdle();
  // False when `giveUpAt` passed first.
  bool sleep(std::optional<std::chrono::steady_clock::time_point> giveUpAt);
  void leave();
  // Under m_lock.
  void wake(Waiter& waiter);
  void forget(Waiter& waiter);
  // Moves `waiter` from `from` to `to` if it stands there, with the count of busy threads.
  bool move(Waiter& waiter, State from, State to);
  bool toIdle(Waiter& waiter);
  // After a move outside the lock: tells whoever watches.
  void counted();
  bool settledLocked(std::uint64_t tick) const;
  std::size_t busyLocked() const;
  std::optional<std::uint64_t> nextDueLocked() const;
  void changed();

  mutable std::mutex m_lock;
  mutable std::condition_variable m_changed;
  std::vector<Waiter*> m_members;
  std::vector<Waiter*> m_waiting;
  std::atomic<std::size_t> m_busy{0};
  std::atomic<std::uint64_t> m_version{0};
  mutable std::atomic<int> m_observers{0};
  ClockFollowers* m_followers = nullptr;
  std::atomic<std::chrono::milliseconds::rep> m_hangLimitMs{
      std::chrono::duration_cast<std::chrono::milliseconds>(kHangLimit).count()};
};

}  // namespace plat

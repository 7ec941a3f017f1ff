// The one source of time for every program on the machine: tick counts, wall time,
// local time, Sleep, timers and media clocks all read it.
//
// Real by default. Tests switch it to manual: time then stands still until advance()
// moves it. On a manual clock Sleep() by a thread the process follows on the clock
// (StreamActivity: the threads of CreateThread and the streaming threads) waits until the
// shared time has moved that far, so whoever moves the clock sees it wait; any other
// thread's Sleep() waits for nothing and moves only its own view forward, so a user-
// interface thread that sleeps between steps stays deterministic and never disturbs the
// time other threads see.
//
// A clock shared through a file of the machine root (shareThrough) keeps its manual time
// in a page every process of the machine maps, so a test that moves it moves it for all
// programs on the machine at once. The page names the process that stopped the clock; a
// page left manual by a process that has ended is taken as real again, so a program started
// later by the user does not find time standing still.
//
// Every change wakes the waits on the clock (StreamActivity::clockChanged) and calls the
// watches (watchMoves); on a shared clock a thread of each process waits on the page for
// changes other processes make, so their waits and message loops need not look again and
// again. The thread that last stopped or moved the manual clock drives it
// (drivenByThisThread): nobody else moves it while that thread waits.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace plat {

class SharedPage;

class Clock {
 public:
  Clock();
  ~Clock();
  Clock(const Clock&) = delete;
  Clock& operator=(const Clock&) = delete;

  // From now on the time lives in `file`, which other processes of the machine map too;
  // a file that holds no manual time yet takes this clock's. False when it cannot be mapped.
  bool shareThrough(const std::filesystem::path& file);
  bool isShared() const { return m_page != nullptr; }

  bool isManual() const;
  // Stops the clock at the given wall time (UTC milliseconds since 1970).
  void setManual(std::int64_t unixMs);
  void setReal();
  // Manual clock: moves time forward for every thread.
  void advance(std::uint64_t ms);

  // Milliseconds since the machine started (GetTickCount).
  std::uint64_t tickMs() const;
  // The tick count all threads share: on a manual clock without the calling thread's own
  // sleeps. Media clocks read this, so every thread of a graph sees one time line.
  std::uint64_t sharedTickMs() const;
  // Wall time in UTC milliseconds since 1970.
  std::int64_t unixMs() const;
  std::int64_t unixSeconds() const { return unixMs() / 1000; }

  void sleep(std::uint32_t ms);
  // How far the calling thread's sleeps have moved its own view past the shared time.
  std::int64_t ownSleepMs() const;
  // Counts every change of manual time, so waiters can tell that time moved.
  std::uint64_t generation() const;
  // Whether the calling thread is the one that last stopped or moved the manual clock.
  bool drivenByThisThread() const;
  // Calls `wake` each time the clock moves or changes how it runs, whichever process changed
  // it, until the returned handle is let go. `wake` must be quick and take no lock a caller
  // of the clock may hold.
  std::shared_ptr<void> watchMoves(std::function<void()> wake);

  // Local time is UTC moved by a fixed offset from machine.ini; there is no daylight saving,
  // so a test's dates never depend on the host's time zone.
  void setUtcOffsetMinutes(int minutes);
  int utcOffsetMinutes() const;
  std::tm toLocal(std::int64_t unixSeconds) const;
  // Normalises out-of-range fields like mktime; tm_wday and tm_yday are filled in.
  std::int64_t fromLocal(std::tm local) const;

 private:
  // The manual time; lock-free, as other processes change it without our lock.
  struct State {
    std::atomic<std::int32_t> manual;
    std::atomic<std::int64_t> unixMs;
    std::atomic<std::uint64_t> tickMs;
    std::atomic<std::uint64_t> generation;
    // The process that stopped the clock, and when it started (ProcessStat).
    std::atomic<std::int32_t> keeperId;
    std::atomic<std::uint64_t> keeperStart;
    // Counts every change, as a word processes can wait on.
    std::atomic<std::uint32_t> moves;
  };

  // Under m_lock: this process stopped the clock.
  void keep(State& state);
  void drive();
  // After a change (not under m_lock): wakes the waits and watches here and, through the
  // shared page, the watchers of the other processes.
  void changed(bool everyDeadline);
  void tellWatches();
  // The thread that waits for changes of a shared clock, since it held `seen`.
  void watchPage(std::uint32_t seen);

  mutable std::mutex m_lock;
  State m_own{};
  std::atomic<State*> m_state{&m_own};
  std::unique_ptr<SharedPage> m_page;
  int m_utcOffsetMinutes = 0;
  std::uint64_t m_id;
  std::atomic<std::thread::id> m_driver{};
  // Held by the handles too, which may outlive the clock; its lock is held while watches
  // are called, so a handle let go is never called again.
  struct Watches {
    std::mutex lock;
    std::map<std::uint64_t, std::function<void()>> calls;
    std::uint64_t next = 0;
  };
  std::shared_ptr<Watches> m_watches = std::make_shared<Watches>();
  std::thread m_pageWatcher;
  std::atomic<bool> m_closing{false};
};

}  // namespace plat

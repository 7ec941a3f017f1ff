// The threads of the machine's programs that follow its shared clock, and how far each has
// got, so that whoever moves the clock can wait until every other program has handled what
// the new time made due.
//
// A page of run/followers holds one seat per message queue of a process on the shared
// clock. A thread follows the clock once its message loop first waits: each time it is
// about to wait it says up to which tick of the shared clock it has run its due timers and
// drained its queue, and when its next timer is due (shared ticks). Whatever is put into
// its queue, or changes its timers, is an arrival. A seat is settled at a tick when nothing
// arrived since it last waited, and it had looked at that tick or its next timer lies
// beyond it; a busy thread is never settled, as what woke it (an arrival, a due timer) is
// still unanswered.
//
// Each process with streaming threads has one more seat for them all (StreamActivity): it
// is settled when none is busy and none waits for a time at or before the tick, and its
// next timer is the earliest time one waits for.
//
// What callers rely on: Robot::advanceStep stops at every follower's next timer and returns
// once every follower of the other processes is settled at the new time. The seats are read
// twice and taken as settled only when nothing changed in between, so one look sees them
// all at one moment. Worker threads that never wait in a message loop are not followed. A
// program started on the machine (expectStart) holds the clock until its message loop first
// waits; a process that ended is dropped; one that does not settle within kHangLimit real
// seconds is reported on stderr and no longer waited for.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace plat {

class Machine;
class SharedPage;

class ClockFollowers {
 public:
  static constexpr std::chrono::seconds kHangLimit{60};

  // One message queue's place in the page, freed with the queue.
  class Seat {
   public:
    Seat(std::shared_ptr<SharedPage> page, int index);
    ~Seat();
    Seat(const Seat&) = delete;
    Seat& operator=(const Seat&) = delete;

    // From any thread of the process: something for the queue's thread.
    void arrived();
    // From the owning thread, before it looks at its queue.
    std::uint64_t arrivals() const;
    // From the owning thread about to wait: it had looked at its queue at `handled` (shared
    // tick) with `arrivalsSeen` arrivals and found nothing to do.
    void waits(std::uint64_t handled, std::optional<std::uint64_t> nextDue, std::uint64_t arrivalsSeen);

   private:
    std::shared_ptr<SharedPage> m_page;
    int m_index;
  };

  explicit ClockFollowers(Machine& machine);
  ~ClockFollowers();
  ClockFollowers(const ClockFollowers&) = delete;
  ClockFollowers& operator=(const ClockFollowers&) = delete;

  // A seat for the queue of `thread`; null while the clock is not shared or the page is full.
  std::unique_ptr<Seat> take(std::uint32_t thread);

  // Another program of the machine has just been started: the clock waits for it until a
  // thread of it follows the clock, or until it ends.
  void expectStart(int processId);

  // For the process moving the clock. The earliest timer due after `now` in another
  // process's followers.
  std::optional<std::uint64_t> nextDueElsewhere(std::uint64_t now);
  // Whether every follower of the other processes is settled at `tick`; seats of ended
  // processes are freed on the way. `laggard` names the first that is not.
  bool othersSettled(std::uint64_t tick, std::string* laggard = nullptr);
  // Stops waiting for the followers that are not settled at `tick` (a hang).
  void giveUpOn(std::uint64_t tick);

  // Counts the changes of every seat; awaitChange sleeps until it moves from `seen` (or
  // `limit` passes), whichever process changed a seat.
  std::uint32_t changes();
  void awaitChange(std::uint32_t seen, std::chrono::microseconds limit);

  // This process's streaming threads: how many are busy and the earliest time one waits
  // for (StreamActivity publishes it, under its lock).
  void publishStreams(std::size_t busy, std::optional<std::uint64_t> nextDue);

 private:
  std::shared_ptr<SharedPage> page();
  // One look at the other processes' seats, freeing those of ended processes (`freed`).
  bool lookAtOthers(const std::shared_ptr<SharedPage>& shared, std::uint64_t tick, std::string* laggard, bool& freed);
  // Index of a free seat now held for `thread` of the process, or -1 when all are taken.
  static int claimSeat(const std::shared_ptr<SharedPage>& shared, int processId, std::uint32_t thread);

  Machine& m_machine;
  std::mutex m_lock;
  std::shared_ptr<SharedPage> m_page;
  std::atomic<bool> m_publishing{false};  // StreamActivity publishes here
  int m_streamsSeat = -1;     // StreamActivity's lock
  // Seats (index, process) no longer waited for.
  std::set<std::pair<int, int>> m_givenUp;
};

}  // namespace plat

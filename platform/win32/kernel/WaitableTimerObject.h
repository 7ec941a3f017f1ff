// A waitable timer: signalled once its due time (wall time on the machine clock) has come,
// and again every period after it for a periodic timer. A satisfied wait resets a
// synchronisation timer, so each due time releases one waiter; a manual-reset timer stays
// signalled until it is set again. Setting it with resume arms the machine's wake-up time
// for as long as the timer stays armed.
//
// Its signal follows the clock, which moves without telling anyone: waiters look again now
// and then (changesElsewhere), as for an object another process signals.
#pragma once

#include <win32/kernel/Waitable.h>

#include <cstdint>

namespace plat {

class Clock;

class WaitableTimerObject : public Waitable {
 public:
  WaitableTimerObject(Clock& clock, bool manualReset) : m_clock(clock), m_manualReset(manualReset) {}
  ~WaitableTimerObject() override;

  // Due at `unixMs` (UTC milliseconds since 1970), then every `periodMs` when not 0; not
  // signalled until then.
  void set(std::int64_t unixMs, std::int64_t periodMs, bool resume);
  // Stops the timer; a signal it already gave stays.
  void cancel();

  Grant tryAcquire(DWORD threadId) override;
  void undoAcquire(DWORD threadId, Grant grant) override;
  bool changesElsewhere() const override { return true; }

 private:
  void releaseWake();

  Clock& m_clock;
  const bool m_manualReset;
  // Hub lock.
  bool m_armed = false;
  bool m_signalled = false;
  std::int64_t m_dueMs = 0;
  std::int64_t m_periodMs = 0;
  std::int64_t m_wakeAt = 0;
};

}  // namespace plat

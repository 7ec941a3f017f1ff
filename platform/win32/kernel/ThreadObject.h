// A thread started by CreateThread: a real std::thread running the routine, and a
// waitable object signalled when the routine has returned and the thread's mutexes are
// abandoned. The thread keeps its object alive until it ends, so closing the handle
// early lets it run on. It runs on the machine clock as the streaming threads do
// (StreamActivity): busy from its start, idle while held suspended, asleep or waiting for
// an object, so settling the manual clock waits for what it has to do.
//
// Thread ids are the process's own small numbers (multiples of 4, never 0), given to any
// thread on its first question, so ids match between CreateThread and GetCurrentThreadId.
#pragma once

#include <win32/kernel/Waitable.h>

#include <memory>

namespace plat {

class ThreadObject : public Waitable {
 public:
  using Routine = DWORD (*)(void*);

  explicit ThreadObject(unsigned suspendCount);

  // Starts `routine(parameter)` on a new thread, held until resumed when `suspended`.
  // Null when the system cannot start another thread.
  static std::shared_ptr<ThreadObject> start(Routine routine, void* parameter, bool suspended);
  static DWORD currentId();

  DWORD id() const { return m_id; }
  // STILL_ACTIVE until the routine has returned.
  DWORD exitCode() const;
  // Lowers the suspend count and lets the thread run at zero; returns the count before.
  DWORD resume();

  Grant tryAcquire(DWORD threadId) override;
  void undoAcquire(DWORD, Grant) override {}

 private:
  void run(Routine routine, void* parameter);

  const DWORD m_id;
  unsigned m_suspendCount;  // hub lock
  bool m_finished = false;  // hub lock
  DWORD m_exitCode = 0;     // hub lock
};

}  // namespace plat

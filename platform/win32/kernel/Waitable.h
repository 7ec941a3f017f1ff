// A kernel object a thread can wait on (mutex, event, thread). Its signal state lives
// under the wait hub's lock (WaitHub), so a wait on several objects sees all of them at
// one instant and a wait-all takes them together or not at all.
#pragma once

#include <win32/kernel/HandleTable.h>

namespace plat {

class Waitable : public KernelObject {
 public:
  enum class Grant { None, Granted, Abandoned };

  // Satisfies a wait of `threadId` if the object is signalled, consuming what a wait
  // consumes (an auto-reset event's signal, a mutex's ownership). Hub lock held.
  virtual Grant tryAcquire(DWORD threadId) = 0;
  // Takes back a grant of tryAcquire exactly, for a wait-all that could not take the
  // rest. Hub lock held.
  virtual void undoAcquire(DWORD threadId, Grant grant) = 0;
  // True when another process may signal the object, so waiters must look again now
  // and then rather than wait for a notification.
  virtual bool changesElsewhere() const { return false; }
};

}  // namespace plat

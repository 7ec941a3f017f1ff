// An event: signalled or not. A satisfied wait resets an auto-reset event, so one
// SetEvent releases one waiter; a manual-reset event stays signalled for all of them.
#pragma once

#include <win32/kernel/Waitable.h>

namespace plat {

class EventObject : public Waitable {
 public:
  EventObject(bool manualReset, bool signalled) : m_manualReset(manualReset), m_signalled(signalled) {}

  void set();
  void reset();

  Grant tryAcquire(DWORD threadId) override;
  void undoAcquire(DWORD threadId, Grant grant) override;

 private:
  const bool m_manualReset;
  bool m_signalled;  // hub lock
};

}  // namespace plat

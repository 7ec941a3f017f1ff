// Another process of the machine, as OpenProcess gives it: signalled once it has ended
// (gone, or a zombie not yet collected by its parent). It changes outside this process,
// so waiters look again now and then.
#pragma once

#include <win32/kernel/Waitable.h>

namespace plat {

class ProcessObject : public Waitable {
 public:
  explicit ProcessObject(int processId) : m_processId(processId) {}

  static bool isRunning(int processId);

  Grant tryAcquire(DWORD threadId) override;
  void undoAcquire(DWORD, Grant) override {}
  bool changesElsewhere() const override { return true; }

 private:
  const int m_processId;
};

}  // namespace plat

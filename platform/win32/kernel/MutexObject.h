// A mutex: owned by one thread at a time, recursively. A named mutex also carries its
// MutexFile, so that a thread in another process of the machine can be the owner; waits
// on it then look again now and then, since no notification crosses processes.
//
// A thread that ends while owning mutexes abandons them: the next owner's wait returns
// WAIT_ABANDONED. Threads from CreateThread abandon before they are signalled; any other
// thread does so as its thread-local storage is torn down.
#pragma once

#include <win32/kernel/MutexFile.h>
#include <win32/kernel/Waitable.h>

#include <memory>

namespace plat {

class MutexObject : public Waitable, public std::enable_shared_from_this<MutexObject> {
 public:
  explicit MutexObject(std::unique_ptr<MutexFile> file = nullptr) : m_file(std::move(file)) {}

  Grant tryAcquire(DWORD threadId) override;
  void undoAcquire(DWORD threadId, Grant grant) override;
  bool changesElsewhere() const override { return m_file != nullptr; }

  // One level of the calling thread's ownership; false when it is not the owner.
  bool release();
  // Abandons every mutex the calling thread still owns.
  static void abandonOwnedByCurrentThread();

 private:
  void abandonBy(DWORD threadId);
  void disown(bool abandoned);

  const std::unique_ptr<MutexFile> m_file;
  DWORD m_owner = 0;          // hub lock
  unsigned m_recursion = 0;   // hub lock
  bool m_abandoned = false;   // hub lock; unnamed only, a named one keeps the mark in its file
};

}  // namespace plat

#include <win32/kernel/MutexObject.h>

#include <win32/kernel/ThreadObject.h>
#include <win32/kernel/WaitHub.h>

#include <algorithm>
#include <vector>

namespace plat {

namespace {

// The mutexes a thread owns, abandoned when the thread ends.
struct OwnedMutexes {
  std::vector<std::weak_ptr<MutexObject>> mutexes;

  ~OwnedMutexes() { MutexObject::abandonOwnedByCurrentThread(); }
  void forget(const MutexObject* mutex) {
    std::erase_if(mutexes, [mutex](const auto& weak) {
      auto held = weak.lock();
      return !held || held.get() == mutex;
    });
  }
};
thread_local OwnedMutexes t_owned;

}  // namespace

Waitable::Grant MutexObject::tryAcquire(DWORD threadId) {
  if (m_owner == threadId) {
    ++m_recursion;
    return Grant::Granted;
  }
  if (m_owner != 0) return Grant::None;
  bool abandoned = m_abandoned;
  if (m_file && !m_file->tryOwn(abandoned)) return Grant::None;
  m_owner = threadId;
  m_recursion = 1;
  m_abandoned = false;
  t_owned.mutexes.push_back(weak_from_this());
  return abandoned ? Grant::Abandoned : Grant::Granted;
}

void MutexObject::undoAcquire(DWORD, Grant grant) {
  if (--m_recursion == 0) disown(grant == Grant::Abandoned);
}

bool MutexObject::release() {
  WaitHub& hub = WaitHub::instance();
  std::lock_guard guard(hub.lock());
  if (m_owner != ThreadObject::currentId()) return false;
  if (--m_recursion == 0) {
    disown(false);
    hub.notifyAll();
  }
  return true;
}

void MutexObject::disown(bool abandoned) {
  m_owner = 0;
  m_recursion = 0;
  if (m_file) {
    m_file->disown(abandoned);
  } else {
    m_abandoned = abandoned;
  }
  t_owned.forget(this);
}

void MutexObject::abandonBy(DWORD threadId) {
  WaitHub& hub = WaitHub::instance();
  std::lock_guard guard(hub.lock());
  if (m_owner != threadId) return;
  disown(true);
  hub.notifyAll();
}

void MutexObject::abandonOwnedByCurrentThread() {
  const DWORD self = ThreadObject::currentId();
  const std::vector<std::weak_ptr<MutexObject>> owned = std::move(t_owned.mutexes);
  t_owned.mutexes.clear();
  for (const auto& weak : owned) {
    if (auto mutex = weak.lock()) mutex->abandonBy(self);
  }
}

}  // namespace plat

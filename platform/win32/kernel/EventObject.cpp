#include <win32/kernel/EventObject.h>

#include <win32/kernel/WaitHub.h>

namespace plat {

void EventObject::set() {
  WaitHub& hub = WaitHub::instance();
  std::lock_guard guard(hub.lock());
  m_signalled = true;
  hub.notifyAll();
}

void EventObject::reset() {
  std::lock_guard guard(WaitHub::instance().lock());
  m_signalled = false;
}

Waitable::Grant EventObject::tryAcquire(DWORD) {
  if (!m_signalled) return Grant::None;
  if (!m_manualReset) m_signalled = false;
  return Grant::Granted;
}

void EventObject::undoAcquire(DWORD, Grant) {
  if (!m_manualReset) m_signalled = true;
}

}  // namespace plat

#include <win32/kernel/WaitableTimerObject.h>

#include <machine/Clock.h>
#include <machine/Machine.h>
#include <machine/PowerState.h>
#include <win32/kernel/WaitHub.h>

namespace plat {

WaitableTimerObject::~WaitableTimerObject() { releaseWake(); }

void WaitableTimerObject::set(std::int64_t unixMs, std::int64_t periodMs, bool resume) {
  releaseWake();
  if (resume) {
    m_wakeAt = unixMs;
    Machine::current().service<PowerState>().armWake(m_wakeAt);
  }
  WaitHub& hub = WaitHub::instance();
  std::lock_guard guard(hub.lock());
  m_armed = true;
  m_signalled = false;
  m_dueMs = unixMs;
  m_periodMs = periodMs > 0 ? periodMs : 0;
  hub.notifyAll();
}

void WaitableTimerObject::cancel() {
  releaseWake();
  std::lock_guard guard(WaitHub::instance().lock());
  m_armed = false;
}

void WaitableTimerObject::releaseWake() {
  if (m_wakeAt) Machine::current().service<PowerState>().cancelWake(m_wakeAt);
  m_wakeAt = 0;
}

Waitable::Grant WaitableTimerObject::tryAcquire(DWORD) {
  if (m_armed) {
    const std::int64_t now = m_clock.unixMs();
    if (now >= m_dueMs) {
      m_signalled = true;
      if (m_periodMs) {
        m_dueMs += ((now - m_dueMs) / m_periodMs + 1) * m_periodMs;
      } else {
        m_armed = false;
      }
    }
  }
  if (!m_signalled) return Grant::None;
  if (!m_manualReset) m_signalled = false;
  return Grant::Granted;
}

void WaitableTimerObject::undoAcquire(DWORD, Grant) {
  if (!m_manualReset) m_signalled = true;
}

}  // namespace plat

#include <dshow/engine/ClockWait.h>

#include <machine/Machine.h>

#include <chrono>

namespace plat {

namespace {
constexpr REFERENCE_TIME kUnitsPerMs = 10'000;
}

REFERENCE_TIME ClockWait::now() {
  return static_cast<REFERENCE_TIME>(Machine::current().clock().sharedTickMs()) * kUnitsPerMs;
}

bool ClockWait::waitFor(const std::function<bool()>& ready, REFERENCE_TIME deadline) {
  const bool manual = Machine::current().clock().isManual();
  std::unique_lock guard(m_lock);
  for (;;) {
    if (m_cancelled) return false;
    guard.unlock();
    const bool done = ready();
    const REFERENCE_TIME time = now();
    guard.lock();
    if (done) return true;
    if (m_cancelled) return false;
    if (deadline >= 0 && time >= deadline) return false;
    // Without a deadline only notify() can change the answer; the step is a safety net.
    // A manual clock moves without telling us, so time-bound waits look again often.
    auto step = std::chrono::milliseconds(50);
    if (deadline >= 0 && manual) {
      step = std::chrono::milliseconds(1);
    } else if (deadline >= 0) {
      const auto left = std::chrono::milliseconds((deadline - time + kUnitsPerMs - 1) / kUnitsPerMs);
      if (left < step) step = left;
    }
    m_changed.wait_for(guard, step);
  }
}

void ClockWait::notify() {
  std::lock_guard guard(m_lock);
  m_changed.notify_all();
}

void ClockWait::cancel() {
  std::lock_guard guard(m_lock);
  m_cancelled = true;
  m_changed.notify_all();
}

void ClockWait::reset() {
  std::lock_guard guard(m_lock);
  m_cancelled = false;
}

bool ClockWait::cancelled() const {
  std::lock_guard guard(m_lock);
  return m_cancelled;
}

}  // namespace plat

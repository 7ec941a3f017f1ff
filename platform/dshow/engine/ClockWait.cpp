#include <dshow/engine/ClockWait.h>

#include <machine/Machine.h>
#include <machine/StreamActivity.h>

#include <algorithm>
#include <optional>

namespace plat {

namespace {
constexpr REFERENCE_TIME kUnitsPerMs = 10'000;
}

REFERENCE_TIME ClockWait::now() {
  return static_cast<REFERENCE_TIME>(Machine::current().clock().sharedTickMs()) * kUnitsPerMs;
}

bool ClockWait::waitFor(const std::function<bool()>& ready, REFERENCE_TIME deadline) {
  StreamActivity& activity = StreamActivity::instance();
  Clock& clock = Machine::current().clock();
  // The first shared tick at or past the deadline.
  std::optional<std::uint64_t> due;
  if (deadline >= 0) due = static_cast<std::uint64_t>((deadline + kUnitsPerMs - 1) / kUnitsPerMs);
  const auto done = [&] { return m_cancelled.load() || ready(); };
  for (;;) {
    const bool drives = due && clock.isManual() && clock.drivenByThisThread() && !activity.isStreamingThread();
    switch (activity.wait(this, done, due, nullptr, drives)) {
      case StreamActivity::Woke::Ready:
        return !m_cancelled.load();
      case StreamActivity::Woke::Deadline:
        return false;
      case StreamActivity::Woke::Settled: {
        const std::uint64_t now = clock.sharedTickMs();
        const std::uint64_t until = std::min(*due, activity.nextDue().value_or(*due));
        clock.advance(until > now ? until - now : 1);
        break;
      }
    }
  }
}

void ClockWait::notify() { StreamActivity::instance().notify(this); }

void ClockWait::cancel() {
  m_cancelled.store(true);
  notify();
}

void ClockWait::reset() { m_cancelled.store(false); }

bool ClockWait::cancelled() const { return m_cancelled.load(); }

}  // namespace plat

#include <win32/kernel/WaitHub.h>

#include <win32/kernel/ThreadObject.h>
#include <win32/sync.h>

#include <algorithm>
#include <chrono>

namespace plat {

namespace {

constexpr std::chrono::milliseconds kPollStep{1};

DWORD grantCode(Waitable::Grant grant, std::size_t index) {
  const DWORD base = grant == Waitable::Grant::Abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0;
  return base + static_cast<DWORD>(index);
}

}  // namespace

WaitHub& WaitHub::instance() {
  static WaitHub* hub = new WaitHub;  // outlives threads that end during static destruction
  return *hub;
}

std::size_t WaitHub::blockedCount() const {
  std::lock_guard guard(m_lock);
  return m_blocked;
}

DWORD WaitHub::trySatisfy(const std::vector<std::shared_ptr<Waitable>>& objects, bool all, DWORD threadId) {
  if (!all) {
    for (std::size_t i = 0; i < objects.size(); ++i) {
      const Waitable::Grant grant = objects[i]->tryAcquire(threadId);
      if (grant != Waitable::Grant::None) return grantCode(grant, i);
    }
    return WAIT_TIMEOUT;
  }
  std::vector<Waitable::Grant> grants;
  grants.reserve(objects.size());
  for (const auto& object : objects) {
    const Waitable::Grant grant = object->tryAcquire(threadId);
    if (grant == Waitable::Grant::None) {
      for (std::size_t i = grants.size(); i-- > 0;) objects[i]->undoAcquire(threadId, grants[i]);
      return WAIT_TIMEOUT;
    }
    grants.push_back(grant);
  }
  const auto abandoned = std::find(grants.begin(), grants.end(), Waitable::Grant::Abandoned);
  if (abandoned != grants.end()) return grantCode(*abandoned, static_cast<std::size_t>(abandoned - grants.begin()));
  return WAIT_OBJECT_0;
}

DWORD WaitHub::wait(const std::vector<std::shared_ptr<Waitable>>& objects, bool all, DWORD timeoutMs, Clock& clock) {
  const DWORD self = ThreadObject::currentId();
  const bool timed = timeoutMs != INFINITE;
  const std::uint64_t deadline = clock.tickMs() + (timed ? timeoutMs : 0);
  const bool polls = std::any_of(objects.begin(), objects.end(), [](const auto& o) { return o->changesElsewhere(); });

  std::unique_lock guard(m_lock);
  bool counted = false;
  const auto leave = [&](DWORD result) {
    if (counted) --m_blocked;
    return result;
  };
  for (;;) {
    if (const DWORD result = trySatisfy(objects, all, self); result != WAIT_TIMEOUT) return leave(result);
    const std::uint64_t now = clock.tickMs();
    if (timed && now >= deadline) return leave(WAIT_TIMEOUT);
    if (!counted) {
      ++m_blocked;
      counted = true;
    }
    if (polls || (timed && clock.isManual())) {
      m_changed.wait_for(guard, kPollStep);
    } else if (timed) {
      m_changed.wait_for(guard, std::chrono::milliseconds(deadline - now));
    } else {
      m_changed.wait(guard);
    }
  }
}

}  // namespace plat

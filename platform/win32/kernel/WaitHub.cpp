#include <win32/kernel/WaitHub.h>

#include <machine/StreamActivity.h>
#include <win32/kernel/ThreadObject.h>
#include <win32/sync.h>

#include <algorithm>
#include <chrono>
#include <optional>

namespace plat {

namespace {

constexpr std::chrono::milliseconds kPollStep{1};
// How often a driver whose followed threads wait for nothing looks again, should a change
// come from where it cannot see.
constexpr std::chrono::milliseconds kIdleDriverLook{100};

DWORD grantCode(Waitable::Grant grant, std::size_t index) {
  const DWORD base = grant == Waitable::Grant::Abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0;
  return base + static_cast<DWORD>(index);
}

bool onlyThreads(const std::vector<std::shared_ptr<Waitable>>& objects) {
  return !objects.empty() && std::all_of(objects.begin(), objects.end(), [](const auto& o) {
    return dynamic_cast<const ThreadObject*>(o.get()) != nullptr;
  });
}

}  // namespace

struct WaitHub::Request {
  const std::vector<std::shared_ptr<Waitable>>& objects;
  bool all;
  Clock& clock;
  const std::function<bool()>& arrived;
  std::unique_lock<std::mutex>& guard;
  DWORD self;
  // The deadline on the shared clock, for a timed wait.
  std::optional<std::uint64_t> due;
  // The thread drives the clock and waits for threads to end.
  bool drives;
};

WaitHub& WaitHub::instance() {
  static WaitHub* hub = new WaitHub;  // outlives threads that end during static destruction
  return *hub;
}

void WaitHub::notifyAll() {
  m_changed.notify_all();
  StreamActivity::instance().notify(this);
}

void WaitHub::wakeWaiters() {
  std::lock_guard guard(m_lock);
  notifyAll();
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

DWORD WaitHub::look(Request& request) {
  const DWORD result = trySatisfy(request.objects, request.all, request.self);
  if (result == WAIT_TIMEOUT && request.arrived && request.arrived())
    return WAIT_OBJECT_0 + static_cast<DWORD>(request.objects.size());
  return result;
}

DWORD WaitHub::wait(const std::vector<std::shared_ptr<Waitable>>& objects, bool all, DWORD timeoutMs, Clock& clock,
                    const std::function<bool()>& arrived) {
  std::unique_lock guard(m_lock);
  Request request{objects, all, clock, arrived, guard, ThreadObject::currentId(), std::nullopt,
                  onlyThreads(objects) && clock.drivenByThisThread() && !StreamActivity::instance().isStreamingThread()};
  if (timeoutMs != INFINITE) request.due = clock.sharedTickMs() + timeoutMs;
  if (const DWORD result = look(request); result != WAIT_TIMEOUT || timeoutMs == 0) return result;
  ++m_blocked;
  const bool polls = std::any_of(objects.begin(), objects.end(), [](const auto& o) { return o->changesElsewhere(); });
  const bool followed = StreamActivity::instance().isStreamingThread() || request.drives;
  const DWORD result = followed && !polls ? waitFollowed(request) : waitPlain(request);
  --m_blocked;
  return result;
}

DWORD WaitHub::waitFollowed(Request& request) {
  StreamActivity& activity = StreamActivity::instance();
  Clock& clock = request.clock;
  DWORD result = WAIT_TIMEOUT;
  const auto ready = [&] { return (result = look(request)) != WAIT_TIMEOUT; };
  for (;;) {
    switch (activity.wait(this, ready, request.due, &request.guard, request.drives && clock.isManual())) {
      case StreamActivity::Woke::Ready:
        return result;
      case StreamActivity::Woke::Deadline:
        return WAIT_TIMEOUT;
      case StreamActivity::Woke::Settled: {
        std::optional<std::uint64_t> until = activity.nextDue();
        if (request.due && (!until || *request.due < *until)) until = request.due;
        const std::uint64_t seen = activity.version();
        const std::uint64_t now = clock.sharedTickMs();
        request.guard.unlock();
        if (until) {
          clock.advance(*until > now ? *until - now : 1);
        } else {
          activity.awaitChange(seen, kIdleDriverLook);
        }
        request.guard.lock();
        break;
      }
    }
  }
}

DWORD WaitHub::waitPlain(Request& request) {
  Clock& clock = request.clock;
  const bool polls = std::any_of(request.objects.begin(), request.objects.end(),
                                 [](const auto& o) { return o->changesElsewhere(); });
  for (;;) {
    if (const DWORD result = look(request); result != WAIT_TIMEOUT) return result;
    const std::uint64_t now = clock.sharedTickMs();
    if (request.due && now >= *request.due) return WAIT_TIMEOUT;
    if (polls || (request.due && clock.isManual())) {
      m_changed.wait_for(request.guard, kPollStep);
    } else if (request.due) {
      m_changed.wait_for(request.guard, std::chrono::milliseconds(*request.due - now));
    } else {
      m_changed.wait(request.guard);
    }
  }
}

}  // namespace plat

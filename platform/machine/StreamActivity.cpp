#include <machine/StreamActivity.h>

#include <machine/Clock.h>
#include <machine/ClockFollowers.h>
#include <machine/Machine.h>

#include <algorithm>
#include <cstdio>

namespace plat {

// A thread's part in the waits: its own sleep, and while it waits what for. The fields
// below `token` are the activity's, under its lock.
struct StreamActivity::Waiter {
  std::mutex sleepLock;
  std::condition_variable sleepChanged;
  bool token = false;  // under sleepLock: the sleep is over

  std::atomic<State> state{State::Outside};  // moved only through StreamActivity::move

  std::string name;
  bool waiting = false;
  bool woken = false;     // something came since it registered
  bool untilSettled = false;
  const void* key = nullptr;
  const Clock* clock = nullptr;
  std::optional<std::uint64_t> deadline;
};

namespace {

// How often a deadline on a clock that other processes move is looked at, should the clock's
// watcher of the shared page miss a change.
constexpr auto kSharedClockLook = std::chrono::milliseconds(20);

}  // namespace

StreamActivity& StreamActivity::instance() {
  static StreamActivity* activity = new StreamActivity;  // outlives threads ending at exit
  return *activity;
}

StreamActivity::Waiter& StreamActivity::self() {
  thread_local Waiter waiter;
  return waiter;
}

std::thread StreamActivity::startThread(std::string name, std::function<void()> body) {
  // The new thread's record exists only once it runs; until then it is a placeholder.
  auto starting = std::make_shared<Waiter>();
  starting->name = name;
  {
    std::lock_guard guard(m_lock);
    move(*starting, State::Outside, State::Busy);
    m_members.push_back(starting.get());
    changed();
  }
  try {
    return std::thread([this, starting, name = std::move(name), body = std::move(body)] {
      run(*starting, name, body);
    });
  } catch (...) {
    // No thread: its placeholder goes, or the process would never settle.
    std::lock_guard guard(m_lock);
    std::erase(m_members, starting.get());
    if (starting->state.exchange(State::Outside) == State::Busy) m_busy.fetch_sub(1);
    changed();
    throw;
  }
}

void StreamActivity::run(Waiter& starting, const std::string& name, const std::function<void()>& body) {
  Waiter& me = self();
  {
    // The placeholder's count (busy, or left out by a give-up) passes to the thread.
    std::lock_guard guard(m_lock);
    me.state.store(starting.state.load());
    me.name = name;
    std::replace(m_members.begin(), m_members.end(), &starting, &me);
  }
  body();
  std::lock_guard guard(m_lock);
  std::erase(m_members, &me);
  if (me.state.exchange(State::Outside) == State::Busy) m_busy.fetch_sub(1);
  changed();
}

bool StreamActivity::isStreamingThread() const { return self().state.load() != State::Outside; }

void StreamActivity::enter(const void* key, std::optional<std::uint64_t> deadline, bool untilSettled) {
  Waiter& me = self();
  std::lock_guard guard(m_lock);
  me.key = key;
  me.deadline = deadline;
  me.clock = &Machine::current().clock();
  me.untilSettled = untilSettled;
  me.woken = false;
  me.waiting = true;
  if (untilSettled) m_observers.fetch_add(1);
  m_waiting.push_back(&me);
}

StreamActivity::Rest StreamActivity::goIdle() {
  Waiter& me = self();
  std::lock_guard guard(m_lock);
  Rest rest = Rest::Idle;
  const std::uint64_t now = me.clock->sharedTickMs();
  if (me.woken) {
    rest = Rest::LookAgain;
  } else if (me.deadline && now >= *me.deadline) {
    rest = Rest::Deadline;
  } else if (me.untilSettled && settledLocked(now)) {
    rest = Rest::Settled;
  }
  if (rest != Rest::Idle) {
    forget(me);
    return rest;
  }
  if (toIdle(me)) changed();
  return rest;
}

bool StreamActivity::sleep(std::optional<std::chrono::steady_clock::time_point> giveUpAt) {
  Waiter& me = self();
  const Clock& clock = *me.clock;
  std::unique_lock guard(me.sleepLock);
  // Until the token, or as long as the clock allows; never past giveUpAt.
  const auto rest = [&](std::optional<std::chrono::steady_clock::duration> most) {
    auto until = std::chrono::steady_clock::time_point::max();
    if (most) until = std::chrono::steady_clock::now() + *most;
    if (giveUpAt) until = std::min(until, *giveUpAt);
    if (until == std::chrono::steady_clock::time_point::max()) {
      me.sleepChanged.wait(guard);
    } else {
      me.sleepChanged.wait_until(guard, until);
    }
  };
  while (!me.token) {
    if (giveUpAt && std::chrono::steady_clock::now() >= *giveUpAt) return false;
    if (!me.deadline) {
      rest(std::nullopt);
      continue;
    }
    // The deadline is the waiter's own; only the clock's mode may change meanwhile, and
    // that wakes it (clockChanged).
    const std::uint64_t now = clock.sharedTickMs();
    if (now >= *me.deadline) break;
    if (!clock.isManual()) {
      rest(std::chrono::milliseconds(*me.deadline - now));
    } else if (clock.isShared()) {
      rest(kSharedClockLook);
    } else {
      rest(std::nullopt);
    }
  }
  me.token = false;
  return true;
}

void StreamActivity::leave() {
  Waiter& me = self();
  std::lock_guard guard(m_lock);
  // Woken by another thread, it was counted busy there; woken by its own look at the clock, here.
  const bool wasIdle = move(me, State::Idle, State::Busy);
  forget(me);
  if (wasIdle) changed();
}

void StreamActivity::forget(Waiter& me) {
  if (me.waiting && me.untilSettled) m_observers.fetch_sub(1);
  me.waiting = false;
  std::erase(m_waiting, &me);
}

void StreamActivity::wake(Waiter& waiter) {
  if (waiter.woken) return;
  waiter.woken = true;
  move(waiter, State::Idle, State::Busy);
  std::lock_guard sleep(waiter.sleepLock);
  waiter.token = true;
  waiter.sleepChanged.notify_one();
}

bool StreamActivity::move(Waiter& waiter, State from, State to) {
  if (waiter.state.load() != from) return false;
  // The count never falls below the threads really busy: it rises before a thread counts
  // busy and falls after it stops, as settling reads it without the thread's lock.
  const bool busier = to == State::Busy;
  if (busier) m_busy.fetch_add(1);
  State seen = from;
  const bool moved = waiter.state.compare_exchange_strong(seen, to);
  if (moved ? from == State::Busy : busier) m_busy.fetch_sub(1);
  return moved;
}

bool StreamActivity::toIdle(Waiter& waiter) {
  return move(waiter, State::Busy, State::Idle) || move(waiter, State::Ignored, State::Idle);
}

StreamActivity::Waiter& StreamActivity::rest() {
  Waiter& me = self();
  if (me.state.load() != State::Outside) {
    toIdle(me);
    counted();
  }
  return me;
}

void StreamActivity::wakeUp(Waiter& waiter) {
  if (waiter.state.load() != State::Idle) return;
  move(waiter, State::Idle, State::Busy);
  counted();
}

void StreamActivity::resume() { wakeUp(self()); }

void StreamActivity::counted() {
  m_version.fetch_add(1);
  // Whoever watches the count from here on takes the lock to read it: after this look,
  // either it reads the new count or this thread tells it under the lock.
  if (m_observers.load() == 0) return;
  std::lock_guard guard(m_lock);
  changed();
}

void StreamActivity::notify(const void* key) {
  std::lock_guard guard(m_lock);
  bool any = false;
  for (Waiter* waiter : m_waiting) {
    if (waiter->key != key || waiter->woken) continue;
    any = any || waiter->state.load() == State::Idle;
    wake(*waiter);
  }
  if (any) changed();
}

void StreamActivity::clockChanged(const Clock& clock, bool everyDeadline) {
  std::lock_guard guard(m_lock);
  const std::uint64_t now = clock.sharedTickMs();
  for (Waiter* waiter : m_waiting) {
    if (waiter->clock != &clock || !waiter->deadline || waiter->woken) continue;
    if (!everyDeadline && *waiter->deadline > now) continue;
    wake(*waiter);
  }
  // Drivers waiting for the threads to settle look again at the new time too.
  changed();
}

std::size_t StreamActivity::busyLocked() const { return m_busy.load(); }

bool StreamActivity::settledLocked(std::uint64_t tick) const {
  if (busyLocked() > 0) return false;
  const auto due = nextDueLocked();
  return !due || *due > tick;
}

std::optional<std::uint64_t> StreamActivity::nextDueLocked() const {
  std::optional<std::uint64_t> next;
  for (const Waiter* waiter : m_waiting) {
    if (waiter->state.load() != State::Idle || !waiter->deadline) continue;
    if (!next || *waiter->deadline < *next) next = waiter->deadline;
  }
  return next;
}

void StreamActivity::changed() {
  m_version.fetch_add(1);
  m_changed.notify_all();
  const std::size_t busy = busyLocked();
  const auto due = nextDueLocked();
  if (m_followers) m_followers->publishStreams(busy, due);
  for (Waiter* waiter : m_waiting) {
    if (waiter->untilSettled && !waiter->woken && settledLocked(waiter->clock->sharedTickMs())) wake(*waiter);
  }
}

bool StreamActivity::settledAt(std::uint64_t tick) const {
  std::lock_guard guard(m_lock);
  return settledLocked(tick);
}

std::optional<std::uint64_t> StreamActivity::nextDue() const {
  std::lock_guard guard(m_lock);
  return nextDueLocked();
}

std::uint64_t StreamActivity::version() const { return m_version.load(); }

void StreamActivity::awaitChange(std::uint64_t seen, std::chrono::microseconds limit) const {
  std::unique_lock guard(m_lock);
  const Observing observing(m_observers);
  m_changed.wait_for(guard, limit, [&] { return m_version.load() != seen; });
}

std::chrono::milliseconds StreamActivity::hangLimit() const { return std::chrono::milliseconds(m_hangLimitMs.load()); }

void StreamActivity::setHangLimit(std::chrono::milliseconds limit) { m_hangLimitMs.store(limit.count()); }

bool StreamActivity::settle(const Clock& clock) {
  const auto limit = std::chrono::steady_clock::now() + hangLimit();
  std::unique_lock guard(m_lock);
  const Observing observing(m_observers);
  while (!settledLocked(clock.sharedTickMs())) {
    // The clock may be moved by another process: look at it now and then.
    if (m_changed.wait_until(guard, std::min(limit, std::chrono::steady_clock::now() + kSharedClockLook)) ==
            std::cv_status::timeout &&
        std::chrono::steady_clock::now() >= limit) {
      guard.unlock();
      giveUpOnBusy("the clock stands at tick " + std::to_string(clock.sharedTickMs()));
      return false;
    }
  }
  return true;
}

void StreamActivity::giveUpOnBusy(const std::string& why) {
  std::string names;
  {
    std::lock_guard guard(m_lock);
    for (Waiter* member : m_members) {
      if (!move(*member, State::Busy, State::Ignored)) continue;
      names += (names.empty() ? "" : ", ") + member->name;
    }
    changed();
  }
  std::fprintf(stderr, "streaming: %s, but after %lld ms the threads %s are still busy; no longer waiting for them\n",
               why.c_str(), static_cast<long long>(hangLimit().count()), names.c_str());
  std::fflush(stderr);
}

void StreamActivity::publishTo(ClockFollowers* followers) {
  std::lock_guard guard(m_lock);
  if (m_followers) m_observers.fetch_sub(1);
  if (followers) m_observers.fetch_add(1);
  m_followers = followers;
  if (m_followers) m_followers->publishStreams(busyLocked(), nextDueLocked());
}

}  // namespace plat

#include <machine/Clock.h>

#include <machine/ProcessStat.h>
#include <machine/SharedPage.h>
#include <machine/StreamActivity.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace plat {

namespace {

// A manual clock's tick count starts well past zero, as a PC's does some time after boot.
constexpr std::uint64_t kManualBootTickMs = 3'600'000;

std::atomic<std::uint64_t> g_nextClockId{1};

// Each thread's sleeps on a manual clock, kept apart per clock so that a new machine
// (a new clock) starts every thread afresh.
struct ThreadSleep {
  std::uint64_t clockId = 0;
  std::int64_t offsetMs = 0;
};
thread_local ThreadSleep t_sleep;

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

}  // namespace

Clock::Clock() : m_id(g_nextClockId++) {}

Clock::~Clock() {
  if (!m_pageWatcher.joinable()) return;
  m_closing.store(true);
  m_state.load()->moves.fetch_add(1);
  SharedPage::wakeAll(m_state.load()->moves);
  m_pageWatcher.join();
}

std::shared_ptr<void> Clock::watchMoves(std::function<void()> wake) {
  std::lock_guard guard(m_watches->lock);
  const std::uint64_t id = m_watches->next++;
  m_watches->calls.emplace(id, std::move(wake));
  return std::shared_ptr<void>(nullptr, [watches = m_watches, id](void*) {
    std::lock_guard watchGuard(watches->lock);
    watches->calls.erase(id);
  });
}

void Clock::tellWatches() {
  std::lock_guard guard(m_watches->lock);
  for (const auto& [id, wake] : m_watches->calls) wake();
}

void Clock::changed(bool everyDeadline) {
  State& state = *m_state.load();
  state.moves.fetch_add(1);
  if (&state != &m_own) SharedPage::wakeAll(state.moves);
  StreamActivity::instance().clockChanged(*this, everyDeadline);
  tellWatches();
}

void Clock::watchPage(std::uint32_t seen) {
  State& state = *m_state.load();
  bool manual = state.manual.load() != 0;
  // A change this process made comes here too, and wakes what it woke once more: harmless.
  constexpr auto kLookAnyway = std::chrono::milliseconds(100);
  while (!m_closing.load()) {
    SharedPage::waitForChange(state.moves, seen, kLookAnyway);
    const std::uint32_t now = state.moves.load();
    if (now == seen || m_closing.load()) continue;
    seen = now;
    const bool wasManual = manual;
    manual = state.manual.load() != 0;
    StreamActivity::instance().clockChanged(*this, manual != wasManual);
    tellWatches();
  }
}

void Clock::keep(State& state) {
  const int self = static_cast<int>(getpid());
  state.keeperId.store(self);
  state.keeperStart.store(ProcessStat::startTime(self).value_or(0));
}

void Clock::drive() { m_driver.store(std::this_thread::get_id()); }

bool Clock::drivenByThisThread() const { return m_driver.load() == std::this_thread::get_id(); }

bool Clock::shareThrough(const std::filesystem::path& file) {
  {
    std::lock_guard guard(m_lock);
    if (m_page) return true;
    auto page = std::make_unique<SharedPage>(file, sizeof(State));
    if (!page->data()) return false;
    State* shared = page->as<State>();
    const int keeper = shared->keeperId.load();
    if (shared->manual.load() && (keeper == 0 || ProcessStat::startTime(keeper) != shared->keeperStart.load()))
      shared->manual.store(0);  // left standing by a process that has ended
    if (!shared->manual.load() && m_own.manual.load()) {
      shared->unixMs.store(m_own.unixMs.load());
      shared->tickMs.store(m_own.tickMs.load());
      keep(*shared);
      shared->manual.store(1);
    }
    shared->generation.fetch_add(1);
    m_state.store(shared);
    m_page = std::move(page);
  }
  changed(true);
  // What the page said when it was shared: a change made before the watcher runs is not missed.
  m_pageWatcher = std::thread([this, seen = m_state.load()->moves.load()] { watchPage(seen); });
  return true;
}

bool Clock::isManual() const { return m_state.load()->manual.load() != 0; }

void Clock::setManual(std::int64_t unixMs) {
  {
    std::lock_guard guard(m_lock);
    State& state = *m_state.load();
    state.unixMs.store(unixMs);
    state.tickMs.store(kManualBootTickMs);
    keep(state);
    state.manual.store(1);
    state.generation.fetch_add(1);
    drive();
  }
  changed(true);
}

void Clock::setReal() {
  {
    std::lock_guard guard(m_lock);
    m_state.load()->manual.store(0);
    m_state.load()->generation.fetch_add(1);
  }
  changed(true);
}

void Clock::advance(std::uint64_t ms) {
  {
    std::lock_guard guard(m_lock);
    if (!m_state.load()->manual.load()) return;
    m_state.load()->unixMs.fetch_add(static_cast<std::int64_t>(ms));
    m_state.load()->tickMs.fetch_add(ms);
    m_state.load()->generation.fetch_add(1);
    drive();
  }
  changed(false);
}

std::int64_t Clock::ownSleepMs() const { return t_sleep.clockId == m_id ? t_sleep.offsetMs : 0; }

std::uint64_t Clock::tickMs() const {
  if (m_state.load()->manual.load()) return m_state.load()->tickMs.load() + static_cast<std::uint64_t>(ownSleepMs());
  using namespace std::chrono;
  return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint64_t Clock::sharedTickMs() const {
  if (m_state.load()->manual.load()) return m_state.load()->tickMs.load();
  using namespace std::chrono;
  return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::int64_t Clock::unixMs() const {
  if (m_state.load()->manual.load()) return m_state.load()->unixMs.load() + ownSleepMs();
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void Clock::sleep(std::uint32_t ms) {
  if (m_state.load()->manual.load()) {
    StreamActivity& activity = StreamActivity::instance();
    if (activity.isStreamingThread()) {
      activity.wait(this, [] { return false; }, sharedTickMs() + ms);
      return;
    }
    if (t_sleep.clockId != m_id) t_sleep = {m_id, 0};
    t_sleep.offsetMs += ms;
    return;
  }
  if (ms == 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::uint64_t Clock::generation() const { return m_state.load()->generation.load(); }

void Clock::setUtcOffsetMinutes(int minutes) {
  std::lock_guard guard(m_lock);
  m_utcOffsetMinutes = minutes;
}

int Clock::utcOffsetMinutes() const {
  std::lock_guard guard(m_lock);
  return m_utcOffsetMinutes;
}

std::tm Clock::toLocal(std::int64_t unixSeconds) const {
  const std::int64_t local = unixSeconds + static_cast<std::int64_t>(utcOffsetMinutes()) * 60;
  std::int64_t days = local / 86400;
  std::int64_t secs = local % 86400;
  if (secs < 0) {
    secs += 86400;
    --days;
  }
  // Civil date from days since 1970-01-01.
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);

  std::tm out{};
  out.tm_year = static_cast<int>(y - 1900);
  out.tm_mon = static_cast<int>(m - 1);
  out.tm_mday = static_cast<int>(d);
  out.tm_hour = static_cast<int>(secs / 3600);
  out.tm_min = static_cast<int>((secs / 60) % 60);
  out.tm_sec = static_cast<int>(secs % 60);
  out.tm_wday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  out.tm_yday = static_cast<int>(days - daysFromCivil(y, 1, 1));
  out.tm_isdst = 0;
  return out;
}

std::int64_t Clock::fromLocal(std::tm local) const {
  // Months out of range carry into years; every other field carries through the seconds.
  std::int64_t year = static_cast<std::int64_t>(local.tm_year) + 1900;
  std::int64_t month = local.tm_mon;
  year += month / 12;
  month %= 12;
  if (month < 0) {
    month += 12;
    --year;
  }
  const std::int64_t days = daysFromCivil(year, static_cast<unsigned>(month + 1), 1) + local.tm_mday - 1;
  const std::int64_t seconds = days * 86400 + static_cast<std::int64_t>(local.tm_hour) * 3600 +
                               static_cast<std::int64_t>(local.tm_min) * 60 + local.tm_sec;
  return seconds - static_cast<std::int64_t>(utcOffsetMinutes()) * 60;
}

}  // namespace plat

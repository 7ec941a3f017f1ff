#include <machine/ClockFollowers.h>

#include <machine/Machine.h>
#include <machine/ProcessStat.h>
#include <machine/SharedPage.h>
#include <machine/StreamActivity.h>

#include <unistd.h>

#include <limits>
#include <vector>

namespace plat {

namespace {

constexpr int kSeats = 512;
constexpr std::uint64_t kNone = std::numeric_limits<std::uint64_t>::max();

// One seat of the page. `version` is odd while the owner rewrites what it waited with, so
// a reader in another process takes them together or reads again.
struct SeatState {
  std::atomic<std::int32_t> processId;  // 0: free
  std::atomic<std::uint32_t> thread;
  std::atomic<std::uint64_t> processStart;
  std::atomic<std::uint32_t> following;
  std::atomic<std::uint32_t> version;
  std::atomic<std::uint64_t> arrivals;
  std::atomic<std::uint64_t> handledArrivals;
  std::atomic<std::uint64_t> handled;
  std::atomic<std::uint64_t> nextDue;
  std::atomic<std::uint64_t> busy;  // the streams seat: threads at work
};

struct Page {
  SeatState seats[kSeats];
  std::atomic<std::uint32_t> changes;  // bumped whenever a seat's answer may have changed
};

SeatState& seatOf(const std::shared_ptr<SharedPage>& page, int index) { return page->as<Page>()->seats[index]; }

void changed(const std::shared_ptr<SharedPage>& page) {
  page->as<Page>()->changes.fetch_add(1);
  SharedPage::wakeAll(page->as<Page>()->changes);
}

struct Waited {
  std::uint64_t handledArrivals, handled, nextDue, busy;
};

Waited readWaited(const SeatState& seat) {
  for (;;) {
    const std::uint32_t before = seat.version.load();
    const Waited waited{seat.handledArrivals.load(), seat.handled.load(), seat.nextDue.load(), seat.busy.load()};
    if (!(before & 1) && seat.version.load() == before) return waited;
  }
}

// Seats on thread 0 stand for programs starting up; the streams seat of a process stands
// for all its streaming threads.
constexpr std::uint32_t kStarting = 0;
constexpr std::uint32_t kStreams = 0xFFFFFFFF;

std::string describe(const SeatState& seat, int owner) {
  const Waited waited = readWaited(seat);
  const std::string next = waited.nextDue == kNone ? std::string("none") : std::to_string(waited.nextDue);
  if (seat.thread.load() == kStreams)
    return "process " + std::to_string(owner) + "'s streaming threads (" + std::to_string(waited.busy) +
           " busy, next due " + next + ")";
  return "process " + std::to_string(owner) + " thread " + std::to_string(seat.thread.load()) + " (looked at tick " +
         std::to_string(waited.handled) + ", next timer " + next + ", " +
         std::to_string(seat.arrivals.load() - waited.handledArrivals) + " arrivals unanswered)";
}

bool isSettled(const SeatState& seat, std::uint64_t tick) {
  if (!seat.following.load()) return true;
  const Waited waited = readWaited(seat);
  return waited.busy == 0 && seat.arrivals.load() == waited.handledArrivals &&
         (waited.handled >= tick || waited.nextDue > tick);
}

// What changes whenever a seat's answer may: a look between two equal marks of every other
// process's seat saw them all at one moment. This process's own seats are left out: its
// streaming threads are asked directly, and its other threads' loops are not waited for.
struct Mark {
  std::int32_t processId;
  std::uint32_t version;
  std::uint32_t following;
  std::uint64_t arrivals;
  bool operator==(const Mark&) const = default;
};

std::vector<Mark> markOf(const std::shared_ptr<SharedPage>& page) {
  const int self = static_cast<int>(getpid());
  std::vector<Mark> marks(kSeats);
  for (int i = 0; i < kSeats; ++i) {
    const SeatState& seat = seatOf(page, i);
    const std::int32_t owner = seat.processId.load();
    if (owner == self) continue;
    marks[static_cast<std::size_t>(i)] = {owner, seat.version.load(), seat.following.load(), seat.arrivals.load()};
  }
  return marks;
}

// The seat belongs to a process that has ended (or whose id a younger process now has).
bool isOrphaned(const SeatState& seat, int processId) {
  return ProcessStat::startTime(processId) != seat.processStart.load();
}

}  // namespace

ClockFollowers::Seat::Seat(std::shared_ptr<SharedPage> page, int index) : m_page(std::move(page)), m_index(index) {}

ClockFollowers::Seat::~Seat() {
  SeatState& seat = seatOf(m_page, m_index);
  seat.following.store(0);
  seat.processId.store(0);
  changed(m_page);
}

void ClockFollowers::Seat::arrived() {
  seatOf(m_page, m_index).arrivals.fetch_add(1);
  changed(m_page);
}

std::uint64_t ClockFollowers::Seat::arrivals() const { return seatOf(m_page, m_index).arrivals.load(); }

void ClockFollowers::Seat::waits(std::uint64_t handled, std::optional<std::uint64_t> nextDue,
                                 std::uint64_t arrivalsSeen) {
  SeatState& seat = seatOf(m_page, m_index);
  seat.version.fetch_add(1);
  seat.handledArrivals.store(arrivalsSeen);
  seat.handled.store(handled);
  seat.nextDue.store(nextDue.value_or(kNone));
  seat.version.fetch_add(1);
  seat.following.store(1);
  changed(m_page);
}

ClockFollowers::ClockFollowers(Machine& machine) : m_machine(machine) {}

ClockFollowers::~ClockFollowers() {
  if (!m_publishing.load()) return;
  StreamActivity::instance().publishTo(nullptr);
  if (m_streamsSeat >= 0) {
    SeatState& seat = seatOf(m_page, m_streamsSeat);
    seat.following.store(0);
    seat.processId.store(0);
  }
}

std::shared_ptr<SharedPage> ClockFollowers::page() {
  bool made = false;
  std::shared_ptr<SharedPage> page;
  {
    std::lock_guard guard(m_lock);
    if (!m_page && m_machine.clock().isShared()) {
      auto mapped = std::make_shared<SharedPage>(m_machine.runFolder() / "followers", sizeof(Page));
      if (mapped->data()) {
        m_page = std::move(mapped);
        made = true;
      }
    }
    page = m_page;
  }
  // The streaming threads of the process publish into the page of its own machine.
  if (made && &m_machine == &Machine::current()) {
    m_publishing.store(true);
    StreamActivity::instance().publishTo(this);
  }
  return page;
}

void ClockFollowers::publishStreams(std::size_t busy, std::optional<std::uint64_t> nextDue) {
  if (m_streamsSeat < 0) {
    if (busy == 0 && !nextDue) return;  // nothing to say yet
    m_streamsSeat = claimSeat(m_page, static_cast<int>(getpid()), kStreams);
    if (m_streamsSeat < 0) return;
  }
  SeatState& seat = seatOf(m_page, m_streamsSeat);
  seat.version.fetch_add(1);
  seat.busy.store(busy);
  seat.nextDue.store(nextDue.value_or(kNone));
  seat.version.fetch_add(1);
  seat.following.store(1);
  changed(m_page);
}

std::uint32_t ClockFollowers::changes() {
  const auto shared = page();
  return shared ? shared->as<Page>()->changes.load() : 0;
}

void ClockFollowers::awaitChange(std::uint32_t seen, std::chrono::microseconds limit) {
  const auto shared = page();
  if (shared) SharedPage::waitForChange(shared->as<Page>()->changes, seen, limit);
}

int ClockFollowers::claimSeat(const std::shared_ptr<SharedPage>& shared, int processId, std::uint32_t thread) {
  for (int i = 0; i < kSeats; ++i) {
    SeatState& seat = seatOf(shared, i);
    std::int32_t expected = 0;
    if (!seat.processId.compare_exchange_strong(expected, processId)) continue;
    seat.following.store(0);
    seat.thread.store(thread);
    seat.processStart.store(ProcessStat::startTime(processId).value_or(0));
    seat.version.fetch_add(1);
    seat.handledArrivals.store(seat.arrivals.load());
    seat.handled.store(0);
    seat.nextDue.store(kNone);
    seat.busy.store(0);
    seat.version.fetch_add(1);
    return i;
  }
  return -1;
}

std::unique_ptr<ClockFollowers::Seat> ClockFollowers::take(std::uint32_t thread) {
  const auto shared = page();
  if (!shared) return nullptr;
  const int index = claimSeat(shared, static_cast<int>(getpid()), thread);
  return index < 0 ? nullptr : std::make_unique<Seat>(shared, index);
}

void ClockFollowers::expectStart(int processId) {
  const auto shared = page();
  if (!shared) return;
  const int index = claimSeat(shared, processId, kStarting);
  if (index < 0) return;
  // Never settled: it stands until the program's own seats follow, or the program ends.
  SeatState& seat = seatOf(shared, index);
  seat.handledArrivals.store(seat.arrivals.load() - 1);
  seat.following.store(1);
}

std::optional<std::uint64_t> ClockFollowers::nextDueElsewhere(std::uint64_t now) {
  const auto shared = page();
  if (!shared) return std::nullopt;
  const int self = static_cast<int>(getpid());
  std::optional<std::uint64_t> next;
  for (int i = 0; i < kSeats; ++i) {
    const SeatState& seat = seatOf(shared, i);
    const int owner = seat.processId.load();
    if (owner == 0 || owner == self || !seat.following.load()) continue;
    const std::uint64_t due = readWaited(seat).nextDue;
    if (due > now && due != kNone && (!next || due < *next)) next = due;
  }
  return next;
}

bool ClockFollowers::othersSettled(std::uint64_t tick, std::string* laggard) {
  const auto shared = page();
  if (!shared) return true;
  for (;;) {
    const std::vector<Mark> before = markOf(shared);
    bool freed = false;
    if (!lookAtOthers(shared, tick, laggard, freed)) return false;
    // Seats this look freed changed the marks; look again without them.
    if (freed) continue;
    if (markOf(shared) == before) return true;
    if (laggard) *laggard = "seats that changed while they were read";
    return false;
  }
}

bool ClockFollowers::lookAtOthers(const std::shared_ptr<SharedPage>& shared, std::uint64_t tick, std::string* laggard,
                                  bool& freed) {
  const int self = static_cast<int>(getpid());
  std::set<int> following;
  for (int i = 0; i < kSeats; ++i) {
    const SeatState& seat = seatOf(shared, i);
    const std::uint32_t thread = seat.thread.load();
    if (thread != kStarting && thread != kStreams && seat.following.load()) following.insert(seat.processId.load());
  }
  std::lock_guard guard(m_lock);
  for (int i = 0; i < kSeats; ++i) {
    SeatState& seat = seatOf(shared, i);
    int owner = seat.processId.load();
    if (owner == 0 || owner == self || m_givenUp.count({i, owner})) continue;
    const bool started = seat.thread.load() == kStarting && following.count(owner);
    if (!started && isSettled(seat, tick)) continue;
    if (started || isOrphaned(seat, owner)) {
      seat.following.store(0);
      seat.processId.compare_exchange_strong(owner, 0);
      freed = true;
      continue;
    }
    if (laggard) *laggard = describe(seat, owner);
    return false;
  }
  return true;
}

void ClockFollowers::giveUpOn(std::uint64_t tick) {
  const auto shared = page();
  if (!shared) return;
  const int self = static_cast<int>(getpid());
  std::lock_guard guard(m_lock);
  for (int i = 0; i < kSeats; ++i) {
    const SeatState& seat = seatOf(shared, i);
    const int owner = seat.processId.load();
    if (owner != 0 && owner != self && !isSettled(seat, tick)) m_givenUp.insert({i, owner});
  }
}

}  // namespace plat

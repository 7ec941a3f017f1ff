#include <win32/user/MessageQueue.h>

#include <win32/kernel/WaitHub.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

namespace plat {

namespace {

// Thread timers get ids of their own, far from the small ids programs choose.
std::atomic<UINT_PTR> g_nextThreadTimerId{0x7FF0};

bool takeMatching(std::deque<MSG>& queue, const MessageFilter& filter, bool remove, MSG& out) {
  const auto it = std::find_if(queue.begin(), queue.end(),
                               [&](const MSG& msg) { return filter.accepts(msg.hwnd, msg.message); });
  if (it == queue.end()) return false;
  out = *it;
  if (remove) queue.erase(it);
  return true;
}

}  // namespace

bool MessageFilter::accepts(HWND target, UINT message) const {
  if (hwnd == reinterpret_cast<HWND>(-1)) {
    if (target) return false;
  } else if (hwnd && target != hwnd) {
    return false;
  }
  if (first == 0 && last == 0) return true;
  return message >= first && message <= last;
}

MessageQueue::MessageQueue(DWORD threadId, std::unique_ptr<ClockFollowers::Seat> seat)
    : m_threadId(threadId), m_wakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), m_seat(std::move(seat)) {}

MessageQueue::~MessageQueue() {
  shutdown();
  if (m_wakeFd >= 0) close(m_wakeFd);
}

bool MessageQueue::post(const MSG& msg) {
  {
    std::lock_guard guard(m_lock);
    if (m_shutDown) return false;
    m_posted.push_back(msg);
  }
  wake();
  return true;
}

bool MessageQueue::postInput(const MSG& msg) {
  {
    std::lock_guard guard(m_lock);
    if (m_shutDown) return false;
    m_input.push_back(msg);
  }
  wake();
  return true;
}

void MessageQueue::postQuit(int exitCode) {
  {
    std::lock_guard guard(m_lock);
    m_quitCode = exitCode;
  }
  wake();
}

void MessageQueue::deliver(std::shared_ptr<SentMessage> sent) {
  {
    std::lock_guard guard(m_lock);
    if (!m_shutDown) {
      m_sent.push_back(sent);
      sent = nullptr;
    }
  }
  if (sent) {
    sent->complete(0);
    return;
  }
  wake();
}

std::shared_ptr<SentMessage> MessageQueue::takeSent() {
  std::lock_guard guard(m_lock);
  if (m_sent.empty()) return nullptr;
  auto sent = m_sent.front();
  m_sent.pop_front();
  return sent;
}

bool MessageQueue::hasSent() const {
  std::lock_guard guard(m_lock);
  return !m_sent.empty();
}

bool MessageQueue::hasPosted() const {
  std::lock_guard guard(m_lock);
  return !m_posted.empty();
}

bool MessageQueue::takePosted(const MessageFilter& filter, bool remove, MSG& out) {
  std::lock_guard guard(m_lock);
  return takeMatching(m_posted, filter, remove, out);
}

bool MessageQueue::takeQuit(const MessageFilter& filter, bool remove, MSG& out) {
  std::lock_guard guard(m_lock);
  if (!m_quitCode) return false;
  const bool anyMessage = filter.first == 0 && filter.last == 0;
  if (!anyMessage && (WM_QUIT < filter.first || WM_QUIT > filter.last)) return false;
  out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(*m_quitCode), 0, 0, {0, 0}};
  if (remove) m_quitCode.reset();
  return true;
}

bool MessageQueue::takeInput(const MessageFilter& filter, bool remove, MSG& out) {
  std::lock_guard guard(m_lock);
  return takeMatching(m_input, filter, remove, out);
}

void MessageQueue::purge(HWND hwnd) {
  std::lock_guard guard(m_lock);
  std::erase_if(m_posted, [&](const MSG& msg) { return msg.hwnd == hwnd; });
  std::erase_if(m_input, [&](const MSG& msg) { return msg.hwnd == hwnd; });
}

UINT_PTR MessageQueue::setTimer(HWND hwnd, UINT_PTR id, UINT periodMs, TIMERPROC proc, std::uint64_t now) {
  std::lock_guard guard(m_lock);
  const auto same = [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; };
  if (!hwnd && std::none_of(m_timers.begin(), m_timers.end(), same)) id = g_nextThreadTimerId++;
  std::erase_if(m_timers, same);
  m_timers.push_back(Timer{hwnd, id, periodMs, now + periodMs, proc, m_timerOrder++});
  if (m_seat) m_seat->arrived();
  return id;
}

bool MessageQueue::killTimer(HWND hwnd, UINT_PTR id) {
  std::lock_guard guard(m_lock);
  return std::erase_if(m_timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; }) > 0;
}

void MessageQueue::killTimers(HWND hwnd) {
  std::lock_guard guard(m_lock);
  std::erase_if(m_timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

bool MessageQueue::takeDueTimer(const MessageFilter& filter, bool remove, std::uint64_t now, MSG& out) {
  std::lock_guard guard(m_lock);
  Timer* earliest = nullptr;
  for (Timer& timer : m_timers) {
    if (timer.due > now || !filter.accepts(timer.hwnd, WM_TIMER)) continue;
    if (!earliest || timer.due < earliest->due || (timer.due == earliest->due && timer.order < earliest->order))
      earliest = &timer;
  }
  if (!earliest) return false;
  out = MSG{earliest->hwnd, WM_TIMER, earliest->id, reinterpret_cast<LPARAM>(earliest->proc), 0, {0, 0}};
  if (remove) earliest->due = now + std::max<UINT>(earliest->period, 1);
  return true;
}

std::optional<std::uint64_t> MessageQueue::nextTimerDue() const {
  std::lock_guard guard(m_lock);
  std::optional<std::uint64_t> next;
  for (const Timer& timer : m_timers)
    if (!next || timer.due < *next) next = timer.due;
  return next;
}

void MessageQueue::wake() {
  {
    std::lock_guard guard(m_lock);
    if (m_seat) m_seat->arrived();
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(m_wakeFd, &one, sizeof one);
  // After the arrival is in place: a waiter that counted itself before looks again.
  if (m_kernelWaits.load() > 0) WaitHub::instance().wakeWaiters();
}

std::uint64_t MessageQueue::arrivals() const {
  std::lock_guard guard(m_lock);
  return m_seat ? m_seat->arrivals() : 0;
}

void MessageQueue::waits(std::uint64_t handled, std::optional<std::uint64_t> nextDue, std::uint64_t arrivalsSeen) {
  std::lock_guard guard(m_lock);
  if (m_seat) m_seat->waits(handled, nextDue, arrivalsSeen);
}

void MessageQueue::clearWake() {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t n = read(m_wakeFd, &count, sizeof count);
}

bool MessageQueue::wait(int timeoutMs, int extraFd) {
  pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {extraFd, POLLIN, 0}};
  const int count = poll(fds, extraFd >= 0 ? 2 : 1, timeoutMs);
  return count > 0 && extraFd >= 0 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

void MessageQueue::shutdown() {
  std::deque<std::shared_ptr<SentMessage>> pending;
  std::shared_ptr<void> watch;
  {
    std::lock_guard guard(m_lock);
    m_shutDown = true;
    pending.swap(m_sent);
    m_timers.clear();
    m_seat.reset();
    watch.swap(m_clockWatch);
  }
  // Let go before the queue's wake descriptor is: no nudge comes after this.
  watch.reset();
  for (auto& sent : pending) sent->complete(0);
}

void MessageQueue::keepClockWatch(std::shared_ptr<void> watch) {
  std::lock_guard guard(m_lock);
  if (!m_shutDown) m_clockWatch = std::move(watch);
}

void MessageQueue::nudge() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(m_wakeFd, &one, sizeof one);
  // After the arrival is in place: a waiter that counted itself before looks again.
  if (m_kernelWaits.load() > 0) WaitHub::instance().wakeWaiters();
}

bool MessageQueue::isShutDown() const {
  std::lock_guard guard(m_lock);
  return m_shutDown;
}

}  // namespace plat

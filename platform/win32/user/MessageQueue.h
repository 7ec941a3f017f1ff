// The message queue of one thread: posted messages, input from the robot, messages sent
// from other threads and processes, the quit request and the thread's timers.
//
// Any thread may post into a queue; only the owning thread takes from it. Waiting is a
// poll() on the queue's eventfd, written whenever something arrives, so a thread can wait
// for its queue and a socket at once (a cross-process send). The queue has its own lock,
// taken for the shortest span and never while the user lock is being acquired.
#pragma once

#include <machine/ClockFollowers.h>
#include <win32/user/SentMessage.h>
#include <win32/user/message.h>
#include <win32/user/timer.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace plat {

// Which messages a Get/Peek call accepts.
struct MessageFilter {
  HWND hwnd = nullptr;  // nullptr: any; (HWND)-1: thread messages only
  UINT first = 0;
  UINT last = 0;  // 0, 0: every message
  bool accepts(HWND target, UINT message) const;
};

class MessageQueue {
 public:
  // With a seat, the queue's thread follows the machine's shared clock (ClockFollowers).
  explicit MessageQueue(DWORD threadId, std::unique_ptr<ClockFollowers::Seat> seat = nullptr);
  ~MessageQueue();
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  DWORD threadId() const { return m_threadId; }

  // From any thread. False once the owning thread has ended.
  bool post(const MSG& msg);
  bool postInput(const MSG& msg);
  void postQuit(int exitCode);
  // Completes `sent` with 0 at once when the owning thread has ended.
  void deliver(std::shared_ptr<SentMessage> sent);

  // From the owning thread.
  std::shared_ptr<SentMessage> takeSent();
  bool hasSent() const;
  bool hasPosted() const;
  // While one lives, the owning thread waits for kernel objects too: what arrives in the
  // queue wakes the wait hub's waiters (MsgWaitForMultipleObjects).
  class KernelWait {
   public:
    explicit KernelWait(MessageQueue& queue) : m_queue(queue) { m_queue.m_kernelWaits.fetch_add(1); }
    ~KernelWait() { m_queue.m_kernelWaits.fetch_sub(1); }
    KernelWait(const KernelWait&) = delete;
    KernelWait& operator=(const KernelWait&) = delete;

   private:
    MessageQueue& m_queue;
  };
  bool takePosted(const MessageFilter& filter, bool remove, MSG& out);
  bool takeQuit(const MessageFilter& filter, bool remove, MSG& out);
  bool takeInput(const MessageFilter& filter, bool remove, MSG& out);
  // Drops what is queued for a window being destroyed.
  void purge(HWND hwnd);

  // Timers, due on the clock's tick count. A taken timer is due again a period after `now`;
  // its WM_TIMER carries the TIMERPROC (if any) in lParam, as on Windows.
  UINT_PTR setTimer(HWND hwnd, UINT_PTR id, UINT periodMs, TIMERPROC proc, std::uint64_t now);
  bool killTimer(HWND hwnd, UINT_PTR id);
  void killTimers(HWND hwnd);
  bool takeDueTimer(const MessageFilter& filter, bool remove, std::uint64_t now, MSG& out);
  std::optional<std::uint64_t> nextTimerDue() const;

  // Wakes the owning thread from wait(): something is there for it.
  void wake();
  // Wakes the owning thread to look at its timers again (the clock moved); not an arrival.
  void nudge();
  // Keeps the clock's watch that nudges this queue, until the queue shuts down.
  void keepClockWatch(std::shared_ptr<void> watch);
  // Arrivals so far; the owning thread reads them before it looks at the queue.
  std::uint64_t arrivals() const;
  // The owning thread is about to wait, having found nothing to do when it looked at the
  // queue at `handled` (a shared tick) after `arrivalsSeen` arrivals; its next timer is
  // due at `nextDue` (shared tick).
  void waits(std::uint64_t handled, std::optional<std::uint64_t> nextDue, std::uint64_t arrivalsSeen);
  // Clears pending wakes; call before looking at the queue, then wait() if it was empty.
  void clearWake();
  // Waits for wake(), for `extraFd` to become readable or for `timeoutMs` (-1: forever).
  // True when `extraFd` is readable.
  bool wait(int timeoutMs, int extraFd = -1);

  // The owning thread has ended: pending and later sends complete with 0, posts fail.
  void shutdown();
  bool isShutDown() const;

 private:
  struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    std::uint64_t due;
    TIMERPROC proc;
    std::uint64_t order;
  };

  const DWORD m_threadId;
  const int m_wakeFd;
  mutable std::mutex m_lock;
  std::deque<MSG> m_posted;
  std::deque<MSG> m_input;
  std::deque<std::shared_ptr<SentMessage>> m_sent;
  std::optional<int> m_quitCode;
  std::vector<Timer> m_timers;
  std::uint64_t m_timerOrder = 0;
  bool m_shutDown = false;
  std::atomic<int> m_kernelWaits{0};
  std::unique_ptr<ClockFollowers::Seat> m_seat;
  std::shared_ptr<void> m_clockWatch;  // under m_lock; let go outside it
};

}  // namespace plat

// Taking messages from the calling thread's queue, in Windows' order: messages sent from
// other threads and processes are handled on the spot, then come posted messages, WM_QUIT,
// input, WM_PAINT for a window with something to paint and WM_TIMER for the earliest due
// timer. A thread with nothing to do asks its idle hook (the robot's script) before it
// blocks; on a manual clock a thread waiting with timers pending looks again every few
// milliseconds, so a clock advanced by another thread fires them. On a shared clock each
// wait is published to the machine's clock followers (ClockFollowers), so the process that
// moves the clock knows when this thread has handled what the new time made due.
#pragma once

#include <win32/user/MessageQueue.h>

#include <functional>

namespace plat {

class MessagePump {
 public:
  static bool peek(MSG& out, const MessageFilter& filter, bool remove);
  // False for WM_QUIT.
  static bool get(MSG& out, const MessageFilter& filter);
  static LRESULT dispatch(const MSG& msg);
  static bool translate(const MSG& msg);
  // Blocks until something arrives in the queue.
  static void waitForMessage();

  // Nothing is waiting: asks the thread's idle hook for work, then, when it has none,
  // `fallback` (true: it did something); otherwise waits for the queue or a timer.
  static void idle(MessageQueue& queue, const std::function<bool()>& fallback = {});

  static DWORD lastMessageTime();
  static POINT lastMessagePoint();

 private:
  static bool findPaint(const MessageFilter& filter, MSG& out);
  static int waitTimeout(MessageQueue& queue);
  // Tells the machine's clock followers what the thread's last empty look found.
  static void publishWait(MessageQueue& queue);
};

}  // namespace plat

// How a message reaches a window procedure.
//
// Sent to a window of the calling thread: the thread's WH_CALLWNDPROC hooks see it, then
// the procedure runs at once. Sent to another thread's window: it is queued for that
// thread, which runs it the next time it looks at its queue (or while it waits in a send
// of its own); the sender waits, handling messages sent to it meanwhile. Sent to another
// process's window: it travels through the window directory, and the sender waits the
// same way. Posted: it is appended to the owning thread's queue (or the other process's).
#pragma once

#include <win32/user/MessageQueue.h>

#include <functional>

namespace plat {

class MessageDelivery {
 public:
  static LRESULT send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static bool post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static bool postToThread(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);

  // Runs a window procedure of the calling thread, after the thread's hooks.
  static LRESULT call(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool fromThisThread);
  // Handles what other threads and processes sent to the calling thread; true if any.
  static bool handleSent(MessageQueue& queue);
  // Waits until `done()` holds, handling sends to the calling thread meanwhile. When
  // `fd` (>= 0) becomes readable, `onReadable` is called.
  static void waitUntil(MessageQueue& queue, const std::function<bool()>& done, int fd = -1,
                        const std::function<void()>& onReadable = {});
  static bool inSendMessage();

  // A MSG stamped with the clock's time and the pointer position.
  static MSG stamped(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace plat

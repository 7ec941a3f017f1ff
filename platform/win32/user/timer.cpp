#include <win32/user/timer.h>

#include <win32/error.h>
#include <win32/thread.h>
#include <win32/user/UserSystem.h>
#include <win32/user/usererror.h>

using plat::UserSystem;

namespace {

// The queue of the thread owning `hwnd` (the calling thread's for NULL), which must be
// the calling thread, as on Windows.
std::shared_ptr<plat::MessageQueue> timerQueue(HWND hwnd) {
  UserSystem& system = UserSystem::current();
  if (hwnd) {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    if (window->threadId != GetCurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
  }
  return system.queue();
}

}  // namespace

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
  const auto queue = timerQueue(hWnd);
  if (!queue) return 0;
  const UINT_PTR id = queue->setTimer(hWnd, nIDEvent, uElapse, lpTimerFunc, UserSystem::current().clock().tickMs());
  // A window timer reports success with 1 for id 0, as on Windows.
  return hWnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
  const auto queue = timerQueue(hWnd);
  return queue && queue->killTimer(hWnd, uIDEvent) ? TRUE : FALSE;
}

#include <win32/user/MessageDelivery.h>

#include <win32/error.h>
#include <win32/thread.h>
#include <win32/user/UserSystem.h>
#include <win32/user/WindowDirectory.h>
#include <win32/user/usererror.h>

#include <vector>

namespace plat {

namespace {
thread_local int t_inSend = 0;
}

MSG MessageDelivery::stamped(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  UserSystem& system = UserSystem::current();
  POINT pt;
  {
    std::lock_guard guard(system.lock());
    pt = system.input().cursor();
  }
  return MSG{hwnd, message, wParam, lParam, static_cast<DWORD>(system.clock().tickMs()), pt};
}

LRESULT MessageDelivery::call(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool fromThisThread) {
  UserSystem& system = UserSystem::current();
  WNDPROC proc = nullptr;
  HOOKPROC firstHook = nullptr;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    proc = window->proc;
    const auto& hooks = system.threadState().callWndProcHooks;
    if (!hooks.empty()) firstHook = hooks.front().proc;
  }
  if (firstHook) {
    CWPSTRUCT cwp{lParam, wParam, message, hwnd};
    firstHook(HC_ACTION, fromThisThread ? 1 : 0, reinterpret_cast<LPARAM>(&cwp));
  }
  return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

bool MessageDelivery::handleSent(MessageQueue& queue) {
  bool any = false;
  while (auto sent = queue.takeSent()) {
    any = true;
    ++t_inSend;
    const LRESULT result = sent->task ? sent->task() : call(sent->hwnd, sent->message, sent->wParam, sent->lParam, false);
    --t_inSend;
    sent->complete(result);
  }
  return any;
}

void MessageDelivery::waitUntil(MessageQueue& queue, const std::function<bool()>& done, int fd,
                                const std::function<void()>& onReadable) {
  while (true) {
    queue.clearWake();
    handleSent(queue);
    if (done()) return;
    if (queue.wait(-1, fd) && onReadable) onReadable();
  }
}

bool MessageDelivery::inSendMessage() { return t_inSend > 0; }

LRESULT MessageDelivery::send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!hwnd || hwnd == HWND_BROADCAST) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  UserSystem& system = UserSystem::current();
  if (!WindowTable::isLocal(hwnd)) return system.directory().send(hwnd, message, wParam, lParam);

  DWORD threadId = 0;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    threadId = window->threadId;
  }
  if (threadId == GetCurrentThreadId()) return call(hwnd, message, wParam, lParam, true);

  const auto target = system.queueOf(threadId);
  if (!target) return 0;
  const auto own = system.queue();
  std::weak_ptr<MessageQueue> sender = own;
  auto sent = std::make_shared<SentMessage>(hwnd, message, wParam, lParam, [sender](LRESULT) {
    if (auto queue = sender.lock()) queue->wake();
  });
  target->deliver(sent);
  waitUntil(*own, [&] { return sent->isDone(); });
  return sent->result();
}

bool MessageDelivery::post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return postToThread(GetCurrentThreadId(), message, wParam, lParam);
  if (hwnd == HWND_BROADCAST) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  UserSystem& system = UserSystem::current();
  if (!WindowTable::isLocal(hwnd)) return system.directory().post(hwnd, message, wParam, lParam);

  DWORD threadId = 0;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return false;
    }
    threadId = window->threadId;
  }
  const auto target = system.queueOf(threadId);
  return target && target->post(stamped(hwnd, message, wParam, lParam));
}

bool MessageDelivery::postToThread(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  UserSystem& system = UserSystem::current();
  const auto target = threadId == GetCurrentThreadId() ? system.queue() : system.queueOf(threadId);
  if (!target || !target->post(stamped(nullptr, message, wParam, lParam))) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return false;
  }
  return true;
}

}  // namespace plat

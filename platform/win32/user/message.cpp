#include <win32/user/message.h>

#include <machine/Machine.h>
#include <win32/kernel/HandleTable.h>
#include <win32/kernel/WaitHub.h>
#include <win32/kernel/Waitable.h>
#include <win32/error.h>
#include <win32/sync.h>
#include <win32/thread.h>
#include <win32/user/DefaultProcedure.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/MessagePump.h>
#include <win32/user/UserSystem.h>
#include <win32/user/usererror.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

using plat::MessageDelivery;
using plat::MessageFilter;
using plat::MessagePump;
using plat::UserSystem;

namespace {

std::atomic<std::uintptr_t> g_nextHook{0x4800};

MessageFilter filterOf(HWND hWnd, UINT first, UINT last) { return MessageFilter{hWnd, first, last}; }

bool validFilterWindow(HWND hWnd) {
  return !hWnd || hWnd == reinterpret_cast<HWND>(-1) || IsWindow(hWnd);
}

}  // namespace

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return MessageDelivery::post(hWnd, Msg, wParam, lParam) ? TRUE : FALSE;
}

BOOL PostThreadMessageA(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return MessageDelivery::postToThread(idThread, Msg, wParam, lParam) ? TRUE : FALSE;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return MessageDelivery::send(hWnd, Msg, wParam, lParam);
}

void PostQuitMessage(int nExitCode) { UserSystem::current().queue()->postQuit(nExitCode); }

BOOL GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (!lpMsg || !validFilterWindow(hWnd)) {
    SetLastError(lpMsg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return -1;
  }
  return MessagePump::get(*lpMsg, filterOf(hWnd, wMsgFilterMin, wMsgFilterMax)) ? TRUE : FALSE;
}

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  if (!lpMsg) return FALSE;
  return MessagePump::peek(*lpMsg, filterOf(hWnd, wMsgFilterMin, wMsgFilterMax), (wRemoveMsg & PM_REMOVE) != 0)
             ? TRUE
             : FALSE;
}

BOOL TranslateMessage(const MSG* lpMsg) { return lpMsg && MessagePump::translate(*lpMsg) ? TRUE : FALSE; }

LRESULT DispatchMessageA(const MSG* lpMsg) { return lpMsg ? MessagePump::dispatch(*lpMsg) : 0; }

BOOL WaitMessage() {
  MessagePump::waitForMessage();
  return TRUE;
}

DWORD MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds,
                                DWORD dwWakeMask) {
  if (nCount >= MAXIMUM_WAIT_OBJECTS || (nCount > 0 && !pHandles)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<plat::Waitable>> objects;
  for (DWORD i = 0; i < nCount; ++i) {
    auto object = plat::HandleTable::instance().getAs<plat::Waitable>(pHandles[i]);
    if (!object) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }
  const auto queue = UserSystem::current().queue();
  const std::function<bool()> arrived = [&] {
    return ((dwWakeMask & QS_SENDMESSAGE) && queue->hasSent()) || ((dwWakeMask & QS_POSTMESSAGE) && queue->hasPosted());
  };
  const plat::MessageQueue::KernelWait waiting(*queue);
  return plat::WaitHub::instance().wait(objects, fWaitAll && nCount > 0, dwMilliseconds,
                                        plat::Machine::current().clock(), arrived);
}

BOOL InSendMessage() { return MessageDelivery::inSendMessage() ? TRUE : FALSE; }

DWORD GetMessageTime() { return MessagePump::lastMessageTime(); }

DWORD GetMessagePos() {
  const POINT pt = MessagePump::lastMessagePoint();
  return static_cast<DWORD>(MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
}

UINT RegisterWindowMessageA(LPCSTR lpString) {
  if (!lpString || !*lpString) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return UserSystem::registerMessage(lpString);
}

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return plat::DefaultProcedure::handle(hWnd, Msg, wParam, lParam);
}

LRESULT CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

HHOOK SetWindowsHookExA(int idHook, HOOKPROC lpfn, HINSTANCE, DWORD dwThreadId) {
  if (idHook != WH_CALLWNDPROC || !lpfn) {
    SetLastError(ERROR_INVALID_HOOK_FILTER);
    return nullptr;
  }
  if (dwThreadId && dwThreadId != GetCurrentThreadId()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto hook = reinterpret_cast<HHOOK>(g_nextHook += 4);
  auto& hooks = system.threadState().callWndProcHooks;
  hooks.insert(hooks.begin(), plat::Hook{hook, lpfn});
  return hook;
}

BOOL UnhookWindowsHookEx(HHOOK hhk) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  auto& hooks = system.threadState().callWndProcHooks;
  if (std::erase_if(hooks, [hhk](const plat::Hook& h) { return h.handle == hhk; }) > 0) return TRUE;
  SetLastError(ERROR_INVALID_HOOK_HANDLE);
  return FALSE;
}

LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam) {
  UserSystem& system = UserSystem::current();
  HOOKPROC next = nullptr;
  {
    std::lock_guard guard(system.lock());
    const auto& hooks = system.threadState().callWndProcHooks;
    const auto it = std::find_if(hooks.begin(), hooks.end(), [hhk](const plat::Hook& h) { return h.handle == hhk; });
    if (it != hooks.end() && it + 1 != hooks.end()) next = (it + 1)->proc;
  }
  return next ? next(nCode, wParam, lParam) : 0;
}

#include <win32/user/FocusManager.h>

#include <win32/error.h>
#include <win32/thread.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/UserSystem.h>
#include <win32/user/WindowPositioner.h>

#include <chrono>

namespace plat {

namespace {

using Delivery = MessageDelivery;

// Call with the user lock held.
HWND rootOf(UserSystem& system, HWND hwnd) {
  auto window = system.window(hwnd);
  while (window && window->isChild()) {
    const auto parent = system.window(window->parent);
    if (!parent) break;
    window = parent;
  }
  return window ? window->handle : nullptr;
}

// True when `hwnd` is `ancestor` or lies inside it. Call with the user lock held.
bool within(UserSystem& system, HWND ancestor, HWND hwnd) {
  for (auto window = system.window(hwnd); window; window = window->isChild() ? system.window(window->parent) : nullptr)
    if (window->handle == ancestor) return true;
  return false;
}

bool isMinimized(UserSystem& system, HWND hwnd) {
  const auto window = system.window(hwnd);
  return window && (window->style & WS_MINIMIZE);
}

std::int64_t monotonicNow() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The window that takes over when `leaving` stops being active: its owner when it can be
// activated, else the first visible, enabled top-level window of the thread.
HWND successorOf(UserSystem& system, HWND leaving) {
  const auto usable = [&](HWND hwnd) {
    const auto window = system.window(hwnd);
    return window && hwnd != leaving && window->threadId == GetCurrentThreadId() && window->life == Window::Life::alive &&
           (window->style & WS_VISIBLE) && !(window->style & WS_DISABLED) && !within(system, leaving, window->owner);
  };
  if (const auto window = system.window(leaving); window && usable(window->owner)) return window->owner;
  for (HWND hwnd : system.windows().topLevel())
    if (usable(hwnd)) return hwnd;
  return nullptr;
}

}  // namespace

HWND FocusManager::focus() {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  return system.threadState().focus;
}

HWND FocusManager::active() {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  return system.threadState().active;
}

HWND FocusManager::capture() {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  return system.threadState().capture;
}

HWND FocusManager::foreground() {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  return system.foreground();
}

HWND FocusManager::setFocus(HWND hwnd) {
  UserSystem& system = UserSystem::current();
  HWND previous = nullptr;
  HWND top = nullptr;
  {
    std::lock_guard guard(system.lock());
    previous = system.threadState().focus;
    if (hwnd) {
      const auto window = system.window(hwnd);
      if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
      if (window->threadId != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
      }
      if (hwnd == previous) return previous;
      top = rootOf(system, hwnd);
    }
  }
  if (top && active() != top) activate(top);
  HWND losing = nullptr;
  {
    std::lock_guard guard(system.lock());
    if (hwnd && !system.window(hwnd)) return previous;
    ThreadState& state = system.threadState();
    if (state.focus == hwnd) return previous;
    losing = state.focus;
    state.focus = hwnd;
  }
  if (losing) Delivery::send(losing, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd) Delivery::send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(losing), 0);
  return previous;
}

HWND FocusManager::activate(HWND hwnd, bool byClick) {
  UserSystem& system = UserSystem::current();
  HWND previous = nullptr;
  bool previousMinimized = false;
  bool minimized = false;
  {
    std::lock_guard guard(system.lock());
    if (hwnd) {
      hwnd = rootOf(system, hwnd);
      const auto window = system.window(hwnd);
      if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
      if (window->threadId != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
      }
      window->raisedAt = monotonicNow();
      WindowPositioner::raise(system, hwnd);
      minimized = (window->style & WS_MINIMIZE) != 0;
    }
    ThreadState& state = system.threadState();
    previous = state.active;
    if (previous == hwnd) return previous;
    state.active = hwnd;
    if (hwnd) system.setForeground(hwnd);
    previousMinimized = isMinimized(system, previous);
  }
  if (previous && IsWindow(previous)) {
    Delivery::send(previous, WM_NCACTIVATE, FALSE, 0);
    Delivery::send(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, previousMinimized), reinterpret_cast<LPARAM>(hwnd));
  }
  if (hwnd) {
    system.publish(hwnd);
    Delivery::send(hwnd, WM_NCACTIVATE, TRUE, 0);
    Delivery::send(hwnd, WM_ACTIVATE, MAKEWPARAM(byClick ? WA_CLICKACTIVE : WA_ACTIVE, minimized),
                   reinterpret_cast<LPARAM>(previous));
  } else if (focus()) {
    setFocus(nullptr);
  }
  return previous;
}

HWND FocusManager::setCapture(HWND hwnd) {
  UserSystem& system = UserSystem::current();
  HWND previous = nullptr;
  {
    std::lock_guard guard(system.lock());
    if (hwnd && !system.window(hwnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    ThreadState& state = system.threadState();
    previous = state.capture;
    state.capture = hwnd;
  }
  if (previous && previous != hwnd) Delivery::send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return previous;
}

bool FocusManager::releaseCapture() {
  UserSystem& system = UserSystem::current();
  HWND previous = nullptr;
  {
    std::lock_guard guard(system.lock());
    ThreadState& state = system.threadState();
    previous = state.capture;
    state.capture = nullptr;
  }
  if (previous) Delivery::send(previous, WM_CAPTURECHANGED, 0, 0);
  return true;
}

void FocusManager::windowLeaving(HWND hwnd) {
  UserSystem& system = UserSystem::current();
  bool captureInside = false;
  bool focusInside = false;
  bool activeInside = false;
  HWND parent = nullptr;
  HWND successor = nullptr;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) return;
    const ThreadState& state = system.threadState(window->threadId);
    captureInside = state.capture && within(system, hwnd, state.capture);
    focusInside = state.focus && within(system, hwnd, state.focus);
    activeInside = state.active && within(system, hwnd, state.active);
    parent = window->isChild() ? window->parent : nullptr;
    if (activeInside) successor = successorOf(system, hwnd);
  }
  if (captureInside) releaseCapture();
  if (activeInside) {
    activate(successor);
  } else if (focusInside) {
    setFocus(parent);
  }
}

}  // namespace plat

// Reading and changing a window's state under the user lock, for the window functions.
#pragma once

#include <win32/error.h>
#include <win32/user/UserSystem.h>

#include <mutex>

namespace plat {

// Calls `f(Window&)` with the user lock held and returns its result; `fallback` with
// ERROR_INVALID_WINDOW_HANDLE when `hwnd` names no live window of this process.
template <class F, class R>
R withWindow(HWND hwnd, R fallback, F f) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return fallback;
  }
  return f(*window);
}

}  // namespace plat

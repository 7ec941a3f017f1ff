// What each thread owns of the input and the hooks: its active, focus and capture windows,
// its cursor display counter and its WH_CALLWNDPROC hooks (newest first). Guarded by the
// user lock.
#pragma once

#include <win32/user/message.h>

#include <vector>

namespace plat {

struct Hook {
  HHOOK handle;
  HOOKPROC proc;
};

struct ThreadState {
  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  int cursorCount = 0;
  std::vector<Hook> callWndProcHooks;
};

}  // namespace plat

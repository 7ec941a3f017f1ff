// What each thread owns of the input and the hooks: its active, focus and capture windows,
// its cursor display counter, its WH_CALLWNDPROC hooks (newest first) and its key state as
// of the input it has taken from its queue (GetKeyState), which may lag behind the
// keyboard itself (GetAsyncKeyState). Guarded by the user lock.
#pragma once

#include <win32/user/message.h>

#include <bitset>
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
  std::bitset<256> keyDown;
  std::bitset<256> keyToggled;
};

}  // namespace plat

// What each thread owns of the input and the hooks: its active, focus and capture windows,
// its caret, its cursor display counter, its WH_CALLWNDPROC hooks (newest first) and its
// key state as of the input it has taken from its queue (GetKeyState), which may lag
// behind the keyboard itself (GetAsyncKeyState). Guarded by the user lock.
#pragma once

#include <win32/user/message.h>

#include <bitset>
#include <vector>

namespace plat {

struct Hook {
  HHOOK handle;
  HOOKPROC proc;
};

// The thread's caret; no owner means none. It shows while `hidden` is 0.
struct Caret {
  HWND owner = nullptr;
  SIZE size{0, 0};
  POINT position{0, 0};
  int hidden = 1;
};

struct ThreadState {
  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  Caret caret;
  int cursorCount = 0;
  std::vector<Hook> callWndProcHooks;
  std::bitset<256> keyDown;
  std::bitset<256> keyToggled;
};

}  // namespace plat

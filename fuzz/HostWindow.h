// The window a fuzz target's library shows its video in, as its host program would give
// one: visible, top-level, made once per process.
#pragma once

#include "FuzzMachine.h"

#include <win32/user.h>

namespace fuzz {

inline HWND HostWindow() {
  static HWND made = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "FuzzVideoHost";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "FuzzVideoHost", "Video", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 360, 300, nullptr,
                           nullptr, nullptr, nullptr);
  }();
  if (!made) fail("the host window is made");
  return made;
}

}  // namespace fuzz

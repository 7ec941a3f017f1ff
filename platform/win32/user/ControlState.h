// The window procedure shape every stateful standard control shares: the control's state
// object is made at WM_NCCREATE, kept in a window property, handed every message, and
// deleted at WM_NCDESTROY.
#pragma once

#include <win32/user/window.h>

namespace plat {

template <class State, class Make, class Handle>
LRESULT routeToState(const char* prop, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Make make, Handle handle) {
  if (message == WM_NCCREATE) SetPropA(hwnd, prop, reinterpret_cast<HANDLE>(make(hwnd)));
  if (message == WM_NCDESTROY) {
    delete reinterpret_cast<State*>(RemovePropA(hwnd, prop));
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  auto* state = reinterpret_cast<State*>(GetPropA(hwnd, prop));
  if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
  return (state->*handle)(message, wParam, lParam);
}

}  // namespace plat

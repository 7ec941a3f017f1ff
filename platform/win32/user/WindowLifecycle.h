// Creating and destroying windows, in the order of messages Windows uses (see window.h).
#pragma once

#include <win32/user/window.h>

#include <functional>

namespace plat {

class WindowLifecycle {
 public:
  // Called once, on the calling thread, for the next window it creates: after the window
  // exists and before it gets its first message (how a framework attaches its object and
  // subclasses the window, as MFC does with its creation hook).
  using CreationObserver = std::function<void(HWND)>;
  static void observeNextCreation(CreationObserver observer);

  // `cs` as passed to CreateWindowExA; the geometry may still hold CW_USEDEFAULT.
  static HWND create(CREATESTRUCTA cs);
  static bool destroy(HWND hwnd);

 private:
  static void sendDestroy(HWND hwnd);
  static void sendNcDestroy(HWND hwnd);
  static void release(HWND hwnd);
};

}  // namespace plat

#include <win32/user/WindowLifecycle.h>

#include <win32/error.h>
#include <win32/gdi/WindowGraphics.h>
#include <win32/thread.h>
#include <win32/user/FocusManager.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/UpdateRegion.h>
#include <win32/user/UserSystem.h>
#include <win32/user/WindowGeometry.h>
#include <win32/user/WindowPositioner.h>
#include <win32/user/usererror.h>

#include <algorithm>
#include <chrono>

namespace plat {

namespace {

using Delivery = MessageDelivery;

thread_local WindowLifecycle::CreationObserver t_creationObserver;

LRESULT call(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Delivery::call(hwnd, message, wParam, lParam, true);
}

// Where a top-level window goes when its creator leaves the place to the system.
RECT defaultPlacement(const CREATESTRUCTA& cs, const RECT& workArea) {
  int x = cs.x;
  int y = cs.y;
  int cx = cs.cx;
  int cy = cs.cy;
  const bool overlapped = !(cs.style & (WS_POPUP | WS_CHILD));
  if (x == CW_USEDEFAULT) {
    x = overlapped ? workArea.left + 22 : 0;
    y = overlapped ? workArea.top + 22 : 0;
  }
  if (cx == CW_USEDEFAULT) {
    cx = overlapped ? (workArea.right - workArea.left) * 3 / 4 : 0;
    cy = overlapped ? (workArea.bottom - workArea.top) * 3 / 4 : 0;
  }
  return RECT{x, y, endOf(x, cx), endOf(y, cy)};
}

std::int64_t monotonicNow() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

void WindowLifecycle::observeNextCreation(CreationObserver observer) { t_creationObserver = std::move(observer); }

HWND WindowLifecycle::create(CREATESTRUCTA cs) {
  UserSystem& system = UserSystem::current();
  system.queue();
  HWND hwnd = nullptr;
  {
    std::lock_guard guard(system.lock());
    auto cls = system.classes().find(cs.lpszClass);
    if (!cls) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    HWND parent = nullptr;
    HWND owner = nullptr;
    if (cs.style & WS_CHILD) {
      if (!cs.hwndParent) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
      }
      if (!system.window(cs.hwndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
      parent = cs.hwndParent;
    } else {
      if (cs.hwndParent) {
        auto top = system.window(cs.hwndParent);
        if (!top) {
          SetLastError(ERROR_INVALID_WINDOW_HANDLE);
          return nullptr;
        }
        while (top->isChild())
          if (const auto up = system.window(top->parent)) top = up; else break;
        owner = top->handle;
      }
      // Top-level windows always clip their siblings; overlapped ones always have a caption.
      cs.style |= WS_CLIPSIBLINGS;
      if (!(cs.style & WS_POPUP)) cs.style |= WS_CAPTION;
    }
    const RECT rect = defaultPlacement(cs, system.metrics().workArea());
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;

    auto window = std::make_shared<Window>(WindowTable::newHandle(), std::move(cls), GetCurrentThreadId());
    hwnd = window->handle;
    window->style = static_cast<DWORD>(cs.style) & ~static_cast<DWORD>(WS_VISIBLE);
    window->exStyle = cs.dwExStyle;
    window->parent = parent;
    window->owner = owner;
    window->id = parent ? reinterpret_cast<LONG_PTR>(cs.hMenu) : 0;
    window->instance = cs.hInstance;
    window->rect = window->client = rect;
    window->raisedAt = monotonicNow();
    system.windows().add(window);
    if (parent) {
      // A new child goes to the bottom of its siblings: controls stack in creation order.
      system.window(parent)->children.push_back(hwnd);
    } else {
      system.windows().topLevel().push_back(hwnd);
      WindowPositioner::raise(system, hwnd);
    }
  }
  if (auto observer = std::exchange(t_creationObserver, nullptr)) observer(hwnd);

  const DWORD style = static_cast<DWORD>(cs.style);
  if ((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD))) {
    const MINMAXINFO info = WindowPositioner::minMaxInfo(hwnd);
    cs.cx = std::clamp<int>(cs.cx, info.ptMinTrackSize.x, std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
    cs.cy = std::clamp<int>(cs.cy, info.ptMinTrackSize.y, std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
    std::lock_guard guard(system.lock());
    if (const auto window = system.window(hwnd))
      window->rect = window->client = RECT{cs.x, cs.y, endOf(cs.x, cs.cx), endOf(cs.y, cs.cy)};
  }
  if (!call(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    sendNcDestroy(hwnd);
    return nullptr;
  }
  RECT client{cs.x, cs.y, endOf(cs.x, cs.cx), endOf(cs.y, cs.cy)};
  {
    // A system control may size itself as it is made (a drop-down combo box is its field).
    std::lock_guard guard(system.lock());
    if (const auto window = system.window(hwnd)) window->rect = client;
  }
  call(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
  {
    std::lock_guard guard(system.lock());
    if (const auto window = system.window(hwnd)) window->client = client;
  }
  if (call(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    destroy(hwnd);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) return nullptr;
    window->life = Window::Life::alive;
    client = window->client;
  }
  call(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right - client.left, client.bottom - client.top));
  call(hwnd, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
  if (!(style & WS_CHILD)) system.publish(hwnd);
  if (style & WS_VISIBLE) WindowPositioner::show(hwnd, SW_SHOW);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

bool WindowLifecycle::destroy(HWND hwnd) {
  UserSystem& system = UserSystem::current();
  std::vector<HWND> owned;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return false;
    }
    if (window->threadId != GetCurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
    if (window->life == Window::Life::destroying) return true;
    window->life = Window::Life::destroying;
    for (HWND other : system.windows().topLevel())
      if (const auto w = system.window(other); w && w->owner == hwnd) owned.push_back(other);
  }
  for (HWND other : owned) destroy(other);
  FocusManager::windowLeaving(hwnd);
  HWND uncovered = nullptr;
  RECT place{};
  {
    std::lock_guard guard(system.lock());
    if (const auto window = system.window(hwnd)) {
      if (window->isChild() && (window->style & WS_VISIBLE)) {
        uncovered = window->parent;
        place = window->rect;
      }
      window->style &= ~static_cast<DWORD>(WS_VISIBLE);
    }
  }
  if (uncovered) UpdateRegion::invalidateUncovered(uncovered, Region(place));
  sendDestroy(hwnd);
  sendNcDestroy(hwnd);
  return true;
}

void WindowLifecycle::sendDestroy(HWND hwnd) {
  call(hwnd, WM_DESTROY, 0, 0);
  std::vector<HWND> children;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) return;
    children = window->children;
    for (HWND child : children)
      if (const auto w = system.window(child)) w->life = Window::Life::destroying;
  }
  for (HWND child : children) sendDestroy(child);
}

void WindowLifecycle::sendNcDestroy(HWND hwnd) {
  std::vector<HWND> children;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) return;
    children = window->children;
  }
  for (HWND child : children) sendNcDestroy(child);
  call(hwnd, WM_NCDESTROY, 0, 0);
  release(hwnd);
}

void WindowLifecycle::release(HWND hwnd) {
  UserSystem& system = UserSystem::current();
  std::shared_ptr<MessageQueue> queue;
  bool topLevel = false;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) return;
    if (window->isChild()) {
      if (const auto parent = system.window(window->parent)) std::erase(parent->children, hwnd);
    }
    topLevel = !window->isChild();
    ThreadState& state = system.threadState(window->threadId);
    if (state.focus == hwnd) state.focus = nullptr;
    if (state.active == hwnd) state.active = nullptr;
    if (state.capture == hwnd) state.capture = nullptr;
    if (state.caret.owner == hwnd) state.caret = Caret{};
    if (system.foreground() == hwnd) system.setForeground(nullptr);
    queue = system.queueOf(window->threadId);
    system.windows().remove(hwnd);
  }
  WindowGraphics::current().forget(hwnd);
  if (queue) {
    queue->killTimers(hwnd);
    queue->purge(hwnd);
  }
  if (topLevel) system.unpublish(hwnd);
}

}  // namespace plat

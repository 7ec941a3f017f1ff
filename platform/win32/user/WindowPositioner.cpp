#include <win32/user/WindowPositioner.h>

#include <win32/error.h>
#include <win32/user/FocusManager.h>
#include <win32/user/Frame.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/UpdateRegion.h>
#include <win32/user/UserSystem.h>
#include <win32/user/WindowGeometry.h>
#include <win32/user/metrics.h>

#include <algorithm>
#include <climits>

namespace plat {

namespace {

using Delivery = MessageDelivery;

bool tracksSize(DWORD style) { return (style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD)); }

// Windows parks minimized top-level windows far off the screen.
constexpr int kMinimizedPosition = -32000;

bool hasFrame(const Window& window) {
  return window.client.left != window.rect.left || window.client.top != window.rect.top ||
         window.client.right != window.rect.right || window.client.bottom != window.rect.bottom;
}

// The whole client area to paint and erase; a shown window's frame with its next paint.
void expose(Window& window) {
  window.updateRegion = Region(RECT{0, 0, window.client.right - window.client.left, window.client.bottom - window.client.top});
  window.eraseOnPaint = true;
  if (hasFrame(window) && (window.style & WS_VISIBLE)) window.framePending = true;
}

// Children paint into their top-level window's pixels, under whatever their parents paint
// there: what is redrawn of a window is redrawn of every shown child in it. Hidden ones
// are redrawn when they are shown.
void exposeChildren(UserSystem& system, const Window& window) {
  for (HWND hwnd : window.children) {
    const auto child = system.window(hwnd);
    if (!child || !(child->style & WS_VISIBLE)) continue;
    expose(*child);
    exposeChildren(system, *child);
  }
}

void moveInFront(std::vector<HWND>& order, HWND hwnd, std::size_t position) {
  std::erase(order, hwnd);
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(std::min(position, order.size())), hwnd);
}

}  // namespace

void WindowPositioner::raise(UserSystem& system, HWND hwnd) {
  const auto window = system.window(hwnd);
  if (!window) return;
  if (window->isChild()) {
    if (const auto parent = system.window(window->parent)) moveInFront(parent->children, hwnd, 0);
    return;
  }
  auto& order = system.windows().topLevel();
  std::size_t position = 0;
  if (!(window->exStyle & WS_EX_TOPMOST)) {
    while (position < order.size()) {
      const auto other = system.window(order[position]);
      if (!other || !(other->exStyle & WS_EX_TOPMOST) || other->handle == hwnd) break;
      ++position;
    }
  }
  moveInFront(order, hwnd, position);
  // Owned windows stay in front of their owner.
  std::vector<HWND> owned;
  for (HWND other : order)
    if (const auto w = system.window(other); w && w->owner == hwnd) owned.push_back(other);
  for (auto it = owned.rbegin(); it != owned.rend(); ++it) raise(system, *it);
}

void WindowPositioner::restack(UserSystem& system, HWND hwnd, HWND insertAfter) {
  const auto window = system.window(hwnd);
  if (!window) return;
  if (!window->isChild()) {
    if (insertAfter == HWND_TOPMOST) window->exStyle |= WS_EX_TOPMOST;
    if (insertAfter == HWND_NOTOPMOST) window->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
  }
  if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    raise(system, hwnd);
    return;
  }
  const auto parent = window->isChild() ? system.window(window->parent) : nullptr;
  auto& order = parent ? parent->children : system.windows().topLevel();
  if (insertAfter == HWND_BOTTOM) {
    std::erase(order, hwnd);
    order.push_back(hwnd);
    if (!window->isChild()) window->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
    return;
  }
  const auto after = std::find(order.begin(), order.end(), insertAfter);
  if (after == order.end() || insertAfter == hwnd) return;
  std::erase(order, hwnd);
  order.insert(std::find(order.begin(), order.end(), insertAfter) + 1, hwnd);
}

MINMAXINFO WindowPositioner::minMaxInfo(HWND hwnd) {
  UserSystem& system = UserSystem::current();
  MINMAXINFO info{};
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) return info;
    const SystemMetrics& metrics = system.metrics();
    const RECT frame = Frame(window->style, window->exStyle, metrics).insets(false);
    RECT area = metrics.workArea();
    if (window->isChild()) {
      const auto parent = system.window(window->parent);
      area = parent ? RECT{0, 0, parent->client.right - parent->client.left, parent->client.bottom - parent->client.top}
                    : RECT{};
    }
    info.ptMaxSize = POINT{area.right - area.left + frame.left + frame.right, area.bottom - area.top + frame.left + frame.right};
    info.ptMaxPosition = POINT{-frame.left, -frame.left};
    info.ptMinTrackSize = POINT{metrics.metric(SM_CXMINTRACK), metrics.metric(SM_CYMINTRACK)};
    info.ptMaxTrackSize = POINT{metrics.metric(SM_CXMAXTRACK), metrics.metric(SM_CYMAXTRACK)};
  }
  Delivery::send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return info;
}

void WindowPositioner::defaultPosChanging(HWND hwnd, WINDOWPOS& pos) {
  if (pos.flags & SWP_NOSIZE) return;
  DWORD style = 0;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window || (window->style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
    style = window->style;
  }
  if (!tracksSize(style)) return;
  const MINMAXINFO info = minMaxInfo(hwnd);
  pos.cx = std::clamp<int>(pos.cx, info.ptMinTrackSize.x, std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
  pos.cy = std::clamp<int>(pos.cy, info.ptMinTrackSize.y, std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
}

void WindowPositioner::defaultPosChanged(HWND hwnd, const WINDOWPOS& pos) {
  RECT client{};
  DWORD style = 0;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) return;
    client = window->client;
    style = window->style;
  }
  if (!(pos.flags & kNoClientMove)) Delivery::send(hwnd, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
  if (!(pos.flags & kNoClientSize)) {
    const WPARAM type = (style & WS_MINIMIZE) ? SIZE_MINIMIZED : (style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
    Delivery::send(hwnd, WM_SIZE, type, MAKELPARAM(client.right - client.left, client.bottom - client.top));
  }
}

bool WindowPositioner::setWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  UserSystem& system = UserSystem::current();
  WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
  RECT oldRect{};
  RECT oldClient{};
  bool wasVisible = false;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return false;
    }
    oldRect = window->rect;
    oldClient = window->client;
    wasVisible = (window->style & WS_VISIBLE) != 0;
  }
  const auto keepUnchanged = [&] {
    if (pos.flags & SWP_NOMOVE) {
      pos.x = oldRect.left;
      pos.y = oldRect.top;
    }
    if (pos.flags & SWP_NOSIZE) {
      pos.cx = static_cast<int>(std::min<long long>(static_cast<long long>(oldRect.right) - oldRect.left, INT_MAX));
      pos.cy = static_cast<int>(std::min<long long>(static_cast<long long>(oldRect.bottom) - oldRect.top, INT_MAX));
    }
  };
  keepUnchanged();
  if (!(flags & SWP_NOSENDCHANGING)) Delivery::send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  keepUnchanged();

  const RECT newRect{pos.x, pos.y, endOf(pos.x, pos.cx), endOf(pos.y, pos.cy)};
  const bool sized = pos.cx != static_cast<long long>(oldRect.right) - oldRect.left ||
                     pos.cy != static_cast<long long>(oldRect.bottom) - oldRect.top;
  RECT newClient = offsetRect(oldClient, static_cast<long long>(newRect.left) - oldRect.left,
                              static_cast<long long>(newRect.top) - oldRect.top);
  if (sized || (pos.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS params{{newRect, oldRect, oldClient}, &pos};
    Delivery::send(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    newClient = params.rgrc[0];
  }

  bool isTopLevel = false;
  bool nowVisible = false;
  HWND parent = nullptr;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) return false;
    window->rect = newRect;
    window->client = newClient;
    if (!(pos.flags & SWP_NOZORDER)) restack(system, hwnd, pos.hwndInsertAfter);
    if (pos.flags & SWP_SHOWWINDOW) window->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW) window->style &= ~static_cast<DWORD>(WS_VISIBLE);
    nowVisible = (window->style & WS_VISIBLE) != 0;
    isTopLevel = !window->isChild();
    if (!isTopLevel) parent = window->parent;
    // A child's pixels do not travel with it inside its top-level window: moved, it is
    // drawn again at its new place.
    const bool moved = !isTopLevel && (newRect.left != oldRect.left || newRect.top != oldRect.top);
    const bool exposed = sized || moved || (nowVisible && !wasVisible);
    if (exposed && !(pos.flags & SWP_NOREDRAW)) {
      expose(*window);
      if (nowVisible) exposeChildren(system, *window);
    }
    // A framed window also gets WM_NCPAINT with its next paint when its frame changes.
    if (hasFrame(*window) && nowVisible && (pos.flags & SWP_FRAMECHANGED) && !(pos.flags & SWP_NOREDRAW))
      window->framePending = true;
  }
  if (parent && !(pos.flags & SWP_NOREDRAW)) {
    const Region left = (wasVisible ? Region(oldRect) : Region()).subtracted(nowVisible ? Region(newRect) : Region());
    if (!left.isEmpty()) UpdateRegion::invalidateUncovered(parent, left);
  }
  if (wasVisible && !nowVisible) FocusManager::windowLeaving(hwnd);
  if (isTopLevel && nowVisible && !(pos.flags & SWP_NOACTIVATE)) FocusManager::activate(hwnd);

  if (newClient.left == oldClient.left && newClient.top == oldClient.top) pos.flags |= kNoClientMove;
  if (newClient.right - newClient.left == oldClient.right - oldClient.left &&
      newClient.bottom - newClient.top == oldClient.bottom - oldClient.top)
    pos.flags |= kNoClientSize;
  pos.x = newRect.left;
  pos.y = newRect.top;
  pos.cx = newRect.right - newRect.left;
  pos.cy = newRect.bottom - newRect.top;
  Delivery::send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  if (isTopLevel && !(pos.flags & SWP_NOZORDER)) system.publish(hwnd);
  return true;
}

RECT WindowPositioner::minimizedRect(HWND hwnd) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const int cx = system.metrics().metric(SM_CXMINIMIZED);
  const int cy = system.metrics().metric(SM_CYMINIMIZED);
  const auto window = system.window(hwnd);
  if (window && window->isChild()) return RECT{0, 0, cx, cy};
  return RECT{kMinimizedPosition, kMinimizedPosition, kMinimizedPosition + cx, kMinimizedPosition + cy};
}

namespace {

// The top-level windows `owner` owns, front first.
std::vector<HWND> ownedWindows(HWND owner) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  std::vector<HWND> owned;
  for (HWND hwnd : system.windows().topLevel()) {
    const auto window = system.window(hwnd);
    if (window && window->owner == owner) owned.push_back(hwnd);
  }
  return owned;
}

// Marks the window hidden with its owner (`hidden`) or takes the mark back; whether it
// was visible (respectively marked) before.
bool changeHiddenWithOwner(HWND hwnd, bool hidden) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hwnd);
  if (!window) return false;
  const bool was = hidden ? (window->style & WS_VISIBLE) != 0 : window->hiddenWithOwner;
  if (was) window->hiddenWithOwner = hidden;
  return was;
}

constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

void WindowPositioner::hideOwnedWindows(HWND owner) {
  for (HWND hwnd : ownedWindows(owner)) {
    if (changeHiddenWithOwner(hwnd, true)) {
      Delivery::send(hwnd, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
      setWindowPos(hwnd, nullptr, 0, 0, 0, 0, kKeepPlace | SWP_HIDEWINDOW);
    }
    hideOwnedWindows(hwnd);
  }
}

void WindowPositioner::showOwnedWindows(HWND owner) {
  for (HWND hwnd : ownedWindows(owner)) {
    if (changeHiddenWithOwner(hwnd, false)) {
      Delivery::send(hwnd, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
      setWindowPos(hwnd, nullptr, 0, 0, 0, 0, kKeepPlace | SWP_SHOWWINDOW);
    }
    showOwnedWindows(hwnd);
  }
}

bool WindowPositioner::show(HWND hwnd, int command) {
  UserSystem& system = UserSystem::current();
  bool wasVisible = false;
  bool isChild = false;
  DWORD state = 0;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return false;
    }
    wasVisible = (window->style & WS_VISIBLE) != 0;
    isChild = window->isChild();
    state = window->style & (WS_MINIMIZE | WS_MAXIMIZE);
    // Shown or hidden by the program itself, it no longer waits for its owner.
    window->hiddenWithOwner = false;
  }

  DWORD wantedState = state;
  bool activate = !isChild;
  switch (command) {
    case SW_HIDE:
      break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
      activate = false;
      wantedState = WS_MINIMIZE;
      break;
    case SW_SHOWMINIMIZED:
      wantedState = WS_MINIMIZE;
      break;
    case SW_SHOWMAXIMIZED:
      wantedState = WS_MAXIMIZE;
      break;
    case SW_SHOWNOACTIVATE:
      activate = false;
      wantedState = 0;
      break;
    case SW_SHOWNA:
      activate = false;
      break;
    case SW_SHOW:
      break;
    default:  // SW_SHOWNORMAL, SW_RESTORE, SW_SHOWDEFAULT
      wantedState = 0;
      break;
  }
  const bool showIt = command != SW_HIDE;
  if (!showIt && !wasVisible) return false;

  UINT flags = showIt ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  if (!activate || !showIt) flags |= SWP_NOACTIVATE;
  if (isChild || !activate) flags |= SWP_NOZORDER;
  RECT target{};
  if (wantedState != state) {
    RECT current{};
    {
      std::lock_guard guard(system.lock());
      const auto window = system.window(hwnd);
      if (!window) return wasVisible;
      current = window->rect;
      if (!state) window->normalRect = current;
      if (wantedState == WS_MINIMIZE) window->minPosition = POINT{kMinimizedPosition, kMinimizedPosition};
    }
    if (wantedState == WS_MINIMIZE) {
      target = minimizedRect(hwnd);
    } else if (wantedState == WS_MAXIMIZE) {
      const MINMAXINFO info = minMaxInfo(hwnd);
      std::lock_guard guard(system.lock());
      const RECT area = isChild ? RECT{} : system.metrics().workArea();
      const POINT origin{area.left + info.ptMaxPosition.x, area.top + info.ptMaxPosition.y};
      target = RECT{origin.x, origin.y, origin.x + info.ptMaxSize.x, origin.y + info.ptMaxSize.y};
      if (const auto window = system.window(hwnd)) window->maxPosition = origin;
    } else {
      std::lock_guard guard(system.lock());
      const auto window = system.window(hwnd);
      if (window) target = window->normalRect;
    }
    {
      std::lock_guard guard(system.lock());
      const auto window = system.window(hwnd);
      if (!window) return wasVisible;
      window->style = (window->style & ~static_cast<DWORD>(WS_MINIMIZE | WS_MAXIMIZE)) | wantedState;
    }
    flags |= SWP_FRAMECHANGED;
  } else {
    flags |= SWP_NOMOVE | SWP_NOSIZE;
  }
  if (showIt != wasVisible) Delivery::send(hwnd, WM_SHOWWINDOW, showIt, 0);
  setWindowPos(hwnd, HWND_TOP, target.left, target.top, target.right - target.left, target.bottom - target.top, flags);
  if (!isChild && showIt && wantedState == WS_MINIMIZE && state != WS_MINIMIZE) hideOwnedWindows(hwnd);
  if (!isChild && showIt && wantedState != WS_MINIMIZE && state == WS_MINIMIZE) showOwnedWindows(hwnd);
  if (wantedState == WS_MINIMIZE && !activate) FocusManager::windowLeaving(hwnd);
  return wasVisible;
}

}  // namespace plat

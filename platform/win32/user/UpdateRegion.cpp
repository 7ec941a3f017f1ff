#include <win32/user/UpdateRegion.h>

#include <win32/gdi/WindowGraphics.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/Window.h>
#include <win32/user/WindowAccess.h>

namespace plat {

namespace {

Region clientArea(const Window& window) {
  return Region(RECT{0, 0, window.client.right - window.client.left, window.client.bottom - window.client.top});
}

// `area` is in the window's client coordinates. Call with the user lock held.
void invalidateTree(UserSystem& system, Window& window, Region area) {
  const Region added = area.intersected(clientArea(window));
  if (added.isEmpty()) return;
  window.updateRegion = window.updateRegion.united(added);
  window.eraseOnPaint = true;
  for (HWND hwnd : window.children) {
    const auto child = system.window(hwnd);
    if (!child || !(child->style & WS_VISIBLE) || !area.intersects(child->rect)) continue;
    const Region onChild = area.intersected(child->rect);
    if (!onChild.subtracted(Region(child->client)).isEmpty()) child->framePending = true;
    Region inChild = onChild;
    inChild.translate(-child->client.left, -child->client.top);
    invalidateTree(system, *child, std::move(inChild));
  }
}

}  // namespace

bool UpdateRegion::invalidate(HWND hwnd, const std::optional<Region>& area, bool erase) {
  return withWindow(hwnd, false, [&](Window& window) {
    const Region added = area ? area->intersected(clientArea(window)) : clientArea(window);
    window.updateRegion = window.updateRegion.united(added);
    if (erase && !added.isEmpty()) window.eraseOnPaint = true;
    return true;
  });
}

bool UpdateRegion::invalidateFrame(HWND hwnd) {
  return withWindow(hwnd, false, [](Window& window) {
    window.framePending = true;
    return true;
  });
}

bool UpdateRegion::requestErase(HWND hwnd) {
  return withWindow(hwnd, false, [](Window& window) {
    if (!window.updateRegion.isEmpty()) window.eraseOnPaint = true;
    return true;
  });
}

bool UpdateRegion::validate(HWND hwnd, const std::optional<Region>& area) {
  return withWindow(hwnd, false, [&](Window& window) {
    window.updateRegion = area ? window.updateRegion.subtracted(*area) : Region();
    if (window.updateRegion.isEmpty()) {
      window.eraseOnPaint = false;
      window.framePending = false;
    }
    return true;
  });
}

std::optional<Region> UpdateRegion::of(HWND hwnd) {
  return withWindow(hwnd, std::optional<Region>(), [](Window& window) {
    return std::optional<Region>(window.updateRegion);
  });
}

std::optional<UpdateRegion::Taken> UpdateRegion::take(HWND hwnd) {
  return withWindow(hwnd, std::optional<Taken>(), [](Window& window) {
    Taken taken{std::move(window.updateRegion), window.eraseOnPaint, window.framePending};
    window.updateRegion = Region();
    window.eraseOnPaint = false;
    window.framePending = false;
    return std::optional<Taken>(std::move(taken));
  });
}

void UpdateRegion::invalidateUncovered(HWND parent, const Region& area) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(parent);
  if (window && (window->style & WS_VISIBLE)) invalidateTree(system, *window, area);
}

void UpdateRegion::eraseNow(HWND hwnd) {
  std::optional<Region> region;
  withWindow(hwnd, false, [&](Window& window) {
    if (!window.eraseOnPaint) return false;
    window.eraseOnPaint = false;
    region = window.updateRegion;
    return true;
  });
  if (!region) return;
  WindowGraphics& graphics = WindowGraphics::current();
  const HDC hdc = graphics.openDc(hwnd, WindowGraphics::Area::Client, &*region);
  const bool erased = MessageDelivery::send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) != 0;
  graphics.releaseDc(hdc);
  if (!erased) requestErase(hwnd);
}

}  // namespace plat

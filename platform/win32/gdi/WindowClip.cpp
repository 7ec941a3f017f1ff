#include <win32/gdi/WindowClip.h>

#include <win32/user/window.h>

#include <algorithm>
#include <climits>

namespace plat {

namespace {

// `from` + `by`, held to the int range: a window's far edges stay in it.
LONG heldSum(long long from, long long by) {
  return static_cast<LONG>(std::clamp<long long>(from + by, INT_MIN, INT_MAX));
}

RECT clientOnScreen(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  POINT tl{0, 0};
  ClientToScreen(hwnd, &tl);
  return RECT{tl.x, tl.y, heldSum(tl.x, r.right), heldSum(tl.y, r.bottom)};
}

RECT windowOnScreen(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

bool isChild(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0; }
bool isShown(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

Region moved(Region region, int dx, int dy) {
  region.translate(dx, dy);
  return region;
}

}  // namespace

Region WindowClip::outline(const WindowGraphics& graphics, HWND hwnd) {
  const RECT r = windowOnScreen(hwnd);
  Region shape(r);
  if (const auto region = graphics.regionOf(hwnd)) shape = shape.intersected(moved(*region, r.left, r.top));
  return shape;
}

std::optional<WindowClip::Placement> WindowClip::place(const WindowGraphics& graphics, HWND hwnd,
                                                       WindowGraphics::Area area) {
  if (!IsWindow(hwnd)) return std::nullopt;
  Placement p;
  p.topLevel = GetAncestor(hwnd, GA_ROOT);
  if (!p.topLevel) p.topLevel = hwnd;
  p.topLevelRect = windowOnScreen(p.topLevel);
  const RECT areaRect = area == WindowGraphics::Area::Client ? clientOnScreen(hwnd) : windowOnScreen(hwnd);
  // An area far from its top-level window has nothing visible; its origin is then held.
  p.origin = POINT{heldSum(areaRect.left, -static_cast<long long>(p.topLevelRect.left)),
                   heldSum(areaRect.top, -static_cast<long long>(p.topLevelRect.top))};

  // Everything in screen coordinates first, cut to the top-level window's pixels.
  Region visible = Region(areaRect).intersected(WindowGraphics::pixelsOnScreen(p.topLevelRect));
  for (HWND w = hwnd; w; w = isChild(w) ? GetAncestor(w, GA_PARENT) : nullptr) {
    visible = visible.intersected(outline(graphics, w));
    if (!isChild(w)) break;
    const HWND parent = GetAncestor(w, GA_PARENT);
    visible = visible.intersected(Region(clientOnScreen(parent)));
    if (GetWindowLongA(w, GWL_STYLE) & WS_CLIPSIBLINGS)
      for (HWND above = GetWindow(w, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
        if (isShown(above)) visible = visible.subtracted(outline(graphics, above));
  }
  if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CLIPCHILDREN)
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (isShown(child)) visible = visible.subtracted(outline(graphics, child));
  visible.translate(-static_cast<long long>(p.topLevelRect.left), -static_cast<long long>(p.topLevelRect.top));
  p.visible = std::move(visible);
  return p;
}

}  // namespace plat

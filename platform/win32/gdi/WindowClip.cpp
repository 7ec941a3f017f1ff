#include <win32/gdi/WindowClip.h>

#include <win32/user/window.h>

namespace plat {

namespace {

RECT clientOnScreen(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  POINT tl{0, 0};
  ClientToScreen(hwnd, &tl);
  return RECT{tl.x, tl.y, tl.x + r.right, tl.y + r.bottom};
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
  p.origin = POINT{areaRect.left - p.topLevelRect.left, areaRect.top - p.topLevelRect.top};

  // Everything in screen coordinates first.
  Region visible(areaRect);
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
  visible.translate(-p.topLevelRect.left, -p.topLevelRect.top);
  p.visible = std::move(visible);
  return p;
}

}  // namespace plat

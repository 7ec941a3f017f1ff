#include <win32/user/WindowGeometry.h>

#include <win32/user/WindowTable.h>

#include <algorithm>
#include <limits>

namespace plat {

namespace {

// `value` moved by `by`, held to the int range.
LONG moved(LONG value, int by) {
  const long long sum = static_cast<long long>(value) + by;
  return static_cast<LONG>(std::clamp<long long>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

RECT offsetRect(RECT r, int dx, int dy) {
  return RECT{moved(r.left, dx), moved(r.top, dy), moved(r.right, dx), moved(r.bottom, dy)};
}

bool pointInRect(const RECT& r, POINT pt) { return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom; }

POINT WindowGeometry::parentOrigin(const Window& window) const {
  if (!window.isChild()) return POINT{0, 0};
  const auto parent = m_windows.find(window.parent);
  return parent ? clientOrigin(*parent) : POINT{0, 0};
}

POINT WindowGeometry::clientOrigin(const Window& window) const {
  const POINT origin = parentOrigin(window);
  return POINT{origin.x + window.client.left, origin.y + window.client.top};
}

RECT WindowGeometry::windowOnScreen(const Window& window) const {
  const POINT origin = parentOrigin(window);
  return offsetRect(window.rect, origin.x, origin.y);
}

RECT WindowGeometry::clientOnScreen(const Window& window) const {
  const POINT origin = parentOrigin(window);
  return offsetRect(window.client, origin.x, origin.y);
}

int endOf(int start, int extent) { return moved(start, extent > 0 ? extent : 0); }

}  // namespace plat

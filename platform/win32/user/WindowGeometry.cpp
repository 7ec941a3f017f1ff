#include <win32/user/WindowGeometry.h>

#include <win32/user/WindowTable.h>

#include <algorithm>
#include <limits>

namespace plat {

LONG movedEdge(LONG value, long long by) {
  const long long sum = value + by;
  return static_cast<LONG>(std::clamp<long long>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

RECT offsetRect(RECT r, long long dx, long long dy) {
  return RECT{movedEdge(r.left, dx), movedEdge(r.top, dy), movedEdge(r.right, dx), movedEdge(r.bottom, dy)};
}

bool pointInRect(const RECT& r, POINT pt) { return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom; }

POINT WindowGeometry::parentOrigin(const Window& window) const {
  if (!window.isChild()) return POINT{0, 0};
  const auto parent = m_windows.find(window.parent);
  return parent ? clientOrigin(*parent) : POINT{0, 0};
}

POINT WindowGeometry::clientOrigin(const Window& window) const {
  const POINT origin = parentOrigin(window);
  return POINT{movedEdge(window.client.left, origin.x), movedEdge(window.client.top, origin.y)};
}

RECT WindowGeometry::windowOnScreen(const Window& window) const {
  const POINT origin = parentOrigin(window);
  return offsetRect(window.rect, origin.x, origin.y);
}

RECT WindowGeometry::clientOnScreen(const Window& window) const {
  const POINT origin = parentOrigin(window);
  return offsetRect(window.client, origin.x, origin.y);
}

int endOf(int start, int extent) { return movedEdge(start, extent > 0 ? extent : 0); }

}  // namespace plat

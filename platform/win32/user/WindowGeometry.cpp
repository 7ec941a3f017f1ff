#include <win32/user/WindowGeometry.h>

#include <win32/user/WindowTable.h>

#include <algorithm>
#include <limits>

namespace plat {

RECT offsetRect(RECT r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

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

int endOf(int start, int extent) {
  const long long end = static_cast<long long>(start) + (extent > 0 ? extent : 0);
  return static_cast<int>(std::min<long long>(end, std::numeric_limits<int>::max()));
}

}  // namespace plat

// Where a window lies on the screen. A window's rectangles are kept relative to its
// parent's client area; these walk up the parents to screen coordinates. Call with the
// user lock held.
#pragma once

#include <win32/user/Window.h>

namespace plat {

class WindowTable;

class WindowGeometry {
 public:
  explicit WindowGeometry(const WindowTable& windows) : m_windows(windows) {}

  // The screen position of the client area's top-left corner of `window`.
  POINT clientOrigin(const Window& window) const;
  // The screen position of the top-left corner of the area `window` is placed in (its
  // parent's client area, or the screen).
  POINT parentOrigin(const Window& window) const;
  RECT windowOnScreen(const Window& window) const;
  RECT clientOnScreen(const Window& window) const;

 private:
  const WindowTable& m_windows;
};

// `value` moved by `by`, held to the int range; `by` is as wide as the distance between
// two edges at either end of that range.
LONG movedEdge(LONG value, long long by);
// Moved by (dx, dy), each edge held to the int range.
RECT offsetRect(RECT r, long long dx, long long dy);
// The far edge of a window that starts at `start` and is `extent` long: a negative extent
// is none, as on Windows, and the edge stays in the int range whatever the numbers.
int endOf(int start, int extent);
bool pointInRect(const RECT& r, POINT pt);

}  // namespace plat

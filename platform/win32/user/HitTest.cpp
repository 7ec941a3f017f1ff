#include <win32/user/HitTest.h>

#include <win32/gdi/WindowGraphics.h>
#include <win32/thread.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/UserSystem.h>
#include <win32/user/WindowGeometry.h>

#include <vector>

namespace plat {

namespace {

struct Candidate {
  HWND hwnd;
  bool sameThread;
  POINT inWindow;  // the point in the window's own coordinates
};

// The visible, enabled windows under `screen` among the children of `parent` (the
// top-level windows for nullptr), front first.
std::vector<Candidate> candidatesAt(HWND parent, POINT screen) {
  std::vector<Candidate> found;
  UserSystem& system = UserSystem::current();
  const DWORD thread = GetCurrentThreadId();
  std::lock_guard guard(system.lock());
  const WindowGeometry geometry(system.windows());
  const auto window = parent ? system.window(parent) : nullptr;
  const std::vector<HWND>& order = window ? window->children : system.windows().topLevel();
  // Children are clipped to their parent's client area.
  if (window && !pointInRect(geometry.clientOnScreen(*window), screen)) return found;
  for (HWND hwnd : order) {
    const auto w = system.window(hwnd);
    if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_DISABLED)) continue;
    const RECT onScreen = geometry.windowOnScreen(*w);
    if (pointInRect(onScreen, screen))
      found.push_back({hwnd, w->threadId == thread, POINT{screen.x - onScreen.left, screen.y - onScreen.top}});
  }
  return found;
}

}  // namespace

HitTest::Result HitTest::at(POINT screen) {
  Result result;
  HWND parent = nullptr;
  bool descended = true;
  while (descended) {
    descended = false;
    for (const Candidate& candidate : candidatesAt(parent, screen)) {
      // A window's region is its shape: outside it the point falls through.
      if (!WindowGraphics::current().regionContains(candidate.hwnd, candidate.inWindow)) continue;
      // Windows of other threads are not asked; they take the point as client area.
      const LRESULT code = candidate.sameThread ? MessageDelivery::send(candidate.hwnd, WM_NCHITTEST, 0,
                                                                        MAKELPARAM(screen.x, screen.y))
                                                : HTCLIENT;
      if (code == HTTRANSPARENT) continue;
      result = Result{candidate.hwnd, code};
      parent = candidate.hwnd;
      descended = true;
      break;
    }
  }
  return result;
}

}  // namespace plat

#include <win32/user/ScrollBarTracker.h>

#include <win32/user/MessageDelivery.h>
#include <win32/user/MessagePump.h>
#include <win32/user/ScrollBarGeometry.h>
#include <win32/user/ScrollBarPainter.h>
#include <win32/user/UserSystem.h>
#include <win32/user/input.h>
#include <win32/user/timer.h>
#include <win32/user/window.h>

namespace plat {

namespace {

using Part = ScrollBarGeometry::Part;

bool isMouseMove(UINT message) { return message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE; }

}  // namespace

POINT ScrollBarTracker::inWindow(HWND hwnd, POINT screen) {
  RECT window{};
  GetWindowRect(hwnd, &window);
  return POINT{screen.x - window.left, screen.y - window.top};
}

void ScrollBarTracker::setTrackPosition(HWND hwnd, int bar, int position) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  if (const auto window = system.window(hwnd)) window->scrollBars[bar].track = position;
}

void ScrollBarTracker::run(HWND hwnd, int bar, POINT start) {
  const auto pressedOn = ScrollBarGeometry::of(hwnd, bar);
  if (!pressedOn) return;
  const POINT at = inWindow(hwnd, start);
  const Part part = pressedOn->hitTest(at);
  if (part == Part::None) return;
  const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  const auto request = [&](int code, int position) {
    MessageDelivery::send(hwnd, message, MAKEWPARAM(code, position), 0);
  };
  // Where in the thumb it was taken, and the position it was last dragged to.
  const int grip = pressedOn->along(at) - pressedOn->thumbStart();
  int tracked = pressedOn->position();
  UINT_PTR repeat = 0;
  // A window that held the mouse before the press (a dropped list) keeps it after.
  const bool heldCapture = GetCapture() == hwnd;
  SetCapture(hwnd);
  ScrollBarPainter::repaint(hwnd, bar, part);
  if (part == Part::Thumb) {
    setTrackPosition(hwnd, bar, tracked);
  } else {
    request(static_cast<int>(part), 0);
    repeat = SetTimer(nullptr, 0, kFirstDelay, nullptr);
  }
  MSG msg;
  while (GetCapture() == hwnd) {
    if (!MessagePump::get(msg, MessageFilter{})) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
    if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == repeat) {
      KillTimer(nullptr, repeat);
      POINT pointer{};
      GetCursorPos(&pointer);
      const auto now = ScrollBarGeometry::of(hwnd, bar);
      if (now && now->hitTest(inWindow(hwnd, pointer)) == part) request(static_cast<int>(part), 0);
      repeat = SetTimer(nullptr, 0, kRepeatDelay, nullptr);
      continue;
    }
    if (isMouseMove(msg.message)) {
      const auto now = ScrollBarGeometry::of(hwnd, bar);
      if (part != Part::Thumb || !now) continue;
      const int position = now->positionAt(now->along(inWindow(hwnd, msg.pt)) - grip);
      if (position == tracked) continue;
      tracked = position;
      setTrackPosition(hwnd, bar, tracked);
      request(SB_THUMBTRACK, tracked);
      continue;
    }
    MessagePump::translate(msg);
    MessagePump::dispatch(msg);
  }
  if (repeat) KillTimer(nullptr, repeat);
  if (!heldCapture && GetCapture() == hwnd) ReleaseCapture();
  if (part == Part::Thumb) request(SB_THUMBPOSITION, tracked);
  request(SB_ENDSCROLL, 0);
  ScrollBarPainter::repaint(hwnd, bar, Part::None);
}

}  // namespace plat

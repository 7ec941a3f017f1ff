#include <win32/user/SizeMoveLoop.h>

#include <win32/user/MessageDelivery.h>
#include <win32/user/MessagePump.h>
#include <win32/user/input.h>
#include <win32/user/window.h>

namespace plat {

namespace {

// The window's rectangle in the coordinates SetWindowPos takes (its parent's client area).
RECT placedRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  if (HWND parent = GetAncestor(hwnd, GA_PARENT)) {
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(nullptr, parent, corners, 2);
    r = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  }
  return r;
}

}  // namespace

RECT SizeMoveLoop::follow(RECT r, POINT delta, int edge) {
  if (edge == 0) return RECT{r.left + delta.x, r.top + delta.y, r.right + delta.x, r.bottom + delta.y};
  if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT) r.left += delta.x;
  if (edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT) r.right += delta.x;
  if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) r.top += delta.y;
  if (edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT) r.bottom += delta.y;
  return r;
}

void SizeMoveLoop::run(HWND hwnd, WPARAM command, POINT start) {
  if (IsZoomed(hwnd)) return;
  const bool sizing = (command & 0xFFF0) == SC_SIZE;
  const int edge = sizing ? static_cast<int>(command & 0x000F) : 0;
  const RECT original = placedRect(hwnd);
  SetCapture(hwnd);
  MessageDelivery::send(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  MSG msg;
  while (GetCapture() == hwnd) {
    if (!MessagePump::get(msg, MessageFilter{})) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
    const bool escape = msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
    if (escape) {
      SetWindowPos(hwnd, nullptr, original.left, original.top, original.right - original.left,
                   original.bottom - original.top, SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) {
      MessagePump::translate(msg);
      MessagePump::dispatch(msg);
      continue;
    }
    RECT wanted = follow(original, POINT{msg.pt.x - start.x, msg.pt.y - start.y}, edge);
    MessageDelivery::send(hwnd, sizing ? WM_SIZING : WM_MOVING, static_cast<WPARAM>(edge),
                          reinterpret_cast<LPARAM>(&wanted));
    SetWindowPos(hwnd, nullptr, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (sizing ? 0 : SWP_NOSIZE));
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  MessageDelivery::send(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace plat

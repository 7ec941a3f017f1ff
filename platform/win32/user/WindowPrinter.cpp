#include <win32/user/WindowPrinter.h>

#include <win32/gdi/bitmap.h>
#include <win32/gdi/dc.h>
#include <win32/gdi/windowdc.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/message.h>
#include <win32/user/paint.h>
#include <win32/user/window.h>

#include <vector>

namespace plat {

namespace {

// Moves the context's drawing by (dx, dy) device pixels, for a part drawn at its place.
void shiftViewport(HDC hdc, int dx, int dy) {
  POINT origin{};
  GetViewportOrgEx(hdc, &origin);
  SetViewportOrgEx(hdc, origin.x + dx, origin.y + dy, nullptr);
}

}  // namespace

RECT WindowPrinter::clientInWindow(HWND hwnd) {
  RECT window{};
  RECT client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  POINT topLeft{0, 0};
  ClientToScreen(hwnd, &topLeft);
  const int dx = topLeft.x - window.left;
  const int dy = topLeft.y - window.top;
  return RECT{client.left + dx, client.top + dy, client.right + dx, client.bottom + dy};
}

void WindowPrinter::copyPixels(HWND hwnd, bool wholeWindow, const Region& area, HDC hdc) {
  const HDC source = wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd);
  if (!source) return;
  for (const RECT& r : area.rects())
    BitBlt(hdc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, r.left, r.top, SRCCOPY);
  ReleaseDC(hwnd, source);
}

void WindowPrinter::printChildren(HWND hwnd, HDC hdc, LPARAM flags) {
  std::vector<HWND> backToFront;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    backToFront.insert(backToFront.begin(), child);
  for (HWND child : backToFront) {
    if (!IsWindowVisible(child)) continue;
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&place), 2);
    const int saved = SaveDC(hdc);
    shiftViewport(hdc, place.left, place.top);
    MessageDelivery::send(child, WM_PRINT, reinterpret_cast<WPARAM>(hdc), flags);
    RestoreDC(hdc, saved);
  }
}

LRESULT WindowPrinter::print(HWND hwnd, HDC hdc, LPARAM flags) {
  if (!IsWindow(hwnd) || !hdc) return 0;
  if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)) return 0;
  const RECT client = clientInWindow(hwnd);
  if (flags & PRF_NONCLIENT) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    const Region whole(RECT{0, 0, window.right - window.left, window.bottom - window.top});
    copyPixels(hwnd, true, whole.subtracted(Region(client)), hdc);
  }
  const int saved = SaveDC(hdc);
  shiftViewport(hdc, client.left, client.top);
  IntersectClipRect(hdc, 0, 0, client.right - client.left, client.bottom - client.top);
  const WPARAM dc = reinterpret_cast<WPARAM>(hdc);
  if (flags & PRF_ERASEBKGND) MessageDelivery::send(hwnd, WM_ERASEBKGND, dc, 0);
  if (flags & PRF_CLIENT) MessageDelivery::send(hwnd, WM_PRINTCLIENT, dc, flags);
  if (flags & PRF_CHILDREN) printChildren(hwnd, hdc, flags);
  RestoreDC(hdc, saved);
  return 0;
}

LRESULT WindowPrinter::printClient(HWND hwnd, HDC hdc) {
  RECT client{};
  if (!hdc || !GetClientRect(hwnd, &client)) return 0;
  Region own(client);
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&place), 2);
    own = own.subtracted(Region(place));
  }
  copyPixels(hwnd, false, own, hdc);
  return 0;
}

}  // namespace plat

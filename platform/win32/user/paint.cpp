#include <win32/user/paint.h>

#include <win32/gdi/WindowGraphics.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/WindowAccess.h>

#include <algorithm>

using plat::Window;
using plat::withWindow;

namespace {

RECT clientArea(const Window& window) {
  return RECT{0, 0, window.client.right - window.client.left, window.client.bottom - window.client.top};
}

bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT unite(const RECT& a, const RECT& b) {
  if (isEmpty(a)) return b;
  if (isEmpty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

RECT intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return isEmpty(r) ? RECT{} : r;
}

}  // namespace

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  if (!lpPaint) return nullptr;
  RECT area{};
  bool erase = false;
  if (!withWindow(hWnd, false, [&](Window& window) {
        area = window.updateRect;
        erase = window.eraseOnPaint;
        window.updateRect = RECT{};
        window.eraseOnPaint = false;
        return true;
      }))
    return nullptr;
  // Drawing is clipped to the part that asked to be painted.
  const HDC hdc = plat::WindowGraphics::current().openDc(hWnd, plat::WindowGraphics::Area::Client, &area);
  *lpPaint = PAINTSTRUCT{};
  lpPaint->hdc = hdc;
  lpPaint->rcPaint = area;
  // fErase tells the painter the background still needs erasing.
  lpPaint->fErase = erase && !plat::MessageDelivery::send(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
  return hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* lpPaint) {
  return lpPaint && plat::WindowGraphics::current().releaseDc(lpPaint->hdc) ? TRUE : FALSE;
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
  if (!hWnd) return TRUE;
  return withWindow(hWnd, FALSE, [&](Window& window) {
    const RECT area = clientArea(window);
    const RECT added = lpRect ? intersect(*lpRect, area) : area;
    window.updateRect = unite(window.updateRect, added);
    if (bErase && !isEmpty(added)) window.eraseOnPaint = true;
    return TRUE;
  });
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect) {
  return withWindow(hWnd, FALSE, [&](Window& window) {
    // A bounding rectangle cannot lose a part; it empties only when wholly covered.
    const RECT& update = window.updateRect;
    if (!lpRect || (lpRect->left <= update.left && lpRect->top <= update.top && lpRect->right >= update.right &&
                    lpRect->bottom >= update.bottom))
      window.updateRect = RECT{};
    return TRUE;
  });
}

BOOL UpdateWindow(HWND hWnd) {
  const bool needsPaint = withWindow(hWnd, false, [](Window& window) {
    return window.needsPaint() && (window.style & WS_VISIBLE);
  });
  if (!IsWindow(hWnd)) return FALSE;
  if (needsPaint) plat::MessageDelivery::send(hWnd, WM_PAINT, 0, 0);
  return TRUE;
}

#include <win32/user/paint.h>

#include <win32/gdi/WindowGraphics.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/UpdateRegion.h>
#include <win32/user/WindowAccess.h>

using plat::Region;
using plat::UpdateRegion;
using plat::Window;
using plat::withWindow;

namespace {

std::optional<Region> areaOf(const RECT* rect) {
  if (!rect) return std::nullopt;
  return Region(*rect);
}

}  // namespace

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  if (!lpPaint) return nullptr;
  auto taken = UpdateRegion::take(hWnd);
  if (!taken) return nullptr;
  if (taken->frame && IsWindowVisible(hWnd)) plat::MessageDelivery::send(hWnd, WM_NCPAINT, 1, 0);
  // Drawing is clipped to the part that asked to be painted.
  const HDC hdc = plat::WindowGraphics::current().openDc(hWnd, plat::WindowGraphics::Area::Client, &taken->region);
  *lpPaint = PAINTSTRUCT{};
  lpPaint->hdc = hdc;
  lpPaint->rcPaint = taken->region.bounds();
  // fErase tells the painter the background still needs erasing.
  lpPaint->fErase = taken->erase && !plat::MessageDelivery::send(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
  return hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* lpPaint) {
  return lpPaint && plat::WindowGraphics::current().releaseDc(lpPaint->hdc) ? TRUE : FALSE;
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
  if (!hWnd) return TRUE;
  return UpdateRegion::invalidate(hWnd, areaOf(lpRect), bErase != FALSE) ? TRUE : FALSE;
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect) {
  return UpdateRegion::validate(hWnd, areaOf(lpRect)) ? TRUE : FALSE;
}

BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase) {
  if (bErase) UpdateRegion::eraseNow(hWnd);
  const auto region = UpdateRegion::of(hWnd);
  if (!region) return FALSE;
  if (lpRect) *lpRect = region->bounds();
  return region->isEmpty() ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND hWnd) {
  const bool needsPaint = withWindow(hWnd, false, [](Window& window) {
    return window.needsPaint() && (window.style & WS_VISIBLE);
  });
  if (!IsWindow(hWnd)) return FALSE;
  if (needsPaint) plat::MessageDelivery::send(hWnd, WM_PAINT, 0, 0);
  return TRUE;
}

#include <win32/gdi/windowdc.h>

#include <win32/SystemExports.h>
#include <win32/error.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/RegionObject.h>
#include <win32/gdi/WindowGraphics.h>
#include <win32/gdi/dc.h>
#include <win32/user/message.h>
#include <win32/user/paint.h>
#include <win32/user/window.h>

namespace {

using plat::GdiTable;
using plat::WindowGraphics;

// Programs look this one up at run time, as it was new in Windows 2000.
const bool g_exported = [] {
  plat::SystemExports::add("user32", "SetLayeredWindowAttributes", reinterpret_cast<void*>(&SetLayeredWindowAttributes));
  return true;
}();

void redrawOne(HWND hwnd, const RECT* rect, UINT flags) {
  if (flags & RDW_INVALIDATE) {
    InvalidateRect(hwnd, rect, (flags & RDW_ERASE) ? TRUE : FALSE);
    if ((flags & RDW_FRAME) && IsWindowVisible(hwnd)) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  }
  if (flags & RDW_VALIDATE) ValidateRect(hwnd, rect);
  if (flags & RDW_UPDATENOW) UpdateWindow(hwnd);
}

void redrawTree(HWND hwnd, const RECT* rect, UINT flags) {
  redrawOne(hwnd, rect, flags);
  if (!(flags & RDW_ALLCHILDREN)) return;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    redrawTree(child, nullptr, flags);
}

}  // namespace

HDC GetDC(HWND hWnd) { return WindowGraphics::current().openDc(hWnd, WindowGraphics::Area::Client); }

HDC GetWindowDC(HWND hWnd) { return WindowGraphics::current().openDc(hWnd, WindowGraphics::Area::Window); }

int ReleaseDC(HWND, HDC hDC) { return WindowGraphics::current().releaseDc(hDC) ? 1 : 0; }

int SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL bRedraw) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  std::optional<plat::Region> region;
  if (hRgn) {
    auto object = GdiTable::lookup<plat::RegionObject>(hRgn);
    if (!object) return 0;
    region = object->region();
    GdiTable::instance().remove(hRgn);  // the window owns it now
  }
  WindowGraphics::current().setRegion(hWnd, std::move(region));
  if (bRedraw && IsWindowVisible(hWnd)) RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  return 1;
}

int GetWindowRgn(HWND hWnd, HRGN hRgn) {
  auto object = GdiTable::lookup<plat::RegionObject>(hRgn);
  if (!IsWindow(hWnd) || !object) return ERROR;
  const auto region = WindowGraphics::current().regionOf(hWnd);
  if (!region) return ERROR;
  object->region() = *region;
  return static_cast<int>(region->shape());
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WindowGraphics::Layering layering;
  layering.alpha = (dwFlags & LWA_ALPHA) != 0;
  layering.opacity = bAlpha;
  layering.colorKey = (dwFlags & LWA_COLORKEY) != 0;
  layering.key = crKey & 0xFFFFFF;
  WindowGraphics::current().setLayering(hwnd, layering);
  return TRUE;
}

BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase) {
  if (!hRgn) return InvalidateRect(hWnd, nullptr, bErase);
  auto object = GdiTable::lookup<plat::RegionObject>(hRgn);
  if (!object) return FALSE;
  const RECT bounds = object->region().bounds();
  return InvalidateRect(hWnd, &bounds, bErase);
}

BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  RECT bounds{};
  const RECT* rect = lprcUpdate;
  if (!rect && hrgnUpdate) {
    auto object = GdiTable::lookup<plat::RegionObject>(hrgnUpdate);
    if (!object) return FALSE;
    bounds = object->region().bounds();
    rect = &bounds;
  }
  redrawTree(hWnd, rect, flags);
  return TRUE;
}

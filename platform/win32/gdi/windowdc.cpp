#include <win32/gdi/windowdc.h>

#include <win32/error.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/RegionObject.h>
#include <win32/gdi/WindowGraphics.h>
#include <win32/gdi/dc.h>
#include <win32/module/SystemExports.h>
#include <win32/user/UpdateRegion.h>
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

std::optional<plat::Region> regionOf(HRGN hrgn) {
  auto object = GdiTable::lookup<plat::RegionObject>(hrgn);
  if (!object) return std::nullopt;
  return object->region();
}

// The part of `area` (the parent's client coordinates) that falls on a child, in the
// child's client coordinates; the whole child when `area` is the whole parent.
std::optional<plat::Region> areaOnChild(HWND parent, HWND child, const std::optional<plat::Region>& area) {
  if (!area) return std::nullopt;
  POINT parentOrigin{0, 0};
  MapWindowPoints(parent, child, &parentOrigin, 1);
  plat::Region onChild = *area;
  onChild.translate(parentOrigin.x, parentOrigin.y);
  return onChild;
}

void changeTree(HWND hwnd, const std::optional<plat::Region>& area, UINT flags) {
  if (flags & RDW_INVALIDATE) {
    plat::UpdateRegion::invalidate(hwnd, area, (flags & RDW_ERASE) != 0);
    if (flags & RDW_FRAME) plat::UpdateRegion::invalidateFrame(hwnd);
  } else if (flags & RDW_ERASE) {
    plat::UpdateRegion::requestErase(hwnd);
  }
  if (flags & RDW_VALIDATE) plat::UpdateRegion::validate(hwnd, area);
  if (!(flags & RDW_ALLCHILDREN)) return;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    changeTree(child, areaOnChild(hwnd, child, area), flags);
}

// Parents paint before their children, so children's pixels end on top.
void updateTree(HWND hwnd, UINT flags) {
  UpdateWindow(hwnd);
  if (!(flags & RDW_ALLCHILDREN)) return;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) updateTree(child, flags);
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
  const auto area = regionOf(hRgn);
  if (!area) return FALSE;
  return plat::UpdateRegion::invalidate(hWnd, area, bErase != FALSE) ? TRUE : FALSE;
}

BOOL ValidateRgn(HWND hWnd, HRGN hRgn) {
  if (!hRgn) return ValidateRect(hWnd, nullptr);
  const auto area = regionOf(hRgn);
  if (!area) return FALSE;
  return plat::UpdateRegion::validate(hWnd, area) ? TRUE : FALSE;
}

int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase) {
  auto object = GdiTable::lookup<plat::RegionObject>(hRgn);
  if (!object) return ERROR;
  if (bErase) plat::UpdateRegion::eraseNow(hWnd);
  auto update = plat::UpdateRegion::of(hWnd);
  if (!update) return ERROR;
  object->region() = std::move(*update);
  return static_cast<int>(object->region().shape());
}

BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  std::optional<plat::Region> area;
  if (hrgnUpdate) {
    area = regionOf(hrgnUpdate);
    if (!area) return FALSE;
  } else if (lprcUpdate) {
    area = plat::Region(*lprcUpdate);
  }
  changeTree(hWnd, area, flags);
  if (flags & RDW_UPDATENOW) updateTree(hWnd, flags);
  return TRUE;
}

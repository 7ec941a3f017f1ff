#include <win32/user/window.h>

#include <win32/user/Frame.h>
#include <win32/user/HitTest.h>
#include <win32/user/WindowAccess.h>
#include <win32/user/WindowGeometry.h>
#include <win32/user/WindowPositioner.h>
#include <win32/user/metrics.h>


using plat::UserSystem;
using plat::Window;
using plat::WindowGeometry;
using plat::withWindow;

namespace {

// The screen position of a window's client origin; the screen itself for NULL.
bool clientOrigin(HWND hwnd, POINT& origin) {
  if (!hwnd) {
    origin = POINT{0, 0};
    return true;
  }
  UserSystem& system = UserSystem::current();
  return withWindow(hwnd, false, [&](Window& window) {
    origin = WindowGeometry(system.windows()).clientOrigin(window);
    return true;
  });
}

}  // namespace

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  return plat::WindowPositioner::setWindowPos(hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags);
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW);
  return plat::WindowPositioner::setWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight, flags);
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
  if (!lpRect) return FALSE;
  UserSystem& system = UserSystem::current();
  return withWindow(hWnd, FALSE, [&](Window& window) {
    *lpRect = WindowGeometry(system.windows()).windowOnScreen(window);
    return TRUE;
  });
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
  if (!lpRect) return FALSE;
  return withWindow(hWnd, FALSE, [&](Window& window) {
    *lpRect = RECT{0, 0, window.client.right - window.client.left, window.client.bottom - window.client.top};
    return TRUE;
  });
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  POINT origin;
  if (!lpPoint || !hWnd || !clientOrigin(hWnd, origin)) return FALSE;
  lpPoint->x += origin.x;
  lpPoint->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  POINT origin;
  if (!lpPoint || !hWnd || !clientOrigin(hWnd, origin)) return FALSE;
  lpPoint->x -= origin.x;
  lpPoint->y -= origin.y;
  return TRUE;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
  POINT from;
  POINT to;
  if (!clientOrigin(hWndFrom, from) || !clientOrigin(hWndTo, to)) return 0;
  const int dx = from.x - to.x;
  const int dy = from.y - to.y;
  for (UINT i = 0; lpPoints && i < cPoints; ++i) {
    lpPoints[i].x += dx;
    lpPoints[i].y += dy;
  }
  SetLastError(ERROR_SUCCESS);
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
  if (!lpRect) return FALSE;
  UserSystem& system = UserSystem::current();
  RECT in;
  int menu = 0;
  {
    std::lock_guard guard(system.lock());
    in = plat::Frame(dwStyle, dwExStyle, system.metrics()).insets(false);
    if (bMenu) menu = system.metrics().metric(SM_CYMENU);
  }
  lpRect->left -= in.left;
  lpRect->top -= in.top + menu;
  lpRect->right += in.right;
  lpRect->bottom += in.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu) { return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0); }

BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* lpwndpl) {
  if (!lpwndpl) return FALSE;
  UserSystem& system = UserSystem::current();
  return withWindow(hWnd, FALSE, [&](Window& window) {
    const bool minimized = (window.style & WS_MINIMIZE) != 0;
    const bool maximized = (window.style & WS_MAXIMIZE) != 0;
    RECT normal = minimized || maximized ? window.normalRect : window.rect;
    // A top-level window's normal position is in work-area coordinates.
    if (!window.isChild()) {
      const RECT area = system.metrics().workArea();
      normal = plat::offsetRect(normal, -area.left, -area.top);
    }
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    lpwndpl->flags = 0;
    lpwndpl->showCmd = minimized ? SW_SHOWMINIMIZED : maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    lpwndpl->ptMinPosition = window.minPosition;
    lpwndpl->ptMaxPosition = window.maxPosition;
    lpwndpl->rcNormalPosition = normal;
    return TRUE;
  });
}

BOOL SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* lpwndpl) {
  if (!lpwndpl || lpwndpl->length != sizeof(WINDOWPLACEMENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  UserSystem& system = UserSystem::current();
  bool normalNow = false;
  RECT normal = lpwndpl->rcNormalPosition;
  if (!withWindow(hWnd, false, [&](Window& window) {
        if (!window.isChild()) {
          const RECT area = system.metrics().workArea();
          normal = plat::offsetRect(normal, area.left, area.top);
        }
        window.normalRect = normal;
        window.minPosition = lpwndpl->ptMinPosition;
        window.maxPosition = lpwndpl->ptMaxPosition;
        normalNow = !(window.style & (WS_MINIMIZE | WS_MAXIMIZE));
        return true;
      }))
    return FALSE;
  if (normalNow)
    SetWindowPos(hWnd, nullptr, normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hWnd, static_cast<int>(lpwndpl->showCmd));
  return TRUE;
}

HWND WindowFromPoint(POINT Point) { return plat::HitTest::at(Point).hwnd; }

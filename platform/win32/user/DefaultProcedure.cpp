#include <win32/user/DefaultProcedure.h>

#include <win32/gdi/draw.h>
#include <win32/user/FocusManager.h>
#include <win32/user/FramePainter.h>
#include <win32/user/Frame.h>
#include <win32/user/ScrollBarTracker.h>
#include <win32/user/SizeMoveLoop.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/UserSystem.h>
#include <win32/user/WindowGeometry.h>
#include <win32/user/WindowLifecycle.h>
#include <win32/user/WindowPositioner.h>
#include <win32/user/WindowPrinter.h>
#include <win32/user/input.h>
#include <win32/user/paint.h>
#include <win32/user/scroll.h>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {
using Delivery = MessageDelivery;
}

HWND DefaultProcedure::parentOf(HWND hwnd) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hwnd);
  return window && window->isChild() ? window->parent : nullptr;
}

LRESULT DefaultProcedure::setText(HWND hwnd, LPCSTR text) {
  UserSystem& system = UserSystem::current();
  bool topLevel = false;
  {
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) return FALSE;
    window->text = text ? text : "";
    topLevel = !window->isChild();
  }
  if (topLevel) system.publish(hwnd);
  return TRUE;
}

LRESULT DefaultProcedure::getText(HWND hwnd, WPARAM size, LPSTR buffer) {
  if (!buffer || size == 0) return 0;
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hwnd);
  if (!window) return 0;
  const std::size_t count = std::min<std::size_t>(window->text.size(), size - 1);
  std::memcpy(buffer, window->text.data(), count);
  buffer[count] = '\0';
  return static_cast<LRESULT>(count);
}

LRESULT DefaultProcedure::calcSize(HWND hwnd, LPARAM lParam, bool params) {
  RECT* rect = params ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
  if (!rect) return 0;
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hwnd);
  if (!window) return 0;
  if (window->style & WS_MINIMIZE) {
    *rect = RECT{rect->left, rect->top, rect->left, rect->top};
    return 0;
  }
  *rect = Frame(window->style, window->exStyle, system.metrics()).clientOf(*rect);
  return 0;
}

LRESULT DefaultProcedure::hitTest(HWND hwnd, LPARAM lParam) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hwnd);
  if (!window) return HTNOWHERE;
  const RECT onScreen = WindowGeometry(system.windows()).windowOnScreen(*window);
  const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return Frame(window->style, window->exStyle, system.metrics()).hitTest(onScreen, pt);
}

LRESULT DefaultProcedure::sysCommand(HWND hwnd, WPARAM command, LPARAM point) {
  switch (command & 0xFFF0) {
    case SC_CLOSE:
      Delivery::send(hwnd, WM_CLOSE, 0, 0);
      break;
    case SC_MINIMIZE:
      WindowPositioner::show(hwnd, SW_MINIMIZE);
      break;
    case SC_MAXIMIZE:
      WindowPositioner::show(hwnd, SW_MAXIMIZE);
      break;
    case SC_RESTORE:
      WindowPositioner::show(hwnd, SW_RESTORE);
      break;
    case SC_MOVE:
    case SC_SIZE:
      SizeMoveLoop::run(hwnd, command, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)});
      break;
    case SC_VSCROLL:
    case SC_HSCROLL:
      ScrollBarTracker::run(hwnd, (command & 0xFFF0) == SC_VSCROLL ? SB_VERT : SB_HORZ,
                            POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)});
      break;
    default:
      break;
  }
  return 0;
}

LRESULT DefaultProcedure::setCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  if (HWND parent = parentOf(hwnd); parent && Delivery::send(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
  if (LOWORD(lParam) != HTCLIENT) return FALSE;
  HCURSOR cursor = nullptr;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window || !window->windowClass->cursor) return FALSE;
    cursor = window->windowClass->cursor;
  }
  SetCursor(cursor);
  return TRUE;
}

LRESULT DefaultProcedure::eraseBackground(HWND hwnd, HDC hdc) {
  HBRUSH brush = nullptr;
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (window) brush = window->windowClass->background;
  }
  if (!brush || !hdc) return 0;
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(hdc, &client, brush);
  return 1;
}

LRESULT DefaultProcedure::icon(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hwnd);
  if (!window) return 0;
  HICON& slot = wParam == 0 /* ICON_SMALL */ ? window->smallIcon : window->bigIcon;
  const HICON previous = slot;
  if (message == WM_SETICON) slot = reinterpret_cast<HICON>(lParam);
  return reinterpret_cast<LRESULT>(previous);
}

LRESULT DefaultProcedure::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) setText(hwnd, cs->lpszName);
      return TRUE;
    }
    case WM_NCCALCSIZE:
      return calcSize(hwnd, lParam, wParam != 0);
    case WM_NCHITTEST:
      return hitTest(hwnd, lParam);
    case WM_SETTEXT: {
      const LRESULT set = setText(hwnd, reinterpret_cast<LPCSTR>(lParam));
      // The caption shows the new title at once.
      if ((GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) FramePainter::repaint(hwnd);
      return set;
    }
    case WM_GETTEXT:
      return getText(hwnd, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH: {
      UserSystem& system = UserSystem::current();
      std::lock_guard guard(system.lock());
      const auto window = system.window(hwnd);
      return window ? static_cast<LRESULT>(window->text.size()) : 0;
    }
    case WM_CLOSE:
      WindowLifecycle::destroy(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      return sysCommand(hwnd, wParam, lParam);
    case WM_NCLBUTTONDOWN:
      // Dragging the caption moves the window; dragging a sizing border sizes it; a press
      // on a scroll bar scrolls.
      if (wParam == HTCAPTION) Delivery::send(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
      if (wParam == HTVSCROLL) Delivery::send(hwnd, WM_SYSCOMMAND, SC_VSCROLL | HTVSCROLL, lParam);
      if (wParam == HTHSCROLL) Delivery::send(hwnd, WM_SYSCOMMAND, SC_HSCROLL | HTHSCROLL, lParam);
      if (wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT) Delivery::send(hwnd, WM_SYSCOMMAND, SC_SIZE + (wParam - HTLEFT + WMSZ_LEFT), lParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4) {
        HWND top = GetAncestor(hwnd, GA_ROOT);
        Delivery::send(top ? top : hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return eraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_PRINT:
      return WindowPrinter::print(hwnd, reinterpret_cast<HDC>(wParam), lParam);
    case WM_PRINTCLIENT:
      return WindowPrinter::printClient(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_WINDOWPOSCHANGING:
      WindowPositioner::defaultPosChanging(hwnd, *reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_WINDOWPOSCHANGED:
      WindowPositioner::defaultPosChanged(hwnd, *reinterpret_cast<const WINDOWPOS*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) FocusManager::setFocus(hwnd);
      return 0;
    case WM_MOUSEACTIVATE:
      if (HWND parent = parentOf(hwnd))
        if (const LRESULT answer = Delivery::send(parent, WM_MOUSEACTIVATE, wParam, lParam)) return answer;
      return MA_ACTIVATE;
    case WM_SETCURSOR:
      return setCursor(hwnd, wParam, lParam);
    // A right click asks the window for its context menu at the click's screen point.
    case WM_RBUTTONUP: {
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &point);
      Delivery::send(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(point.x, point.y));
      return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
      if (HWND parent = parentOf(hwnd)) Delivery::send(parent, message, wParam, lParam);
      return 0;
    case WM_NCACTIVATE:
      FramePainter::activate(hwnd, wParam != 0);
      return TRUE;
    case WM_NCPAINT:
      FramePainter::paint(hwnd);
      return 0;
    case WM_SETICON:
    case WM_GETICON:
      return icon(hwnd, message, wParam, lParam);
    case WM_QUERYDRAGICON: {
      UserSystem& system = UserSystem::current();
      std::lock_guard guard(system.lock());
      const auto window = system.window(hwnd);
      return window ? reinterpret_cast<LRESULT>(window->windowClass->icon) : 0;
    }
    default:
      return 0;
  }
}

}  // namespace plat

#include "skin/CCoolMenuPopup.h"

#include "skin/CCoolMenu.h"

#include <mfc/wnd/afxgdi.h>
#include <win32/thread.h>

#include <algorithm>
#include <map>

namespace {

constexpr int kShadow = 4;
constexpr UINT kPopupSized = 0x1E2;
// Darkening of the shadow (out of 255): its rows from the popup outward, and its corners by
// the distance (across plus down) from the corner's pixel nearest the popup.
constexpr int kShadowRows[kShadow] = {140, 170, 212, 240};
constexpr int kShadowCorners[2 * kShadow - 1] = {170, 205, 220, 240, 240, 250, 255};

HHOOK g_hook = nullptr;
// The records of the popup windows now subclassed.
std::map<HWND, CoolMenuWndInfo>& windows() {
  static std::map<HWND, CoolMenuWndInfo> map;
  return map;
}

bool IsPopupMenuWindow(HWND hWnd) {
  char name[16] = {};
  return ::GetClassNameA(hWnd, name, sizeof(name)) > 0 && CString(name) == POPUPMENU_CLASS;
}

COLORREF Darken(COLORREF color, int factor) {
  return RGB(GetRValue(color) * factor / 255, GetGValue(color) * factor / 255, GetBValue(color) * factor / 255);
}

}  // namespace

void CCoolMenuPopup::Install() {
  if (!g_hook) g_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, HookProc, nullptr, ::GetCurrentThreadId());
}

void CCoolMenuPopup::Uninstall() {
  if (g_hook) ::UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  for (auto& [hWnd, info] : windows())
    if (info.savedScreen) ::DeleteObject(info.savedScreen);
  windows().clear();
}

bool CCoolMenuPopup::IsInstalled() { return g_hook != nullptr; }

bool CCoolMenuPopup::HasSystemShadow() {
  BOOL shadow = FALSE;
  ::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &shadow, 0);
  return shadow != FALSE;
}

LRESULT CALLBACK CCoolMenuPopup::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code >= 0 && sent && (sent->message == WM_CREATE || sent->message == kPopupSized) &&
      !::GetPropA(sent->hwnd, kOldProcProp) && IsPopupMenuWindow(sent->hwnd))
    Subclass(sent->hwnd);
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

void CCoolMenuPopup::Subclass(HWND hWnd) {
  CoolMenuWndInfo& info = windows()[hWnd];
  info = CoolMenuWndInfo{};
  info.hWnd = hWnd;
  const auto old = ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProc));
  if (!old || !::SetPropA(hWnd, kOldProcProp, reinterpret_cast<HANDLE>(old))) {
    if (old) ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, old);
    ::RemovePropA(hWnd, kOldProcProp);
    windows().erase(hWnd);
  }
}

void CCoolMenuPopup::Restore(HWND hWnd, WNDPROC oldProc) {
  // The window may be shown again later: it gets its own procedure back, so the next
  // showing sets it up afresh.
  ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
  ::RemovePropA(hWnd, kOldProcProp);
  const auto it = windows().find(hWnd);
  if (it == windows().end()) return;
  if (it->second.savedScreen) ::DeleteObject(it->second.savedScreen);
  windows().erase(it);
}

void CCoolMenuPopup::PaintFrame(HWND hWnd, HDC hdc) {
  const CoolMenuTheme& theme = CCoolMenu::Theme();
  CRect rect;
  ::GetWindowRect(hWnd, &rect);
  rect.OffsetRect(-rect.left, -rect.top);
  if (!HasSystemShadow()) {
    rect.right -= kShadow;
    rect.bottom -= kShadow;
  }
  CDC* dc = CDC::FromHandle(hdc);
  dc->Draw3dRect(&rect, theme.Frame0Color, theme.Frame1Color);
  rect.DeflateRect(1, 1);
  dc->Draw3dRect(&rect, theme.Frame2Color, theme.Frame3Color);
  PaintJoin(hWnd, hdc, rect.right + 1);
}

// A popup opened right under the top-bar item last drawn selected or hot has no frame line
// between the two: the top line is the button face across the item's inside.
void CCoolMenuPopup::PaintJoin(HWND hWnd, HDC hdc, int frameRight) {
  const CRect item = CCoolMenu::GetBarItemRect();
  CRect window;
  ::GetWindowRect(hWnd, &window);
  if (item.IsRectEmpty() || item.bottom != window.top) return;
  const int from = std::max(item.left + 1, window.left + 1) - window.left;
  const int to = std::min(item.right - CCoolMenu::kBarShadowWidth - 1, window.left + frameRight - 1) - window.left;
  if (from >= to) return;
  CPen pen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
  CDC* dc = CDC::FromHandle(hdc);
  CPen* old = dc->SelectObject(&pen);
  dc->MoveTo(from, 0);
  dc->LineTo(to, 0);
  dc->SelectObject(old);
}

void CCoolMenuPopup::SaveShadowArea(CoolMenuWndInfo& info, const RECT& window) {
  if (info.savedScreen) ::DeleteObject(info.savedScreen);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  info.savedScreen = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, info.savedScreen);
  ::BitBlt(memory, 0, 0, width, height, screen, window.left, window.top, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  info.savedValid = TRUE;
  info.lastRect = window;
  info.lastX = window.left;
  info.lastY = window.top;
}

void CCoolMenuPopup::PaintShadow(HWND hWnd, HDC hdc, const CoolMenuWndInfo& info) {
  if (!info.savedValid || !info.savedScreen) return;
  const int width = info.lastRect.right - info.lastRect.left;
  const int height = info.lastRect.bottom - info.lastRect.top;
  HDC memory = ::CreateCompatibleDC(hdc);
  HGDIOBJ old = ::SelectObject(memory, info.savedScreen);
  // The strips of screen right of and below the popup, darkened less with each pixel out.
  // Each strip starts kShadow pixels in from the popup's far corners; its first kShadow
  // pixels and the corner below right fade by the corner factors, by the distance from
  // the pixel nearest the popup.
  for (int y = kShadow; y < height; ++y) {
    for (int d = 0; d < kShadow; ++d) {
      const int x = width - kShadow + d;
      int factor = kShadowRows[d];
      if (y < 2 * kShadow) factor = kShadowCorners[d + 2 * kShadow - 1 - y];
      else if (y >= height - kShadow) factor = kShadowCorners[d + y - (height - kShadow)];
      ::SetPixel(hdc, x, y, Darken(::GetPixel(memory, x, y), factor));
    }
  }
  for (int x = kShadow; x < width - kShadow; ++x) {
    for (int d = 0; d < kShadow; ++d) {
      const int y = height - kShadow + d;
      const int factor = x < 2 * kShadow ? kShadowCorners[d + 2 * kShadow - 1 - x] : kShadowRows[d];
      ::SetPixel(hdc, x, y, Darken(::GetPixel(memory, x, y), factor));
    }
  }
  // The rest of the strips shows the screen as it was.
  for (int d = 0; d < kShadow; ++d) {
    for (int y = 0; y < kShadow; ++y) ::SetPixel(hdc, width - kShadow + d, y, ::GetPixel(memory, width - kShadow + d, y));
    for (int x = 0; x < kShadow; ++x) ::SetPixel(hdc, x, height - kShadow + d, ::GetPixel(memory, x, height - kShadow + d));
  }
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  (void)hWnd;
}

LRESULT CALLBACK CCoolMenuPopup::WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto oldProc = reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kOldProcProp));
  if (!oldProc) return ::DefWindowProcA(hWnd, msg, wParam, lParam);
  const bool systemShadow = HasSystemShadow();
  switch (msg) {
    case WM_NCCALCSIZE: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      ::InflateRect(rect, -1, -1);
      if (!systemShadow) {
        rect->right -= kShadow;
        rect->bottom -= kShadow;
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!systemShadow && !(pos->flags & SWP_NOSIZE)) {
        pos->cx += kShadow - 2;
        pos->cy += kShadow - 2;
        pos->x -= 1;
      }
      if (!systemShadow && !::IsWindowVisible(hWnd) && !(pos->flags & SWP_NOMOVE)) {
        const auto it = windows().find(hWnd);
        if (it != windows().end()) SaveShadowArea(it->second, RECT{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy});
      }
      return ::CallWindowProcA(oldProc, hWnd, msg, wParam, lParam);
    }
    case WM_NCPAINT:
    case WM_PRINT: {
      HDC hdc = msg == WM_PRINT ? reinterpret_cast<HDC>(wParam) : ::GetWindowDC(hWnd);
      if (msg == WM_PRINT) ::CallWindowProcA(oldProc, hWnd, msg, wParam, lParam);
      PaintFrame(hWnd, hdc);
      const auto it = windows().find(hWnd);
      if (!systemShadow && it != windows().end()) PaintShadow(hWnd, hdc, it->second);
      if (msg == WM_NCPAINT) ::ReleaseDC(hWnd, hdc);
      return 0;
    }
    case WM_SHOWWINDOW:
      if (!wParam) {
        const LRESULT result = ::CallWindowProcA(oldProc, hWnd, msg, wParam, lParam);
        Restore(hWnd, oldProc);
        return result;
      }
      return ::CallWindowProcA(oldProc, hWnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      Restore(hWnd, oldProc);
      return ::CallWindowProcA(oldProc, hWnd, msg, wParam, lParam);
    default:
      return ::CallWindowProcA(oldProc, hWnd, msg, wParam, lParam);
  }
}

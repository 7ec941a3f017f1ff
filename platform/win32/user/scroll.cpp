#include <win32/user/scroll.h>

#include <win32/user/ScrollBarPainter.h>
#include <win32/user/WindowAccess.h>
#include <win32/user/window.h>

#include <algorithm>

namespace {

using plat::Window;

bool validBar(int nBar) { return nBar == SB_HORZ || nBar == SB_VERT; }

int lastPos(const Window::ScrollBar& bar) { return bar.max - std::max(static_cast<int>(bar.page) - 1, 0); }

int clampPos(const Window::ScrollBar& bar, int pos) { return std::max(bar.min, std::min(pos, lastPos(bar))); }

DWORD styleOf(int nBar) { return nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

// The bar drawn at once with its new state, when the caller asks and it shows.
void redraw(HWND hwnd, int nBar, BOOL asked) {
  if (asked) plat::ScrollBarPainter::repaint(hwnd, nBar, plat::ScrollBarGeometry::Part::None);
}

}  // namespace

int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redrawn) {
  if (!lpsi || !validBar(nBar)) return 0;
  bool show = false;
  const int pos = plat::withWindow(hwnd, 0, [&](Window& window) {
    Window::ScrollBar& bar = window.scrollBars[nBar];
    if (lpsi->fMask & SIF_RANGE) {
      bar.min = lpsi->nMin;
      bar.max = lpsi->nMax;
    }
    if (lpsi->fMask & SIF_PAGE)
      bar.page = std::min(lpsi->nPage, static_cast<UINT>(std::max(0, bar.max - bar.min + 1)));
    if (lpsi->fMask & SIF_POS) bar.pos = lpsi->nPos;
    bar.pos = clampPos(bar, bar.pos);
    show = (lpsi->fMask & SIF_DISABLENOSCROLL) ||
           (bar.max > bar.min && static_cast<int>(bar.page) <= bar.max - bar.min);
    return bar.pos;
  });
  if (IsWindow(hwnd)) ShowScrollBar(hwnd, nBar, show);
  redraw(hwnd, nBar, redrawn);
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) {
  if (!lpsi || !validBar(nBar)) return FALSE;
  return plat::withWindow(hwnd, FALSE, [&](Window& window) {
    const Window::ScrollBar& bar = window.scrollBars[nBar];
    if (lpsi->fMask & SIF_RANGE) {
      lpsi->nMin = bar.min;
      lpsi->nMax = bar.max;
    }
    if (lpsi->fMask & SIF_PAGE) lpsi->nPage = bar.page;
    if (lpsi->fMask & SIF_POS) lpsi->nPos = bar.pos;
    if (lpsi->fMask & SIF_TRACKPOS) lpsi->nTrackPos = bar.track;
    return TRUE;
  });
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw) {
  if (!validBar(nBar)) return 0;
  const int old = plat::withWindow(hWnd, 0, [&](Window& window) {
    Window::ScrollBar& bar = window.scrollBars[nBar];
    const int was = bar.pos;
    bar.pos = clampPos(bar, nPos);
    return was;
  });
  redraw(hWnd, nBar, bRedraw);
  return old;
}

int GetScrollPos(HWND hWnd, int nBar) {
  if (!validBar(nBar)) return 0;
  return plat::withWindow(hWnd, 0, [&](Window& window) { return window.scrollBars[nBar].pos; });
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
  if (!validBar(nBar)) return FALSE;
  const BOOL set = plat::withWindow(hWnd, FALSE, [&](Window& window) {
    Window::ScrollBar& bar = window.scrollBars[nBar];
    bar.min = nMinPos;
    bar.max = nMaxPos;
    bar.pos = clampPos(bar, bar.pos);
    return TRUE;
  });
  redraw(hWnd, nBar, set && bRedraw);
  return set;
}

BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos) {
  if (!validBar(nBar) || !lpMinPos || !lpMaxPos) return FALSE;
  return plat::withWindow(hWnd, FALSE, [&](Window& window) {
    *lpMinPos = window.scrollBars[nBar].min;
    *lpMaxPos = window.scrollBars[nBar].max;
    return TRUE;
  });
}

BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow) {
  if (!IsWindow(hWnd)) return FALSE;
  const DWORD bits = wBar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : validBar(wBar) ? styleOf(wBar) : 0;
  const auto style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
  const DWORD next = bShow ? (style | bits) : (style & ~bits);
  if (next != style) {
    SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>(next));
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  }
  return TRUE;
}

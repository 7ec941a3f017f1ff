#include "windows/main/CAppBar.h"

#include "skin/CWindowPlacer.h"

#include <mfc/afxwin.h>
#include <win32/user/appbar.h>

namespace {

constexpr int kStripThickness = 2;

APPBARDATA BarData(HWND hwnd, int edge) {
  APPBARDATA data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uEdge = static_cast<UINT>(edge);
  return data;
}

}  // namespace

CAppBar::CAppBar(HWND hwnd) : m_hwnd(hwnd) { m_state.hidden = TRUE; }

CAppBar::~CAppBar() = default;

BOOL CAppBar::Register() {
  APPBARDATA data = BarData(m_hwnd, m_state.edge);
  data.uCallbackMessage = kCallbackMessage;
  m_registered = static_cast<BOOL>(::SHAppBarMessage(ABM_NEW, &data));
  return m_registered;
}

BOOL CAppBar::Unregister() {
  APPBARDATA data = BarData(m_hwnd, m_state.edge);
  const BOOL removed = static_cast<BOOL>(::SHAppBarMessage(ABM_REMOVE, &data));
  if (removed) m_registered = FALSE;
  return removed;
}

void CAppBar::SetState(const AppBarState& state) {
  m_state = state;
  m_savedWidth = state.width;
  m_savedHeight = state.height;
}

void CAppBar::SetPos(int edge, const RECT& rect, BOOL move, BOOL noMove) {
  m_state.edge = edge;
  if (move && !noMove)
    ::SetWindowPos(m_hwnd, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOZORDER);
  if (!m_state.autoHide) m_rect = rect;
}

void CAppBar::DockTo(int edge, RECT rect, BOOL noMove) {
  if (m_state.autoHide) DisableAutoHide();
  switch (edge) {
    case ABE_LEFT: rect.right = rect.left + m_state.width; break;
    case ABE_TOP: rect.bottom = rect.top + m_state.height; break;
    case ABE_RIGHT: rect.left = rect.right - m_state.width; break;
    default: rect.top = rect.bottom - m_state.height; break;
  }
  SetPos(edge, rect, TRUE, noMove);
}

BOOL CAppBar::SetAutoHide(BOOL on) { return on ? EnableAutoHide() : DisableAutoHide(); }

// The shell takes the bar as its edge's auto-hide bar only while the edge has none (the
// TV window's bar may hold it); the bar hides to its strip either way.
BOOL CAppBar::EnableAutoHide() {
  APPBARDATA data = BarData(m_hwnd, m_state.edge);
  if (!::SHAppBarMessage(ABM_GETAUTOHIDEBAR, &data)) {
    data.lParam = TRUE;
    ::SHAppBarMessage(ABM_SETAUTOHIDEBAR, &data);
  }
  m_state.autoHide = TRUE;
  m_savedWidth = m_state.width;
  m_savedHeight = m_state.height;
  SetPos(m_state.edge, HiddenStrip(m_rect), TRUE, FALSE);
  return TRUE;
}

BOOL CAppBar::DisableAutoHide() {
  APPBARDATA data = BarData(m_hwnd, m_state.edge);
  if (reinterpret_cast<HWND>(::SHAppBarMessage(ABM_GETAUTOHIDEBAR, &data)) != m_hwnd) return FALSE;
  data.lParam = FALSE;
  if (!::SHAppBarMessage(ABM_SETAUTOHIDEBAR, &data)) return FALSE;
  m_state.autoHide = FALSE;
  m_state.width = m_savedWidth;
  m_state.height = m_savedHeight;
  return TRUE;
}

RECT CAppBar::HiddenStrip(const RECT& rect) const {
  RECT strip = rect;
  switch (m_state.edge) {
    case ABE_LEFT: strip.right = strip.left + kStripThickness; break;
    case ABE_TOP: strip.bottom = strip.top + kStripThickness; break;
    case ABE_RIGHT: strip.left = strip.right - kStripThickness; break;
    default: strip.top = strip.bottom; break;
  }
  return strip;
}

void CAppBar::Place(const RECT& rect) {
  CWnd* bar = CWnd::FromHandle(m_hwnd);
  CWnd* reference = m_referenceWindow ? CWnd::FromHandle(m_referenceWindow) : nullptr;
  if (bar && reference) CWindowPlacer::PlaceWindow(bar, rect, reference);
}

void CAppBar::Hide(BOOL onlyMark) {
  const RECT strip = HiddenStrip(m_rect);
  m_state.hidden = TRUE;
  if (!onlyMark) Place(strip);
}

void CAppBar::Show() {
  if (m_firstShow) {
    ::ShowWindow(m_hwnd, SW_SHOW);
    m_firstShow = FALSE;
  }
  Place(m_rect);
  m_state.hidden = FALSE;
}

void CAppBar::WindowHidden() {
  m_state.hidden = TRUE;
  m_firstShow = TRUE;
}

void CAppBar::StartHideTimer() {
  if (m_state.autoHide) ::SetTimer(m_hwnd, kHideTimer, kHideTimerMs, nullptr);
}

void CAppBar::StartShowTimer() { ::SetTimer(m_hwnd, kShowTimer, kShowTimerMs, nullptr); }

void CAppBar::SetDockRect(int left, int top, int right, int bottom) {
  m_rect = {left, top, right, bottom};
  m_rect.top = m_rect.bottom - m_savedHeight;
}

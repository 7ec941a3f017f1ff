#include <win32/user/Tooltip.h>

#include <win32/gdi.h>
#include <win32/user.h>

#include <algorithm>
#include <cstddef>

namespace plat {

namespace {

constexpr const char* kStateProp = "plat.tooltip";
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
// While a tip is pending or up, the pointer is looked at this often: a tool that stops
// relaying (the pointer went on to another window) must not keep its tip.
constexpr UINT_PTR kLeaveTimer = 3;
constexpr UINT kLeaveCheckMs = 100;
// The tip's top left from the pointer's hot spot: below the arrow's drawn part.
constexpr int kBelowPointer = 20;
// Text margins inside the one-pixel frame.
constexpr int kMarginX = 3;
constexpr int kMarginY = 1;
// The oldest TOOLINFO layout ends after lpszText.
constexpr UINT kMinToolInfoSize = offsetof(TOOLINFOA, lParam);

bool isRelayedMouse(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return true;
    default:
      return false;
  }
}

std::string copyText(LPCSTR text) { return text ? std::string(text) : std::string(); }

bool contains(const RECT& rect, POINT point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

LRESULT CALLBACK Tooltip::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) SetPropA(hwnd, kStateProp, reinterpret_cast<HANDLE>(new Tooltip(hwnd)));
  auto* tip = reinterpret_cast<Tooltip*>(GetPropA(hwnd, kStateProp));
  if (message == WM_NCDESTROY) {
    delete reinterpret_cast<Tooltip*>(RemovePropA(hwnd, kStateProp));
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  if (!tip) return DefWindowProcA(hwnd, message, wParam, lParam);
  return tip->handle(message, wParam, lParam);
}

LRESULT Tooltip::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TTM_ACTIVATE:
      activate(wParam != 0);
      return 0;
    case TTM_ADDTOOLA:
      return addTool(reinterpret_cast<const TOOLINFOA*>(lParam));
    case TTM_UPDATETIPTEXTA:
      updateText(reinterpret_cast<const TOOLINFOA*>(lParam));
      return 0;
    case TTM_GETTOOLCOUNT:
      return static_cast<LRESULT>(m_tools.size());
    case TTM_RELAYEVENT:
      if (lParam) relay(*reinterpret_cast<const MSG*>(lParam));
      return 0;
    case WM_TIMER:
      onTimer(wParam);
      return 0;
    case WM_NCHITTEST:
      // The tip never takes the mouse from the tool beneath it.
      return HTTRANSPARENT;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      paint();
      return 0;
    default:
      return DefWindowProcA(m_hwnd, message, wParam, lParam);
  }
}

BOOL Tooltip::addTool(const TOOLINFOA* info) {
  if (!info || info->cbSize < kMinToolInfoSize) return FALSE;
  m_tools.push_back(Tool{info->uFlags, info->hwnd, info->uId, info->rect, copyText(info->lpszText)});
  return TRUE;
}

void Tooltip::updateText(const TOOLINFOA* info) {
  if (!info || info->cbSize < kMinToolInfoSize) return;
  const std::size_t index = find(info->hwnd, info->uId);
  if (index == kNone) return;
  m_tools[index].text = copyText(info->lpszText);
  if (m_shown && index == m_current) {
    SetWindowTextA(m_hwnd, m_tools[index].text.c_str());
    fitText();
    InvalidateRect(m_hwnd, nullptr, TRUE);
  }
}

void Tooltip::activate(bool active) {
  m_active = active;
  if (active) return;
  m_pressed = false;
  enter(kNone);
}

void Tooltip::relay(const MSG& msg) {
  if (!m_active || !isRelayedMouse(msg.message)) return;
  const POINT point{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  const std::size_t tool = toolAt(msg.hwnd, point);
  if (tool != m_current) {
    m_pressed = false;
    enter(tool);
  }
  if (msg.message != WM_MOUSEMOVE && tool != kNone) {
    hide();
    m_pressed = true;
  }
}

void Tooltip::enter(std::size_t tool) {
  const bool wasShown = m_shown;
  hide();
  m_current = tool;
  if (tool == kNone) {
    KillTimer(m_hwnd, kLeaveTimer);
    return;
  }
  SetTimer(m_hwnd, kShowTimer, wasShown ? kReshowMs : kInitialDelayMs, nullptr);
  SetTimer(m_hwnd, kLeaveTimer, kLeaveCheckMs, nullptr);
}

void Tooltip::onTimer(UINT_PTR id) {
  if (id == kLeaveTimer) {
    if (!pointerOnCurrent()) {
      m_pressed = false;
      enter(kNone);
    }
    return;
  }
  KillTimer(m_hwnd, id);
  if (id == kShowTimer && m_active && !m_pressed && m_current != kNone) show();
  if (id == kPopTimer) hide();
}

bool Tooltip::pointerOnCurrent() const {
  if (m_current == kNone) return false;
  POINT pointer{};
  GetCursorPos(&pointer);
  HWND under = WindowFromPoint(pointer);
  if (!under) return false;
  ScreenToClient(under, &pointer);
  return toolAt(under, pointer) == m_current;
}

std::size_t Tooltip::toolAt(HWND hwnd, POINT point) const {
  for (std::size_t i = 0; i < m_tools.size(); ++i) {
    const Tool& tool = m_tools[i];
    if (tool.flags & TTF_IDISHWND) {
      if (reinterpret_cast<HWND>(tool.id) == hwnd) return i;
    } else if (tool.hwnd == hwnd && contains(tool.rect, point)) {
      return i;
    }
  }
  return kNone;
}

std::size_t Tooltip::find(HWND hwnd, UINT_PTR id) const {
  for (std::size_t i = 0; i < m_tools.size(); ++i)
    if (m_tools[i].hwnd == hwnd && m_tools[i].id == id) return i;
  return kNone;
}

void Tooltip::show() {
  const Tool& tool = m_tools[m_current];
  // An empty text shows nothing, as on Windows.
  if (tool.text.empty()) return;
  SetWindowTextA(m_hwnd, tool.text.c_str());
  fitText();
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT rect;
  GetWindowRect(m_hwnd, &rect);
  const int cx = rect.right - rect.left;
  const int cy = rect.bottom - rect.top;
  // Kept on the screen.
  const int x = std::clamp(static_cast<int>(cursor.x), 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - cx));
  const int y = std::clamp(static_cast<int>(cursor.y) + kBelowPointer, 0,
                           std::max(0, GetSystemMetrics(SM_CYSCREEN) - cy));
  SetWindowPos(m_hwnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  m_shown = true;
  SetTimer(m_hwnd, kPopTimer, kAutopopMs, nullptr);
}

void Tooltip::hide() {
  KillTimer(m_hwnd, kShowTimer);
  KillTimer(m_hwnd, kPopTimer);
  if (!m_shown) return;
  m_shown = false;
  ShowWindow(m_hwnd, SW_HIDE);
}

void Tooltip::fitText() {
  const std::string& text = m_tools[m_current].text;
  HDC hdc = GetDC(m_hwnd);
  HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent{};
  GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(hdc, old);
  ReleaseDC(m_hwnd, hdc);
  SetWindowPos(m_hwnd, nullptr, 0, 0, extent.cx + 2 * (kMarginX + 1), extent.cy + 2 * (kMarginY + 1),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Tooltip::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(m_hwnd, &ps);
  RECT rect;
  GetClientRect(m_hwnd, &rect);
  FillRect(hdc, &rect, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1)));
  FrameRect(hdc, &rect, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOTEXT + 1)));
  if (m_current != kNone) {
    const std::string& text = m_tools[m_current].text;
    HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_INFOTEXT));
    rect.left += kMarginX + 1;
    rect.top += kMarginY + 1;
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_LEFT | DT_TOP);
    SelectObject(hdc, old);
  }
  EndPaint(m_hwnd, &ps);
}

}  // namespace plat

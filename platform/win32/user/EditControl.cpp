#include <win32/user/EditControl.h>

#include <com/globalmem.h>
#include <win32/gdi.h>
#include <win32/user.h>
#include <win32/user/ControlState.h>
#include <win32/user/clipboard.h>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

constexpr const char* kStateProp = "plat.edit";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

LRESULT CALLBACK EditControl::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return routeToState<EditControl>(kStateProp, hwnd, message, wParam, lParam, [](HWND h) { return new EditControl(h); },
                            &EditControl::handle);
}

std::string EditControl::text() const {
  const int length = GetWindowTextLengthA(m_hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(m_hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void EditControl::setText(const std::string& text) {
  DefWindowProcA(m_hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool EditControl::readOnly() const { return (GetWindowLongA(m_hwnd, GWL_STYLE) & ES_READONLY) != 0; }

void EditControl::notify(WORD code) const {
  HWND parent = GetParent(m_hwnd);
  if (parent)
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hwnd), code), reinterpret_cast<LPARAM>(m_hwnd));
}

void EditControl::changed() {
  m_modified = true;
  notify(EN_UPDATE);
  InvalidateRect(m_hwnd, nullptr, TRUE);
  placeCaret();
  notify(EN_CHANGE);
}

void EditControl::setSel(int start, int end) {
  const int length = static_cast<int>(text().size());
  if (start < 0) {
    m_anchor = m_caret = std::clamp(end < 0 ? length : end, 0, length);
  } else {
    m_anchor = std::clamp(start, 0, length);
    m_caret = std::clamp(end < 0 ? length : end, 0, length);
  }
  InvalidateRect(m_hwnd, nullptr, TRUE);
  placeCaret();
}

bool EditControl::replaceSelection(const std::string& insert, bool fromUser) {
  std::string current = text();
  // One line: what follows a line break is dropped.
  std::string piece = insert.substr(0, insert.find_first_of("\r\n"));
  const int room = m_limit - (static_cast<int>(current.size()) - (selEnd() - selStart()));
  if (static_cast<int>(piece.size()) > room) {
    piece.resize(static_cast<std::size_t>(std::max(0, room)));
    if (fromUser) notify(EN_MAXTEXT);
  }
  if (piece.empty() && selStart() == selEnd()) return false;
  const int start = selStart();
  current.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(selEnd() - start), piece);
  setText(current);
  m_anchor = m_caret = start + static_cast<int>(piece.size());
  changed();
  return true;
}

void EditControl::onChar(char c) {
  if (c == 0x16) return paste();
  if (c == 0x03) return copy();
  if (c == 0x18) {
    copy();
    if (!readOnly() && selStart() != selEnd()) replaceSelection("", true);
    return;
  }
  if (readOnly()) return;
  if (c == '\b') {
    if (selStart() == selEnd() && m_caret > 0) m_anchor = m_caret - 1;
    replaceSelection("", true);
    return;
  }
  if (static_cast<unsigned char>(c) < 0x20) return;
  // ES_NUMBER refuses what is typed; pasted text is not checked, as on Windows.
  if ((GetWindowLongA(m_hwnd, GWL_STYLE) & ES_NUMBER) && !isDigit(c)) return;
  replaceSelection(std::string(1, c), true);
}

void EditControl::onKey(int vk) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const int length = static_cast<int>(text().size());
  int caret = m_caret;
  switch (vk) {
    case VK_LEFT: caret = std::max(0, caret - 1); break;
    case VK_RIGHT: caret = std::min(length, caret + 1); break;
    case VK_HOME: caret = 0; break;
    case VK_END: caret = length; break;
    case VK_DELETE:
      if (readOnly()) return;
      if (selStart() == selEnd()) {
        if (m_caret >= length) return;
        m_caret = m_caret + 1;
      }
      replaceSelection("", true);
      return;
    default:
      return;
  }
  m_caret = caret;
  if (!shift) m_anchor = caret;
  InvalidateRect(m_hwnd, nullptr, TRUE);
  placeCaret();
}

void EditControl::paste() {
  if (readOnly() || !OpenClipboard(m_hwnd)) return;
  std::string pasted;
  if (auto* data = static_cast<HGLOBAL>(GetClipboardData(CF_TEXT))) {
    if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
      pasted.assign(chars, strnlen(chars, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (!pasted.empty()) replaceSelection(pasted, true);
}

void EditControl::copy() const {
  if (selStart() == selEnd() || (GetWindowLongA(m_hwnd, GWL_STYLE) & ES_PASSWORD)) return;
  const std::string chosen = text().substr(static_cast<std::size_t>(selStart()), static_cast<std::size_t>(selEnd() - selStart()));
  if (!OpenClipboard(m_hwnd)) return;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, chosen.size() + 1);
  if (auto* chars = static_cast<char*>(GlobalLock(block))) {
    std::memcpy(chars, chosen.c_str(), chosen.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
  }
  CloseClipboard();
}

int EditControl::textWidth(const std::string& text) const {
  HDC hdc = GetDC(m_hwnd);
  HGDIOBJ old = SelectObject(hdc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(hdc, old);
  ReleaseDC(m_hwnd, hdc);
  return size.cx;
}

int EditControl::textLeft(int width) const {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  const auto style = static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE));
  if (style & ES_CENTER) return (client.right - width) / 2;
  if (style & ES_RIGHT) return client.right - m_rightMargin - width;
  return m_leftMargin;
}

int EditControl::textHeight() const {
  HDC hdc = GetDC(m_hwnd);
  HGDIOBJ old = SelectObject(hdc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(m_hwnd, hdc);
  return metrics.tmHeight;
}

std::string EditControl::shownText() const {
  std::string shown = text();
  if (GetWindowLongA(m_hwnd, GWL_STYLE) & ES_PASSWORD) shown.assign(shown.size(), '*');
  return shown;
}

void EditControl::makeCaret() {
  CreateCaret(m_hwnd, nullptr, 1, textHeight());
  placeCaret();
  ShowCaret(m_hwnd);
}

void EditControl::placeCaret() const {
  if (!m_focused) return;
  const std::string shown = shownText();
  RECT client{};
  GetClientRect(m_hwnd, &client);
  const int x = textLeft(textWidth(shown)) + textWidth(shown.substr(0, static_cast<std::size_t>(m_caret)));
  SetCaretPos(x, (client.bottom - textHeight()) / 2);
}

int EditControl::indexAt(int x) const {
  const std::string all = text();
  const int left = textLeft(textWidth(all));
  for (std::size_t i = 0; i < all.size(); ++i) {
    const int before = textWidth(all.substr(0, i));
    const int after = textWidth(all.substr(0, i + 1));
    if (x - left < (before + after) / 2) return static_cast<int>(i);
  }
  return static_cast<int>(all.size());
}

void EditControl::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(m_hwnd, &ps);
  RECT client{};
  GetClientRect(m_hwnd, &client);
  HWND parent = GetParent(m_hwnd);
  SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
  const UINT ask = readOnly() ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  auto brush = parent ? reinterpret_cast<HBRUSH>(SendMessageA(parent, ask, reinterpret_cast<WPARAM>(hdc),
                                                              reinterpret_cast<LPARAM>(m_hwnd)))
                      : nullptr;
  FillRect(hdc, &client, brush ? brush : reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  HGDIOBJ old = SelectObject(hdc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
  const std::string shown = shownText();
  const int width = textWidth(shown);
  const int left = textLeft(width);
  TEXTMETRICA metrics{};
  GetTextMetricsA(hdc, &metrics);
  const int top = (client.bottom - metrics.tmHeight) / 2;
  SetBkMode(hdc, TRANSPARENT);
  TextOutA(hdc, left, top, shown.c_str(), static_cast<int>(shown.size()));
  if (m_focused && selStart() != selEnd()) {
    const int from = left + textWidth(shown.substr(0, static_cast<std::size_t>(selStart())));
    const int to = left + textWidth(shown.substr(0, static_cast<std::size_t>(selEnd())));
    RECT band{from, top, to, top + metrics.tmHeight};
    FillRect(hdc, &band, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_HIGHLIGHT + 1)));
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    const std::string chosen = shown.substr(static_cast<std::size_t>(selStart()), static_cast<std::size_t>(selEnd() - selStart()));
    TextOutA(hdc, from, top, chosen.c_str(), static_cast<int>(chosen.size()));
  }
  SelectObject(hdc, old);
  EndPaint(m_hwnd, &ps);
}

LRESULT EditControl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT: {
      DefWindowProcA(m_hwnd, message, wParam, lParam);
      m_anchor = m_caret = 0;
      m_modified = false;
      // A single-line edit reports a change for text set by the program too.
      notify(EN_UPDATE);
      InvalidateRect(m_hwnd, nullptr, TRUE);
      placeCaret();
      notify(EN_CHANGE);
      return TRUE;
    }
    case WM_CHAR:
      onChar(static_cast<char>(wParam));
      return 0;
    case WM_KEYDOWN:
      onKey(static_cast<int>(wParam));
      return 0;
    case WM_PASTE:
      paste();
      return 0;
    case WM_COPY:
      copy();
      return 0;
    case WM_CUT:
      copy();
      [[fallthrough]];
    case WM_CLEAR:
      if (!readOnly() && selStart() != selEnd()) replaceSelection("", false);
      return 0;
    case EM_GETSEL:
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(selStart());
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(selEnd());
      return MAKELONG(selStart(), selEnd());
    case EM_SETSEL:
      setSel(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case EM_REPLACESEL:
      replaceSelection(lParam ? reinterpret_cast<LPCSTR>(lParam) : "", false);
      return 0;
    case EM_LIMITTEXT:
      m_limit = wParam ? static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE)) : 0x7FFFFFFE;
      return 0;
    case EM_GETLIMITTEXT:
      return m_limit;
    case EM_GETMODIFY:
      return m_modified;
    case EM_SETMODIFY:
      m_modified = wParam != 0;
      return 0;
    case EM_SCROLLCARET:
      return TRUE;
    case EM_GETRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (rect) {
        GetClientRect(m_hwnd, rect);
        rect->left += m_leftMargin;
        rect->right -= m_rightMargin;
      }
      return 0;
    }
    case EM_SETMARGINS:
      if (wParam & EC_LEFTMARGIN) m_leftMargin = LOWORD(lParam);
      if (wParam & EC_RIGHTMARGIN) m_rightMargin = HIWORD(lParam);
      InvalidateRect(m_hwnd, nullptr, TRUE);
      placeCaret();
      return 0;
    case EM_GETMARGINS:
      return MAKELONG(m_leftMargin, m_rightMargin);
    case EM_SETREADONLY: {
      const auto style = static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE));
      SetWindowLongA(m_hwnd, GWL_STYLE, static_cast<LONG>(wParam ? style | ES_READONLY : style & ~ES_READONLY));
      InvalidateRect(m_hwnd, nullptr, TRUE);
      return TRUE;
    }
    case WM_SETFONT:
      m_font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(m_hwnd, nullptr, TRUE);
      if (m_focused) makeCaret();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(m_font);
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      SetFocus(m_hwnd);
      m_anchor = m_caret = indexAt(GET_X_LPARAM(lParam));
      InvalidateRect(m_hwnd, nullptr, TRUE);
      placeCaret();
      return 0;
    case WM_SETFOCUS:
      m_focused = true;
      makeCaret();
      InvalidateRect(m_hwnd, nullptr, TRUE);
      notify(EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      m_focused = false;
      DestroyCaret();
      InvalidateRect(m_hwnd, nullptr, TRUE);
      notify(EN_KILLFOCUS);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    default:
      return DefWindowProcA(m_hwnd, message, wParam, lParam);
  }
}

}  // namespace plat

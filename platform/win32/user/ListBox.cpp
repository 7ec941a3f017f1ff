#include <win32/user/ListBox.h>

#include <win32/gdi.h>
#include <win32/user.h>
#include <win32/user/ControlState.h>
#include <win32/user/ScrollBarGeometry.h>
#include <win32/user/scroll.h>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

constexpr const char* kStateProp = "plat.listbox";

}  // namespace

LRESULT CALLBACK ListBox::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return routeToState<ListBox>(kStateProp, hwnd, message, wParam, lParam, [](HWND h) { return new ListBox(h); },
                         &ListBox::handle);
}

bool ListBox::ownerDrawn() const {
  return (GetWindowLongA(m_hwnd, GWL_STYLE) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

void ListBox::notify(WORD code) const {
  if (!(GetWindowLongA(m_hwnd, GWL_STYLE) & LBS_NOTIFY)) return;
  if (HWND parent = GetParent(m_hwnd))
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hwnd), code), reinterpret_cast<LPARAM>(m_hwnd));
}

int ListBox::measure(int index) {
  if (!ownerDrawn()) return kDefaultItemHeight;
  const bool variable = (GetWindowLongA(m_hwnd, GWL_STYLE) & LBS_OWNERDRAWVARIABLE) != 0;
  if (!variable && index > 0) return m_items.front().height;
  MEASUREITEMSTRUCT measure{ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(m_hwnd)), static_cast<UINT>(index), 0,
                            static_cast<UINT>(kDefaultItemHeight), m_items[static_cast<std::size_t>(index)].data};
  if (HWND parent = GetParent(m_hwnd)) SendMessageA(parent, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
  return std::max(1, static_cast<int>(measure.itemHeight));
}

int ListBox::insert(int at, LPCSTR text) {
  const int index = at < 0 || at > count() ? count() : at;
  Item item;
  if (text && (!ownerDrawn() || (GetWindowLongA(m_hwnd, GWL_STYLE) & LBS_HASSTRINGS))) item.text = text;
  else if (ownerDrawn()) item.data = reinterpret_cast<ULONG_PTR>(text);
  m_items.insert(m_items.begin() + index, item);
  m_items[static_cast<std::size_t>(index)].height = measure(index);
  if (m_sel >= index) ++m_sel;
  InvalidateRect(m_hwnd, nullptr, TRUE);
  updateScrollBar();
  return index;
}

RECT ListBox::itemRect(int index) const {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  int top = 0;
  if (index >= m_top)
    for (int i = m_top; i < index; ++i) top += m_items[static_cast<std::size_t>(i)].height;
  else
    for (int i = index; i < m_top; ++i) top -= m_items[static_cast<std::size_t>(i)].height;
  const int height = valid(index) ? m_items[static_cast<std::size_t>(index)].height : 0;
  return RECT{0, top, client.right, top + height};
}

int ListBox::itemAt(POINT client) const {
  for (int i = m_top; i < count(); ++i) {
    const RECT rect = itemRect(i);
    if (PtInRect(&rect, client)) return i;
  }
  return -1;
}

void ListBox::ensureVisible(int index) {
  if (!valid(index)) return;
  RECT client{};
  GetClientRect(m_hwnd, &client);
  if (index < m_top) m_top = index;
  while (m_top < index && itemRect(index).bottom > client.bottom) ++m_top;
  InvalidateRect(m_hwnd, nullptr, TRUE);
  updateScrollBar();
}

int ListBox::perPage() const {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  int shown = 0;
  for (int i = m_top; i < count() && itemRect(i).bottom <= client.bottom; ++i) ++shown;
  return std::max(1, shown);
}

void ListBox::scrollTo(int top) {
  m_top = std::clamp(top, 0, std::max(0, count() - 1));
  InvalidateRect(m_hwnd, nullptr, TRUE);
  updateScrollBar();
}

void ListBox::onScroll(WPARAM request) {
  scrollTo(ScrollBarGeometry::requested(request, m_top, perPage(), count() - perPage()));
}

void ListBox::updateScrollBar() {
  if (!m_hasBar) return;
  const bool keep = (GetWindowLongA(m_hwnd, GWL_STYLE) & LBS_DISABLENOSCROLL) != 0;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | (keep ? SIF_DISABLENOSCROLL : 0u), 0, count() - 1,
                  static_cast<UINT>(perPage()), m_top, 0};
  SetScrollInfo(m_hwnd, SB_VERT, &info, TRUE);
}

void ListBox::select(int index, bool notifyChange) {
  const int next = valid(index) ? index : -1;
  const bool changed = next != m_sel;
  m_sel = next;
  if (next >= 0) m_caret = next;
  ensureVisible(next);
  InvalidateRect(m_hwnd, nullptr, TRUE);
  if (changed && notifyChange) notify(LBN_SELCHANGE);
}

void ListBox::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(m_hwnd, &ps);
  RECT client{};
  GetClientRect(m_hwnd, &client);
  HGDIOBJ old = SelectObject(hdc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
  if (!ownerDrawn()) FillRect(hdc, &client, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  for (int i = m_top; i < count(); ++i) {
    const RECT rect = itemRect(i);
    if (rect.top >= client.bottom) break;
    const bool selected = i == m_sel;
    if (ownerDrawn()) {
      UINT state = selected ? ODS_SELECTED : 0;
      if (i == m_caret && GetFocus() == m_hwnd) state |= ODS_FOCUS;
      DRAWITEMSTRUCT draw{ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(m_hwnd)), static_cast<UINT>(i), ODA_DRAWENTIRE,
                          state, m_hwnd, hdc, rect, m_items[static_cast<std::size_t>(i)].data};
      if (HWND parent = GetParent(m_hwnd)) SendMessageA(parent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
      continue;
    }
    if (selected) FillRect(hdc, &rect, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_HIGHLIGHT + 1)));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = rect;
    text.left += 2;
    DrawTextA(hdc, m_items[static_cast<std::size_t>(i)].text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(hdc, old);
  EndPaint(m_hwnd, &ps);
}

LRESULT ListBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  switch (message) {
    case LB_ADDSTRING:
      return insert(-1, reinterpret_cast<LPCSTR>(lParam));
    case LB_INSERTSTRING:
      return insert(index, reinterpret_cast<LPCSTR>(lParam));
    case LB_DELETESTRING:
      if (!valid(index)) return LB_ERR;
      m_items.erase(m_items.begin() + index);
      if (m_sel == index) m_sel = -1;
      else if (m_sel > index) --m_sel;
      scrollTo(m_top);
      return count();
    case LB_RESETCONTENT:
      m_items.clear();
      m_sel = -1;
      m_caret = 0;
      scrollTo(0);
      return 0;
    case LB_GETCOUNT:
      return count();
    case LB_SETCURSEL:
      select(index, false);
      return index >= 0 && !valid(index) ? LB_ERR : m_sel;
    case LB_GETCURSEL:
      return m_sel;
    case LB_GETTEXTLEN:
      return valid(index) ? static_cast<LRESULT>(m_items[static_cast<std::size_t>(index)].text.size()) : LB_ERR;
    case LB_GETTEXT:
      if (!valid(index) || !lParam) return LB_ERR;
      std::memcpy(reinterpret_cast<char*>(lParam), m_items[static_cast<std::size_t>(index)].text.c_str(),
                  m_items[static_cast<std::size_t>(index)].text.size() + 1);
      return static_cast<LRESULT>(m_items[static_cast<std::size_t>(index)].text.size());
    case LB_GETITEMDATA:
      return valid(index) ? static_cast<LRESULT>(m_items[static_cast<std::size_t>(index)].data) : LB_ERR;
    case LB_SETITEMDATA:
      if (!valid(index)) return LB_ERR;
      m_items[static_cast<std::size_t>(index)].data = static_cast<ULONG_PTR>(lParam);
      return TRUE;
    case LB_GETITEMRECT:
      if (!valid(index) || !lParam) return LB_ERR;
      *reinterpret_cast<RECT*>(lParam) = itemRect(index);
      return TRUE;
    case LB_SETITEMHEIGHT:
      if (!valid(index)) return LB_ERR;
      m_items[static_cast<std::size_t>(index)].height = static_cast<int>(LOWORD(lParam));
      return 0;
    case LB_GETITEMHEIGHT:
      return valid(index) ? m_items[static_cast<std::size_t>(index)].height : kDefaultItemHeight;
    case LB_GETTOPINDEX:
      return m_top;
    case LB_SETTOPINDEX:
      if (!valid(index)) return LB_ERR;
      scrollTo(index);
      return 0;
    case LB_GETCARETINDEX:
      return m_caret;
    case LB_SETCARETINDEX:
      if (!valid(index)) return LB_ERR;
      m_caret = index;
      return 0;
    case LB_ITEMFROMPOINT: {
      const int item = itemAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return item < 0 ? MAKELONG(std::max(0, count() - 1), 1) : MAKELONG(item, 0);
    }
    case WM_SETFONT:
      m_font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(m_font);
    case WM_LBUTTONDOWN: {
      SetFocus(m_hwnd);
      const int item = itemAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (item >= 0) select(item, true);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      notify(LBN_DBLCLK);
      return 0;
    case WM_KEYDOWN: {
      int next = m_caret;
      switch (wParam) {
        case VK_UP: next = m_caret - 1; break;
        case VK_DOWN: next = m_sel < 0 ? 0 : m_caret + 1; break;
        case VK_HOME: next = 0; break;
        case VK_END: next = count() - 1; break;
        default: return 0;
      }
      if (count() > 0) select(std::clamp(next, 0, count() - 1), true);
      return 0;
    }
    case WM_MOUSEWHEEL:
      scrollTo(m_top - static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA);
      return 0;
    case WM_VSCROLL:
      onScroll(wParam);
      return 0;
    case WM_CREATE:
      m_hasBar = (GetWindowLongA(m_hwnd, GWL_STYLE) & WS_VSCROLL) != 0;
      updateScrollBar();
      return 0;
    case WM_SIZE:
      updateScrollBar();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
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

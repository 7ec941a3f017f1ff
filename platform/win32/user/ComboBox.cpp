#include <win32/user/ComboBox.h>

#include <win32/gdi.h>
#include <win32/user.h>
#include <win32/user/ControlState.h>
#include <win32/user/ScrollBarGeometry.h>
#include <win32/user/ScrollBarTracker.h>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

constexpr const char* kStateProp = "plat.combobox";
constexpr int kArrowWidth = 16;

}  // namespace

LRESULT CALLBACK ComboBox::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return routeToState<ComboBox>(kStateProp, hwnd, message, wParam, lParam, [](HWND h) { return new ComboBox(h); },
                            &ComboBox::handle);
}

// A list still dropped goes with its combo box.
ComboBox::~ComboBox() {
  if (m_list && IsWindow(m_list)) DestroyWindow(m_list);
}

LRESULT CALLBACK ComboBox::listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* combo = reinterpret_cast<ComboBox*>(GetPropA(hwnd, kStateProp));
  if (!combo) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      combo->paintList(hwnd);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return combo->listMouse(hwnd, message, lParam);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd && combo->m_list == hwnd) combo->closeUp(false);
      return 0;
    case WM_VSCROLL:
      combo->onListScroll(wParam);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

bool ComboBox::ownerDrawn() const {
  return (GetWindowLongA(m_hwnd, GWL_STYLE) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

bool ComboBox::variable() const { return (GetWindowLongA(m_hwnd, GWL_STYLE) & CBS_OWNERDRAWVARIABLE) != 0; }

void ComboBox::notify(WORD code) const {
  if (HWND parent = GetParent(m_hwnd))
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hwnd), code), reinterpret_cast<LPARAM>(m_hwnd));
}

// Owner-drawn entries are measured by the parent: all at once for fixed heights, each for
// variable ones (index -1 is the face).
int ComboBox::measure(int index) {
  if (!ownerDrawn()) return kDefaultItemHeight;
  if (!variable() && index >= 0 && !m_items.empty() && index > 0) return m_items.front().height;
  MEASUREITEMSTRUCT measure{ODT_COMBOBOX, static_cast<UINT>(GetDlgCtrlID(m_hwnd)), static_cast<UINT>(index), 0,
                            static_cast<UINT>(kDefaultItemHeight), 0};
  if (index >= 0 && index < count()) measure.itemData = m_items[static_cast<std::size_t>(index)].data;
  if (HWND parent = GetParent(m_hwnd)) SendMessageA(parent, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
  return std::max(1, static_cast<int>(measure.itemHeight));
}

// CB_ADDSTRING into a CBS_SORT list finds the place by text, without case, after the
// entries that compare equal; CB_INSERTSTRING (`sorted` false) takes the place it is given.
int ComboBox::insert(int at, LPCSTR text, bool sorted) {
  Item item;
  item.text = text ? text : "";
  int index = at < 0 || at > count() ? count() : at;
  if (sorted && (GetWindowLongA(m_hwnd, GWL_STYLE) & CBS_SORT)) {
    const auto place = std::upper_bound(m_items.begin(), m_items.end(), item.text, [](const std::string& text, const Item& other) {
      return strcasecmp(text.c_str(), other.text.c_str()) < 0;
    });
    index = static_cast<int>(place - m_items.begin());
  }
  m_items.insert(m_items.begin() + index, item);
  m_items[static_cast<std::size_t>(index)].height = measure(index);
  if (m_sel >= index) ++m_sel;
  InvalidateRect(m_hwnd, nullptr, TRUE);
  return index;
}

bool ComboBox::dropDownList() const { return (GetWindowLongA(m_hwnd, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST; }

// A drop-down list's text is its selected entry's (empty without one); the other kinds show
// the chosen entry in their face text, as their edit would.
void ComboBox::showSelectionText() {
  if (dropDownList()) return;
  const std::string text = m_sel >= 0 ? m_items[static_cast<std::size_t>(m_sel)].text : std::string();
  DefWindowProcA(m_hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT ComboBox::selectionText(UINT message, WPARAM wParam, LPARAM lParam) const {
  const std::string text = m_sel >= 0 ? m_items[static_cast<std::size_t>(m_sel)].text : std::string();
  if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
  auto* buffer = reinterpret_cast<char*>(lParam);
  if (!buffer || wParam == 0) return 0;
  const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(wParam) - 1);
  std::memcpy(buffer, text.data(), copied);
  buffer[copied] = '\0';
  return static_cast<LRESULT>(copied);
}

void ComboBox::setSel(int index, bool notifyChange) {
  const int next = index >= 0 && index < count() ? index : -1;
  const bool changed = next != m_sel;
  m_sel = next;
  showSelectionText();
  InvalidateRect(m_hwnd, nullptr, TRUE);
  if (changed && notifyChange) notify(CBN_SELCHANGE);
}

RECT ComboBox::itemRect(int index) const {
  int top = 1;
  for (int i = m_top; i < index && i < count(); ++i) top += m_items[static_cast<std::size_t>(i)].height;
  for (int i = std::max(index, 0); i < m_top && i < count(); ++i) top -= m_items[static_cast<std::size_t>(i)].height;
  RECT client{};
  if (m_list) GetClientRect(m_list, &client);
  const int height = index >= 0 && index < count() ? m_items[static_cast<std::size_t>(index)].height : 0;
  return RECT{1, top, client.right - 1, top + height};
}

int ComboBox::itemAt(POINT client) const {
  for (int i = 0; i < count(); ++i) {
    const RECT rect = itemRect(i);
    if (PtInRect(&rect, client)) return i;
  }
  return -1;
}

bool ComboBox::hasDropList() const {
  const LONG kind = GetWindowLongA(m_hwnd, GWL_STYLE) & 3;
  return kind == CBS_DROPDOWN || kind == CBS_DROPDOWNLIST;
}

// Sized without WM_WINDOWPOSCHANGING, which would take the field for the drop height.
void ComboBox::fitToField() {
  RECT window{};
  GetWindowRect(m_hwnd, &window);
  SetWindowPos(m_hwnd, nullptr, 0, 0, window.right - window.left, fieldHeight(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
}

void ComboBox::scrollToHot() {
  if (!m_list) return;
  RECT client{};
  GetClientRect(m_list, &client);
  if (m_hot >= 0 && m_hot < m_top) m_top = m_hot;
  // Entries start a pixel down, so the last may reach a pixel past the client area.
  while (m_top < m_hot && itemRect(m_hot).bottom - 1 > client.bottom) ++m_top;
  updateListBar();
}

int ComboBox::listPage() const {
  RECT client{};
  if (m_list) GetClientRect(m_list, &client);
  int shown = 0;
  for (int i = m_top; i < count() && itemRect(i).bottom - 1 <= client.bottom; ++i) ++shown;
  return std::max(1, shown);
}

void ComboBox::updateListBar() {
  if (!m_list || !m_listScrolls) return;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, count() - 1, static_cast<UINT>(listPage()), m_top, 0};
  SetScrollInfo(m_list, SB_VERT, &info, TRUE);
}

void ComboBox::onListScroll(WPARAM request) {
  m_top = ScrollBarGeometry::requested(request, m_top, listPage(), count() - listPage());
  InvalidateRect(m_list, nullptr, TRUE);
  updateListBar();
}

void ComboBox::drop(bool show) {
  if (show == (m_list != nullptr)) return;
  if (!show) {
    closeUp(false);
    return;
  }
  notify(CBN_DROPDOWN);
  RECT window{};
  GetWindowRect(m_hwnd, &window);
  int height = 2;
  const int shown = m_dropHeight > fieldHeight() ? count() : std::min(count(), kMostVisible);
  for (int i = 0; i < shown; ++i) height += m_items[static_cast<std::size_t>(i)].height;
  if (m_dropHeight > fieldHeight()) height = std::min(height, m_dropHeight - fieldHeight());
  height = std::max(height, kDefaultItemHeight + 2);
  m_list = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kListClass, "",
                           WS_POPUP | WS_BORDER | (m_listScrolls ? WS_VSCROLL : 0), window.left, window.bottom,
                           window.right - window.left, height, m_hwnd, nullptr, nullptr, nullptr);
  if (!m_list) return;
  SetPropA(m_list, kStateProp, reinterpret_cast<HANDLE>(this));
  m_hot = m_sel;
  m_top = 0;
  scrollToHot();
  SetWindowPos(m_list, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetCapture(m_list);
}

void ComboBox::closeUp(bool accept) {
  if (!m_list) return;
  HWND list = m_list;
  m_list = nullptr;
  RemovePropA(list, kStateProp);
  if (GetCapture() == list) ReleaseCapture();
  DestroyWindow(list);
  const int chosen = m_hot;
  notify(accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
  notify(CBN_CLOSEUP);
  if (accept) setSel(chosen, true);
  InvalidateRect(m_hwnd, nullptr, TRUE);
}

LRESULT ComboBox::listMouse(HWND list, UINT message, LPARAM lParam) {
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT client{};
  GetClientRect(list, &client);
  const bool inside = PtInRect(&client, pt) != FALSE;
  const int item = inside ? itemAt(pt) : -1;
  if (message == WM_MOUSEMOVE) {
    if (item >= 0 && item != m_hot) {
      m_hot = item;
      InvalidateRect(list, nullptr, TRUE);
    }
    return 0;
  }
  if (message == WM_LBUTTONDOWN && !inside) {
    // A press on the list's scroll bar scrolls it; anywhere else outside the list (over the
    // face too) it closes the list.
    POINT screen = pt;
    ClientToScreen(list, &screen);
    if (SendMessageA(list, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == HTVSCROLL)
      ScrollBarTracker::run(list, SB_VERT, screen);
    else
      closeUp(false);
    return 0;
  }
  if (message == WM_LBUTTONUP && item >= 0) {
    m_hot = item;
    closeUp(true);
  }
  return 0;
}

void ComboBox::drawItem(HDC hdc, int index, const RECT& rect, UINT state) const {
  if (ownerDrawn()) {
    DRAWITEMSTRUCT draw{ODT_COMBOBOX, static_cast<UINT>(GetDlgCtrlID(m_hwnd)), static_cast<UINT>(index), ODA_DRAWENTIRE,
                        state, m_hwnd, hdc, rect, index >= 0 && index < count() ? m_items[static_cast<std::size_t>(index)].data : 0};
    if (HWND parent = GetParent(m_hwnd)) SendMessageA(parent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
    return;
  }
  const bool selected = (state & ODS_SELECTED) != 0;
  const bool disabled = (state & ODS_DISABLED) != 0;
  const int back = disabled ? COLOR_BTNFACE : selected ? COLOR_HIGHLIGHT : COLOR_WINDOW;
  FillRect(hdc, &rect, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(back + 1)));
  if (index < 0 || index >= count()) return;
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT text = rect;
  text.left += 2;
  DrawTextA(hdc, m_items[static_cast<std::size_t>(index)].text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void ComboBox::paintFace() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(m_hwnd, &ps);
  RECT client{};
  GetClientRect(m_hwnd, &client);
  HGDIOBJ old = SelectObject(hdc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
  if (ownerDrawn()) {
    UINT state = ODS_COMBOBOXEDIT;
    if (GetFocus() == m_hwnd) state |= ODS_FOCUS | ODS_SELECTED;
    if (!IsWindowEnabled(m_hwnd)) state |= ODS_DISABLED;
    drawItem(hdc, m_sel, client, state);
  } else {
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    FillRect(hdc, &client, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>((enabled ? COLOR_WINDOW : COLOR_BTNFACE) + 1)));
    DrawEdge(hdc, &client, EDGE_SUNKEN, BF_RECT);
    RECT face{client.left + 2, client.top + 2, client.right - 2 - kArrowWidth, client.bottom - 2};
    drawItem(hdc, m_sel, face, !enabled ? ODS_DISABLED : GetFocus() == m_hwnd ? ODS_SELECTED : 0);
    // The drop button's arrow is grey while the box is disabled.
    RECT arrow{client.right - 2 - kArrowWidth, client.top + 2, client.right - 2, client.bottom - 2};
    DrawFrameControl(hdc, &arrow, DFC_SCROLL, DFCS_SCROLLDOWN | (enabled ? 0 : DFCS_INACTIVE));
  }
  SelectObject(hdc, old);
  EndPaint(m_hwnd, &ps);
}

void ComboBox::paintList(HWND list) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(list, &ps);
  RECT client{};
  GetClientRect(list, &client);
  FillRect(hdc, &client, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  HGDIOBJ old = SelectObject(hdc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
  for (int i = 0; i < count(); ++i) drawItem(hdc, i, itemRect(i), i == m_hot ? ODS_SELECTED : 0);
  SelectObject(hdc, old);
  EndPaint(list, &ps);
}

void ComboBox::onKey(WPARAM vk) {
  const bool alt = GetKeyState(VK_MENU) < 0;
  if (vk == VK_F4 || (alt && (vk == VK_DOWN || vk == VK_UP))) {
    drop(m_list == nullptr);
    return;
  }
  if (m_list) {
    if (vk == VK_RETURN) closeUp(true);
    else if (vk == VK_ESCAPE) closeUp(false);
    else if (vk == VK_UP || vk == VK_DOWN) {
      m_hot = std::clamp(m_hot + (vk == VK_UP ? -1 : 1), 0, std::max(0, count() - 1));
      scrollToHot();
      InvalidateRect(m_list, nullptr, TRUE);
    }
    return;
  }
  if (count() == 0) return;
  switch (vk) {
    case VK_UP: setSel(std::max(0, m_sel - 1), true); break;
    case VK_DOWN: setSel(std::min(count() - 1, m_sel + 1), true); break;
    case VK_HOME: setSel(0, true); break;
    case VK_END: setSel(count() - 1, true); break;
    default: break;
  }
}

LRESULT ComboBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CB_ADDSTRING:
      return insert(-1, reinterpret_cast<LPCSTR>(lParam), true);
    case CB_INSERTSTRING:
      return insert(static_cast<int>(static_cast<INT_PTR>(wParam)), reinterpret_cast<LPCSTR>(lParam), false);
    case CB_DELETESTRING: {
      const int index = static_cast<int>(wParam);
      if (index < 0 || index >= count()) return CB_ERR;
      m_items.erase(m_items.begin() + index);
      if (m_sel == index) m_sel = -1;
      else if (m_sel > index) --m_sel;
      InvalidateRect(m_hwnd, nullptr, TRUE);
      return count();
    }
    case CB_RESETCONTENT:
      m_items.clear();
      m_sel = -1;
      InvalidateRect(m_hwnd, nullptr, TRUE);
      return 0;
    case CB_GETCOUNT:
      return count();
    case CB_GETCURSEL:
      return m_sel;
    case CB_SETCURSEL:
      setSel(static_cast<int>(static_cast<INT_PTR>(wParam)), false);
      return m_sel;
    case CB_GETLBTEXTLEN:
      return static_cast<int>(wParam) < count() ? static_cast<LRESULT>(m_items[wParam].text.size()) : CB_ERR;
    case CB_GETLBTEXT: {
      if (static_cast<int>(wParam) >= count() || !lParam) return CB_ERR;
      const std::string& text = m_items[wParam].text;
      std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), text.size() + 1);
      return static_cast<LRESULT>(text.size());
    }
    case CB_FINDSTRINGEXACT: {
      const char* wanted = reinterpret_cast<LPCSTR>(lParam);
      for (int i = 0; wanted && i < count(); ++i)
        if (strcasecmp(m_items[static_cast<std::size_t>(i)].text.c_str(), wanted) == 0) return i;
      return CB_ERR;
    }
    case CB_GETITEMDATA:
      return static_cast<int>(wParam) < count() ? static_cast<LRESULT>(m_items[wParam].data) : CB_ERR;
    case CB_SETITEMDATA:
      if (static_cast<int>(wParam) >= count()) return CB_ERR;
      m_items[wParam].data = static_cast<ULONG_PTR>(lParam);
      return 0;
    case CB_SETITEMHEIGHT:
      if (static_cast<int>(static_cast<INT_PTR>(wParam)) < 0) {
        m_faceHeight = static_cast<int>(lParam);
        if (hasDropList()) fitToField();
      } else if (static_cast<int>(wParam) < count()) {
        m_items[wParam].height = static_cast<int>(lParam);
      }
      return 0;
    case CB_GETITEMHEIGHT: {
      const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
      if (index < 0) return m_faceHeight;
      return index < count() ? m_items[static_cast<std::size_t>(index)].height : CB_ERR;
    }
    case CB_SHOWDROPDOWN:
      drop(wParam != 0);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return m_list != nullptr;
    case CB_GETDROPPEDCONTROLRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (rect) GetWindowRect(m_list ? m_list : m_hwnd, rect);
      return TRUE;
    }
    case WM_NCCREATE:
      // Made as its field, which it measures first.
      if (ownerDrawn() && !m_faceMeasured) {
        m_faceHeight = measure(-1);
        m_faceMeasured = true;
      }
      if (hasDropList()) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        m_dropHeight = create->cy;
        create->cy = fieldHeight();
      }
      // The scroll bar styles are the list's, which scrolls itself: the field keeps its
      // whole width.
      m_listScrolls = (GetWindowLongA(m_hwnd, GWL_STYLE) & WS_VSCROLL) != 0;
      SetWindowLongA(m_hwnd, GWL_STYLE, GetWindowLongA(m_hwnd, GWL_STYLE) & ~(WS_VSCROLL | WS_HSCROLL));
      return DefWindowProcA(m_hwnd, message, wParam, lParam);
    case WM_CREATE:
      if (ownerDrawn() && !m_faceMeasured) {
        m_faceHeight = measure(-1);
        m_faceMeasured = true;
      }
      return 0;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      if (!dropDownList()) return DefWindowProcA(m_hwnd, message, wParam, lParam);
      return selectionText(message, wParam, lParam);
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (hasDropList() && !(pos->flags & SWP_NOSIZE)) {
        m_dropHeight = pos->cy;
        pos->cy = fieldHeight();
      }
      return DefWindowProcA(m_hwnd, message, wParam, lParam);
    }
    case WM_SETFONT:
      m_font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(m_font);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(m_hwnd);
      drop(m_list == nullptr);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      onKey(wParam);
      return 0;
    case WM_SETFOCUS:
      InvalidateRect(m_hwnd, nullptr, TRUE);
      notify(CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (m_list) closeUp(false);
      InvalidateRect(m_hwnd, nullptr, TRUE);
      notify(CBN_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paintFace();
      return 0;
    case WM_ENABLE:
      InvalidateRect(m_hwnd, nullptr, TRUE);
      return 0;
    default:
      return DefWindowProcA(m_hwnd, message, wParam, lParam);
  }
}

}  // namespace plat

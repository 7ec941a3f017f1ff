#include <win32/user/ListView.h>

#include <win32/gdi.h>
#include <win32/gdi/imagelist.h>
#include <win32/user.h>
#include <win32/user/ControlState.h>
#include <win32/user/scroll.h>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

constexpr const char* kStateProp = "plat.listview";
constexpr int kTextMargin = 4;

void copyText(const std::string& text, LPSTR out, int size) {
  if (!out || size <= 0) return;
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

UINT alignmentOf(int format) {
  switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

LRESULT CALLBACK ListView::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return routeToState<ListView>(kStateProp, hwnd, message, wParam, lParam, [](HWND h) { return new ListView(h); },
                         &ListView::handle);
}

LRESULT CALLBACK ListView::headerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* list = reinterpret_cast<ListView*>(GetPropA(GetParent(hwnd), kStateProp));
  switch (message) {
    case HDM_GETITEMCOUNT:
      return list ? static_cast<LRESULT>(list->m_columns.size()) : 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      RECT client{};
      GetClientRect(hwnd, &client);
      FillRect(hdc, &client, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
      if (list) {
        HGDIOBJ old = SelectObject(hdc, list->m_font ? list->m_font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
        for (std::size_t c = 0; c < list->m_columns.size(); ++c) {
          const int left = list->columnLeft(static_cast<int>(c)) - list->m_scrollX;
          RECT cell{left, 0, left + list->m_columns[c].width, client.bottom};
          DrawEdge(hdc, &cell, EDGE_RAISED, BF_RECT);
          InflateRect(&cell, -kTextMargin, 0);
          DrawTextA(hdc, list->m_columns[c].title.c_str(), -1, &cell,
                    alignmentOf(list->m_columns[c].format) | DT_VCENTER | DT_SINGLELINE);
        }
        SelectObject(hdc, old);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_NCHITTEST:
      return HTCLIENT;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void ListView::create() {
  if ((GetWindowLongA(m_hwnd, GWL_STYLE) & LVS_NOCOLUMNHEADER) || iconMode()) return;
  RECT client{};
  GetClientRect(m_hwnd, &client);
  m_header = CreateWindowExA(0, WC_HEADER, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, kHeaderHeight, m_hwnd,
                             nullptr, nullptr, nullptr);
}

void ListView::layoutHeader() {
  if (!m_header) return;
  RECT client{};
  GetClientRect(m_hwnd, &client);
  MoveWindow(m_header, 0, 0, client.right, kHeaderHeight, TRUE);
}

bool ListView::ownerDrawn() const { return (GetWindowLongA(m_hwnd, GWL_STYLE) & LVS_OWNERDRAWFIXED) != 0; }

bool ListView::iconMode() const { return (GetWindowLongA(m_hwnd, GWL_STYLE) & LVS_TYPEMASK) == LVS_ICON; }

ListIconLayout ListView::iconLayout() const {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  return iconLayout(client.right);
}

ListIconLayout ListView::iconLayout(int width) const {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  int cx = 0, cy = 0;
  if (m_imageLists[LVSIL_NORMAL]) ImageList_GetIconSize(static_cast<HIMAGELIST>(m_imageLists[LVSIL_NORMAL]), &cx, &cy);
  const bool labels = std::any_of(m_rows.begin(), m_rows.end(), [](const Row& r) { return !r.texts[0].empty(); });
  return ListIconLayout(width, client.bottom, cx, cy, labels ? kDefaultRowHeight : 0, m_scrollY);
}

void ListView::scrollIconsTo(int y) {
  const int top = std::clamp(y, 0, iconLayout().maxScroll(rowCount()));
  if (top == m_scrollY) return;
  m_scrollY = top;
  InvalidateRect(m_hwnd, nullptr, TRUE);
  updateScrollBar();
}

void ListView::updateScrollBar() {
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  if (iconMode()) {
    // The grid needs the bar when it is taller than the client area at the width it has
    // without one; then it is laid out in the width the bar leaves.
    RECT client{};
    GetClientRect(m_hwnd, &client);
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    const int unbarred = client.right + ((GetWindowLongA(m_hwnd, GWL_STYLE) & WS_VSCROLL) ? bar : 0);
    const int height = iconLayout(unbarred).contentHeight(rowCount());
    info.nMax = (height > client.bottom ? iconLayout(unbarred - bar).contentHeight(rowCount()) : height) - 1;
    info.nPage = static_cast<UINT>(client.bottom);
    info.nPos = m_scrollY;
  } else {
    info.nMax = rowCount() - 1;
    info.nPage = static_cast<UINT>(perPage());
    info.nPos = m_top;
  }
  SetScrollInfo(m_hwnd, SB_VERT, &info, TRUE);
}

int ListView::headerHeight() const { return m_header && IsWindowVisible(m_header) ? kHeaderHeight : 0; }

int ListView::rowHeight() {
  if (m_rowHeight) return *m_rowHeight;
  int height = kDefaultRowHeight;
  if (ownerDrawn()) {
    // Measured once, by the parent, as Windows does for owner-drawn fixed rows.
    MEASUREITEMSTRUCT measure{ODT_LISTVIEW, static_cast<UINT>(GetDlgCtrlID(m_hwnd)), 0, 0,
                              static_cast<UINT>(kDefaultRowHeight), 0};
    if (HWND parent = GetParent(m_hwnd)) SendMessageA(parent, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
    height = std::max(1, static_cast<int>(measure.itemHeight));
  }
  m_rowHeight = height;
  return height;
}

int ListView::perPage() {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  return std::max(1, static_cast<int>(client.bottom - headerHeight()) / rowHeight());
}

int ListView::columnLeft(int column) const {
  int left = 0;
  for (int c = 0; c < column && c < static_cast<int>(m_columns.size()); ++c) left += m_columns[static_cast<std::size_t>(c)].width;
  return left;
}

int ListView::totalWidth() const { return columnLeft(static_cast<int>(m_columns.size())); }

RECT ListView::rowRect(int row) {
  const int top = headerHeight() + (row - m_top) * rowHeight();
  return RECT{-m_scrollX, top, totalWidth() - m_scrollX, top + rowHeight()};
}

RECT ListView::subItemRect(int row, int column) {
  RECT rect = rowRect(row);
  // As on Windows, sub-item 0's bounds are the whole row.
  if (column <= 0) return rect;
  rect.left = columnLeft(column) - m_scrollX;
  rect.right = rect.left + m_columns[static_cast<std::size_t>(column)].width;
  return rect;
}

int ListView::insertItem(const LVITEMA& item) {
  Row row;
  row.texts.resize(std::max<std::size_t>(1, m_columns.size()));
  if ((item.mask & LVIF_TEXT) && item.pszText) row.texts[0] = item.pszText;
  if (item.mask & LVIF_PARAM) row.data = item.lParam;
  if (item.mask & LVIF_STATE) row.state = item.state & item.stateMask;
  if (item.mask & LVIF_IMAGE) row.image = item.iImage;
  const int at = std::clamp(item.iItem, 0, rowCount());
  m_rows.insert(m_rows.begin() + at, std::move(row));
  InvalidateRect(m_hwnd, nullptr, TRUE);
  updateScrollBar();
  return at;
}

bool ListView::setItem(const LVITEMA& item) {
  if (!validRow(item.iItem) || item.iSubItem < 0) return false;
  Row& row = m_rows[static_cast<std::size_t>(item.iItem)];
  if (item.mask & LVIF_TEXT) {
    if (static_cast<std::size_t>(item.iSubItem) >= row.texts.size()) row.texts.resize(static_cast<std::size_t>(item.iSubItem) + 1);
    row.texts[static_cast<std::size_t>(item.iSubItem)] = item.pszText ? item.pszText : "";
  }
  if (item.mask & LVIF_PARAM) row.data = item.lParam;
  if (item.mask & LVIF_IMAGE) row.image = item.iImage;
  if (item.mask & LVIF_STATE) setState(item.iItem, item.state, item.stateMask);
  invalidateRow(item.iItem);
  // A first label makes every icon cell taller.
  if ((item.mask & LVIF_TEXT) && iconMode()) updateScrollBar();
  return true;
}

bool ListView::getItem(LVITEMA& item) const {
  if (!validRow(item.iItem) || item.iSubItem < 0) return false;
  const Row& row = m_rows[static_cast<std::size_t>(item.iItem)];
  if (item.mask & LVIF_TEXT) {
    const auto sub = static_cast<std::size_t>(item.iSubItem);
    copyText(sub < row.texts.size() ? row.texts[sub] : std::string(), item.pszText, item.cchTextMax);
  }
  if (item.mask & LVIF_PARAM) item.lParam = row.data;
  if (item.mask & LVIF_STATE) item.state = row.state & item.stateMask;
  if (item.mask & LVIF_IMAGE) item.iImage = row.image;
  return true;
}

bool ListView::deleteItem(int row) {
  if (!validRow(row)) return false;
  NMLISTVIEW info{};
  info.hdr.code = LVN_DELETEITEM;
  info.iItem = row;
  info.lParam = m_rows[static_cast<std::size_t>(row)].data;
  notify(info.hdr);
  m_rows.erase(m_rows.begin() + row);
  m_top = std::clamp(m_top, 0, std::max(0, rowCount() - 1));
  m_scrollY = std::clamp(m_scrollY, 0, iconMode() ? iconLayout().maxScroll(rowCount()) : 0);
  InvalidateRect(m_hwnd, nullptr, TRUE);
  updateScrollBar();
  return true;
}

int ListView::insertColumn(int index, const LVCOLUMNA& column) {
  Column added;
  if ((column.mask & LVCF_TEXT) && column.pszText) added.title = column.pszText;
  if (column.mask & LVCF_WIDTH) added.width = std::max(0, column.cx);
  if (column.mask & LVCF_FMT) added.format = column.fmt;
  const int at = std::clamp(index, 0, static_cast<int>(m_columns.size()));
  m_columns.insert(m_columns.begin() + at, added);
  for (Row& row : m_rows)
    if (static_cast<std::size_t>(at) <= row.texts.size()) row.texts.insert(row.texts.begin() + at, std::string());
  InvalidateRect(m_hwnd, nullptr, TRUE);
  if (m_header) InvalidateRect(m_header, nullptr, TRUE);
  return at;
}

void ListView::setState(int row, UINT state, UINT mask) {
  if (row < 0) {
    for (int r = 0; r < rowCount(); ++r) setState(r, state, mask);
    return;
  }
  if (!validRow(row)) return;
  Row& item = m_rows[static_cast<std::size_t>(row)];
  const UINT old = item.state;
  // One row holds the focus.
  if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED))
    for (Row& other : m_rows) other.state &= ~LVIS_FOCUSED;
  if ((GetWindowLongA(m_hwnd, GWL_STYLE) & LVS_SINGLESEL) && (mask & LVIS_SELECTED) && (state & LVIS_SELECTED)) {
    for (int r = 0; r < rowCount(); ++r)
      if (r != row && (m_rows[static_cast<std::size_t>(r)].state & LVIS_SELECTED)) setState(r, 0, LVIS_SELECTED);
  }
  item.state = (item.state & ~mask) | (state & mask);
  if (item.state == old) return;
  invalidateRow(row);
  NMLISTVIEW info{};
  info.hdr.code = LVN_ITEMCHANGED;
  info.iItem = row;
  info.uNewState = item.state;
  info.uOldState = old;
  info.uChanged = LVIF_STATE;
  info.lParam = item.data;
  notify(info.hdr);
}

int ListView::nextItem(int start, UINT flags) const {
  for (int r = start + 1; r < rowCount(); ++r) {
    const UINT state = m_rows[static_cast<std::size_t>(r)].state;
    if ((flags & LVNI_SELECTED) && !(state & LVIS_SELECTED)) continue;
    if ((flags & LVNI_FOCUSED) && !(state & LVIS_FOCUSED)) continue;
    return r;
  }
  return -1;
}

void ListView::select(int row, bool) {
  if (!validRow(row)) return;
  setState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

bool ListView::ensureVisible(int row) {
  if (!validRow(row)) return false;
  if (iconMode()) {
    scrollIconsTo(iconLayout().scrollToShow(row));
    return true;
  }
  if (row < m_top) scrollRows(row - m_top);
  else if (row >= m_top + perPage()) scrollRows(row - (m_top + perPage()) + 1);
  return true;
}

void ListView::scrollRows(int rows) {
  const int top = std::clamp(m_top + rows, 0, std::max(0, rowCount() - perPage()));
  if (top == m_top) return;
  m_top = top;
  InvalidateRect(m_hwnd, nullptr, TRUE);
  updateScrollBar();
}

int ListView::hitTest(LVHITTESTINFO& info, bool subItems) {
  info.iItem = -1;
  info.iSubItem = 0;
  info.flags = LVHT_NOWHERE;
  if (iconMode()) {
    info.iItem = iconLayout().hitTest(info.pt, rowCount());
    if (info.iItem >= 0) info.flags = LVHT_ONITEMICON;
    return info.iItem;
  }
  if (info.pt.y < headerHeight()) return -1;
  const int row = m_top + (info.pt.y - headerHeight()) / rowHeight();
  const int x = info.pt.x + m_scrollX;
  if (!validRow(row) || x < 0 || x >= totalWidth()) {
    if (validRow(row)) return -1;
    info.flags = row >= rowCount() ? LVHT_BELOW : LVHT_ABOVE;
    return -1;
  }
  info.iItem = row;
  info.flags = LVHT_ONITEMLABEL;
  if (subItems) {
    for (int c = 0; c < static_cast<int>(m_columns.size()); ++c)
      if (x >= columnLeft(c) && x < columnLeft(c + 1)) info.iSubItem = c;
  }
  return row;
}

LRESULT ListView::notify(NMHDR& header) const {
  HWND parent = GetParent(m_hwnd);
  if (!parent) return 0;
  header.hwndFrom = m_hwnd;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_hwnd));
  return SendMessageA(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void ListView::notifyItem(UINT code, int row, int column, POINT at) const {
  NMITEMACTIVATE info{};
  info.hdr.code = code;
  info.iItem = row;
  info.iSubItem = column;
  info.ptAction = at;
  if (validRow(row)) info.lParam = m_rows[static_cast<std::size_t>(row)].data;
  notify(info.hdr);
}

void ListView::onMouse(UINT message, LPARAM lParam) {
  LVHITTESTINFO hit{};
  hit.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  hitTest(hit, true);
  if (message != WM_MOUSEMOVE) SetFocus(m_hwnd);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (hit.iItem >= 0) {
        select(hit.iItem, true);
      } else if (!(GetWindowLongA(m_hwnd, GWL_STYLE) & LVS_SHOWSELALWAYS)) {
        setState(-1, 0, LVIS_SELECTED);
      }
      notifyItem(message == WM_LBUTTONDOWN ? NM_CLICK : NM_RCLICK, hit.iItem, hit.iSubItem, hit.pt);
      if (message == WM_RBUTTONDOWN) {
        // As the list control does once the right button is let go: the context menu.
        POINT screen = hit.pt;
        ClientToScreen(m_hwnd, &screen);
        SendMessageA(m_hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hwnd), MAKELPARAM(screen.x, screen.y));
      }
      return;
    case WM_LBUTTONDBLCLK:
      if (hit.iItem >= 0) select(hit.iItem, false);
      notifyItem(NM_DBLCLK, hit.iItem, hit.iSubItem, hit.pt);
      return;
    case WM_RBUTTONDBLCLK:
      notifyItem(NM_RDBLCLK, hit.iItem, hit.iSubItem, hit.pt);
      return;
    default:
      return;
  }
}

void ListView::onKey(WPARAM vk) {
  NMLVKEYDOWN key{};
  key.hdr.code = LVN_KEYDOWN;
  key.wVKey = static_cast<WORD>(vk);
  notify(key.hdr);
  if (rowCount() == 0) return;
  const int target = keyTarget(vk, nextItem(-1, LVNI_FOCUSED));
  if (target < 0) return;
  select(target, false);
  ensureVisible(target);
}

// The item a navigation key moves the focus to, -1 for other keys. In icon mode up and
// down move by a grid row and left and right by one item.
int ListView::keyTarget(WPARAM vk, int focused) {
  const int step = iconMode() ? iconLayout().columns() : 1;
  const int page = iconMode() ? step * iconLayout().rowsVisible() : perPage();
  int target = focused;
  switch (vk) {
    case VK_UP: target = focused < 0 ? 0 : focused - step; break;
    case VK_DOWN: target = focused + step; break;
    case VK_LEFT:
      if (!iconMode()) return -1;
      target = focused - 1;
      break;
    case VK_RIGHT:
      if (!iconMode()) return -1;
      target = focused + 1;
      break;
    case VK_HOME: target = 0; break;
    case VK_END: target = rowCount() - 1; break;
    case VK_PRIOR: target = focused - page; break;
    case VK_NEXT: target = focused + page; break;
    default: return -1;
  }
  return std::clamp(target, 0, rowCount() - 1);
}

void ListView::invalidateRow(int row) {
  if (!validRow(row)) return;
  if (iconMode()) {
    const RECT cell = iconLayout().cell(row);
    InvalidateRect(m_hwnd, &cell, TRUE);
    return;
  }
  RECT rect = rowRect(row);
  RECT client{};
  GetClientRect(m_hwnd, &client);
  rect.left = 0;
  rect.right = client.right;
  InvalidateRect(m_hwnd, &rect, TRUE);
}

void ListView::drawRow(HDC hdc, int row) {
  const Row& item = m_rows[static_cast<std::size_t>(row)];
  const RECT rect = rowRect(row);
  if (ownerDrawn()) {
    UINT state = 0;
    if (item.state & LVIS_SELECTED) state |= ODS_SELECTED;
    if ((item.state & LVIS_FOCUSED) && GetFocus() == m_hwnd) state |= ODS_FOCUS;
    DRAWITEMSTRUCT draw{ODT_LISTVIEW, static_cast<UINT>(GetDlgCtrlID(m_hwnd)), static_cast<UINT>(row),
                        ODA_DRAWENTIRE, state, m_hwnd, hdc, rect, static_cast<ULONG_PTR>(item.data)};
    if (HWND parent = GetParent(m_hwnd)) SendMessageA(parent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
    return;
  }
  const bool selected = (item.state & LVIS_SELECTED) != 0;
  if (selected) FillRect(hdc, &rect, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_HIGHLIGHT + 1)));
  SetTextColor(hdc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : m_textColor);
  for (std::size_t c = 0; c < m_columns.size(); ++c) {
    RECT cell = subItemRect(row, static_cast<int>(c));
    if (c == 0) cell.right = cell.left + m_columns[0].width;
    if (c == 0 && item.image >= 0 && m_imageLists[LVSIL_SMALL]) {
      auto* images = static_cast<HIMAGELIST>(m_imageLists[LVSIL_SMALL]);
      int cx = 0, cy = 0;
      ImageList_GetIconSize(images, &cx, &cy);
      ImageList_Draw(images, item.image, hdc, cell.left + 2, cell.top + (cell.bottom - cell.top - cy) / 2, ILD_NORMAL);
      cell.left += cx + 2;
    }
    InflateRect(&cell, -kTextMargin, 0);
    const std::string& text = c < item.texts.size() ? item.texts[c] : std::string();
    DrawTextA(hdc, text.c_str(), -1, &cell, alignmentOf(m_columns[c].format) | DT_VCENTER | DT_SINGLELINE);
  }
}

// An icon-mode item: the selection as a frame of the highlight colour around the icon,
// the icon from the normal image list, and the label below it.
void ListView::paintIcon(HDC hdc, int row) {
  const Row& item = m_rows[static_cast<std::size_t>(row)];
  const ListIconLayout layout = iconLayout();
  const RECT icon = layout.icon(row);
  if (item.state & LVIS_SELECTED) {
    RECT frame = icon;
    InflateRect(&frame, 3, 3);
    FillRect(hdc, &frame, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_HIGHLIGHT + 1)));
  }
  if (item.image >= 0 && m_imageLists[LVSIL_NORMAL])
    ImageList_Draw(static_cast<HIMAGELIST>(m_imageLists[LVSIL_NORMAL]), item.image, hdc, icon.left, icon.top, ILD_NORMAL);
  if (item.texts[0].empty()) return;
  RECT label = layout.label(row);
  SetTextColor(hdc, (item.state & LVIS_SELECTED) ? GetSysColor(COLOR_HIGHLIGHTTEXT) : m_textColor);
  if (item.state & LVIS_SELECTED) FillRect(hdc, &label, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_HIGHLIGHT + 1)));
  DrawTextA(hdc, item.texts[0].c_str(), -1, &label, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void ListView::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(m_hwnd, &ps);
  RECT client{};
  GetClientRect(m_hwnd, &client);
  HBRUSH background = CreateSolidBrush(m_bkColor);
  FillRect(hdc, &client, background);
  DeleteObject(background);
  HGDIOBJ old = SelectObject(hdc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(hdc, TRANSPARENT);
  if (iconMode()) {
    const ListIconLayout layout = iconLayout();
    for (int row = 0; row < rowCount(); ++row) {
      const RECT cell = layout.cell(row);
      if (cell.bottom > 0 && cell.top < client.bottom) paintIcon(hdc, row);
    }
  } else {
    const int last = std::min(rowCount(), m_top + perPage() + 1);
    for (int row = m_top; row < last; ++row) drawRow(hdc, row);
  }
  SelectObject(hdc, old);
  EndPaint(m_hwnd, &ps);
}

LRESULT ListView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      create();
      return 0;
    case WM_SIZE:
      layoutHeader();
      if (iconMode()) scrollIconsTo(m_scrollY);
      InvalidateRect(m_hwnd, nullptr, TRUE);
      updateScrollBar();
      return 0;
    case WM_SETFONT:
      m_font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(m_font);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      onMouse(message, lParam);
      return 0;
    case WM_KEYDOWN:
      onKey(wParam);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      invalidateRow(nextItem(-1, LVNI_FOCUSED));
      return 0;
    case WM_VSCROLL:
      if (iconMode()) {
        const ListIconLayout layout = iconLayout();
        switch (LOWORD(wParam)) {
          case SB_LINEUP: scrollIconsTo(m_scrollY - layout.cellHeight()); break;
          case SB_LINEDOWN: scrollIconsTo(m_scrollY + layout.cellHeight()); break;
          case SB_PAGEUP: scrollIconsTo(m_scrollY - layout.rowsVisible() * layout.cellHeight()); break;
          case SB_PAGEDOWN: scrollIconsTo(m_scrollY + layout.rowsVisible() * layout.cellHeight()); break;
          case SB_THUMBPOSITION:
          case SB_THUMBTRACK: scrollIconsTo(static_cast<int>(HIWORD(wParam))); break;
          case SB_TOP: scrollIconsTo(0); break;
          case SB_BOTTOM: scrollIconsTo(layout.maxScroll(rowCount())); break;
          default: break;
        }
        return 0;
      }
      switch (LOWORD(wParam)) {
        case SB_LINEUP: scrollRows(-1); break;
        case SB_LINEDOWN: scrollRows(1); break;
        case SB_PAGEUP: scrollRows(-perPage()); break;
        case SB_PAGEDOWN: scrollRows(perPage()); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: scrollRows(static_cast<int>(HIWORD(wParam)) - m_top); break;
        case SB_TOP: scrollRows(-rowCount()); break;
        case SB_BOTTOM: scrollRows(rowCount()); break;
        default: break;
      }
      return 0;
    case WM_MOUSEWHEEL:
      if (iconMode()) {
        scrollIconsTo(m_scrollY - static_cast<short>(HIWORD(wParam)) * iconLayout().cellHeight() / 120);
        return 0;
      }
      scrollRows(-3 * static_cast<short>(HIWORD(wParam)) / 120);
      return 0;
    case LVM_SETBKCOLOR:
      m_bkColor = static_cast<COLORREF>(lParam);
      return TRUE;
    case LVM_SETTEXTCOLOR:
      m_textColor = static_cast<COLORREF>(lParam);
      return TRUE;
    case LVM_SETTEXTBKCOLOR:
      m_textBkColor = static_cast<COLORREF>(lParam);
      return TRUE;
    case LVM_GETTEXTBKCOLOR:
      return static_cast<LRESULT>(m_textBkColor);
    case LVM_GETBKCOLOR:
      return static_cast<LRESULT>(m_bkColor);
    case LVM_SETIMAGELIST: {
      if (wParam > LVSIL_SMALL) return 0;
      HANDLE old = m_imageLists[wParam];
      m_imageLists[wParam] = reinterpret_cast<HANDLE>(lParam);
      if (iconMode()) updateScrollBar();
      return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETIMAGELIST:
      return wParam <= LVSIL_SMALL ? reinterpret_cast<LRESULT>(m_imageLists[wParam]) : 0;
    case LVM_GETITEMCOUNT:
      return rowCount();
    case LVM_INSERTITEMA:
      return lParam ? insertItem(*reinterpret_cast<const LVITEMA*>(lParam)) : -1;
    case LVM_SETITEMA:
      return lParam && setItem(*reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMA:
      return lParam && getItem(*reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMTEXTA: {
      if (!lParam) return FALSE;
      LVITEMA item = *reinterpret_cast<const LVITEMA*>(lParam);
      item.iItem = static_cast<int>(wParam);
      item.mask = LVIF_TEXT;
      return setItem(item);
    }
    case LVM_GETITEMTEXTA: {
      if (!lParam) return 0;
      auto& item = *reinterpret_cast<LVITEMA*>(lParam);
      item.iItem = static_cast<int>(wParam);
      item.mask = LVIF_TEXT;
      if (!getItem(item)) return 0;
      return item.pszText ? static_cast<LRESULT>(std::strlen(item.pszText)) : 0;
    }
    case LVM_DELETEITEM:
      return deleteItem(static_cast<int>(wParam));
    case LVM_DELETEALLITEMS:
      while (rowCount() > 0) deleteItem(rowCount() - 1);
      m_top = 0;
      updateScrollBar();
      return TRUE;
    case LVM_SETITEMSTATE: {
      if (!lParam) return FALSE;
      const auto& item = *reinterpret_cast<const LVITEMA*>(lParam);
      const int row = static_cast<int>(static_cast<INT_PTR>(wParam));
      if (row >= 0 && !validRow(row)) return FALSE;
      setState(row, item.state, item.stateMask);
      return TRUE;
    }
    case LVM_GETITEMSTATE:
      return validRow(static_cast<int>(wParam)) ? m_rows[wParam].state & static_cast<UINT>(lParam) : 0;
    case LVM_GETNEXTITEM:
      return nextItem(static_cast<int>(static_cast<INT_PTR>(wParam)), static_cast<UINT>(lParam));
    case LVM_GETSELECTEDCOUNT:
      return std::count_if(m_rows.begin(), m_rows.end(), [](const Row& r) { return (r.state & LVIS_SELECTED) != 0; });
    case LVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect || !validRow(static_cast<int>(wParam))) return FALSE;
      if (iconMode()) {
        const ListIconLayout layout = iconLayout();
        const int row = static_cast<int>(wParam);
        *rect = rect->left == LVIR_ICON ? layout.icon(row) : rect->left == LVIR_LABEL ? layout.label(row) : layout.bounds(row);
        return TRUE;
      }
      *rect = rowRect(static_cast<int>(wParam));
      return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect || !validRow(static_cast<int>(wParam)) || rect->top < 0 || rect->top >= static_cast<int>(m_columns.size()))
        return FALSE;
      *rect = subItemRect(static_cast<int>(wParam), rect->top);
      return TRUE;
    }
    case LVM_HITTEST:
      return lParam ? hitTest(*reinterpret_cast<LVHITTESTINFO*>(lParam), false) : -1;
    case LVM_SUBITEMHITTEST:
      return lParam ? hitTest(*reinterpret_cast<LVHITTESTINFO*>(lParam), true) : -1;
    case LVM_ENSUREVISIBLE:
      return ensureVisible(static_cast<int>(wParam));
    case LVM_SCROLL:
      if (iconMode()) {
        scrollIconsTo(m_scrollY + static_cast<int>(lParam));
        return TRUE;
      }
      m_scrollX = std::clamp(m_scrollX + static_cast<int>(static_cast<INT_PTR>(wParam)), 0, std::max(0, totalWidth()));
      scrollRows(static_cast<int>(lParam) / rowHeight());
      InvalidateRect(m_hwnd, nullptr, TRUE);
      if (m_header) InvalidateRect(m_header, nullptr, TRUE);
      return TRUE;
    case LVM_REDRAWITEMS:
      for (int r = static_cast<int>(wParam); r <= static_cast<int>(lParam); ++r) invalidateRow(r);
      return TRUE;
    case LVM_GETTOPINDEX:
      return m_top;
    case LVM_GETCOUNTPERPAGE:
      return iconMode() ? iconLayout().columns() * iconLayout().rowsVisible() : perPage();
    case LVM_INSERTCOLUMNA:
      return lParam ? insertColumn(static_cast<int>(wParam), *reinterpret_cast<const LVCOLUMNA*>(lParam)) : -1;
    case LVM_DELETECOLUMN: {
      const auto c = static_cast<std::size_t>(wParam);
      if (c >= m_columns.size()) return FALSE;
      m_columns.erase(m_columns.begin() + static_cast<std::ptrdiff_t>(c));
      for (Row& row : m_rows)
        if (c < row.texts.size()) row.texts.erase(row.texts.begin() + static_cast<std::ptrdiff_t>(c));
      InvalidateRect(m_hwnd, nullptr, TRUE);
      return TRUE;
    }
    case LVM_GETCOLUMNA: {
      auto* column = reinterpret_cast<LVCOLUMNA*>(lParam);
      if (!column || wParam >= m_columns.size()) return FALSE;
      const Column& c = m_columns[wParam];
      if (column->mask & LVCF_WIDTH) column->cx = c.width;
      if (column->mask & LVCF_FMT) column->fmt = c.format;
      if (column->mask & LVCF_TEXT) copyText(c.title, column->pszText, column->cchTextMax);
      return TRUE;
    }
    case LVM_SETCOLUMNA: {
      const auto* column = reinterpret_cast<const LVCOLUMNA*>(lParam);
      if (!column || wParam >= m_columns.size()) return FALSE;
      Column& c = m_columns[wParam];
      if (column->mask & LVCF_WIDTH) c.width = std::max(0, column->cx);
      if (column->mask & LVCF_FMT) c.format = column->fmt;
      if ((column->mask & LVCF_TEXT) && column->pszText) c.title = column->pszText;
      InvalidateRect(m_hwnd, nullptr, TRUE);
      return TRUE;
    }
    case LVM_GETCOLUMNWIDTH:
      return wParam < m_columns.size() ? m_columns[wParam].width : 0;
    case LVM_SETCOLUMNWIDTH:
      if (wParam >= m_columns.size()) return FALSE;
      m_columns[wParam].width = std::max(0, static_cast<int>(static_cast<short>(LOWORD(lParam))));
      InvalidateRect(m_hwnd, nullptr, TRUE);
      if (m_header) InvalidateRect(m_header, nullptr, TRUE);
      return TRUE;
    case LVM_GETHEADER:
      return reinterpret_cast<LRESULT>(m_header);
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      const DWORD old = m_exStyle;
      const auto mask = static_cast<DWORD>(wParam ? wParam : 0xFFFFFFFF);
      m_exStyle = (m_exStyle & ~mask) | (static_cast<DWORD>(lParam) & mask);
      return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return m_exStyle;
    default:
      return DefWindowProcA(m_hwnd, message, wParam, lParam);
  }
}

}  // namespace plat

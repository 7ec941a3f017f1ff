#include <win32/user/MenuTracker.h>

#include <win32/gdi/dc.h>
#include <win32/gdi/draw.h>
#include <win32/gdi/font.h>
#include <win32/gdi/object.h>
#include <win32/gdi/windowdc.h>
#include <win32/user/MessagePump.h>
#include <win32/user/UserSystem.h>
#include <win32/user/input.h>
#include <win32/user/message.h>
#include <win32/user/metrics.h>
#include <win32/user/paint.h>
#include <win32/user/rect.h>
#include <win32/user/window.h>

#include <algorithm>

namespace plat {

namespace {

constexpr const char* kTrackerProp = "plat.menu.tracker";
constexpr const char* kMenuProp = "plat.menu.handle";
constexpr int kCheckColumn = 18;
constexpr int kArrowColumn = 18;
// Wider than any screen, so whatever an owner measures the item's edge stays in the int range.
constexpr UINT kMaxOwnerDrawnWidth = 0x7FFF;

// The system menu font, made for one use.
class MenuFont {
 public:
  MenuFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_font = CreateFontIndirectA(&metrics.lfMenuFont);
  }
  ~MenuFont() { DeleteObject(m_font); }
  MenuFont(const MenuFont&) = delete;
  MenuFont& operator=(const MenuFont&) = delete;
  HFONT get() const { return m_font; }

 private:
  HFONT m_font;
};

std::string beforeTab(const std::string& text) { return text.substr(0, text.find('\t')); }
std::string afterTab(const std::string& text) {
  const auto tab = text.find('\t');
  return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

int textWidth(HDC hdc, const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

bool isMouseInput(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMOUSEMOVE + 0x0D);
}

// FillRect's brush for a system colour.
HBRUSH sysBrush(int color) { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(color + 1)); }

bool isKeyInput(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

}  // namespace

UINT MenuTracker::track(HMENU menu, UINT flags, POINT at, HWND owner) {
  MenuTracker tracker(owner, flags);
  return tracker.run(menu, at);
}

UINT MenuTracker::run(HMENU menu, POINT at) {
  SendMessageA(m_owner, WM_ENTERMENULOOP, TRUE, 0);
  SendMessageA(m_owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
  open(menu, at, -1);
  const auto queue = UserSystem::current().queue();
  while (!m_done && !m_levels.empty() && IsWindow(m_owner)) {
    queue->clearWake();
    MSG msg;
    if (MessagePump::peek(msg, MessageFilter{}, true)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (isMouseInput(msg.message)) {
        onMouse(msg);
      } else if (isKeyInput(msg.message)) {
        onKey(msg);
      } else {
        MessagePump::translate(msg);
        MessagePump::dispatch(msg);
      }
      continue;
    }
    // Nobody to play the user: the menu goes away as if Escape were pressed.
    MessagePump::idle(*queue, [this] {
      dismiss();
      return true;
    });
  }
  closeAbove(0);
  if (IsWindow(m_owner)) {
    SendMessageA(m_owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendMessageA(m_owner, WM_EXITMENULOOP, TRUE, 0);
  }
  return m_chosen;
}

void MenuTracker::open(HMENU menu, POINT at, int parentRight) {
  SendMessageA(m_owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
               MAKELPARAM(m_levels.empty() ? 0 : m_levels.back().selected, 0));
  const auto data = MenuTable::instance().copy(menu);
  if (!data) return;
  Level level;
  level.menu = menu;
  level.items = data->items;
  level.defaultItem = data->defaultItem;
  layout(level);
  int width = 0;
  int height = 0;
  for (const RECT& rect : level.rects) {
    width = std::max(width, static_cast<int>(rect.right));
    height = std::max(height, static_cast<int>(rect.bottom));
  }
  for (RECT& rect : level.rects) rect.right = width;
  width += 2 * kFrame;
  height += 2 * kFrame;

  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  int x = at.x;
  int y = at.y;
  if (parentRight < 0) {
    if (m_flags & TPM_RIGHTALIGN) x -= width;
    else if (m_flags & TPM_CENTERALIGN) x -= width / 2;
    if (m_flags & TPM_BOTTOMALIGN) y -= height;
    else if (m_flags & TPM_VCENTERALIGN) y -= height / 2;
  }
  if (x + width > screenWidth) x = parentRight >= 0 ? parentRight - width - (at.x - parentRight) : screenWidth - width;
  if (y + height > screenHeight) y = screenHeight - height;
  x = std::max(0, x);
  y = std::max(0, y);

  HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, POPUPMENU_CLASS, "", WS_POPUP, x,
                                y, width, height, m_owner, nullptr, nullptr, nullptr);
  if (!window) return;
  SetPropA(window, kTrackerProp, reinterpret_cast<HANDLE>(this));
  SetPropA(window, kMenuProp, reinterpret_cast<HANDLE>(menu));
  level.window = window;
  m_levels.push_back(std::move(level));
  SendMessageA(window, MN_SIZEWINDOW, 0, 0);
  // Placed and sized in the showing itself, as Windows' menu loop does, so a subclass sees
  // the popup's place and size in WM_WINDOWPOSCHANGING while it is still hidden.
  SetWindowPos(window, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
  // A window shown paints its frame too (WM_NCPAINT), so a subclass can draw its own.
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void MenuTracker::layout(Level& level) {
  level.rects.clear();
  HDC screen = GetDC(nullptr);
  MenuFont font;
  HGDIOBJ old = SelectObject(screen, font.get());
  int y = 0;
  for (std::size_t i = 0; i < level.items.size(); ++i) {
    const MenuEntry& item = level.items[i];
    int width = 0;
    int height = 0;
    if (item.isOwnerDraw()) {
      MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.subMenu ? static_cast<UINT>(-1) : item.id, 0, 0, item.itemData};
      SendMessageA(m_owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
      // Windows gives an owner-drawn popup item a check mark's width beyond what its owner
      // measured; owners that draw their text up to the item's right edge rely on it.
      const int measured = static_cast<int>(std::min<UINT>(measure.itemWidth, kMaxOwnerDrawnWidth));
      width = measured + GetSystemMetrics(SM_CXMENUCHECK) - 1;
      height = static_cast<int>(measure.itemHeight);
    } else if (item.isSeparator()) {
      width = 2 * kCheckColumn;
      height = kSeparatorHeight;
    } else {
      const std::string accel = afterTab(item.text);
      width = kCheckColumn + textWidth(screen, beforeTab(item.text)) + kArrowColumn;
      if (!accel.empty()) width += kCheckColumn + textWidth(screen, accel);
      height = kItemHeight;
    }
    level.rects.push_back(RECT{0, y, width, y + height});
    y += height;
  }
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
}

void MenuTracker::closeAbove(std::size_t level) {
  while (m_levels.size() > level) {
    HWND window = m_levels.back().window;
    m_levels.pop_back();
    if (IsWindow(window)) {
      RemovePropA(window, kTrackerProp);
      DestroyWindow(window);
    }
  }
}

void MenuTracker::select(std::size_t levelIndex, int position) {
  Level& level = m_levels[levelIndex];
  if (position >= 0 && level.items[static_cast<std::size_t>(position)].isSeparator()) position = -1;
  if (level.selected == position) return;
  const int previous = level.selected;
  level.selected = position;
  HDC hdc = GetDC(level.window);
  if (previous >= 0) drawItem(level, previous, hdc, ODA_SELECT);
  if (position >= 0) drawItem(level, position, hdc, ODA_SELECT);
  ReleaseDC(level.window, hdc);
  if (position >= 0) {
    const MenuEntry& item = level.items[static_cast<std::size_t>(position)];
    UINT flags = item.flags | MF_HILITE;
    const UINT id = item.subMenu ? static_cast<UINT>(position) : item.id;
    SendMessageA(m_owner, WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(level.menu));
  }
}

void MenuTracker::openSubMenu(std::size_t levelIndex) {
  const Level& level = m_levels[levelIndex];
  if (level.selected < 0) return;
  const MenuEntry& item = level.items[static_cast<std::size_t>(level.selected)];
  if (!item.subMenu || item.isDisabled()) return;
  RECT rect = level.rects[static_cast<std::size_t>(level.selected)];
  POINT topRight{rect.right + kFrame, rect.top - kFrame};
  ClientToScreen(level.window, &topRight);
  RECT window{};
  GetWindowRect(level.window, &window);
  open(item.subMenu, topRight, window.left);
}

void MenuTracker::choose(std::size_t levelIndex, int position) {
  const MenuEntry& item = m_levels[levelIndex].items[static_cast<std::size_t>(position)];
  if (item.isSeparator() || item.isDisabled()) return;
  if (item.subMenu) {
    select(levelIndex, position);
    closeAbove(levelIndex + 1);
    openSubMenu(levelIndex);
    return;
  }
  m_chosen = item.id;
  m_done = true;
}

POINT MenuTracker::screenPoint(const MSG& msg) {
  POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.hwnd) ClientToScreen(msg.hwnd, &pt);
  return pt;
}

std::optional<MenuTracker::Hit> MenuTracker::itemAt(POINT screen) const {
  for (std::size_t l = m_levels.size(); l-- > 0;) {
    const Level& level = m_levels[l];
    RECT window{};
    GetWindowRect(level.window, &window);
    if (!PtInRect(&window, screen)) continue;
    POINT client = screen;
    ScreenToClient(level.window, &client);
    for (std::size_t i = 0; i < level.rects.size(); ++i)
      if (PtInRect(&level.rects[i], client)) return Hit{l, static_cast<int>(i)};
    return Hit{l, -1};
  }
  return std::nullopt;
}

void MenuTracker::onMouse(const MSG& msg) {
  const POINT pt = screenPoint(msg);
  const auto hit = itemAt(pt);
  switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      if (!hit) return;
      closeAbove(hit->level + 1);
      select(hit->level, hit->position);
      if (hit->position >= 0 && m_levels[hit->level].items[static_cast<std::size_t>(hit->position)].subMenu)
        openSubMenu(hit->level);
      return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      // A press off every menu window dismisses; on an item it only highlights.
      if (!hit) dismiss();
      else select(hit->level, hit->position);
      return;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP: {
      const bool right = msg.message == WM_RBUTTONUP || msg.message == WM_NCRBUTTONUP;
      if (right && !(m_flags & TPM_RIGHTBUTTON)) return;
      if (hit && hit->position >= 0) choose(hit->level, hit->position);
      return;
    }
    default:
      return;
  }
}

void MenuTracker::step(std::size_t levelIndex, int direction) {
  const Level& level = m_levels[levelIndex];
  const int count = static_cast<int>(level.items.size());
  if (count == 0) return;
  int position = level.selected;
  for (int tries = 0; tries < count; ++tries) {
    position = position < 0 ? (direction > 0 ? 0 : count - 1) : (position + direction + count) % count;
    if (!level.items[static_cast<std::size_t>(position)].isSeparator()) {
      select(levelIndex, position);
      return;
    }
  }
}

void MenuTracker::onKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
  const std::size_t top = m_levels.size() - 1;
  switch (msg.wParam) {
    case VK_DOWN:
      step(top, 1);
      return;
    case VK_UP:
      step(top, -1);
      return;
    case VK_RIGHT:
      openSubMenu(top);
      if (m_levels.size() > top + 1) step(top + 1, 1);
      return;
    case VK_LEFT:
      if (top > 0) closeAbove(top);
      return;
    case VK_ESCAPE:
      if (top > 0) closeAbove(top);
      else dismiss();
      return;
    case VK_RETURN:
      if (m_levels[top].selected >= 0) {
        choose(top, m_levels[top].selected);
        if (m_levels.size() > top + 1) step(top + 1, 1);
      }
      return;
    case VK_MENU:
      dismiss();
      return;
    default:
      return;
  }
}

std::size_t MenuTracker::levelOf(HWND window) const {
  for (std::size_t l = 0; l < m_levels.size(); ++l)
    if (m_levels[l].window == window) return l;
  return m_levels.size();
}

void MenuTracker::paint(HWND window, HDC hdc) {
  const std::size_t l = levelOf(window);
  if (l == m_levels.size()) return;
  for (std::size_t i = 0; i < m_levels[l].items.size(); ++i) drawItem(m_levels[l], static_cast<int>(i), hdc, ODA_DRAWENTIRE);
}

void MenuTracker::drawItem(const Level& level, int position, HDC hdc, UINT action) const {
  const MenuEntry& item = level.items[static_cast<std::size_t>(position)];
  const RECT& rect = level.rects[static_cast<std::size_t>(position)];
  const bool selected = position == level.selected;
  if (item.isOwnerDraw()) {
    UINT state = 0;
    if (selected) state |= ODS_SELECTED;
    if (item.flags & MF_GRAYED) state |= ODS_GRAYED;
    if (item.flags & MF_DISABLED) state |= ODS_DISABLED;
    if (item.flags & MF_CHECKED) state |= ODS_CHECKED;
    if (position == level.defaultItem) state |= ODS_DEFAULT;
    DRAWITEMSTRUCT draw{ODT_MENU,
                        0,
                        item.subMenu ? static_cast<UINT>(-1) : item.id,
                        action,
                        state,
                        reinterpret_cast<HWND>(level.menu),
                        hdc,
                        rect,
                        item.itemData};
    SendMessageA(m_owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    // As on Windows, the system adds the sub-menu arrow over what the owner drew.
    if (item.subMenu) drawArrow(hdc, rect);
    return;
  }
  drawPlainItem(item, rect, hdc, selected);
}

void MenuTracker::drawArrow(HDC hdc, const RECT& rect) {
  const int x = rect.right - 10;
  const int middle = (rect.top + rect.bottom) / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_MENUTEXT));
  HGDIOBJ old = SelectObject(hdc, pen);
  for (int d = 0; d < 4; ++d) {
    MoveToEx(hdc, x + d, middle - 3 + d, nullptr);
    LineTo(hdc, x + d, middle + 4 - d);
  }
  SelectObject(hdc, old);
  DeleteObject(pen);
}

void MenuTracker::drawPlainItem(const MenuEntry& item, const RECT& rect, HDC hdc, bool selected) const {
  RECT box = rect;
  FillRect(hdc, &box, sysBrush(selected && !item.isSeparator() ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (item.isSeparator()) {
    RECT line{rect.left + 2, (rect.top + rect.bottom) / 2 - 1, rect.right - 2, (rect.top + rect.bottom) / 2 + 1};
    DrawEdge(hdc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  MenuFont font;
  HGDIOBJ old = SelectObject(hdc, font.get());
  SetBkMode(hdc, TRANSPARENT);
  const int textColor = item.isDisabled() ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
  SetTextColor(hdc, GetSysColor(textColor));
  RECT text{rect.left + kCheckColumn, rect.top, rect.right - kArrowColumn, rect.bottom};
  const std::string label = beforeTab(item.text);
  DrawTextA(hdc, label.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
  const std::string accel = afterTab(item.text);
  if (!accel.empty()) DrawTextA(hdc, accel.c_str(), -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  if (item.flags & MF_CHECKED) DrawTextA(hdc, "v", 1, &box, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (item.subMenu) drawArrow(hdc, rect);
  SelectObject(hdc, old);
}

bool MenuTracker::itemRect(HWND popup, HMENU menu, UINT item, RECT& out) {
  auto* tracker = reinterpret_cast<MenuTracker*>(GetPropA(popup, kTrackerProp));
  if (!tracker) return false;
  const std::size_t l = tracker->levelOf(popup);
  if (l == tracker->m_levels.size() || tracker->m_levels[l].menu != menu) return false;
  const Level& level = tracker->m_levels[l];
  if (item >= level.rects.size()) return false;
  out = level.rects[item];
  POINT topLeft{out.left, out.top};
  POINT bottomRight{out.right, out.bottom};
  ClientToScreen(popup, &topLeft);
  ClientToScreen(popup, &bottomRight);
  out = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  return true;
}

LRESULT CALLBACK MenuTracker::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCCALCSIZE: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      InflateRect(rect, -kFrame, -kFrame);
      return 0;
    }
    case WM_NCPAINT: {
      HDC hdc = GetWindowDC(hwnd);
      RECT rect{};
      GetWindowRect(hwnd, &rect);
      OffsetRect(&rect, -rect.left, -rect.top);
      DrawEdge(hdc, &rect, EDGE_RAISED, BF_RECT);
      InflateRect(&rect, -2, -2);
      FrameRect(hdc, &rect, sysBrush(COLOR_MENU));
      ReleaseDC(hwnd, hdc);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT rect{};
      GetClientRect(hwnd, &rect);
      FillRect(reinterpret_cast<HDC>(wParam), &rect, sysBrush(COLOR_MENU));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      if (auto* tracker = reinterpret_cast<MenuTracker*>(GetPropA(hwnd, kTrackerProp))) tracker->paint(hwnd, hdc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case MN_GETHMENU:
      return reinterpret_cast<LRESULT>(GetPropA(hwnd, kMenuProp));
    case WM_NCDESTROY:
      RemovePropA(hwnd, kMenuProp);
      RemovePropA(hwnd, kTrackerProp);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace plat

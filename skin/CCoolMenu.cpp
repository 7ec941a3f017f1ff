#include "skin/CCoolMenu.h"

#include "skin/CCoolMenuHook.h"
#include "skin/CCoolMenuPopup.h"
#include "skin/CoolMenuImages.h"

#include <mfc/wnd/afxgdi.h>

#include <set>

namespace {

constexpr int kIconSize = 16;
constexpr int kItemHeight = 19;
constexpr int kSeparatorHeight = 5;
constexpr int kSeparatorWidth = 50;
constexpr int kLogoSidebarWidth = 20;
constexpr COLORREF kSidebarStart = 0x5A5A5A;
constexpr UINT kTextFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;    // 0x64
constexpr UINT kAccelFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;  // 0x66
constexpr UINT kBarFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;   // 0x65

// What every cool menu of the process shares; counted by the menus alive.
struct Shared {
  int menus = 0;
  CoolMenuTheme theme = CoolMenuTheme::Default();
  int sidebarWidth = 0;
  int sidebarHeight = 0;
  CString sidebarText;
  UINT logoId = 0;
  HBITMAP logo = nullptr;
  CCoolMenuHook hook;
  CoolMenuImages images;
  std::set<const CoolMenuItem*> records;
  CRect barRect;
};

Shared& shared() {
  static Shared state;
  return state;
}

const CoolMenuItem* recordOf(ULONG_PTR itemData) {
  const auto* item = reinterpret_cast<const CoolMenuItem*>(itemData);
  return shared().records.count(item) ? item : nullptr;
}

// The system menu font, made for one drawing.
class MenuFont {
 public:
  MenuFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_font.CreateFontIndirect(&metrics.lfMenuFont);
  }
  CFont* get() { return &m_font; }

 private:
  CFont m_font;
};

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps) {
  if (steps <= 1) return from;
  auto mix = [&](int a, int b) { return a + (b - a) * step / (steps - 1); };
  return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
             mix(GetBValue(from), GetBValue(to)));
}

void Line(CDC& dc, COLORREF color, int x1, int y1, int x2, int y2) {
  CPen pen(PS_SOLID, 1, color);
  CPen* old = dc.SelectObject(&pen);
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.SelectObject(old);
}

// The highlight: a horizontal gradient, one line per pixel column, in a frame.
void DrawLightBar(CDC& dc, const CRect& rect, bool fill) {
  const CoolMenuTheme& theme = shared().theme;
  if (fill) {
    for (int x = rect.left; x < rect.right; ++x)
      Line(dc, Blend(theme.LightBarStartColor, theme.LightBarEndColor, x - rect.left, rect.Width()), x, rect.top, x,
           rect.bottom);
  }
  CBrush frame(theme.LightBarColor);
  dc.FrameRect(&rect, &frame);
}

// The height of the popup an item lies in: the sum of its items' heights.
int PopupHeight(HMENU menu) {
  int height = 0;
  for (const CoolMenuItem* item : shared().records)
    if (item->menu == menu) height += item->id == CoolMenuItem::kSeparator ? kSeparatorHeight : kItemHeight;
  return height;
}

// The sidebar strip's part beside one item, drawn in the popup's coordinates shifted by
// the item's top so the strip runs whole down the popup.
void DrawSidebar(CDC& dc, const CoolMenuItem& item, int itemTop, int itemHeight) {
  Shared& state = shared();
  const int width = state.sidebarWidth;
  const int popupHeight = std::max(PopupHeight(item.menu), itemTop + itemHeight);
  if (state.logo) {
    CDC source;
    source.CreateCompatibleDC(&dc);
    HGDIOBJ old = source.SelectObject(state.logo);
    const int logoHeight = std::max(1, state.sidebarHeight);
    for (int bottom = popupHeight; bottom > 0; bottom -= logoHeight)
      dc.BitBlt(0, bottom - logoHeight - itemTop, width, logoHeight, &source, 0, 0, SRCCOPY);
    source.SelectObject(old);
    return;
  }
  for (int y = 0; y < itemHeight; ++y)
    Line(dc, Blend(kSidebarStart, state.theme.LogoTextEndColor, itemTop + y, popupHeight), 0, y, width, y);
  if (state.sidebarText.IsEmpty()) return;
  CFont font;
  font.CreateFont(14, 0, 900, 900, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  CFont* old = dc.SelectObject(&font);
  dc.SetTextColor(RGB(255, 255, 255));
  dc.TextOut(3, popupHeight - 4 - itemTop, state.sidebarText);
  dc.SelectObject(old);
}

void DrawCheckBox(CDC& dc, const CRect& icon, bool selected, bool withMark) {
  CRect box = icon;
  box.InflateRect(1, 1);
  dc.FillSolidRect(&box, selected ? RGB(255, 255, 255) : 0xEBEBEB);
  CBrush frame(0xD2AAA0);
  dc.FrameRect(&box, &frame);
  if (!withMark) return;
  const int x = icon.left + 4;
  const int y = icon.top + 7;
  for (int d = 0; d < 2; ++d) {
    Line(dc, RGB(0, 0, 0), x, y + d, x + 3, y + 3 + d);
    Line(dc, RGB(0, 0, 0), x + 3, y + 3 + d, x + 9, y - 3 + d);
  }
}

// The selected top-bar item: pressed in a dark frame, with a four-pixel shadow right of
// it, each line the button face darker, from the item outward.
void DrawPressedBarItem(CDC& dc, const CoolMenuItem& item, int width, int height) {
  static const int kShadeFactors[CCoolMenu::kBarShadowWidth] = {90, 210, 222, 240};
  CRect face(0, 0, width - CCoolMenu::kBarShadowWidth, height);
  dc.Draw3dRect(&face, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DDKSHADOW));
  const COLORREF base = ::GetSysColor(COLOR_BTNFACE);
  for (int i = 0; i < CCoolMenu::kBarShadowWidth; ++i) {
    const int f = kShadeFactors[i];
    Line(dc, RGB(GetRValue(base) * f / 255, GetGValue(base) * f / 255, GetBValue(base) * f / 255), face.right + i,
         CCoolMenu::kBarShadowWidth, face.right + i, height);
  }
  dc.SetTextColor(::GetSysColor(COLOR_MENUTEXT));
  dc.DrawText(item.text, &face, kBarFormat);
}

void DrawTexts(CDC& dc, const CoolMenuItem& item, CRect rect, COLORREF color) {
  dc.SetTextColor(color);
  dc.DrawText(item.text, &rect, kTextFormat);
  if (!item.accel.IsEmpty()) dc.DrawText(item.accel, &rect, kAccelFormat);
}

}  // namespace

CCoolMenu::CCoolMenu() : m_items(10) { ++shared().menus; }

CCoolMenu::~CCoolMenu() {
  FreeItems();
  DestroyMenu();
  // The shared state goes with the last menu, not with each one.
  if (--shared().menus > 0) return;
  shared().hook.HookWindow(static_cast<HWND>(nullptr));
  shared().images.Free();
  CCoolMenuPopup::Uninstall();
}

CoolMenuTheme& CCoolMenu::Theme() { return shared().theme; }

void CCoolMenu::FreeItems() {
  POSITION pos = m_items.GetHeadPosition();
  while (pos) {
    auto* item = static_cast<CoolMenuItem*>(m_items.GetNext(pos));
    shared().records.erase(item);
    delete item;
  }
  m_items.RemoveAll();
}

BOOL CCoolMenu::LoadMenu(UINT nMenuId, UINT nToolbarId) {
  FreeItems();
  DestroyMenu();
  HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nMenuId));
  return hMenu ? AttachMenu(hMenu, nToolbarId) : FALSE;
}

BOOL CCoolMenu::AttachMenu(HMENU hMenu, UINT nToolbarId) {
  FreeItems();
  if (m_hMenu && m_hMenu != hMenu) DestroyMenu();
  m_hMenu = nullptr;
  if (!Attach(hMenu)) return FALSE;
  Convert(hMenu, CoolMenuItem::kBar);
  LoadToolbar(nToolbarId);
  return TRUE;
}

BOOL CCoolMenu::ConvertMenu(HMENU hMenu, int nLevel) {
  FreeItems();
  if (!hMenu) return FALSE;
  Convert(hMenu, nLevel);
  return TRUE;
}

BOOL CCoolMenu::Convert(HMENU hMenu, int nLevel) {
  const int count = ::GetMenuItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    auto* item = new CoolMenuItem;
    item->level = nLevel;
    item->id = static_cast<int>(::GetMenuItemID(hMenu, pos));
    CString text;
    const int length = ::GetMenuStringA(hMenu, static_cast<UINT>(pos), nullptr, 0, MF_BYPOSITION);
    if (length > 0) {
      const int copied = ::GetMenuStringA(hMenu, static_cast<UINT>(pos), text.GetBuffer(2 * length + 2),
                                          2 * length + 2, MF_BYPOSITION);
      text.ReleaseBuffer(copied);
    }
    const int tab = text.Find('\t');
    item->text = tab < 0 ? text : text.Left(tab);
    item->accel = tab < 0 ? CString() : text.Mid(tab + 1);
    item->menu = hMenu;
    const UINT state = ::GetMenuState(hMenu, static_cast<UINT>(pos), MF_BYPOSITION);
    // Separators stay separators for the menu loop, which passes over them.
    const UINT keep =
        state == static_cast<UINT>(-1) ? 0 : state & (MF_SEPARATOR | MF_CHECKED | MF_GRAYED | MF_DISABLED);
    ::ModifyMenuA(hMenu, static_cast<UINT>(pos), MF_BYPOSITION | MF_OWNERDRAW | keep,
                  static_cast<UINT_PTR>(::GetMenuItemID(hMenu, pos)), reinterpret_cast<LPCSTR>(item));
    m_items.AddTail(item);
    shared().records.insert(item);

    HMENU sub = ::GetSubMenu(hMenu, pos);
    if (nLevel == CoolMenuItem::kBar) {
      if (item->id < 0) item->id = CoolMenuItem::kBarButton;
    } else {
      if (nLevel == CoolMenuItem::kPopup && pos == count - 1) item->level = CoolMenuItem::kLastInPopup;
      if (sub) item->id = CoolMenuItem::kSubMenu;
    }
    if (sub) Convert(sub, CoolMenuItem::kPopup);
  }
  return TRUE;
}

BOOL CCoolMenu::AppendItem(UINT nFlags, UINT nId, LPCSTR lpszText, int nLevel) {
  auto* item = new CoolMenuItem;
  const CString text = lpszText ? lpszText : "";
  const int tab = text.Find('\t');
  item->text = tab < 0 ? text : text.Left(tab);
  item->accel = tab < 0 ? CString() : text.Mid(tab + 1);
  item->level = nLevel;
  item->id = (nFlags & MF_SEPARATOR) ? CoolMenuItem::kSeparator : static_cast<int>(nId);
  item->menu = m_hMenu;
  m_items.AddTail(item);
  shared().records.insert(item);
  return ::AppendMenuA(m_hMenu, nFlags | MF_OWNERDRAW, nId, reinterpret_cast<LPCSTR>(item));
}

HMENU CCoolMenu::Detach() {
  FreeItems();
  return CMenu::Detach();
}

void CCoolMenu::HookOwnerWindow(HWND hWnd) {
  // Hooking again first takes the hook off, so it never links to itself.
  shared().hook.HookWindow(hWnd);
}

int CCoolMenu::LoadToolbar(UINT nToolbarId, UINT nBitmapId, BOOL bAlpha) {
  if (nToolbarId == 0) return -1;
  CoolMenuTheme& theme = shared().theme;
  theme.flags = bAlpha ? (theme.flags | CoolMenuTheme::kAlpha) : (theme.flags & ~CoolMenuTheme::kAlpha);
  return shared().images.Load(nToolbarId, nBitmapId, theme);
}

void CCoolMenu::SetLogoText(LPCSTR lpszText, COLORREF endColor) {
  Shared& state = shared();
  state.sidebarText = lpszText ? lpszText : "";
  state.theme.LogoTextEndColor = endColor;
  state.sidebarWidth = kLogoSidebarWidth;
}

BOOL CCoolMenu::SetLogoBitmap(UINT nBitmapId, int nWidth) {
  Shared& state = shared();
  if (nBitmapId == 0) {
    state.logoId = 0;
    return FALSE;
  }
  auto* bitmap = static_cast<HBITMAP>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapId), IMAGE_BITMAP,
                                                   0, 0, LR_CREATEDIBSECTION));
  const BOOL set = SetLogoBitmap(bitmap, nWidth);
  state.logoId = bitmap ? nBitmapId : 0;
  return set || !bitmap;
}

BOOL CCoolMenu::SetLogoBitmap(HBITMAP hBitmap, int nWidth) {
  Shared& state = shared();
  if (state.logo) ::DeleteObject(state.logo);
  state.logo = hBitmap;
  BITMAP info{};
  if (!hBitmap || !::GetObjectA(hBitmap, sizeof(info), &info)) {
    state.logo = nullptr;
    state.sidebarWidth = 0;
    state.sidebarHeight = 0;
    return FALSE;
  }
  state.sidebarWidth = nWidth ? nWidth : info.bmWidth;
  state.sidebarHeight = info.bmHeight;
  return TRUE;
}

void CCoolMenu::SetColorTheme(int n) {
  shared().theme.LoadPreset(n);
  shared().images.Rebuild(shared().theme);
}

void CCoolMenu::InstallPopupHook() { CCoolMenuPopup::Install(); }

BOOL CCoolMenu::IsCoolItem(ULONG_PTR itemData) { return recordOf(itemData) != nullptr; }

BOOL CCoolMenu::MeasureItem(MEASUREITEMSTRUCT* pMeasure) {
  const CoolMenuItem* item = recordOf(pMeasure->itemData);
  if (!item) return FALSE;
  if (item->id == CoolMenuItem::kSeparator) {
    pMeasure->itemHeight = kSeparatorHeight;
    pMeasure->itemWidth = kSeparatorWidth;
    return TRUE;
  }
  pMeasure->itemHeight = kItemHeight;
  const CString both = item->text + item->accel;
  int width = 0;
  if (!both.IsEmpty()) {
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    MenuFont font;
    CFont* old = screen.SelectObject(font.get());
    const int extent = screen.GetTextExtent(both).cx;
    screen.SelectObject(old);
    ::ReleaseDC(nullptr, screen.Detach());
    const int length = both.GetLength();
    width = item->accel.IsEmpty() ? extent : extent - (extent / length) * (length % 8) + 62;
  }
  width = item->id == CoolMenuItem::kBarButton ? width - 6 : width + 15 + kIconSize;
  if (item->level < 0) width += shared().sidebarWidth;
  pMeasure->itemWidth = static_cast<UINT>(std::max(0, width));
  return TRUE;
}

CRect CCoolMenu::GetBarItemRect() { return shared().barRect; }

BOOL CCoolMenu::DrawItem(const DRAWITEMSTRUCT* pDraw, HWND hOwnerWnd) {
  const CoolMenuItem* item = recordOf(pDraw->itemData);
  if (!item) return FALSE;
  Shared& state = shared();
  const CoolMenuTheme& theme = state.theme;
  const CRect target(pDraw->rcItem);
  const int width = target.Width();
  const int height = target.Height();
  if (width <= 0 || height <= 0) return TRUE;

  CDC* pTarget = CDC::FromHandle(pDraw->hDC);
  CDC dc;
  dc.CreateCompatibleDC(pTarget);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(pTarget, width, height);
  CBitmap* oldBitmap = dc.SelectObject(&bitmap);
  MenuFont font;
  CFont* oldFont = dc.SelectObject(font.get());
  dc.SetBkMode(TRANSPARENT);

  const bool selected = (pDraw->itemState & ODS_SELECTED) != 0;
  const bool disabled = (pDraw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const bool checked = (pDraw->itemState & ODS_CHECKED) != 0;
  const int sidebar = item->level < 0 ? state.sidebarWidth : 0;
  const bool iconBar = (theme.flags & CoolMenuTheme::kIconBar) != 0;

  dc.FillSolidRect(CRect(sidebar, 0, width, height),
                   item->id == CoolMenuItem::kBarButton ? ::GetSysColor(COLOR_BTNFACE) : theme.MenuColor);
  if (sidebar > 0 && (pDraw->itemAction & ODA_DRAWENTIRE)) DrawSidebar(dc, *item, target.top, height);
  if (iconBar && sidebar == 0) dc.FillSolidRect(CRect(0, 0, 5 + kIconSize, height), theme.IconBarColor);

  const CRect bar(sidebar, 0, width, height);
  const CRect textRect(sidebar + kIconSize + 10, 2, width - 11, height);
  const CRect icon(sidebar + 2, (height - kIconSize) / 2, sidebar + 2 + kIconSize, (height + kIconSize) / 2);
  if (item->id == CoolMenuItem::kSeparator) {
    const int left = 3 + sidebar + (iconBar ? 3 + kIconSize : 0);
    const int middle = height / 2 - 1;
    Line(dc, ::GetSysColor(COLOR_GRAYTEXT), left, middle, width, middle);
    Line(dc, 0xF0F0F0, left, middle + 1, width, middle + 1);
  } else if (disabled) {
    if (selected) DrawLightBar(dc, bar, false);
    state.images.Draw(dc.GetSafeHdc(), item->id, CoolMenuImages::kDisabled, icon.left, icon.top);
    CRect shadow = textRect;
    DrawTexts(dc, *item, shadow, ::GetSysColor(COLOR_3DLIGHT));
    shadow.OffsetRect(-1, -1);
    DrawTexts(dc, *item, shadow, ::GetSysColor(COLOR_GRAYTEXT));
  } else if (item->id == CoolMenuItem::kBarButton) {
    CRect button(0, 0, width, height);
    const bool hot = (pDraw->itemState & ODS_HOTLIGHT) != 0;
    state.barRect = selected || hot ? target : CRect();
    if (hOwnerWnd && !state.barRect.IsRectEmpty()) {
      CRect window;
      ::GetWindowRect(hOwnerWnd, &window);
      state.barRect.OffsetRect(window.left, window.top);
    }
    if (selected) {
      DrawPressedBarItem(dc, *item, width, height);
    } else {
      if (hot) DrawLightBar(dc, button, true);
      dc.SetTextColor(hot ? theme.HighLightColor : ::GetSysColor(COLOR_MENUTEXT));
      dc.DrawText(item->text, &button, kBarFormat);
    }
  } else {
    if (selected) DrawLightBar(dc, bar, true);
    // A checked command with an image shows the image in the box instead of the mark.
    if (checked) DrawCheckBox(dc, icon, selected, state.images.IndexOf(item->id) < 0);
    state.images.Draw(dc.GetSafeHdc(), item->id, selected ? CoolMenuImages::kHighlighted : CoolMenuImages::kNormal,
                      icon.left, icon.top);
    DrawTexts(dc, *item, textRect, selected ? theme.HighLightColor : theme.TextColor);
  }

  pTarget->BitBlt(target.left, target.top, width, height, &dc, 0, 0, SRCCOPY);
  dc.SelectObject(oldFont);
  dc.SelectObject(oldBitmap);
  return TRUE;
}

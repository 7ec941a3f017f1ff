// An owner-drawn menu: every item of the menu (and of its sub-menus) becomes MF_OWNERDRAW
// and carries a CoolMenuItem record, owned by this object and freed with it. The menu's
// owner window is subclassed by one process-wide CCoolMenuHook that answers
// WM_MEASUREITEM and WM_DRAWITEM for those items; items are drawn in the system menu font
// into an off-screen bitmap with a gradient highlight bar, check boxes, an optional
// sidebar strip (vertical text on a gradient, or a logo bitmap repeated upward) and the
// shared CoolMenuTheme. A selected top-bar item looks pressed, with a shadow on its right,
// and a popup opened right under it is joined to it (CCoolMenuPopup).
//
// The theme, the sidebar, the hook and the popup-window hook are shared by every cool
// menu of the process; they are counted and freed with the last menu. Item data that is
// not a live record of some cool menu is never drawn.
#pragma once

#include "skin/CoolMenuItem.h"
#include "skin/CoolMenuTheme.h"

#include <mfc/afxwin.h>
#include <mfc/CPtrList.h>

class CCoolMenu : public CMenu {
 public:
  CCoolMenu();
  ~CCoolMenu() override;

  // Loads the menu resource and converts it (level 1); toolbar 0 means no item images.
  BOOL LoadMenu(UINT nMenuId, UINT nToolbarId = 0);
  BOOL AttachMenu(HMENU hMenu, UINT nToolbarId = 0);
  // Frees the old records and converts the given menu; FALSE for a null handle.
  BOOL ConvertMenu(HMENU hMenu, int nLevel);
  BOOL AppendItem(UINT nFlags, UINT nId, LPCSTR lpszText, int nLevel);
  // Frees the item records and gives up the menu handle.
  HMENU Detach();

  // A null window unhooks.
  static void HookOwnerWindow(HWND hWnd);
  // -1 for toolbar 0; otherwise the number of the toolbar's command ids (0 without the
  // resource). The picture is the bitmap nBitmapId, or the toolbar's own.
  static int LoadToolbar(UINT nToolbarId, UINT nBitmapId = 0, BOOL bAlpha = FALSE);
  static void SetLogoText(LPCSTR lpszText, COLORREF endColor);
  static BOOL SetLogoBitmap(UINT nBitmapId, int nWidth = 0);
  static BOOL SetLogoBitmap(HBITMAP hBitmap, int nWidth = 0);
  static void SetColorTheme(int n);
  static void InstallPopupHook();

  // The theme every cool menu of the process draws with; owners set it directly.
  static CoolMenuTheme& Theme();

  // What the hook does with the owner's item messages; FALSE for item data that is no
  // live record. A top-bar item drawn selected or hot keeps its rectangle for the popup
  // frame: in screen coordinates when the owner is given (the bar is drawn in the owner's
  // window DC), else as drawn; one drawn plain empties it.
  static BOOL MeasureItem(MEASUREITEMSTRUCT* pMeasure);
  static BOOL DrawItem(const DRAWITEMSTRUCT* pDraw, HWND hOwnerWnd = nullptr);
  static CRect GetBarItemRect();
  // The shadow right of a selected top-bar item.
  static constexpr int kBarShadowWidth = 4;
  static BOOL IsCoolItem(ULONG_PTR itemData);

  int GetItemCount() const { return static_cast<int>(m_items.GetCount()); }

 private:
  BOOL Convert(HMENU hMenu, int nLevel);
  void FreeItems();

  CPtrList m_items;
};

// Menus: popup menus built in code or loaded from a module's resources, their items
// (strings, separators, sub-menus, owner-drawn items with item data) and their states
// (checked, grayed, default), and TrackPopupMenu, which shows a menu as a real popup
// window of class "#32768" and runs a modal loop until the user chooses or dismisses.
//
// While tracking, the owner window is told as on Windows: WM_ENTERMENULOOP, WM_INITMENU,
// WM_INITMENUPOPUP (before each popup opens), WM_MEASUREITEM for each owner-drawn item
// (ODT_MENU, once per opening), WM_DRAWITEM to paint them (ODA_DRAWENTIRE, then ODA_SELECT
// as the highlight moves), WM_MENUSELECT, WM_EXITMENULOOP, and finally WM_COMMAND with the
// chosen id (posted; with TPM_RETURNCMD the id is returned instead). The popup window is
// created and sized through sent messages (WM_CREATE, MN_SIZEWINDOW, WM_NCCALCSIZE,
// WM_NCPAINT), so a thread's WH_CALLWNDPROC hook can subclass it. The user chooses with
// the mouse (moving highlights, a release on an item chooses, a press outside dismisses)
// or the keys (Up, Down, Right opens a sub-menu, Left and Escape close, Enter chooses).
// With nobody to answer (no robot action waiting) the menu is dismissed.
#pragma once

#include <win32/types.h>

#define MF_INSERT 0x00000000
#define MF_CHANGE 0x00000080
#define MF_APPEND 0x00000100
#define MF_DELETE 0x00000200
#define MF_REMOVE 0x00001000
#define MF_BYCOMMAND 0x00000000
#define MF_BYPOSITION 0x00000400
#define MF_SEPARATOR 0x00000800
#define MF_ENABLED 0x00000000
#define MF_GRAYED 0x00000001
#define MF_DISABLED 0x00000002
#define MF_UNCHECKED 0x00000000
#define MF_CHECKED 0x00000008
#define MF_STRING 0x00000000
#define MF_BITMAP 0x00000004
#define MF_OWNERDRAW 0x00000100
#define MF_POPUP 0x00000010
#define MF_MENUBARBREAK 0x00000020
#define MF_MENUBREAK 0x00000040
#define MF_HILITE 0x00000080
#define MF_DEFAULT 0x00001000

#define TPM_LEFTBUTTON 0x0000
#define TPM_RIGHTBUTTON 0x0002
#define TPM_LEFTALIGN 0x0000
#define TPM_CENTERALIGN 0x0004
#define TPM_RIGHTALIGN 0x0008
#define TPM_TOPALIGN 0x0000
#define TPM_VCENTERALIGN 0x0010
#define TPM_BOTTOMALIGN 0x0020
#define TPM_NONOTIFY 0x0080
#define TPM_RETURNCMD 0x0100

#define ODT_MENU 1
#define ODT_LISTBOX 2
#define ODT_COMBOBOX 3
#define ODT_BUTTON 4
#define ODT_STATIC 5
#define ODT_HEADER 100
#define ODT_LISTVIEW 102

#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODA_FOCUS 0x0004

#define ODS_SELECTED 0x0001
#define ODS_GRAYED 0x0002
#define ODS_DISABLED 0x0004
#define ODS_CHECKED 0x0008
#define ODS_FOCUS 0x0010
#define ODS_DEFAULT 0x0020
#define ODS_COMBOBOXEDIT 0x1000
#define ODS_HOTLIGHT 0x0040

// Sent to a popup-menu window: its menu handle (MN_GETHMENU), and after it has been sized
// (MN_SIZEWINDOW).
#define MN_GETHMENU 0x01E1
#define MN_SIZEWINDOW 0x01E2

// The class name of popup-menu windows.
#define POPUPMENU_CLASS "#32768"

struct MEASUREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemWidth;
  UINT itemHeight;
  ULONG_PTR itemData;
};
using LPMEASUREITEMSTRUCT = MEASUREITEMSTRUCT*;

struct DRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;  // the menu handle for ODT_MENU
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_SUBMENU 0x00000004
#define MIIM_DATA 0x00000020
#define MIIM_STRING 0x00000040
#define MIIM_FTYPE 0x00000100

#define MFT_STRING MF_STRING
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFS_GRAYED 0x00000003
#define MFS_CHECKED MF_CHECKED
#define MFS_DEFAULT MF_DEFAULT

struct MENUITEMINFOA {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPSTR dwTypeData;
  UINT cch;
  HBITMAP hbmpItem;
};
using LPMENUITEMINFOA = MENUITEMINFOA*;

HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);
// From the module's resources (nullptr: the program's); a menu resource is a bar whose
// items are usually popups.
HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR lpMenuName);

// lpNewItem is the text for MF_STRING, the item data for MF_OWNERDRAW; uIDNewItem is the
// sub-menu handle for MF_POPUP.
BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
BOOL ModifyMenuA(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem);
// DeleteMenu destroys a removed sub-menu; RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);

int GetMenuItemCount(HMENU hMenu);
// (UINT)-1 for an item that opens a sub-menu or a position out of range; 0 for a separator.
UINT GetMenuItemID(HMENU hMenu, int nPos);
HMENU GetSubMenu(HMENU hMenu, int nPos);
// The text's length without the NUL; with lpString nullptr only the length is given.
int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags);
// The item's MF_ flags (for a sub-menu item its item count in the high byte), or (UINT)-1.
UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
// Both return the previous state (MF_CHECKED / MF_GRAYED | MF_DISABLED), or (DWORD)-1.
DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
// The parts fMask names; for MIIM_STRING, cch is the buffer's size in and the text's
// length out (dwTypeData nullptr: the length only).
BOOL GetMenuItemInfoA(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOA lpmii);
BOOL SetMenuItemInfoA(HMENU hmenu, UINT item, BOOL fByPositon, const MENUITEMINFOA* lpmii);
BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos);
UINT GetMenuDefaultItem(HMENU hMenu, UINT fByPos, UINT gmdiFlags);

// Shows the popup at (x, y) in screen coordinates and tracks it (see above). Returns the
// chosen id with TPM_RETURNCMD, else TRUE when an item was chosen; 0 when dismissed.
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect);
// The screen rectangle of an item of a menu shown in the popup window hWnd.
BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem);

#define LoadMenu LoadMenuA
#define AppendMenu AppendMenuA
#define InsertMenu InsertMenuA
#define ModifyMenu ModifyMenuA
#define GetMenuString GetMenuStringA
#define GetMenuItemInfo GetMenuItemInfoA
#define SetMenuItemInfo SetMenuItemInfoA
using MENUITEMINFO = MENUITEMINFOA;

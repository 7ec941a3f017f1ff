#include <win32/user/menu.h>

#include <win32/error.h>
#include <win32/user/MenuTable.h>
#include <win32/user/MenuTracker.h>
#include <win32/user/ResourceTable.h>
#include <win32/user/usererror.h>
#include <win32/user/window.h>

#include <algorithm>
#include <cstring>

using plat::MenuData;
using plat::MenuEntry;
using plat::MenuTable;

namespace {

MenuTable& table() { return MenuTable::instance(); }

BOOL invalidMenu() {
  SetLastError(ERROR_INVALID_MENU_HANDLE);
  return FALSE;
}

// The item a call describes: flags, id or sub-menu, and text or item data.
MenuEntry entryOf(UINT flags, UINT_PTR idOrMenu, LPCSTR newItem) {
  MenuEntry entry;
  entry.flags = flags & ~(MF_BYPOSITION | MF_CHANGE | MF_APPEND | MF_DELETE | MF_REMOVE);
  if (flags & MF_OWNERDRAW) entry.flags |= MF_OWNERDRAW;
  if (flags & MF_POPUP) {
    entry.subMenu = reinterpret_cast<HMENU>(idOrMenu);
  } else if (!(flags & MF_SEPARATOR)) {
    entry.id = static_cast<UINT>(idOrMenu);
  }
  if (flags & MF_OWNERDRAW) {
    entry.itemData = reinterpret_cast<ULONG_PTR>(newItem);
  } else if (!(flags & (MF_SEPARATOR | MF_BITMAP)) && newItem) {
    entry.text = newItem;
  }
  return entry;
}

HMENU build(const plat::res::MenuItem* items, std::size_t count, bool popup) {
  HMENU menu = table().create(popup);
  for (std::size_t i = 0; i < count; ++i) {
    const auto& item = items[i];
    if (!item.text) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else if (item.itemCount) {
      AppendMenuA(menu, MF_POPUP | (item.flags & ~MF_POPUP),
                  reinterpret_cast<UINT_PTR>(build(item.items, item.itemCount, true)), item.text);
    } else {
      // An owner-drawn resource item keeps its text as its item data only on Windows'
      // own terms; here it stays a string until the program modifies it.
      AppendMenuA(menu, item.flags & ~MF_OWNERDRAW, item.id, item.text);
    }
  }
  return menu;
}

// Applies `change` to the item at a place; false (and the menu error) when there is none.
template <class Change>
bool changeItem(HMENU menu, UINT item, UINT flags, Change change) {
  const auto place = table().find(menu, item, flags);
  if (!place) return false;
  return table().with(place->menu, [&](MenuData& data) { change(data, data.items[static_cast<std::size_t>(place->position)]); });
}

}  // namespace

HMENU CreateMenu() { return table().create(false); }

HMENU CreatePopupMenu() { return table().create(true); }

BOOL DestroyMenu(HMENU hMenu) { return table().destroy(hMenu) ? TRUE : invalidMenu(); }

BOOL IsMenu(HMENU hMenu) { return table().exists(hMenu); }

HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR lpMenuName) {
  const plat::res::Menu* menu = plat::ResourceTable::menu(hInstance, lpMenuName);
  if (!menu) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return build(menu->items, menu->itemCount, false);
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
  const MenuEntry entry = entryOf(uFlags, uIDNewItem, lpNewItem);
  return table().with(hMenu, [&](MenuData& data) { data.items.push_back(entry); }) ? TRUE : invalidMenu();
}

BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
  const MenuEntry entry = entryOf(uFlags, uIDNewItem, lpNewItem);
  std::optional<plat::MenuPlace> place;
  if (uFlags & MF_BYPOSITION) {
    place = plat::MenuPlace{hMenu, static_cast<int>(uPosition)};
  } else {
    place = table().find(hMenu, uPosition, uFlags);
    if (!place) return invalidMenu();
  }
  return table().with(place->menu, [&](MenuData& data) {
    const auto at = std::min<std::size_t>(static_cast<std::size_t>(place->position), data.items.size());
    data.items.insert(data.items.begin() + static_cast<std::ptrdiff_t>(at), entry);
  }) ? TRUE : invalidMenu();
}

BOOL ModifyMenuA(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
  const MenuEntry entry = entryOf(uFlags, uIDNewItem, lpNewItem);
  const bool done = changeItem(hMnu, uPosition, uFlags, [&](MenuData&, MenuEntry& item) {
    // A sub-menu stays when the new item is not a popup but the old one was.
    const HMENU keptSub = !(uFlags & MF_POPUP) && item.subMenu ? item.subMenu : nullptr;
    // An item made owner-drawn keeps its text, for whoever converts the menu again.
    const std::string keptText = entry.isOwnerDraw() ? item.text : std::string();
    item = entry;
    if (entry.isOwnerDraw()) item.text = keptText;
    if (keptSub) {
      item.subMenu = keptSub;
      item.flags |= MF_POPUP;
      item.id = 0;
    }
  });
  return done ? TRUE : invalidMenu();
}

BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
  const auto place = table().find(hMenu, uPosition, uFlags);
  if (!place) return invalidMenu();
  table().with(place->menu, [&](MenuData& data) {
    data.items.erase(data.items.begin() + place->position);
    if (data.defaultItem == place->position) data.defaultItem = -1;
    else if (data.defaultItem > place->position) --data.defaultItem;
  });
  return TRUE;
}

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
  const auto place = table().find(hMenu, uPosition, uFlags);
  if (!place) return invalidMenu();
  HMENU sub = nullptr;
  table().with(place->menu, [&](MenuData& data) { sub = data.items[static_cast<std::size_t>(place->position)].subMenu; });
  RemoveMenu(place->menu, static_cast<UINT>(place->position), MF_BYPOSITION);
  if (sub) DestroyMenu(sub);
  return TRUE;
}

int GetMenuItemCount(HMENU hMenu) {
  const auto data = table().copy(hMenu);
  if (!data) {
    invalidMenu();
    return -1;
  }
  return static_cast<int>(data->items.size());
}

UINT GetMenuItemID(HMENU hMenu, int nPos) {
  const auto data = table().copy(hMenu);
  if (!data || nPos < 0 || static_cast<std::size_t>(nPos) >= data->items.size()) return static_cast<UINT>(-1);
  const MenuEntry& item = data->items[static_cast<std::size_t>(nPos)];
  return item.subMenu ? static_cast<UINT>(-1) : item.id;
}

HMENU GetSubMenu(HMENU hMenu, int nPos) {
  const auto data = table().copy(hMenu);
  if (!data || nPos < 0 || static_cast<std::size_t>(nPos) >= data->items.size()) return nullptr;
  return data->items[static_cast<std::size_t>(nPos)].subMenu;
}

int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags) {
  std::string text;
  if (!changeItem(hMenu, uIDItem, flags, [&](MenuData&, MenuEntry& item) { text = item.text; })) {
    if (lpString && cchMax > 0) lpString[0] = '\0';
    return 0;
  }
  if (!lpString) return static_cast<int>(text.size());
  if (cchMax <= 0) return 0;
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(cchMax - 1));
  std::memcpy(lpString, text.data(), n);
  lpString[n] = '\0';
  return static_cast<int>(n);
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
  UINT state = static_cast<UINT>(-1);
  HMENU sub = nullptr;
  changeItem(hMenu, uId, uFlags, [&](MenuData& data, MenuEntry& item) {
    state = item.flags & ~MF_POPUP;
    if (&item - data.items.data() == data.defaultItem) state |= MF_DEFAULT;
    sub = item.subMenu;
  });
  if (const auto subData = sub ? table().copy(sub) : std::nullopt)
    state |= MF_POPUP | static_cast<UINT>(std::min<std::size_t>(subData->items.size(), 255)) << 8;
  return state;
}

DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
  DWORD previous = static_cast<DWORD>(-1);
  changeItem(hMenu, uIDCheckItem, uCheck, [&](MenuData&, MenuEntry& item) {
    previous = item.flags & MF_CHECKED;
    item.flags = (item.flags & ~MF_CHECKED) | (uCheck & MF_CHECKED);
  });
  return previous;
}

BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
  int previous = -1;
  changeItem(hMenu, uIDEnableItem, uEnable, [&](MenuData&, MenuEntry& item) {
    previous = static_cast<int>(item.flags & (MF_GRAYED | MF_DISABLED));
    item.flags = (item.flags & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
  });
  return previous;
}

BOOL GetMenuItemInfoA(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOA lpmii) {
  if (!lpmii) return FALSE;
  std::optional<MenuEntry> found;
  bool isDefault = false;
  changeItem(hmenu, item, fByPosition ? MF_BYPOSITION : MF_BYCOMMAND, [&](MenuData& data, MenuEntry& entry) {
    found = entry;
    isDefault = &entry - data.items.data() == data.defaultItem;
  });
  if (!found) return invalidMenu();
  const UINT mask = lpmii->fMask;
  if (mask & MIIM_FTYPE) lpmii->fType = found->flags & (MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP | MF_MENUBREAK | MF_MENUBARBREAK);
  if (mask & MIIM_STATE) lpmii->fState = (found->flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED)) | (isDefault ? MF_DEFAULT : 0);
  if (mask & MIIM_ID) lpmii->wID = found->id;
  if (mask & MIIM_SUBMENU) lpmii->hSubMenu = found->subMenu;
  if (mask & MIIM_DATA) lpmii->dwItemData = found->itemData;
  if (mask & MIIM_STRING) {
    if (lpmii->dwTypeData && lpmii->cch > 0) {
      const std::size_t n = std::min<std::size_t>(found->text.size(), lpmii->cch - 1);
      std::memcpy(lpmii->dwTypeData, found->text.data(), n);
      lpmii->dwTypeData[n] = '\0';
      lpmii->cch = static_cast<UINT>(n);
    } else {
      lpmii->cch = static_cast<UINT>(found->text.size());
    }
  }
  return TRUE;
}

BOOL SetMenuItemInfoA(HMENU hmenu, UINT item, BOOL fByPositon, const MENUITEMINFOA* lpmii) {
  if (!lpmii) return FALSE;
  const UINT mask = lpmii->fMask;
  const bool done = changeItem(hmenu, item, fByPositon ? MF_BYPOSITION : MF_BYCOMMAND, [&](MenuData&, MenuEntry& entry) {
    if (mask & MIIM_FTYPE)
      entry.flags = (entry.flags & ~(MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP)) |
                    (lpmii->fType & (MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP));
    if (mask & MIIM_STATE)
      entry.flags = (entry.flags & ~(MF_CHECKED | MF_GRAYED | MF_DISABLED)) | (lpmii->fState & (MF_CHECKED | MF_GRAYED | MF_DISABLED));
    if (mask & MIIM_ID) entry.id = lpmii->wID;
    if (mask & MIIM_SUBMENU) {
      entry.subMenu = lpmii->hSubMenu;
      entry.flags = lpmii->hSubMenu ? (entry.flags | MF_POPUP) : (entry.flags & ~MF_POPUP);
    }
    if (mask & MIIM_DATA) entry.itemData = lpmii->dwItemData;
    if (mask & MIIM_STRING) entry.text = lpmii->dwTypeData ? lpmii->dwTypeData : "";
  });
  return done ? TRUE : invalidMenu();
}

BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos) {
  if (uItem == static_cast<UINT>(-1)) {
    return table().with(hMenu, [](MenuData& data) { data.defaultItem = -1; }) ? TRUE : invalidMenu();
  }
  const auto place = table().find(hMenu, uItem, fByPos ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!place || place->menu != hMenu) return invalidMenu();
  table().with(hMenu, [&](MenuData& data) { data.defaultItem = place->position; });
  return TRUE;
}

UINT GetMenuDefaultItem(HMENU hMenu, UINT fByPos, UINT) {
  const auto data = table().copy(hMenu);
  if (!data || data->defaultItem < 0) return static_cast<UINT>(-1);
  if (fByPos) return static_cast<UINT>(data->defaultItem);
  return data->items[static_cast<std::size_t>(data->defaultItem)].id;
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*) {
  if (!table().exists(hMenu)) return invalidMenu();
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const UINT chosen = plat::MenuTracker::track(hMenu, uFlags, POINT{x, y}, hWnd);
  if (uFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen && !(uFlags & TPM_NONOTIFY)) PostMessageA(hWnd, WM_COMMAND, chosen, 0);
  return chosen ? TRUE : FALSE;
}

BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem) {
  if (!lprcItem) return FALSE;
  return plat::MenuTracker::itemRect(hWnd, hMenu, uItem, *lprcItem) ? TRUE : FALSE;
}

// The menus of the process, by handle: each an ordered list of items. Menu handles are
// process-wide like window handles; the table is guarded by its own lock, and callers get
// copies or act through with() so no item is touched outside the lock.
#pragma once

#include <win32/user/menu.h>

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace plat {

struct MenuEntry {
  UINT flags = 0;      // MF_ type and state bits (MF_POPUP, MF_SEPARATOR, MF_OWNERDRAW, MF_CHECKED …)
  UINT id = 0;         // command id; 0 for a separator
  std::string text;    // MF_STRING items
  HMENU subMenu = nullptr;
  ULONG_PTR itemData = 0;  // MF_OWNERDRAW items

  bool isSeparator() const { return (flags & MF_SEPARATOR) != 0; }
  bool isOwnerDraw() const { return (flags & MF_OWNERDRAW) != 0; }
  bool isDisabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
};

struct MenuData {
  bool popup = true;
  std::vector<MenuEntry> items;
  int defaultItem = -1;  // position
};

// Where an item lies: the menu holding it and its position there.
struct MenuPlace {
  HMENU menu;
  int position;
};

class MenuTable {
 public:
  static MenuTable& instance();

  HMENU create(bool popup);
  // Destroys the menu and its sub-menus; false for an unknown handle.
  bool destroy(HMENU menu);
  bool exists(HMENU menu) const;
  std::size_t count() const;
  std::optional<MenuData> copy(HMENU menu) const;
  // Runs `change` on the menu under the lock; false for an unknown handle.
  bool with(HMENU menu, const std::function<void(MenuData&)>& change);
  // An item by position (MF_BYPOSITION) or by command id, searched in sub-menus too.
  std::optional<MenuPlace> find(HMENU menu, UINT item, UINT flags) const;

 private:
  std::optional<MenuPlace> findCommand(HMENU menu, UINT id) const;
  void destroyLocked(HMENU menu);

  mutable std::mutex m_lock;
  std::map<HMENU, MenuData> m_menus;
  std::uintptr_t m_next = 1;
};

}  // namespace plat

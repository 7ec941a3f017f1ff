#include <win32/user/MenuTable.h>

#include <cstdint>

namespace plat {

namespace {

// Menu handles count up in a range of their own, so a stale handle is never a live
// window or GDI object.
constexpr std::uintptr_t kHandleBase = 0x4D000000;

}  // namespace

MenuTable& MenuTable::instance() {
  static MenuTable table;
  return table;
}

HMENU MenuTable::create(bool popup) {
  std::lock_guard guard(m_lock);
  const auto handle = reinterpret_cast<HMENU>(kHandleBase + 4 * m_next++);
  m_menus[handle].popup = popup;
  return handle;
}

bool MenuTable::destroy(HMENU menu) {
  std::lock_guard guard(m_lock);
  if (!m_menus.count(menu)) return false;
  destroyLocked(menu);
  return true;
}

void MenuTable::destroyLocked(HMENU menu) {
  const auto it = m_menus.find(menu);
  if (it == m_menus.end()) return;
  std::vector<HMENU> subMenus;
  for (const MenuEntry& item : it->second.items)
    if (item.subMenu) subMenus.push_back(item.subMenu);
  m_menus.erase(it);
  for (HMENU sub : subMenus) destroyLocked(sub);
}

std::size_t MenuTable::count() const {
  std::lock_guard guard(m_lock);
  return m_menus.size();
}

bool MenuTable::exists(HMENU menu) const {
  std::lock_guard guard(m_lock);
  return m_menus.count(menu) != 0;
}

std::optional<MenuData> MenuTable::copy(HMENU menu) const {
  std::lock_guard guard(m_lock);
  const auto it = m_menus.find(menu);
  if (it == m_menus.end()) return std::nullopt;
  return it->second;
}

bool MenuTable::with(HMENU menu, const std::function<void(MenuData&)>& change) {
  std::lock_guard guard(m_lock);
  const auto it = m_menus.find(menu);
  if (it == m_menus.end()) return false;
  change(it->second);
  return true;
}

std::optional<MenuPlace> MenuTable::find(HMENU menu, UINT item, UINT flags) const {
  std::lock_guard guard(m_lock);
  const auto it = m_menus.find(menu);
  if (it == m_menus.end()) return std::nullopt;
  if (flags & MF_BYPOSITION) {
    if (item >= it->second.items.size()) return std::nullopt;
    return MenuPlace{menu, static_cast<int>(item)};
  }
  return findCommand(menu, item);
}

std::optional<MenuPlace> MenuTable::findCommand(HMENU menu, UINT id) const {
  const auto it = m_menus.find(menu);
  if (it == m_menus.end()) return std::nullopt;
  const auto& items = it->second.items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].subMenu) {
      if (const auto found = findCommand(items[i].subMenu, id)) return found;
    } else if (!items[i].isSeparator() && items[i].id == id) {
      return MenuPlace{menu, static_cast<int>(i)};
    }
  }
  return std::nullopt;
}

}  // namespace plat

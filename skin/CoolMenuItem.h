// The record an owner-drawn menu item carries as its item data: what CCoolMenu needs to
// measure and draw it without asking the menu again.
#pragma once

#include <mfc/afx.h>
#include <win32/user/menu.h>

struct CoolMenuItem {
  // Levels: an item of the top menu bar, of a popup, and the last item of a popup.
  static constexpr int kBar = 1;
  static constexpr int kPopup = -1;
  static constexpr int kLastInPopup = -2;
  // Ids besides command ids: a separator, an item opening a sub-menu, and a sub-menu item
  // of the top menu bar (drawn as a bar button).
  static constexpr int kSeparator = 0;
  static constexpr int kSubMenu = -1;
  static constexpr int kBarButton = -2;

  CString text;   // before the first tab
  CString accel;  // after the first tab, shown right-aligned
  int level = kPopup;
  int id = kSeparator;
  HMENU menu = nullptr;
};

// Where a list view in icon mode (LVS_ICON) puts its items: a grid of equal cells filling
// the client area's width row by row (as LVS_AUTOARRANGE keeps it), each cell holding the
// normal image list's icon centred at its top and the label below it. Labels take room
// only when some item has text. The grid scrolls vertically by pixels.
#pragma once

#include <win32/types.h>

namespace plat {

class ListIconLayout {
 public:
  static constexpr int kPadX = 8;
  static constexpr int kPadY = 4;
  static constexpr int kDefaultIcon = 32;

  // `iconCx` x `iconCy` from the normal image list; `labelHeight` 0 without labels.
  ListIconLayout(int clientWidth, int clientHeight, int iconCx, int iconCy, int labelHeight, int scrollY);

  int cellWidth() const { return m_iconCx + 2 * kPadX; }
  int cellHeight() const { return m_iconCy + 2 * kPadY + m_labelHeight; }
  int columns() const;
  int rowsVisible() const;
  // The content's height for `count` items, and the largest scroll position for it.
  int contentHeight(int count) const;
  int maxScroll(int count) const;

  RECT cell(int index) const;
  RECT icon(int index) const;
  RECT label(int index) const;
  // The icon and label together, with the selection frame around the icon.
  RECT bounds(int index) const;
  // The item whose bounds hold the point, -1 for none.
  int hitTest(POINT point, int count) const;
  // The scroll position that shows the item whole, starting from the current one.
  int scrollToShow(int index) const;

 private:
  int m_clientWidth;
  int m_clientHeight;
  int m_iconCx;
  int m_iconCy;
  int m_labelHeight;
  int m_scrollY;
};

}  // namespace plat

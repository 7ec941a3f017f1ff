#include <win32/user/ListIconLayout.h>

#include <algorithm>

namespace plat {

namespace {
// Room kept around an icon for the selection frame.
constexpr int kFrame = 3;
}  // namespace

ListIconLayout::ListIconLayout(int clientWidth, int clientHeight, int iconCx, int iconCy, int labelHeight, int scrollY)
    : m_clientWidth(clientWidth),
      m_clientHeight(clientHeight),
      m_iconCx(iconCx > 0 ? iconCx : kDefaultIcon),
      m_iconCy(iconCy > 0 ? iconCy : kDefaultIcon),
      m_labelHeight(labelHeight),
      m_scrollY(scrollY) {}

int ListIconLayout::columns() const { return std::max(1, m_clientWidth / cellWidth()); }

int ListIconLayout::rowsVisible() const { return std::max(1, m_clientHeight / cellHeight()); }

int ListIconLayout::contentHeight(int count) const {
  const int rows = (count + columns() - 1) / columns();
  return rows * cellHeight();
}

int ListIconLayout::maxScroll(int count) const { return std::max(0, contentHeight(count) - m_clientHeight); }

RECT ListIconLayout::cell(int index) const {
  const int left = (index % columns()) * cellWidth();
  const int top = (index / columns()) * cellHeight() - m_scrollY;
  return RECT{left, top, left + cellWidth(), top + cellHeight()};
}

RECT ListIconLayout::icon(int index) const {
  const RECT c = cell(index);
  const int left = c.left + (cellWidth() - m_iconCx) / 2;
  return RECT{left, c.top + kPadY, left + m_iconCx, c.top + kPadY + m_iconCy};
}

RECT ListIconLayout::label(int index) const {
  const RECT c = cell(index);
  const RECT i = icon(index);
  return RECT{c.left + 1, i.bottom + kPadY, c.right - 1, i.bottom + kPadY + m_labelHeight};
}

RECT ListIconLayout::bounds(int index) const {
  const RECT i = icon(index);
  const RECT l = label(index);
  RECT b{i.left - kFrame, i.top - kFrame, i.right + kFrame, i.bottom + kFrame};
  if (m_labelHeight > 0) {
    b.left = std::min(b.left, l.left);
    b.right = std::max(b.right, l.right);
    b.bottom = l.bottom;
  }
  return b;
}

int ListIconLayout::hitTest(POINT point, int count) const {
  if (point.x < 0 || point.y < 0 || point.x >= columns() * cellWidth()) return -1;
  const int column = point.x / cellWidth();
  const int row = (point.y + m_scrollY) / cellHeight();
  const int index = row * columns() + column;
  if (index < 0 || index >= count) return -1;
  const RECT b = bounds(index);
  return point.x >= b.left && point.x < b.right && point.y >= b.top && point.y < b.bottom ? index : -1;
}

int ListIconLayout::scrollToShow(int index) const {
  const RECT c = cell(index);
  if (c.top < 0) return m_scrollY + c.top;
  if (c.bottom > m_clientHeight) return m_scrollY + std::min(c.top, c.bottom - m_clientHeight);
  return m_scrollY;
}

}  // namespace plat

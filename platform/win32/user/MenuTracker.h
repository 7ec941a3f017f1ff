// TrackPopupMenu's modal loop and the "#32768" popup-menu windows it shows (see menu.h).
//
// One tracker lives for one TrackPopupMenu call. It keeps a stack of open levels (the
// menu and, for each opened sub-menu, one more), each with its window, its items' copies
// and rectangles and its highlighted position. Like Windows' own menu loop it takes mouse
// and keyboard input out of the thread's queue itself; everything else (painting, timers,
// sent messages) is dispatched as usual, so the owner keeps working while a menu is up.
#pragma once

#include <win32/user/MenuTable.h>
#include <win32/user/message.h>

#include <cstddef>
#include <optional>
#include <vector>

namespace plat {

class MenuTracker {
 public:
  // The chosen command id, 0 when dismissed.
  static UINT track(HMENU menu, UINT flags, POINT at, HWND owner);
  // The screen rectangle of an item of the menu shown in `popup`.
  static bool itemRect(HWND popup, HMENU menu, UINT item, RECT& out);
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // The frame of a popup-menu window around its items, on each side.
  static constexpr int kFrame = 3;
  static constexpr int kItemHeight = 19;
  static constexpr int kSeparatorHeight = 9;

 private:
  struct Level {
    HMENU menu = nullptr;
    HWND window = nullptr;
    std::vector<MenuEntry> items;
    std::vector<RECT> rects;  // client coordinates
    int defaultItem = -1;
    int selected = -1;
  };
  struct Hit {
    std::size_t level;
    int position;
  };

  MenuTracker(HWND owner, UINT flags) : m_owner(owner), m_flags(flags) {}

  UINT run(HMENU menu, POINT at);
  void open(HMENU menu, POINT at, int parentRight);
  void closeAbove(std::size_t level);
  void layout(Level& level);
  void select(std::size_t level, int position);
  void openSubMenu(std::size_t level);
  void choose(std::size_t level, int position);
  void dismiss() { m_done = true; }

  void onMouse(const MSG& msg);
  void onKey(const MSG& msg);
  void step(std::size_t level, int direction);
  std::optional<Hit> itemAt(POINT screen) const;
  static POINT screenPoint(const MSG& msg);

  void paint(HWND window, HDC hdc);
  void drawItem(const Level& level, int position, HDC hdc, UINT action) const;
  static void drawArrow(HDC hdc, const RECT& rect);
  void drawPlainItem(const MenuEntry& item, const RECT& rect, HDC hdc, bool selected) const;
  std::size_t levelOf(HWND window) const;

  HWND m_owner;
  UINT m_flags;
  std::vector<Level> m_levels;
  bool m_done = false;
  UINT m_chosen = 0;
};

}  // namespace plat

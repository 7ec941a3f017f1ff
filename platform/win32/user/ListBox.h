// The state and procedure behind the "LISTBOX" class (see controls.h). One ListBox lives
// per list window, made at WM_NCCREATE and deleted at WM_NCDESTROY. A box made with
// WS_VSCROLL shows its scroll bar while it holds more entries than it shows (always with
// LBS_DISABLENOSCROLL) and scrolls by it.
#pragma once

#include <win32/types.h>

#include <string>
#include <vector>

namespace plat {

class ListBox {
 public:
  static constexpr int kDefaultItemHeight = 16;

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Item {
    std::string text;
    ULONG_PTR data = 0;
    int height = kDefaultItemHeight;
  };

  explicit ListBox(HWND hwnd) : m_hwnd(hwnd) {}

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  int count() const { return static_cast<int>(m_items.size()); }
  bool valid(int index) const { return index >= 0 && index < count(); }
  bool ownerDrawn() const;
  int insert(int at, LPCSTR text);
  int measure(int index);
  RECT itemRect(int index) const;
  int itemAt(POINT client) const;
  void select(int index, bool notifyChange);
  void ensureVisible(int index);
  // How many entries show whole from the top one.
  int perPage() const;
  void scrollTo(int top);
  void onScroll(WPARAM request);
  void updateScrollBar();
  void notify(WORD code) const;
  void paint();

  HWND m_hwnd;
  std::vector<Item> m_items;
  int m_sel = -1;
  int m_caret = 0;
  int m_top = 0;
  HFONT m_font = nullptr;
  bool m_hasBar = false;  // made with WS_VSCROLL
};

}  // namespace plat

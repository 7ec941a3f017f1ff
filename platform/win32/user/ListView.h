// The state and procedures behind "SysListView32" and its "SysHeader32" child (see
// listview.h for what callers see): report mode by rows, icon mode (LVS_ICON) by the
// grid of ListIconLayout. One ListView lives per list window, made at
// WM_NCCREATE and deleted at WM_NCDESTROY; the header asks its list for the columns.
#pragma once

#include <win32/user/ListIconLayout.h>
#include <win32/user/listview.h>

#include <optional>
#include <string>
#include <vector>

namespace plat {

class ListView {
 public:
  static constexpr int kHeaderHeight = 20;
  static constexpr int kDefaultRowHeight = 17;

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK headerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Column {
    std::string title;
    int width = 0;
    int format = LVCFMT_LEFT;
  };
  struct Row {
    std::vector<std::string> texts;
    LPARAM data = 0;
    UINT state = 0;
    int image = -1;
  };

  explicit ListView(HWND hwnd) : m_hwnd(hwnd) {}

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void create();
  bool ownerDrawn() const;
  bool iconMode() const;
  ListIconLayout iconLayout() const;
  // The grid as it would be `width` pixels wide.
  ListIconLayout iconLayout(int width) const;
  void scrollIconsTo(int y);
  // The vertical scroll bar as the content asks: shown while more than a page (rows in
  // report mode, pixels in icon mode) is there.
  void updateScrollBar();
  void paintIcon(HDC hdc, int row);
  int keyTarget(WPARAM vk, int focused);
  int rowHeight();
  int headerHeight() const;
  int rowCount() const { return static_cast<int>(m_rows.size()); }
  int perPage();
  bool validRow(int row) const { return row >= 0 && row < rowCount(); }
  RECT rowRect(int row);
  RECT subItemRect(int row, int column);
  int columnLeft(int column) const;
  int totalWidth() const;

  int insertItem(const LVITEMA& item);
  bool setItem(const LVITEMA& item);
  bool getItem(LVITEMA& item) const;
  bool deleteItem(int row);
  int insertColumn(int index, const LVCOLUMNA& column);
  void setState(int row, UINT state, UINT mask);
  int nextItem(int start, UINT flags) const;
  void select(int row, bool notifyClick);
  bool ensureVisible(int row);
  void scrollRows(int rows);
  int hitTest(LVHITTESTINFO& info, bool subItems);

  LRESULT notify(NMHDR& header) const;
  void notifyItem(UINT code, int row, int column, POINT at) const;
  void onMouse(UINT message, LPARAM lParam);
  void onKey(WPARAM vk);
  void invalidateRow(int row);
  void paint();
  void drawRow(HDC hdc, int row);
  void layoutHeader();

  HWND m_hwnd;
  HWND m_header = nullptr;
  std::vector<Column> m_columns;
  std::vector<Row> m_rows;
  std::optional<int> m_rowHeight;
  int m_top = 0;
  int m_scrollX = 0;
  int m_scrollY = 0;
  HFONT m_font = nullptr;
  COLORREF m_bkColor = 0xFFFFFF;
  COLORREF m_textColor = 0;
  COLORREF m_textBkColor = 0xFFFFFF;
  DWORD m_exStyle = 0;
  HANDLE m_imageLists[2] = {nullptr, nullptr};
};

}  // namespace plat

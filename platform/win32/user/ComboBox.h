// The state and procedures behind the "COMBOBOX" class and its drop-down "ComboLBox"
// popup (see controls.h). One ComboBox lives per combo window, made at WM_NCCREATE and
// deleted at WM_NCDESTROY; the popup exists while the list is dropped and takes the mouse
// (capture) until it closes. A box made with WS_VSCROLL gives the popup a scroll bar while
// it holds more entries than it shows.
#pragma once

#include <win32/types.h>

#include <string>
#include <vector>

namespace plat {

class ComboBox {
 public:
  static constexpr int kDefaultItemHeight = 16;
  static constexpr int kMostVisible = 8;
  static constexpr int kFieldEdge = 3;
  static constexpr const char* kListClass = "ComboLBox";

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  ~ComboBox();
  ComboBox(const ComboBox&) = delete;
  ComboBox& operator=(const ComboBox&) = delete;
  static LRESULT CALLBACK listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Item {
    std::string text;
    ULONG_PTR data = 0;
    int height = kDefaultItemHeight;
  };

  explicit ComboBox(HWND hwnd) : m_hwnd(hwnd) {}

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool ownerDrawn() const;
  bool variable() const;
  int count() const { return static_cast<int>(m_items.size()); }
  int insert(int at, LPCSTR text, bool sorted);
  bool dropDownList() const;
  void showSelectionText();
  LRESULT selectionText(UINT message, WPARAM wParam, LPARAM lParam) const;
  int measure(int index);
  void setSel(int index, bool notifyChange);
  void notify(WORD code) const;
  // Drop-down styles: the window is only the selection field; the height a caller gives
  // it is the field and the list dropped below it together, as on Windows.
  bool hasDropList() const;
  int fieldHeight() const { return m_faceHeight + 2 * kFieldEdge; }
  void fitToField();
  // The dropped list scrolled so that the marked entry shows, its bar with it.
  void scrollToHot();
  // How many entries the dropped list shows whole from its top one.
  int listPage() const;
  // The dropped list's scroll bar (a box made with WS_VSCROLL) kept to its entries.
  void updateListBar();
  void onListScroll(WPARAM request);
  void drop(bool show);
  void closeUp(bool accept);
  RECT itemRect(int index) const;
  int itemAt(POINT client) const;
  void drawItem(HDC hdc, int index, const RECT& rect, UINT state) const;
  void paintFace();
  void paintList(HWND list);
  void onKey(WPARAM vk);
  LRESULT listMouse(HWND list, UINT message, LPARAM lParam);

  HWND m_hwnd;
  HWND m_list = nullptr;
  std::vector<Item> m_items;
  int m_sel = -1;
  int m_hot = -1;
  int m_faceHeight = kDefaultItemHeight;
  int m_dropHeight = 0;  // field and list, as the caller sized the window
  int m_top = 0;         // the first entry the dropped list shows
  bool m_faceMeasured = false;
  bool m_listScrolls = false;  // made with WS_VSCROLL: the dropped list has the bar
  HFONT m_font = nullptr;
};

}  // namespace plat

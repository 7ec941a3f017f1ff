// The state and procedures behind the "COMBOBOX" class and its drop-down "ComboLBox"
// popup (see controls.h). One ComboBox lives per combo window, made at WM_NCCREATE and
// deleted at WM_NCDESTROY; the popup exists while the list is dropped and takes the mouse
// (capture) until it closes.
#pragma once

#include <win32/types.h>

#include <string>
#include <vector>

namespace plat {

class ComboBox {
 public:
  static constexpr int kDefaultItemHeight = 16;
  static constexpr int kMostVisible = 8;
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
  bool m_faceMeasured = false;
  HFONT m_font = nullptr;
};

}  // namespace plat

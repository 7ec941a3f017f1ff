// The state and procedure behind the single-line "EDIT" class (see controls.h for what
// callers see). The text itself is the window text; this object keeps the selection
// (anchor and caret), the limit, the font and the modified flag. One lives per edit
// window, made at WM_NCCREATE and deleted at WM_NCDESTROY. While focused the edit owns
// the thread's caret and puts it at its caret index whenever that moves or the text is
// shown anew (before EN_CHANGE, so a handler of it may still move the caret).
#pragma once

#include <win32/types.h>

#include <string>

namespace plat {

class EditControl {
 public:
  static constexpr int kDefaultLimit = 30000;
  static constexpr int kMargin = 2;

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  explicit EditControl(HWND hwnd) : m_hwnd(hwnd) {}

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  std::string text() const;
  void setText(const std::string& text);
  int selStart() const { return std::min(m_anchor, m_caret); }
  int selEnd() const { return std::max(m_anchor, m_caret); }
  void setSel(int start, int end);
  // Replaces the selection, cut to the limit; false when nothing fitted.
  bool replaceSelection(const std::string& insert, bool fromUser);
  void onChar(char c);
  void onKey(int vk);
  void paste();
  void copy() const;
  void notify(WORD code) const;
  void changed();
  bool readOnly() const;
  int indexAt(int x) const;
  int textWidth(const std::string& text) const;
  int textLeft(int width) const;
  int textHeight() const;
  // The text as drawn: its characters, or as many '*' for a password.
  std::string shownText() const;
  // The thread's caret for this edit, made on taking the focus and when the font changes.
  void makeCaret();
  void placeCaret() const;
  void paint();

  HWND m_hwnd;
  int m_anchor = 0;
  int m_caret = 0;
  int m_limit = kDefaultLimit;
  int m_leftMargin = kMargin;
  int m_rightMargin = kMargin;
  HFONT m_font = nullptr;
  bool m_modified = false;
  bool m_focused = false;
};

}  // namespace plat

// The state and procedure behind the "tooltips_class32" window class (see tooltip.h for
// what callers see). One Tooltip lives per tooltip window, made at WM_NCCREATE and
// deleted at WM_NCDESTROY. The delays are Windows' defaults, derived from its 500 ms
// double-click time; the timers run on the machine clock.
#pragma once

#include <win32/user/tooltip.h>

#include <cstddef>
#include <string>
#include <vector>

namespace plat {

class Tooltip {
 public:
  static constexpr UINT kInitialDelayMs = 500;
  static constexpr UINT kAutopopMs = 5000;
  // From one tool to the next while a tip is up.
  static constexpr UINT kReshowMs = 100;

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Tool {
    UINT flags;
    HWND hwnd;
    UINT_PTR id;
    RECT rect;
    std::string text;
  };
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  explicit Tooltip(HWND hwnd) : m_hwnd(hwnd) {}

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL addTool(const TOOLINFOA* info);
  void updateText(const TOOLINFOA* info);
  void activate(bool active);
  void relay(const MSG& msg);
  void enter(std::size_t tool);
  void onTimer(UINT_PTR id);
  // The tool at a point of `hwnd`'s client area, or kNone.
  std::size_t toolAt(HWND hwnd, POINT point) const;
  std::size_t find(HWND hwnd, UINT_PTR id) const;
  bool pointerOnCurrent() const;
  void show();
  void hide();
  // Sizes the window to the current tool's text.
  void fitText();
  void paint();

  HWND m_hwnd;
  std::vector<Tool> m_tools;
  bool m_active = true;
  // The tool under the mouse, whose tip is pending or shown.
  std::size_t m_current = kNone;
  bool m_shown = false;
  // A button went down on the current tool: no tip until the mouse leaves it.
  bool m_pressed = false;
};

}  // namespace plat

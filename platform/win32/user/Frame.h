// The non-client frame a window's styles give it: how far the client area sits inside
// the window rectangle on each side, and which frame part a point falls on. One model
// serves WM_NCCALCSIZE, WM_NCHITTEST and AdjustWindowRectEx, so they always agree.
#pragma once

#include <win32/types.h>

namespace plat {

class SystemMetrics;

class Frame {
 public:
  Frame(DWORD style, DWORD exStyle, const SystemMetrics& metrics);

  // Border, caption and edges; with `withScrollBars` the scroll bars too (they are
  // non-client area, but AdjustWindowRectEx leaves them out, as on Windows).
  RECT insets(bool withScrollBars) const;
  RECT clientOf(const RECT& window) const;
  // The standard scroll bar of a window whose rectangle is `window` (SB_VERT or SB_HORZ),
  // in the same coordinates; empty when its style has none. Beside the client area, the
  // horizontal one below it, leaving the corner between them to neither.
  RECT scrollBar(const RECT& window, int bar) const;
  // The HT* code for a point in the same coordinates as `window`.
  int hitTest(const RECT& window, POINT pt) const;

  // The border's thickness on every side, and the caption's height (0 without one).
  int borderWidth() const;
  int captionHeight() const;
  // A dialog frame (WS_DLGFRAME without WS_THICKFRAME, or WS_EX_DLGMODALFRAME).
  bool dialogFrame() const;

 private:

  DWORD m_style;
  DWORD m_exStyle;
  const SystemMetrics& m_metrics;
};

}  // namespace plat

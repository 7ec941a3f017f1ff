// Where the parts of a window's standard scroll bar lie, as Windows' classic bars place
// them: an arrow button at each end, as long as the bar is thick (each half the bar when
// it is too short for both), the track between them, and in the track the thumb, as long
// against the track as the page is against the range (never below kMinThumb; as long as
// the bar is thick for a bar without a page), placed by the position. A bar whose range
// holds no more than a page has nothing to scroll: it has no thumb and takes no press.
//
// Coordinates are those of the bar's rectangle; "along" is the distance from the bar's
// top (vertical) or left (horizontal) end.
#pragma once

#include <win32/user/Window.h>
#include <win32/user/scroll.h>

#include <optional>

namespace plat {

class ScrollBarGeometry {
 public:
  static constexpr int kMinThumb = 8;

  // The part of the bar a point is on, named by the request a press on it makes.
  enum class Part {
    None = -1,
    LineUp = SB_LINEUP,
    LineDown = SB_LINEDOWN,
    PageUp = SB_PAGEUP,
    PageDown = SB_PAGEDOWN,
    Thumb = SB_THUMBTRACK,
  };

  ScrollBarGeometry(const RECT& bar, bool vertical, const Window::ScrollBar& state);
  // Where a line, page or thumb request (WM_VSCROLL's or WM_HSCROLL's wParam) takes a
  // window that scrolls by whole entries, from `position`, `page` entries showing, at most
  // to `last`; the position itself for other requests.
  static int requested(WPARAM request, int position, int page, int last);
  // The bar (SB_VERT or SB_HORZ) of a visible window as it is now, in window coordinates;
  // nothing when the window shows no such bar.
  static std::optional<ScrollBarGeometry> of(HWND hwnd, int bar);

  bool vertical() const { return m_vertical; }
  int position() const { return m_position; }
  // Where the thumb starts along the bar.
  int thumbStart() const { return m_thumbStart; }
  bool enabled() const { return m_steps > 0; }
  // The arrow at the bar's start (up or left), or at its end.
  RECT arrow(bool atStart) const;
  RECT thumb() const;  // empty when there is none
  // The track without the thumb, before it (`beforeThumb`) or after it; the whole track
  // in the first when there is no thumb.
  RECT trackPart(bool beforeThumb) const;
  Part hitTest(POINT point) const;
  int along(POINT point) const;
  // The position whose thumb starts at `thumbStart` along the bar, within the range.
  int positionAt(int thumbStart) const;

 private:
  // The rectangle of the bar from `from` to `to` along it.
  RECT span(int from, int to) const;
  bool hasThumb() const { return enabled() && m_thumbLength <= m_trackEnd - m_trackStart; }

  RECT m_bar;
  bool m_vertical;
  int m_min;
  int m_position;
  int m_steps;  // positions past the first the thumb can take: max - min - (page - 1)
  int m_trackStart = 0;
  int m_trackEnd = 0;
  int m_thumbLength = 0;
  int m_thumbStart = 0;
};

}  // namespace plat

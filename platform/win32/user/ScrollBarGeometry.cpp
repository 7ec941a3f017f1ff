#include <win32/user/ScrollBarGeometry.h>

#include <win32/muldiv.h>
#include <win32/user/Frame.h>
#include <win32/user/UserSystem.h>

#include <algorithm>

namespace plat {

ScrollBarGeometry::ScrollBarGeometry(const RECT& bar, bool vertical, const Window::ScrollBar& state)
    : m_bar(bar), m_vertical(vertical), m_min(state.min), m_position(state.pos) {
  const int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
  const int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
  const int arrow = length < 2 * thickness ? length / 2 : thickness;
  m_trackStart = arrow;
  m_trackEnd = length - arrow;
  m_steps = std::max(0, state.max - state.min - std::max(static_cast<int>(state.page) - 1, 0));
  if (!enabled()) return;
  const int track = m_trackEnd - m_trackStart;
  const int range = state.max - state.min + 1;
  m_thumbLength = state.page == 0 ? thickness : MulDiv(track, static_cast<int>(state.page), range);
  m_thumbLength = std::max(m_thumbLength, kMinThumb);
  const int offset = std::clamp(state.pos - state.min, 0, m_steps);
  m_thumbStart = m_trackStart + MulDiv(offset, std::max(track - m_thumbLength, 0), m_steps);
}

std::optional<ScrollBarGeometry> ScrollBarGeometry::of(HWND hwnd, int bar) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hwnd);
  if (!window || !(window->style & WS_VISIBLE)) return std::nullopt;
  const RECT place = Frame(window->style, window->exStyle, system.metrics())
                         .scrollBar(RECT{0, 0, window->width(), window->height()}, bar);
  if (place.right <= place.left || place.bottom <= place.top) return std::nullopt;
  return ScrollBarGeometry(place, bar == SB_VERT, window->scrollBars[bar]);
}

int ScrollBarGeometry::requested(WPARAM request, int position, int page, int last) {
  int wanted = position;
  switch (LOWORD(request)) {
    case SB_LINEUP: wanted = position - 1; break;
    case SB_LINEDOWN: wanted = position + 1; break;
    case SB_PAGEUP: wanted = position - page; break;
    case SB_PAGEDOWN: wanted = position + page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: wanted = HIWORD(request); break;
    case SB_TOP: wanted = 0; break;
    case SB_BOTTOM: wanted = last; break;
    default: break;
  }
  return std::clamp(wanted, 0, std::max(last, 0));
}

RECT ScrollBarGeometry::span(int from, int to) const {
  if (m_vertical) return RECT{m_bar.left, m_bar.top + from, m_bar.right, m_bar.top + to};
  return RECT{m_bar.left + from, m_bar.top, m_bar.left + to, m_bar.bottom};
}

RECT ScrollBarGeometry::arrow(bool atStart) const {
  const int length = m_trackEnd + m_trackStart;
  return atStart ? span(0, m_trackStart) : span(m_trackEnd, length);
}

RECT ScrollBarGeometry::thumb() const {
  return hasThumb() ? span(m_thumbStart, m_thumbStart + m_thumbLength) : RECT{};
}

RECT ScrollBarGeometry::trackPart(bool beforeThumb) const {
  if (!hasThumb()) return beforeThumb ? span(m_trackStart, m_trackEnd) : RECT{};
  return beforeThumb ? span(m_trackStart, m_thumbStart) : span(m_thumbStart + m_thumbLength, m_trackEnd);
}

int ScrollBarGeometry::along(POINT point) const { return m_vertical ? point.y - m_bar.top : point.x - m_bar.left; }

ScrollBarGeometry::Part ScrollBarGeometry::hitTest(POINT point) const {
  const bool inside = point.x >= m_bar.left && point.x < m_bar.right && point.y >= m_bar.top && point.y < m_bar.bottom;
  if (!inside || !enabled()) return Part::None;
  const int at = along(point);
  if (at < m_trackStart) return Part::LineUp;
  if (at >= m_trackEnd) return Part::LineDown;
  if (!hasThumb()) return Part::None;
  if (at < m_thumbStart) return Part::PageUp;
  if (at >= m_thumbStart + m_thumbLength) return Part::PageDown;
  return Part::Thumb;
}

int ScrollBarGeometry::positionAt(int thumbStart) const {
  const int free = m_trackEnd - m_trackStart - m_thumbLength;
  if (!hasThumb() || free <= 0) return m_min;
  return m_min + std::clamp(MulDiv(thumbStart - m_trackStart, m_steps, free), 0, m_steps);
}

}  // namespace plat

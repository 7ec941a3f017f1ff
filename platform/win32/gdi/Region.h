// A region as GDI keeps it: an exact set of pixels stored as non-overlapping
// rectangles in bands. Rectangles of one band share their top and bottom and are sorted
// left to right without touching; bands are sorted top to bottom, and two bands that
// touch with the same spans are merged, so every set of pixels has exactly one form and
// two regions are equal exactly when their rectangle lists are.
//
// Rectangles are half-open: (left, top, right, bottom) covers left <= x < right and
// top <= y < bottom.
#pragma once

#include <win32/types.h>

#include <span>
#include <vector>

namespace plat {

class Region {
 public:
  // The kind of region, as GDI's combine calls report it.
  enum class Shape { Empty = 1, Simple = 2, Complex = 3 };

  Region() = default;
  explicit Region(const RECT& rect);
  // The union of any rectangles, in any order, overlapping or not; empty ones are skipped.
  static Region fromRects(std::span<const RECT> rects);

  bool isEmpty() const { return m_rects.empty(); }
  Shape shape() const;
  RECT bounds() const;
  const std::vector<RECT>& rects() const { return m_rects; }
  bool contains(int x, int y) const;
  // True when some pixel of `rect` is in the region.
  bool intersects(const RECT& rect) const;

  Region united(const Region& other) const;
  Region intersected(const Region& other) const;
  Region subtracted(const Region& other) const;
  Region xored(const Region& other) const;
  // Adds `other` in place. Only the bands from `other`'s top down are rebuilt, so adding
  // regions top to bottom (a picture's runs row by row) costs the rows added, not the
  // rows already held.
  void unite(const Region& other);
  Region intersected(const RECT& rect) const { return intersected(Region(rect)); }
  // Moved by (dx, dy): an edge that would pass an end of the int range stops there, so
  // what is moved wholly past it is lost.
  void translate(long long dx, long long dy);

  // Calls `fn(RECT)` for each part of the region inside `area`, clipped to it, in band order.
  template <class Fn>
  void forEachRectIn(const RECT& area, Fn&& fn) const {
    for (const RECT& r : m_rects) {
      if (r.top >= area.bottom) break;
      if (r.bottom <= area.top || r.right <= area.left || r.left >= area.right) continue;
      fn(RECT{r.left > area.left ? r.left : area.left, r.top > area.top ? r.top : area.top,
              r.right < area.right ? r.right : area.right, r.bottom < area.bottom ? r.bottom : area.bottom});
    }
  }

  bool operator==(const Region& other) const;

 private:
  enum class Op { Union, Intersect, Subtract, Xor };
  Region combined(const Region& other, Op op) const;
  // Appends one band of spans [x0, x1) pairs, merging it into the previous band when
  // they touch and match.
  void appendBand(int top, int bottom, const std::vector<int>& spans);
  // Appends rectangles given in band order (bands top to bottom, apart; spans of a band
  // left to right, not overlapping); false, appending nothing, when they are not.
  bool appendInBandOrder(std::span<const RECT> rects);
  // Appends `other`'s bands after this region's last one, which lies above them.
  void appendBands(const Region& other);

  std::vector<RECT> m_rects;
};

}  // namespace plat

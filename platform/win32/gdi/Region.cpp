#include <win32/gdi/Region.h>

#include <algorithm>
#include <climits>

namespace plat {

namespace {

struct Band {
  int top;
  int bottom;
  std::size_t begin;
  std::size_t end;
};

std::vector<Band> bandsOf(const std::vector<RECT>& rects) {
  std::vector<Band> bands;
  for (std::size_t i = 0; i < rects.size();) {
    std::size_t j = i;
    while (j < rects.size() && rects[j].top == rects[i].top) ++j;
    bands.push_back(Band{rects[i].top, rects[i].bottom, i, j});
    i = j;
  }
  return bands;
}

// The spans of the band covering [y, …), advancing `index` past bands that end before y.
void spansAt(const std::vector<RECT>& rects, const std::vector<Band>& bands, std::size_t& index, int y,
             std::vector<int>& out) {
  out.clear();
  while (index < bands.size() && bands[index].bottom <= y) ++index;
  if (index == bands.size() || bands[index].top > y) return;
  for (std::size_t i = bands[index].begin; i < bands[index].end; ++i) {
    out.push_back(rects[i].left);
    out.push_back(rects[i].right);
  }
}

template <class Keep>
void combineSpans(const std::vector<int>& a, const std::vector<int>& b, Keep keep, std::vector<int>& out) {
  out.clear();
  bool inA = false;
  bool inB = false;
  bool inOut = false;
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() || j < b.size()) {
    const int x = std::min(i < a.size() ? a[i] : INT_MAX, j < b.size() ? b[j] : INT_MAX);
    while (i < a.size() && a[i] == x) {
      inA = !inA;
      ++i;
    }
    while (j < b.size() && b[j] == x) {
      inB = !inB;
      ++j;
    }
    const bool now = keep(inA, inB);
    if (now != inOut) {
      out.push_back(x);
      inOut = now;
    }
  }
}

bool isEmptyRect(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

}  // namespace

Region::Region(const RECT& rect) {
  if (!isEmptyRect(rect)) m_rects.push_back(rect);
}

bool Region::appendInBandOrder(std::span<const RECT> rects) {
  // Checked first, so that nothing is appended unless every rectangle is in order.
  for (std::size_t i = 0; i < rects.size(); ++i) {
    if (isEmptyRect(rects[i])) return false;
    if (i == 0) continue;
    const RECT& p = rects[i - 1];
    const RECT& r = rects[i];
    const bool sameBand = r.top == p.top && r.bottom == p.bottom && r.left >= p.right;
    if (!sameBand && r.top < p.bottom) return false;
  }
  std::vector<int> spans;
  for (std::size_t i = 0; i < rects.size();) {
    spans.clear();
    std::size_t j = i;
    for (; j < rects.size() && rects[j].top == rects[i].top; ++j) {
      if (!spans.empty() && spans.back() == rects[j].left) {
        spans.back() = rects[j].right;  // touching spans join
      } else {
        spans.push_back(rects[j].left);
        spans.push_back(rects[j].right);
      }
    }
    appendBand(rects[i].top, rects[i].bottom, spans);
    i = j;
  }
  return true;
}

Region Region::fromRects(std::span<const RECT> rects) {
  // Rectangles already in bands, as a picture's runs scanned row by row are, need no sorting.
  Region banded;
  if (banded.appendInBandOrder(rects)) return banded;
  std::vector<RECT> valid;
  valid.reserve(rects.size());
  for (const RECT& r : rects)
    if (!isEmptyRect(r)) valid.push_back(r);
  Region result;
  if (valid.empty()) return result;
  std::sort(valid.begin(), valid.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
  std::vector<int> ys;
  ys.reserve(valid.size() * 2);
  for (const RECT& r : valid) {
    ys.push_back(r.top);
    ys.push_back(r.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  std::vector<const RECT*> active;
  std::vector<std::pair<int, int>> intervals;
  std::vector<int> spans;
  std::size_t next = 0;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    const int y0 = ys[k];
    while (next < valid.size() && valid[next].top == y0) active.push_back(&valid[next++]);
    std::erase_if(active, [y0](const RECT* r) { return r->bottom <= y0; });
    if (active.empty()) continue;
    intervals.clear();
    for (const RECT* r : active) intervals.emplace_back(r->left, r->right);
    std::sort(intervals.begin(), intervals.end());
    spans.clear();
    for (const auto& [left, right] : intervals) {
      if (!spans.empty() && left <= spans.back())
        spans.back() = std::max(spans.back(), right);
      else {
        spans.push_back(left);
        spans.push_back(right);
      }
    }
    result.appendBand(y0, ys[k + 1], spans);
  }
  return result;
}

Region::Shape Region::shape() const {
  if (m_rects.empty()) return Shape::Empty;
  return m_rects.size() == 1 ? Shape::Simple : Shape::Complex;
}

RECT Region::bounds() const {
  if (m_rects.empty()) return RECT{0, 0, 0, 0};
  RECT box{INT_MAX, m_rects.front().top, INT_MIN, m_rects.back().bottom};
  for (const RECT& r : m_rects) {
    box.left = std::min(box.left, r.left);
    box.right = std::max(box.right, r.right);
  }
  return box;
}

bool Region::contains(int x, int y) const {
  for (const RECT& r : m_rects) {
    if (r.top > y) break;
    if (y < r.bottom && x >= r.left && x < r.right) return true;
  }
  return false;
}

bool Region::intersects(const RECT& rect) const {
  bool found = false;
  forEachRectIn(rect, [&found](const RECT&) { found = true; });
  return found;
}

Region Region::united(const Region& other) const { return combined(other, Op::Union); }

void Region::unite(const Region& other) {
  if (other.isEmpty() || &other == this) return;
  const int top = other.m_rects.front().top;
  // Bands end in ascending order: those ending at or above `top` stay as they are.
  const auto split =
      std::partition_point(m_rects.begin(), m_rects.end(), [top](const RECT& r) { return r.bottom <= top; });
  Region tail;
  tail.m_rects.assign(split, m_rects.end());
  m_rects.erase(split, m_rects.end());
  appendBands(tail.isEmpty() ? other : tail.combined(other, Op::Union));
}

void Region::appendBands(const Region& other) {
  std::vector<int> spans;
  for (const Band& band : bandsOf(other.m_rects)) {
    spans.clear();
    for (std::size_t i = band.begin; i < band.end; ++i) {
      spans.push_back(other.m_rects[i].left);
      spans.push_back(other.m_rects[i].right);
    }
    appendBand(band.top, band.bottom, spans);
  }
}
Region Region::intersected(const Region& other) const { return combined(other, Op::Intersect); }
Region Region::subtracted(const Region& other) const { return combined(other, Op::Subtract); }
Region Region::xored(const Region& other) const { return combined(other, Op::Xor); }

void Region::translate(long long dx, long long dy) {
  bool held = false;
  const auto move = [&held](LONG& edge, long long by) {
    const long long to = edge + by;
    edge = static_cast<LONG>(std::clamp<long long>(to, INT_MIN, INT_MAX));
    held = held || edge != to;
  };
  for (RECT& r : m_rects) {
    move(r.left, dx);
    move(r.right, dx);
    move(r.top, dy);
    move(r.bottom, dy);
  }
  // Edges held at an end may have emptied rectangles or made bands alike: back to one form.
  if (held) *this = fromRects(m_rects);
}

bool Region::operator==(const Region& other) const {
  return std::equal(m_rects.begin(), m_rects.end(), other.m_rects.begin(), other.m_rects.end(),
                    [](const RECT& a, const RECT& b) {
                      return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
                    });
}

Region Region::combined(const Region& other, Op op) const {
  const auto keep = [op](bool a, bool b) {
    switch (op) {
      case Op::Union:
        return a || b;
      case Op::Intersect:
        return a && b;
      case Op::Subtract:
        return a && !b;
      case Op::Xor:
        break;
    }
    return a != b;
  };
  const std::vector<Band> bandsA = bandsOf(m_rects);
  const std::vector<Band> bandsB = bandsOf(other.m_rects);
  std::vector<int> ys;
  ys.reserve((bandsA.size() + bandsB.size()) * 2);
  for (const Band& b : bandsA) {
    ys.push_back(b.top);
    ys.push_back(b.bottom);
  }
  for (const Band& b : bandsB) {
    ys.push_back(b.top);
    ys.push_back(b.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  Region result;
  std::size_t ia = 0;
  std::size_t ib = 0;
  std::vector<int> spansA;
  std::vector<int> spansB;
  std::vector<int> spans;
  for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
    spansAt(m_rects, bandsA, ia, ys[k], spansA);
    spansAt(other.m_rects, bandsB, ib, ys[k], spansB);
    combineSpans(spansA, spansB, keep, spans);
    result.appendBand(ys[k], ys[k + 1], spans);
  }
  return result;
}

void Region::appendBand(int top, int bottom, const std::vector<int>& spans) {
  if (spans.empty()) return;
  const std::size_t count = spans.size() / 2;
  if (!m_rects.empty() && m_rects.back().bottom == top && m_rects.size() >= count) {
    const std::size_t start = m_rects.size() - count;
    bool same = start == 0 || m_rects[start - 1].top != m_rects[start].top;
    for (std::size_t i = 0; same && i < count; ++i) {
      const RECT& r = m_rects[start + i];
      same = r.top == m_rects.back().top && r.left == spans[2 * i] && r.right == spans[2 * i + 1];
    }
    if (same) {
      for (std::size_t i = start; i < m_rects.size(); ++i) m_rects[i].bottom = bottom;
      return;
    }
  }
  for (std::size_t i = 0; i < count; ++i) m_rects.push_back(RECT{spans[2 * i], top, spans[2 * i + 1], bottom});
}

}  // namespace plat

#include <win32/gdi/Region.h>

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>

namespace {

using plat::Region;
using Points = std::set<std::pair<int, int>>;

Points pointsOf(const std::vector<RECT>& rects) {
  Points points;
  for (const RECT& r : rects)
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) points.emplace(x, y);
  return points;
}

Points pointsOf(const Region& region) { return pointsOf(region.rects()); }

// The banded form: bands top to bottom, spans left to right and apart, touching bands differ.
void expectBanded(const Region& region) {
  const auto& rects = region.rects();
  for (std::size_t i = 0; i < rects.size(); ++i) {
    ASSERT_LT(rects[i].left, rects[i].right);
    ASSERT_LT(rects[i].top, rects[i].bottom);
    if (i == 0) continue;
    const RECT& p = rects[i - 1];
    if (p.top == rects[i].top) {
      ASSERT_EQ(p.bottom, rects[i].bottom);
      ASSERT_LT(p.right, rects[i].left) << "spans of a band must not touch";
    } else {
      ASSERT_LE(p.bottom, rects[i].top);
    }
  }
  // No two touching bands with the same spans.
  std::vector<std::vector<std::pair<int, int>>> spans;
  std::vector<std::pair<int, int>> extents;
  for (const RECT& r : rects) {
    if (extents.empty() || extents.back().first != r.top) {
      extents.emplace_back(r.top, r.bottom);
      spans.emplace_back();
    }
    spans.back().emplace_back(r.left, r.right);
  }
  for (std::size_t b = 1; b < spans.size(); ++b) {
    if (extents[b - 1].second == extents[b].first) {
      EXPECT_NE(spans[b - 1], spans[b]) << "bands not merged";
    }
  }
}

std::vector<RECT> randomRects(std::mt19937& rng, int count) {
  std::uniform_int_distribution<int> coord(0, 24);
  std::vector<RECT> rects;
  for (int i = 0; i < count; ++i) {
    int a = coord(rng), b = coord(rng), c = coord(rng), d = coord(rng);
    rects.push_back(RECT{std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)});
  }
  return rects;
}

TEST(RegionTest, FromRectsIsTheUnionInBandedForm) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    const auto rects = randomRects(rng, 1 + round % 9);
    const Region region = Region::fromRects(rects);
    expectBanded(region);
    EXPECT_EQ(pointsOf(region), pointsOf(rects));
  }
}

// Runs of a picture row by row take the way without sorting: touching runs and equal
// rows must still join, and anything out of band order must still come out whole.
TEST(RegionTest, RectanglesInBandOrderGiveTheSameRegion) {
  std::mt19937 rng(17);
  for (int round = 0; round < 200; ++round) {
    std::vector<RECT> runs;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 24;) {
        const int length = 1 + static_cast<int>(rng() % 4);
        if (rng() % 3) runs.push_back(RECT{x, y, x + length, y + 1});
        x += length + static_cast<int>(rng() % 2);  // runs may touch
      }
    if (round % 4 == 1 && runs.size() > 2) std::swap(runs[0], runs[runs.size() / 2]);
    if (round % 4 == 2 && !runs.empty()) runs.push_back(runs.front());  // overlaps the first row
    if (round % 4 == 3 && !runs.empty()) runs.insert(runs.begin() + 1, RECT{3, 0, 3, 5});  // empty
    const Region region = Region::fromRects(runs);
    expectBanded(region);
    EXPECT_EQ(pointsOf(region), pointsOf(runs));
  }
}

TEST(RegionTest, AlgebraMatchesPointSets) {
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    const auto ra = randomRects(rng, 1 + round % 5);
    const auto rb = randomRects(rng, 1 + round % 7);
    const Region a = Region::fromRects(ra);
    const Region b = Region::fromRects(rb);
    const Points pa = pointsOf(ra);
    const Points pb = pointsOf(rb);
    Points uni, inter, diff, sym;
    std::set_union(pa.begin(), pa.end(), pb.begin(), pb.end(), std::inserter(uni, uni.end()));
    std::set_intersection(pa.begin(), pa.end(), pb.begin(), pb.end(), std::inserter(inter, inter.end()));
    std::set_difference(pa.begin(), pa.end(), pb.begin(), pb.end(), std::inserter(diff, diff.end()));
    std::set_symmetric_difference(pa.begin(), pa.end(), pb.begin(), pb.end(), std::inserter(sym, sym.end()));

    const Region u = a.united(b), i = a.intersected(b), d = a.subtracted(b), x = a.xored(b);
    expectBanded(u);
    expectBanded(i);
    expectBanded(d);
    expectBanded(x);
    EXPECT_EQ(pointsOf(u), uni);
    EXPECT_EQ(pointsOf(i), inter);
    EXPECT_EQ(pointsOf(d), diff);
    EXPECT_EQ(pointsOf(x), sym);
    // One set of pixels has one form.
    EXPECT_TRUE(u == Region::fromRects(u.rects()));
    EXPECT_TRUE(a.united(b) == b.united(a));
  }
}

// Uniting in place rebuilds only the bands from the added region's top: whatever the
// overlap, it must give the region a fresh union gives, bands merged across the seam.
TEST(RegionTest, UniteInPlaceMatchesTheUnion) {
  std::mt19937 rng(13);
  for (int round = 0; round < 300; ++round) {
    Region grown = Region::fromRects(randomRects(rng, 1 + round % 6));
    const Region added = Region::fromRects(randomRects(rng, 1 + round % 4));
    const Region expected = grown.united(added);
    grown.unite(added);
    expectBanded(grown);
    EXPECT_TRUE(grown == expected);
  }
  // Rows added top to bottom, as a picture is scanned: equal rows join one band.
  Region rows;
  for (int y = 0; y < 6; ++y) {
    const RECT spans[] = {{0, y, 3, y + 1}, {5, y, 9, y + 1}};
    rows.unite(Region::fromRects(spans));
  }
  const RECT whole[] = {{0, 0, 3, 6}, {5, 0, 9, 6}};
  EXPECT_TRUE(rows == Region::fromRects(whole));
  rows.unite(rows);
  EXPECT_TRUE(rows == Region::fromRects(whole));
}

TEST(RegionTest, ContainsAndIntersectsFollowThePixels) {
  std::mt19937 rng(3);
  for (int round = 0; round < 50; ++round) {
    const auto rects = randomRects(rng, 4);
    const Region region = Region::fromRects(rects);
    const Points points = pointsOf(rects);
    for (int y = -1; y < 26; ++y)
      for (int x = -1; x < 26; ++x) ASSERT_EQ(region.contains(x, y), points.count({x, y}) == 1) << x << "," << y;
    const RECT probe{5, 5, 9, 9};
    bool any = false;
    for (const auto& [x, y] : points) any |= x >= 5 && x < 9 && y >= 5 && y < 9;
    EXPECT_EQ(region.intersects(probe), any);
  }
}

TEST(RegionTest, RowsOfOneRectangleMergeIntoOneBox) {
  std::vector<RECT> rows;
  for (int y = 0; y < 10; ++y) rows.push_back(RECT{2, y, 30, y + 1});
  const Region region = Region::fromRects(rows);
  ASSERT_EQ(region.rects().size(), 1u);
  EXPECT_EQ(region.shape(), Region::Shape::Simple);
  const RECT box = region.bounds();
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 30);
  EXPECT_EQ(box.bottom, 10);
}

TEST(RegionTest, ShapesBoundsAndTranslation) {
  EXPECT_EQ(Region().shape(), Region::Shape::Empty);
  EXPECT_EQ(Region(RECT{5, 5, 5, 9}).shape(), Region::Shape::Empty);
  const std::vector<RECT> two{{0, 0, 4, 4}, {10, 2, 12, 20}};
  Region region = Region::fromRects(two);
  EXPECT_EQ(region.shape(), Region::Shape::Complex);
  region.translate(-3, 7);
  const RECT box = region.bounds();
  EXPECT_EQ(box.left, -3);
  EXPECT_EQ(box.top, 7);
  EXPECT_EQ(box.right, 9);
  EXPECT_EQ(box.bottom, 27);
  EXPECT_TRUE(region.contains(-3, 7));
  EXPECT_FALSE(region.contains(1, 7));
}

TEST(RegionTest, TranslationHoldsEdgesAtTheEndsOfTheIntRange) {
  Region region = Region::fromRects(std::vector<RECT>{{0, 0, 10, 10}, {0, 10, 20, 20}});
  region.translate(INT_MAX - 15, 0);
  EXPECT_EQ(region.bounds().right, INT_MAX);
  EXPECT_TRUE(region.contains(INT_MAX - 1, 15));
  EXPECT_FALSE(region.contains(INT_MAX - 1, 5));
  // Both bands now end at the end of the range and are alike: they become one box.
  region.translate(10, 0);
  ASSERT_EQ(region.shape(), Region::Shape::Simple);
  EXPECT_EQ(region.rects()[0].left, INT_MAX - 5);
  EXPECT_EQ(region.rects()[0].bottom, 20);
  region.translate(5, 0);
  EXPECT_TRUE(region.isEmpty()) << "moved wholly past the end";

  // By more than the int range, either way; and exactly from one end to the middle.
  Region low(RECT{-5, -5, 5, 5});
  low.translate(0, -(1LL << 32));
  EXPECT_TRUE(low.isEmpty());
  Region high(RECT{-5, -5, 5, 5});
  high.translate(1LL << 32, 0);
  EXPECT_TRUE(high.isEmpty());
  Region start(RECT{INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 4});
  start.translate(-static_cast<long long>(INT_MIN), -static_cast<long long>(INT_MIN));
  EXPECT_EQ(start, Region(RECT{0, 0, 10, 4}));
}

TEST(RegionTest, ForEachRectInClipsToTheArea) {
  const Region region = Region::fromRects(std::vector<RECT>{{0, 0, 10, 10}, {20, 0, 30, 10}});
  std::vector<RECT> seen;
  region.forEachRectIn(RECT{5, 2, 25, 4}, [&](const RECT& r) { seen.push_back(r); });
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].left, 5);
  EXPECT_EQ(seen[0].right, 10);
  EXPECT_EQ(seen[0].top, 2);
  EXPECT_EQ(seen[0].bottom, 4);
  EXPECT_EQ(seen[1].left, 20);
  EXPECT_EQ(seen[1].right, 25);
}

}  // namespace

#include <mfc/CPoint.h>
#include <mfc/CRect.h>
#include <mfc/CSize.h>

#include <gtest/gtest.h>

namespace {

void expectRect(const RECT& r, LONG l, LONG t, LONG rr, LONG b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rr);
  EXPECT_EQ(r.bottom, b);
}

TEST(CRect, MeasuresAndHitTestsWithExclusiveEdges) {
  const CRect r(10, 20, 110, 70);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_EQ(r.Size(), CSize(100, 50));
  EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
  EXPECT_EQ(r.BottomRight(), CPoint(110, 70));
  EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_TRUE(r.PtInRect(CPoint(109, 69)));
  EXPECT_FALSE(r.PtInRect(CPoint(110, 50)));
  EXPECT_FALSE(r.PtInRect(CPoint(50, 70)));
  EXPECT_FALSE(r.PtInRect(CPoint(9, 20)));

  EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
  EXPECT_TRUE(CRect(5, 5, 4, 9).IsRectEmpty());
  EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
  EXPECT_TRUE(CRect().IsRectNull());
}

TEST(CRect, MovesGrowsAndNormalises) {
  CRect r(0, 0, 10, 10);
  r.OffsetRect(5, -5);
  expectRect(r, 5, -5, 15, 5);
  r.InflateRect(2, 3);
  expectRect(r, 3, -8, 17, 8);
  r.DeflateRect(1, 2, 3, 4);
  expectRect(r, 4, -6, 14, 4);
  r.DeflateRect(CSize(1, 1));
  expectRect(r, 5, -5, 13, 3);
  r.InflateRect(CRect(1, 2, 3, 4));
  expectRect(r, 4, -7, 16, 7);
  r += CPoint(1, 1);
  r -= CSize(2, 2);
  expectRect(r, 3, -8, 15, 6);

  CRect flipped(10, 20, 0, 5);
  flipped.NormalizeRect();
  expectRect(flipped, 0, 5, 10, 20);
  flipped.SetRectEmpty();
  EXPECT_TRUE(flipped.IsRectNull());
}

TEST(CRect, IntersectsAndUnitesLikeTheWindowsFunctions) {
  CRect out;
  EXPECT_TRUE(out.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
  expectRect(out, 5, 5, 10, 10);
  // Touching edges do not overlap: the result is empty and stored as zeros.
  EXPECT_FALSE(out.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));
  EXPECT_TRUE(out.IsRectNull());

  EXPECT_TRUE(out.UnionRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 30)));
  expectRect(out, 0, 0, 20, 30);
  // An empty rectangle adds nothing, wherever it lies.
  EXPECT_TRUE(out.UnionRect(CRect(100, 100, 100, 200), CRect(1, 2, 3, 4)));
  expectRect(out, 1, 2, 3, 4);
  EXPECT_FALSE(out.UnionRect(CRect(), CRect(4, 4, 4, 4)));
  EXPECT_TRUE(out.IsRectNull());

  CRect self(0, 0, 10, 10);
  self &= CRect(2, 2, 20, 20);
  expectRect(self, 2, 2, 10, 10);
  self |= CRect(0, 0, 1, 1);
  expectRect(self, 0, 0, 10, 10);
  EXPECT_EQ(CRect(0, 0, 4, 4) & CRect(2, 2, 6, 6), CRect(2, 2, 4, 4));
  EXPECT_EQ(CRect(0, 0, 4, 4) | CRect(2, 2, 6, 6), CRect(0, 0, 6, 6));
}

TEST(CRect, ConvertsToRectPointers) {
  CRect r(1, 2, 3, 4);
  LPRECT p = r;
  p->right = 30;
  LPCRECT cp = r;
  EXPECT_EQ(cp->right, 30);
  RECT plain{0, 0, 1, 1};
  EXPECT_TRUE(r != plain);
  r = plain;
  EXPECT_TRUE(r == plain);
  EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
  EXPECT_EQ(CRect(5, 5, 6, 6) + CPoint(1, 2), CRect(6, 7, 7, 8));
}

TEST(CPointAndCSize, DoArithmetic) {
  CPoint p(3, 4);
  p.Offset(1, 1);
  EXPECT_EQ(p, CPoint(4, 5));
  EXPECT_EQ(p - CPoint(1, 1), CSize(3, 4));
  EXPECT_EQ(p + CSize(1, 2), CPoint(5, 7));
  EXPECT_EQ(-p, CPoint(-4, -5));
  p -= CSize(4, 5);
  EXPECT_EQ(p, CPoint(0, 0));
  CSize s(2, 3);
  s += CSize(1, 1);
  EXPECT_EQ(s, CSize(3, 4));
  EXPECT_EQ(s - CSize(3, 4), CSize(0, 0));
}

}  // namespace

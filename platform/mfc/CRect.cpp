#include <mfc/CRect.h>

#include <algorithm>
#include <utility>

namespace {

bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

BOOL CRect::PtInRect(POINT point) const {
  return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
}

BOOL CRect::EqualRect(LPCRECT lpRect) const {
  return left == lpRect->left && top == lpRect->top && right == lpRect->right && bottom == lpRect->bottom;
}

void CRect::SetRect(int x1, int y1, int x2, int y2) {
  left = x1;
  top = y1;
  right = x2;
  bottom = y2;
}

void CRect::OffsetRect(int x, int y) {
  left += x;
  right += x;
  top += y;
  bottom += y;
}

void CRect::InflateRect(int l, int t, int r, int b) {
  left -= l;
  top -= t;
  right += r;
  bottom += b;
}

void CRect::NormalizeRect() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) {
  const RECT a = *lpRect1;  // either source may be this rectangle
  const RECT b = *lpRect2;
  const RECT result{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                    std::min(a.bottom, b.bottom)};
  if (isEmpty(a) || isEmpty(b) || isEmpty(result)) {
    SetRectEmpty();
    return FALSE;
  }
  CopyRect(&result);
  return TRUE;
}

BOOL CRect::UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) {
  const RECT a = *lpRect1;
  const RECT b = *lpRect2;
  if (isEmpty(a) && isEmpty(b)) {
    SetRectEmpty();
    return FALSE;
  }
  if (isEmpty(a)) {
    CopyRect(&b);
  } else if (isEmpty(b)) {
    CopyRect(&a);
  } else {
    SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom));
  }
  return TRUE;
}

CRect CRect::operator+(POINT point) const {
  CRect rect(*this);
  rect.OffsetRect(point);
  return rect;
}

CRect CRect::operator+(SIZE size) const {
  CRect rect(*this);
  rect.OffsetRect(size);
  return rect;
}

CRect CRect::operator+(LPCRECT lpRect) const {
  CRect rect(*this);
  rect.InflateRect(lpRect);
  return rect;
}

CRect CRect::operator-(POINT point) const {
  CRect rect(*this);
  rect -= point;
  return rect;
}

CRect CRect::operator-(SIZE size) const {
  CRect rect(*this);
  rect -= size;
  return rect;
}

CRect CRect::operator-(LPCRECT lpRect) const {
  CRect rect(*this);
  rect.DeflateRect(lpRect);
  return rect;
}

CRect CRect::operator&(const RECT& rect2) const {
  CRect rect;
  rect.IntersectRect(this, &rect2);
  return rect;
}

CRect CRect::operator|(const RECT& rect2) const {
  CRect rect;
  rect.UnionRect(this, &rect2);
  return rect;
}

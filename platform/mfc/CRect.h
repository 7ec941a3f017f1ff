// A RECT with the geometry the windows and painting code use; converts wherever a RECT*
// is wanted. Right and bottom are exclusive: PtInRect excludes them, and a rectangle with
// no width or no height is empty. Intersections and unions follow the Windows functions:
// an empty result is stored as all zeros.
#pragma once

#include <mfc/CPoint.h>
#include <mfc/CSize.h>

class CRect : public RECT {
 public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& srcRect) : RECT(srcRect) {}  // NOLINT: implicit, as callers expect
  CRect(LPCRECT lpSrcRect) : RECT(*lpSrcRect) {}  // NOLINT
  CRect(POINT point, SIZE size) : RECT{point.x, point.y, point.x + size.cx, point.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  // In 32-bit arithmetic that wraps, as on Windows: a rectangle wider than the int range
  // gives a wrapped width rather than undefined behaviour.
  int Width() const { return static_cast<int>(static_cast<unsigned>(right) - static_cast<unsigned>(left)); }
  int Height() const { return static_cast<int>(static_cast<unsigned>(bottom) - static_cast<unsigned>(top)); }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

  operator LPRECT() { return this; }  // NOLINT
  operator LPCRECT() const { return this; }  // NOLINT

  BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  BOOL PtInRect(POINT point) const;
  BOOL EqualRect(LPCRECT lpRect) const;

  void SetRect(int x1, int y1, int x2, int y2);
  void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(LPCRECT lpSrcRect) { *static_cast<RECT*>(this) = *lpSrcRect; }

  void OffsetRect(int x, int y);
  void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
  void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
  // Grows each side outwards (Deflate: inwards) by the amounts given.
  void InflateRect(int x, int y) { InflateRect(x, y, x, y); }
  void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
  void InflateRect(LPCRECT lpRect) { InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  void InflateRect(int l, int t, int r, int b);
  void DeflateRect(int x, int y) { InflateRect(-x, -y); }
  void DeflateRect(SIZE size) { InflateRect(-size.cx, -size.cy); }
  void DeflateRect(LPCRECT lpRect) { DeflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
  // Swaps sides so that left <= right and top <= bottom.
  void NormalizeRect();

  // FALSE (and an all-zero rectangle) when the result is empty.
  BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2);
  BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2);

  BOOL operator==(const RECT& rect) const { return EqualRect(&rect); }
  BOOL operator!=(const RECT& rect) const { return !EqualRect(&rect); }
  void operator+=(POINT point) { OffsetRect(point); }
  void operator+=(SIZE size) { OffsetRect(size); }
  void operator+=(LPCRECT lpRect) { InflateRect(lpRect); }
  void operator-=(POINT point) { OffsetRect(-point.x, -point.y); }
  void operator-=(SIZE size) { OffsetRect(-size.cx, -size.cy); }
  void operator-=(LPCRECT lpRect) { DeflateRect(lpRect); }
  void operator&=(const RECT& rect) { IntersectRect(this, &rect); }
  void operator|=(const RECT& rect) { UnionRect(this, &rect); }
  CRect operator+(POINT point) const;
  CRect operator+(SIZE size) const;
  CRect operator+(LPCRECT lpRect) const;
  CRect operator-(POINT point) const;
  CRect operator-(SIZE size) const;
  CRect operator-(LPCRECT lpRect) const;
  CRect operator&(const RECT& rect2) const;
  CRect operator|(const RECT& rect2) const;
};

// A POINT with arithmetic; converts wherever a POINT or LPPOINT is wanted. A point minus a
// point is the size between them.
#pragma once

#include <mfc/CSize.h>

class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(int initX, int initY) : POINT{initX, initY} {}
  CPoint(POINT initPt) : POINT(initPt) {}  // NOLINT: implicit, as callers expect
  CPoint(SIZE initSize) : POINT{initSize.cx, initSize.cy} {}  // NOLINT

  void Offset(int xOffset, int yOffset) {
    x += xOffset;
    y += yOffset;
  }
  void Offset(POINT point) { Offset(point.x, point.y); }
  void Offset(SIZE size) { Offset(size.cx, size.cy); }

  BOOL operator==(POINT point) const { return x == point.x && y == point.y; }
  BOOL operator!=(POINT point) const { return !(*this == point); }
  void operator+=(SIZE size) { Offset(size); }
  void operator-=(SIZE size) { Offset(-size.cx, -size.cy); }
  void operator+=(POINT point) { Offset(point); }
  void operator-=(POINT point) { Offset(-point.x, -point.y); }
  CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
  CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
  CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
  CSize operator-(POINT point) const { return CSize(x - point.x, y - point.y); }
  CPoint operator-() const { return CPoint(-x, -y); }
};

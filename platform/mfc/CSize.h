// A SIZE with arithmetic; converts wherever a SIZE or LPSIZE is wanted.
#pragma once

#include <win32/types.h>

class CSize : public SIZE {
 public:
  CSize() : SIZE{0, 0} {}
  CSize(int initCX, int initCY) : SIZE{initCX, initCY} {}
  CSize(SIZE initSize) : SIZE(initSize) {}  // NOLINT: implicit, as callers expect
  CSize(POINT initPt) : SIZE{initPt.x, initPt.y} {}  // NOLINT

  BOOL operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
  BOOL operator!=(SIZE size) const { return !(*this == size); }
  void operator+=(SIZE size) {
    cx += size.cx;
    cy += size.cy;
  }
  void operator-=(SIZE size) {
    cx -= size.cx;
    cy -= size.cy;
  }
  CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
  CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
};

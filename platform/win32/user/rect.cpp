#include <win32/user/rect.h>

#include <algorithm>

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (!lprc) return FALSE;
  *lprc = RECT{xLeft, yTop, xRight, yBottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

BOOL IsRectEmpty(const RECT* lprc) { return !lprc || lprc->right <= lprc->left || lprc->bottom <= lprc->top; }

BOOL PtInRect(const RECT* lprc, POINT pt) {
  return lprc && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy) {
  if (!lprc) return FALSE;
  lprc->left += dx;
  lprc->right += dx;
  lprc->top += dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy) {
  if (!lprc) return FALSE;
  lprc->left -= dx;
  lprc->right += dx;
  lprc->top -= dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (!lprcDst || !lprcSrc1 || !lprcSrc2) return FALSE;
  const RECT both{std::max(lprcSrc1->left, lprcSrc2->left), std::max(lprcSrc1->top, lprcSrc2->top),
                  std::min(lprcSrc1->right, lprcSrc2->right), std::min(lprcSrc1->bottom, lprcSrc2->bottom)};
  if (IsRectEmpty(&both)) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  *lprcDst = both;
  return TRUE;
}

BOOL EqualRect(const RECT* lprc1, const RECT* lprc2) {
  return lprc1 && lprc2 && lprc1->left == lprc2->left && lprc1->top == lprc2->top &&
         lprc1->right == lprc2->right && lprc1->bottom == lprc2->bottom;
}

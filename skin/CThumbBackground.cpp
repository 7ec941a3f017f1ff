#include "skin/CThumbBackground.h"

#include "skin/SkinBitmap.h"

void CThumbBackground::Save(CDC* pDC, int x, int y, int cx, int cy) {
  ReleaseBitmap(m_hBitmap);
  m_hBitmap = CreateCompatibleBitmap(*pDC, cx, cy);
  CDC savedDC;
  savedDC.CreateCompatibleDC(pDC);
  HGDIOBJ hOld = savedDC.SelectObject(static_cast<HGDIOBJ>(m_hBitmap));
  savedDC.BitBlt(0, 0, cx, cy, pDC, x, y, SRCCOPY);
  savedDC.SelectObject(hOld);
  m_nX = x;
  m_nY = y;
}

void CThumbBackground::Restore(CDC* pDC, int cx, int cy) {
  if (m_nX == -1 || !m_hBitmap) return;
  CDC savedDC;
  savedDC.CreateCompatibleDC(pDC);
  HGDIOBJ hOld = savedDC.SelectObject(static_cast<HGDIOBJ>(m_hBitmap));
  pDC->BitBlt(m_nX, m_nY, cx, cy, &savedDC, 0, 0, SRCCOPY);
  savedDC.SelectObject(hOld);
  m_nX = m_nY = -1;
}

void CThumbBackground::Delete() { ReleaseBitmap(m_hBitmap); }

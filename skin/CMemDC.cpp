#include "skin/CMemDC.h"

CMemDC::CMemDC(CDC* pDC, const CRect* pRect) : m_hOldBitmap(nullptr), m_pDC(pDC), m_bMemDC(!pDC->IsPrinting()) {
  if (pRect) {
    m_rect = *pRect;
  } else {
    pDC->GetClipBox(&m_rect);
  }
  if (m_bMemDC) {
    CreateCompatibleDC(pDC);
    m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
    m_hOldBitmap = SelectObject(static_cast<HGDIOBJ>(m_bitmap));
    SetMapMode(pDC->GetMapMode());
    SetWindowOrg(m_rect.left, m_rect.top);
  } else {
    m_hDC = pDC->m_hDC;
    m_hAttribDC = pDC->m_hAttribDC;
  }
}

CMemDC::~CMemDC() {
  if (m_bMemDC) {
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    SelectObject(m_hOldBitmap);
  } else {
    // The target's context is not ours to delete.
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
  }
}

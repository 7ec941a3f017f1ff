#include <mfc/wnd/CImageList.h>

#include <mfc/wnd/CBitmap.h>
#include <mfc/wnd/CDC.h>
#include <mfc/wnd/CWnd.h>

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  return Attach(::ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (!hImageList || m_hImageList) return FALSE;
  m_hImageList = hImageList;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST list = m_hImageList;
  m_hImageList = nullptr;
  return list;
}

BOOL CImageList::DeleteImageList() { return m_hImageList ? ::ImageList_Destroy(Detach()) : FALSE; }

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
  if (!pbmImage) return -1;
  return ::ImageList_Add(m_hImageList, *pbmImage, pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
  if (!pbmImage) return FALSE;
  return ::ImageList_Replace(m_hImageList, nImage, *pbmImage, pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
  return pbmImage ? ::ImageList_AddMasked(m_hImageList, *pbmImage, crMask) : -1;
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
  return pDC ? ::ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle) : FALSE;
}

BOOL PASCAL CImageList::DragEnter(CWnd* pWndLock, CPoint point) {
  return ::ImageList_DragEnter(pWndLock ? pWndLock->m_hWnd : nullptr, point.x, point.y);
}

BOOL PASCAL CImageList::DragLeave(CWnd* pWndLock) {
  return ::ImageList_DragLeave(pWndLock ? pWndLock->m_hWnd : nullptr);
}

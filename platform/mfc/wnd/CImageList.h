// An image list object, destroying its list when it goes; the drag functions work on
// the one image being dragged.
#pragma once

#include <mfc/CObject.h>
#include <mfc/CPoint.h>
#include <win32/gdi/imagelist.h>

class CBitmap;
class CDC;
class CWnd;

class CImageList : public CObject {
 public:
  CImageList() = default;
  ~CImageList() override { DeleteImageList(); }

  HIMAGELIST m_hImageList = nullptr;
  operator HIMAGELIST() const { return m_hImageList; }  // NOLINT
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }

  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  BOOL DeleteImageList();

  int GetImageCount() const { return ::ImageList_GetImageCount(m_hImageList); }
  BOOL SetImageCount(UINT uNewCount) { return ::ImageList_SetImageCount(m_hImageList, uNewCount); }
  int Add(CBitmap* pbmImage, CBitmap* pbmMask);
  BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
  BOOL Remove(int nImage) { return ::ImageList_Remove(m_hImageList, nImage); }
  int Add(CBitmap* pbmImage, COLORREF crMask);
  BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);

  BOOL BeginDrag(int nImage, CPoint ptHotSpot) {
    return ::ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
  }
  static BOOL PASCAL DragEnter(CWnd* pWndLock, CPoint point);
  static BOOL PASCAL DragMove(CPoint pt) { return ::ImageList_DragMove(pt.x, pt.y); }
  static BOOL PASCAL DragLeave(CWnd* pWndLock);
  static void PASCAL EndDrag() { ::ImageList_EndDrag(); }
};

#include "skin/CVideoPlaceholder.h"

#include "skin/SkinMessages.h"

BEGIN_MESSAGE_MAP(CVideoPlaceholder, CWnd)
  ON_WM_SIZE()
END_MESSAGE_MAP()

void CVideoPlaceholder::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  CWnd* pParent = GetParent();
  if (!pParent) return;
  NMHDR header{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), NM_VIDEO_AREA_SIZED};
  pParent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&header));
}

// An empty child window that marks where a video goes: whenever it is resized it tells
// its parent with WM_NOTIFY (code NM_VIDEO_AREA_SIZED), so the parent can fit the video
// onto it.
#pragma once

#include <mfc/afxwin.h>

class CVideoPlaceholder : public CWnd {
 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};

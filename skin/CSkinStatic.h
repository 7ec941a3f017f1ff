// A static control showing one of six skin pictures, chosen by a skin button's command
// id (5004 to 5009 pick the first to the sixth): the picture beside a row of buttons that
// tells what the hovered button does.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CSkinStatic : public CWnd {
 public:
  CSkinStatic();
  ~CSkinStatic() override;

  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // Keeps 1:1 copies of the six pictures, and of the first as the one shown.
  void SetBitmaps(HBITMAP hP1, HBITMAP hP2, HBITMAP hP3, HBITMAP hP4, HBITMAP hP5, HBITMAP hP6);
  // Commands 5004 to 5009 show their picture; any command repaints.
  void ShowPictureForCommand(CDC* pDC, int nCommandId);
  void SetPlacement(int nLeft, int nTop, int nRight, int nBottom) { m_rcPlacement.SetRect(nLeft, nTop, nRight, nBottom); }
  void GetPlacement(RECT& rect) const { rect = m_rcPlacement; }

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  static constexpr int kPictureCount = 6;

  static HBITMAP CopyPicture(HBITMAP hSource);

  HBITMAP m_hPictures[kPictureCount];
  HBITMAP m_hCurrent;
  CRect m_rcPlacement;
};

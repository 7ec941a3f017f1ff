// A text label over a framed skin image: the image's edges are drawn with the frame blit,
// its centre stretched over the rest, and the text centred (or left-aligned) on top in
// the label font. Without an image nothing is drawn, not even the text.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CSkinLabel : public CWnd {
 public:
  CSkinLabel();
  ~CSkinLabel() override;

  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // With a source, cuts that rectangle of it into the background image.
  void SetBitmap(HBITMAP hSource, int nLeft, int nTop, int nRight, int nBottom);
  // The framed rectangle in the background image and its edge widths; null is ignored.
  void SetImageRect(const RECT* pRect);
  void SetMargins(const RECT* pMargins);
  // Stores the text (null as empty) and repaints.
  void SetText(LPCTSTR lpszText);
  CString GetText() const { return m_strText; }
  void SetId(int nId) { m_nId = nId; }
  int GetId() const { return m_nId; }
  void SetName(const CString& strName) { m_strName = strName; }
  CString GetName() const { return m_strName; }
  void SetPlacement(int nLeft, int nTop, int nRight, int nBottom) { m_rcPlacement.SetRect(nLeft, nTop, nRight, nBottom); }
  void GetPlacement(RECT& rect) const { rect = m_rcPlacement; }
  void SetFlag(int nFlag) { m_nFlag = nFlag; }
  int GetFlag() const { return m_nFlag; }
  void SetLeftAlign(BOOL bLeftAlign) { m_bLeftAlign = bLeftAlign; }
  void SetTextColor(COLORREF crText) { m_crText = crText; }
  COLORREF GetTextColor() const { return m_crText; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  void DrawCentre(CDC& dc, const CRect& rcClient);

  HBITMAP m_hBackground;
  CRect m_rcImage;
  CRect m_rcMargins;
  CString m_strText;
  int m_nId;
  CString m_strName;
  CRect m_rcPlacement;
  int m_nFlag;
  BOOL m_bLeftAlign;
  COLORREF m_crText;
};

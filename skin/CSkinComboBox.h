// A drop-down combo box drawn from skin images: a framed face with the chosen text, an
// arrow button cut to the shape of its image (normal, hot, pressed, disabled), and
// owner-drawn entries whose texts the control keeps itself (the combo box's own entries
// are empty). Text is blue while the control has the focus or the mouse is over the face;
// the face shows its alternate frame while it is pressed, until the list it dropped closes.
// An existing combo box made into one (SubclassWindow) becomes owner-drawn too. Each time
// the frame is worked out anew its client area reaches 11 pixels past its right edge.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CSkinComboBox : public CComboBox {
 public:
  static constexpr UINT_PTR kArrowTimer = 1;
  static constexpr UINT_PTR kFaceTimer = 2;
  static constexpr UINT kHoverCheckMs = 100;

  CSkinComboBox();
  ~CSkinComboBox() override;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void AddItem(LPCSTR lpszText);
  void Reset();
  int SetCurSel(int nIndex);
  // Leaves `strText` empty for an index outside the texts.
  void GetItemText(int nIndex, CString& strText) const;
  // The first text equal ignoring case, else -1.
  int Find(LPCSTR lpszText) const;
  void DrawFace();

  // Images 1 to 4: the arrow (normal, hot, pressed, disabled); 5 and 6: the face frame and
  // its alternate; 7: the chosen entry's background in the list.
  void SetBitmaps(const HBITMAP (&hSources)[7], const RECT (&rcSources)[7]);
  void SetFrameRect(const RECT& rect) { m_rcFrame = rect; }
  void SetFrameMargins(int nLeft, int nTop, int nRight, int nBottom) { m_rcMargins.SetRect(nLeft, nTop, nRight, nBottom); }
  void SetAltFrameRect(const RECT& rect) { m_rcAltFrame = rect; }
  void SetAltFrameMargins(int nLeft, int nTop, int nRight, int nBottom) {
    m_rcAltMargins.SetRect(nLeft, nTop, nRight, nBottom);
  }

  CRect GetArrowRect() const;
  CRect GetFaceRect() const;
  BOOL IsArrowHot() const { return m_bArrowHover; }
  BOOL IsFaceHot() const { return m_bFaceHover; }
  BOOL IsFacePressed() const { return m_bFacePressed; }

  // The client area's widening on WM_NCCALCSIZE.
  static constexpr int kClientWidening = 11;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

 protected:
  void PreSubclassWindow() override;
  afx_msg LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnCloseUp();
  afx_msg void OnPaint();
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void DrawArrow(CDC& dc) const;
  HFONT MakeFont(int nHeight) const;
  bool HasFocus() const;

  HBITMAP m_hImages[7];
  CRect m_rcFrame;
  CRect m_rcMargins;
  CRect m_rcAltFrame;
  CRect m_rcAltMargins;
  CStringArray m_texts;
  BOOL m_bArrowHover;
  BOOL m_bFaceHover;
  BOOL m_bArrowPressed;
  BOOL m_bFacePressed;
  COLORREF m_crText;
  COLORREF m_crHighlight;
  int m_nCurSel;
};

// The owner-drawn push button that CSkinButton and CSkinButtonEx share: it paints one of
// its state images, cut side by side from one skin strip, stretched over the client area,
// with an optional caption; takes its click as WM_COMMAND(command id, 0) to the parent on
// release inside it; and follows hover by capturing the mouse while the pointer is over
// it, sending a hover hint as the pointer enters. Which image a state shows, where the
// hover hint goes and what a press does stay with each button.
#pragma once

#include <mfc/afxwin.h>

#include <vector>

class CStripButton : public CWnd {
 public:
  // A child button window with the given caption, style, rectangle and control id.
  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetName(const CString& strName) { m_strName = strName; }
  CString GetName() const { return m_strName; }
  // Keeps the design rectangle; with a strip bitmap, cuts the state images of
  // (right - left) x (bottom - top), held to the skins' largest extent, from (i * width, 0),
  // releasing the old ones.
  void SetImage(HBITMAP hStrip, int nLeft, int nTop, int nRight, int nBottom);
  void SetCommandId(int nCommandId) { m_nCommandId = nCommandId; }
  int GetCommandId() const { return m_nCommandId; }
  void SetShowCaption(BOOL bShow) { m_bShowCaption = bShow; }
  void SetCaption(const CString& strCaption) { m_strCaption = strCaption; }
  CString GetCaption() const { return m_strCaption; }
  void SetTextColor(COLORREF crText) { m_crText = crText; }
  COLORREF GetTextColor() const { return m_crText; }
  // Without repainting.
  void SetHover(BOOL bHover) { m_bHover = bHover; }
  BOOL GetHover() const { return m_bHover; }
  void GetSkinRect(RECT& rect) const { rect = m_rcSkin; }
  // Repaints.
  void SetDisabled(BOOL bDisabled);

 protected:
  // nImages state images cut from the strip; the caption in the given face.
  CStripButton(int nImages, LPCSTR pszCaptionFace);
  ~CStripButton() override;

  void PreSubclassWindow() override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  // The index of the image the current state shows; may set the caption colour.
  virtual int StateImage() = 0;
  // Whether the caption is drawn in the current state (when shown at all).
  virtual BOOL CaptionInState() const;
  // The pointer entered the button (which has a parent).
  virtual void SendHoverHint() = 0;

  BOOL m_bHover;
  BOOL m_bDisabled;
  int m_nCommandId;
  COLORREF m_crText;
  HCURSOR m_hCursor;  // destroyed with the button

 private:
  void ReleaseImages();

  CString m_strName;
  std::vector<HBITMAP> m_images;
  LPCSTR m_pszCaptionFace;
  BOOL m_bShowCaption;
  CString m_strCaption;
  CRect m_rcSkin;
};

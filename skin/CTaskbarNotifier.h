// The notice that slides out of the taskbar's edge of the screen: a skinned popup owned
// by the launcher. Show() puts a text in it; the window slides out step by step on
// timer 1, stays for a while on timer 2, slides back on timer 3 and hides. The taskbar's
// edge is worked out from the work area against the screen at each Show(). Hovering it
// switches to the hover font and colour (followed by capturing the mouse while the
// pointer is over it); a left click posts UM_NOTIFIER_CLICKED to the owner.
//
// The window text is the notice's text, so whoever reads windows (the robot) reads it;
// a popup without a caption never draws its window text itself.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

// The notice was clicked (wParam 0, lParam 0), posted to the owner.
#define UM_NOTIFIER_CLICKED 1147

class CTaskbarNotifier : public CWnd {
 public:
  // Style bits of SetTextFont.
  static constexpr int kBold = 1;
  static constexpr int kItalic = 2;
  static constexpr int kUnderline = 4;
  // Where the taskbar lies.
  enum Edge { kTop = 1, kLeft = 2, kRight = 3, kBottom = 4 };
  enum State { kHidden = 0, kAppearing = 1, kShowing = 2, kDisappearing = 3 };
  static constexpr int kNoticeLineLength = 20;

  CTaskbarNotifier();
  ~CTaskbarNotifier() override;

  // A hidden popup owned by `pWndParent`.
  BOOL Create(CWnd* pWndParent);
  // Bitmap resource `nBitmapID` becomes the skin: the window takes its size and the text
  // rectangle becomes the whole window. With red, green and blue each in 0..65534 the
  // pixels of that colour are cut out of the window's region. Without the bitmap the
  // notice has no size and no region, and FALSE is returned.
  BOOL SetSkin(UINT nBitmapID, int nRed = -1, int nGreen = -1, int nBlue = -1);
  // The same with a bitmap the notice takes over (and deletes with its skin).
  BOOL SetSkin(HBITMAP hBitmap, int nRed = -1, int nGreen = -1, int nBlue = -1);
  // `nSize` in tenths of a point; styles are kBold | kItalic | kUnderline.
  void SetTextFont(LPCSTR szFont, int nSize, int nNormalStyle, int nSelectedStyle);
  void SetTextColor(COLORREF crNormalTextColor, COLORREF crSelectedTextColor);
  void SetTextRect(const RECT& rcText);
  // The text with a line break after every nLineLength characters (a text of whole lines
  // ends with one), as file names are shown in the notice.
  static CString BreakLines(const CString& strText, int nLineLength = kNoticeLineLength);
  // Shows `szCaption` for dwTimeToShow ms sliding out, dwTimeToStay ms out and
  // dwTimeToHide ms sliding back. A notice already out keeps its place and takes the
  // new text with a fresh stay. The last argument is accepted and not used.
  void Show(LPCTSTR szCaption, DWORD dwTimeToShow, DWORD dwTimeToStay, DWORD dwTimeToHide, int nIncrement = 1);

  int GetAnimState() const { return m_nAnimStatus; }
  int GetTaskbarPlacement() const { return m_nTaskbarPlacement; }
  CString GetText() const { return m_strCaption; }
  CRect GetTextRect() const { return m_rcText; }
  BOOL IsHovered() const { return m_bMouseIsOver; }

 protected:
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  DECLARE_MESSAGE_MAP()

 private:
  void ReadTaskbarPlacement();
  void StartSlide();
  // One step out (nDirection 1) or back (-1); TRUE when the end is reached.
  BOOL StepSlide(int nDirection);
  // The fully visible position of the skin's top-left corner.
  CPoint VisiblePosition() const;
  // Places the window at the current position, topmost: for the top and bottom edges
  // only the part inside the work area, so the visible height grows step by step.
  void PlaceWindow();
  void ApplyRegion(int nOffsetY);
  void KillAllTimers();
  void DrawNotice(CDC& dc);
  void ReleaseSkin();

  HBITMAP m_hSkin;
  HRGN m_hSkinRegion;  // our copy; the window gets an offset copy of it
  int m_nSkinWidth;
  int m_nSkinHeight;
  int m_nRegionOffsetY;  // the offset of the region the window holds now
  int m_nSkinOffsetY;    // where the skin's top lies in the window
  CRect m_rcText;
  CFont m_myNormalFont;
  CFont m_mySelectedFont;
  COLORREF m_crNormalTextColor;
  COLORREF m_crSelectedTextColor;
  BOOL m_bMouseIsOver;
  CString m_strCaption;

  int m_nAnimStatus;
  DWORD m_dwTimeToShow;
  DWORD m_dwTimeToStay;
  DWORD m_dwTimeToHide;
  DWORD m_dwShowEvents;
  DWORD m_dwHideEvents;
  int m_nStartPosX;
  int m_nStartPosY;
  int m_nCurrentPosX;
  int m_nCurrentPosY;
  int m_nTaskbarPlacement;
  CRect m_rcWorkArea;
  int m_nIncrement;
};

// The launcher's taskbar notifier; null while there is none.
extern CTaskbarNotifier* g_pTaskbarNotifier;

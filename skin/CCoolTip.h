// A popup tip titled "COOL_TIP_CTRL_WINDOW" that shows itself after the pointer has rested
// in a hot rectangle for the show delay, fades in and out where layered windows are
// available (otherwise it shows at once and hides after 5000 ms), and can show a picture
// stretched into it. Every fade is clamped to 0..255 and finishes at its bound; a tip that
// never showed goes straight back to hidden.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

class CCoolTip : public CWnd {
 public:
  // Style flags.
  static constexpr DWORD kFade = 0x01;
  static constexpr DWORD kSemiTransparent = 0x02;
  static constexpr DWORD kShowPending = 0x08;
  // States.
  static constexpr int kHidden = 256;
  static constexpr int kWaiting = 128;
  static constexpr int kFadingIn = 32;
  static constexpr int kShown = 64;
  static constexpr int kFadingOut = 16;
  // Timers.
  static constexpr UINT_PTR kWaitTimer = 1;
  static constexpr UINT_PTR kFadeTimer = 2;
  static constexpr UINT_PTR kWatchTimer = 3;
  static constexpr UINT kWaitMs = 100;
  static constexpr UINT kFadeMs = 30;
  static constexpr UINT kWatchMs = 500;
  static constexpr UINT kShowMs = 5000;
  static constexpr int kAlphaStep = 28;
  static constexpr int kShadow = 4;

  CCoolTip();
  ~CCoolTip() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyleFlags, int nWidth, int nHeight);
  // Screen coordinates.
  void SetHotRect(const RECT& rect) { m_rcHot = rect; }
  void SetShowDelay(int nTicks) { m_nShowDelay = nTicks; }
  void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }
  void SetText(LPCSTR lpszText) { m_strText = lpszText ? lpszText : ""; }
  // A picture file shown stretched into the tip; empty for none.
  void SetPicture(LPCSTR lpszPath);

  int Show(POINT point);
  int Hide();
  BOOL IsVisible() const { return m_nState != kHidden; }
  void RelayEvent(const MSG* pMsg);

  int GetState() const { return m_nState; }
  int GetAlpha() const { return m_nAlpha; }
  BOOL CanFade() const;

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void Wait(int nCountdown);
  void Appear();
  void Disappear();
  void Finish();
  void ApplyAlpha();
  bool PointerInHot() const;
  void Paint(CDC& dc);

  DWORD m_dwStyle;
  int m_nState;
  int m_nAlpha;
  int m_nShowDelay;
  int m_nCountdown;
  CRect m_rcHot;
  POINT m_ptShow;
  COLORREF m_crBack;
  CSize m_size;
  CString m_strTitle;
  CString m_strText;
  CString m_strPicture;
  HBITMAP m_hPicture;
};

// The base of the floating control bar laid along the bottom of the video picture. Its
// look is a shape skin: five whole-bar pictures (normal, hovered, pressed, disabled and a
// mask) whose mask cuts the window's outline, and one shaped button or progress bar per
// skin entry cut from the same pictures. It docks as a shell application bar to the
// bottom edge of the video window, hides 3 s after the owner's last mouse activity (with
// the pointer, unless asked to keep it) and comes back 50 ms after the pointer moves.
// Button clicks go to the owner as their names (UM_BAR_COMMAND); progress drags go to
// the derived bar.
#pragma once

#include <mfc/afxwin.h>

#include <initializer_list>
#include <vector>

class CAppBar;
class CShapeButton;
class CShapeSlider;
class CSkinSlider;

// The last window rectangle of the video window, in screen coordinates.
extern RECT g_barDockRect;

class CShapeBarDlg : public CDialog {
 public:
  static constexpr int kFirstButtonId = 5430;
  static constexpr int kFirstProgressId = 6000;
  static constexpr UINT kVolumeSliderId = 4180;

  CShapeBarDlg(UINT nIDTemplate, CWnd* pParent);
  ~CShapeBarDlg() override;

  BOOL LoadSkin(const CString& path);
  void ShowBar();
  void ShowNow();
  // Off the screen at once, as when another window takes its owner's place: the pointer
  // back, no hiding or showing pending, and not counted as shown, so ShowBar brings it back.
  void HideNow();
  // Moved to the window's bottom-left corner, keeping its own size.
  void PlaceAtBottomOf(HWND window);
  // Back from full screen: docked along `dock` (screen coordinates) and shown at once,
  // nothing hiding it, the pointer kept.
  void ShowDockedAlong(const RECT& dock);
  void SetAutoHide(BOOL on);
  void SetVideoWindow(HWND hwnd);
  void SetDockToVideo(BOOL on) { m_dockToVideo = on; }
  BOOL IsShown() const { return m_shown; }
  void SetKeepCursor(BOOL on) { m_keepCursor = on; }
  BOOL GetKeepCursor() const { return m_keepCursor; }
  void DockToVideo(BOOL setRect);
  void SetDockRect(int left, int top, int right, int bottom);
  void KillHideTimer();
  int EnableSliderByName(LPCSTR name, BOOL enable);
  BOOL SetSliderPosByName(LPCSTR name, int pos);
  // Sets the volume slider, when there is one.
  void SetVolumePos(int pos);
  // The pointer is visible again if this bar hid it.
  void RestoreCursor();

  CShapeButton* FindButton(LPCSTR name) const;
  CShapeSlider* FindProgress(LPCSTR name) const;
  const std::vector<CShapeButton*>& GetButtons() const { return m_buttons; }
  CAppBar* GetAppBar() const { return m_appBar; }
  CSkinSlider* GetVolumeSlider() const { return m_volumeSlider; }
  BOOL IsHideTimerArmed() const { return m_hideTimer != kNoTimer; }

 protected:
  virtual void OnProgressMoved(const CString& name, int position) = 0;
  virtual void OnProgressReleased(const CString& name, int position) = 0;
  // The named button's command to the owner, when the button is enabled.
  void OnSkinButton(const CString& name);
  // Allow list (`allow` TRUE: only the named buttons enabled) or block list.
  void EnableButtons(BOOL allow, std::initializer_list<LPCSTR> names);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg LRESULT OnBarControl(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnBarCommand(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProgressTrack(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProgressSet(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSliderTrack(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSliderSet(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 public:
  // One shaped control's skin value, read field by field.
  struct ShapeEntry {
    CString name;
    CString tooltip;
    RECT rect = {0, 0, 0, 0};
    BOOL horizontal = FALSE;
    BOOL useCursor = FALSE;
    CString cursorFile;
    BOOL shaped = FALSE;
    COLORREF colour = 0;
  };

 private:
  static constexpr UINT_PTR kNoTimer = static_cast<UINT_PTR>(-1);

  template <class Control>
  BOOL FinishControl(Control& control, const ShapeEntry& entry);

  BOOL CreateSkinButtons();
  BOOL CreateVolumeSlider();
  BOOL CreateProgressBars();
  void ResetControls();
  // The hit region of a control: its rectangle, or the pixels of the mask inside it that
  // have exactly the colour. NULL when it cannot be made or is empty.
  HRGN MakeControlRegion(const RECT& rect, BOOL shaped, COLORREF colour) const;
  HCURSOR LoadSkinCursor(const CString& file) const;
  void ReturnFocus();
  void HideOnTimer();
  CShapeSlider* FindProgressById(WPARAM id) const;
  void ReleaseControls();

  std::vector<CShapeButton*> m_buttons;
  std::vector<CShapeSlider*> m_progressBars;
  std::vector<WPARAM> m_progressIds;
  CAppBar* m_appBar = nullptr;
  CSkinSlider* m_volumeSlider = nullptr;
  int m_autoHideAtStart = 0;
  HWND m_videoWindow = nullptr;
  BOOL m_shown = FALSE;
  BOOL m_dockToVideo = FALSE;
  UINT_PTR m_hideTimer = kNoTimer;
  POINT m_lastCursor = {0, 0};
  CString m_skinPath;
  HBITMAP m_bmpNormal = nullptr;
  HBITMAP m_bmpHovered = nullptr;
  HBITMAP m_bmpPressed = nullptr;
  HBITMAP m_bmpDisabled = nullptr;
  HBITMAP m_bmpMask = nullptr;
  BOOL m_cursorShown = TRUE;
  BOOL m_keepCursor = TRUE;
};

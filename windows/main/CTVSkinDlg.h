// The TV window (dialog 130, "Orvane Media_TVDlg", skin "Skin\TV\skin.ini"): the live
// picture of the TV device in its video area, with the full-screen control bar docked
// along the bottom of the picture. It turns buttons, keys, remote keys and bar commands
// into controller calls and shows the run state back in its buttons and the bar. The
// launcher makes it on the first press of its TV button and keeps it to the end.
//
// It also shows the channel mosaic in place of its video area (CChannelMosaicWnd, stepped
// by its timer 400) and opens the free-standing video window (CVideoWindow), which it
// deletes once that window has handed the picture back. Its channel button opens the
// channel window, its settings button the settings hub (windows/setup) and its recordings
// button the media player (windows/media) in its place.
#pragma once

#include "windows/main/CDockedBarSkinDlg.h"

#include <vector>

class CChannelDlg;
class CChannelMosaicWnd;
class CVideoStaticEx;
class CVideoWindow;

class CTVSkinDlg : public CDockedBarSkinDlg {
 public:
  static constexpr UINT_PTR kDigitTimer = 200;
  static constexpr UINT_PTR kDigitTimerFull = 250;
  static constexpr UINT_PTR kMosaicTimer = 400;
  static constexpr UINT kMosaicTimerMs = 3000;
  // Posted to itself: the free-standing video window goes once its own message is done.
  static constexpr UINT UM_DELETE_VIDEO_WINDOW = WM_APP + 1;

  CTVSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CTVSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);
  // Shows or hides the window and, when showing, the video area.
  void ShowWithVideo(BOOL show);
  // The launcher's TV button with the window already made.
  void ReopenTV();
  BOOL IsActive() const { return m_active; }
  CVideoStaticEx* GetVideoArea() const { return m_videoArea; }
  CChannelMosaicWnd* GetMosaic() const { return m_mosaic; }
  CVideoWindow* GetFreeVideoWindow() const { return m_freeVideoWindow; }
  int GetMosaicStep() const { return m_mosaicStep; }
  // The channel window that replaced this window is closed: hidden now, destroyed and
  // deleted once the message under way is over (its own button may have asked for it).
  void CloseChannelWindow();
  // The window that replaced this one, as the display mode names it, is closed: the
  // channel window (125), or the free-standing video window (205), hidden now and deleted
  // once the message under way is over; in other modes nothing.
  void CloseReplacingWindow();

 protected:
  void OnSkinButton(const CString& name) override;
  void LayoutHostedControl() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnPaint();
  afx_msg LRESULT OnRunStateChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnBarCommand(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAttachVideo(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHoverHint(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnEnterFullScreen(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLeaveFullScreen(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshLayout(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSliderTrack(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnControllerCommand(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReleaseChannelWindow(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMosaicClosed(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnVideoWindowClosed(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDeleteVideoWindow(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL CreateControlBar();
  BOOL CreateVideoArea();
  void ToggleFullScreen();
  void ReturnToLauncher(BOOL hideAfter);
  void EnableButtonsForState(int state);
  void StartRecording();
  // The bar's "STOP_MOVIE": the channel wall closed while shown, else the recording stopped.
  void StopMovie();
  void StopRecording();
  void VolumeStep(int down);
  void TakeSnapshot();
  void Navigate(int step);
  void PressMarkedButton();
  // Remote keys 24 (the tuner) and 14 (Composite).
  void SwitchRemoteInput(BOOL tuner);
  void LeaveForWindowInPlace();
  // The channel button: the channel window made if needed and shown in this one's place.
  void OpenChannelWindow();
  // The settings button: the hub made if needed and shown in this window's place.
  void OpenSettingsHub();
  void ComeBackToFront();
  // The recordings button: the media player in this window's place.
  void OpenMediaPlayer();
  // A command whose button is disabled is not carried out.
  BOOL Allows(LPCSTR name) const;

  // ---- The channel mosaic and the free-standing video window (CTVSkinDlgViews.cpp).
  void StartMosaic();
  void StepMosaic();
  void LayoutMosaic();
  void DestroyMosaic();
  void OpenVideoWindow();
  void DeleteVideoWindow();
  void StopScheduledRun();
  void ReleaseBarPointer();

  CChannelMosaicWnd* m_mosaic = nullptr;
  CVideoWindow* m_freeVideoWindow = nullptr;
  CRect m_mosaicSavedRect;
  BOOL m_mosaicRectSaved = FALSE;
  int m_mosaicStep = 0;
  // The channel shown live in the mosaic's current cell, which keeps it as its still.
  int m_mosaicLiveChannel = 0;

  CVideoStaticEx* m_videoArea = nullptr;
  BOOL m_active = FALSE;
  BOOL m_inputSwitchReady = TRUE;
  BOOL m_skinLoaded = FALSE;
  // Channel windows closed and waiting to be deleted.
  std::vector<CChannelDlg*> m_closedChannelDlgs;
};

// Text shown in the taskbar notifier, wrapped before every 20th character.
CString WrapNoticeText(const CString& text);

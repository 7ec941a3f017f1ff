// The media player (dialog 141, "Orvane Media_AVDlg", skin "Skin\AV\skin.ini"): the
// video history as thumbnails on one side, a video area in the middle and the control bar
// docked along its bottom. It plays the recordings and the files the user added through
// the controller, which owns the playback; the window picks the files, forwards the
// commands of its buttons, bar, keys and remote keys, shows the progress (timer 655,
// which the controller runs on it while a file plays) and hands its video area over.
//
// The launcher's media player button and the TV window's recordings button make it and
// show it in their place; it hands the place back by posting (never sending) to the
// window it returns to, which then destroys it. "histroyMedia.lis" in the program folder
// is loaded into its list when the skin is read and saved from the list when the window
// is destroyed.
#pragma once

#include "windows/main/CDockedBarSkinDlg.h"
#include "windows/media/CThumbnailListWnd.h"

class CVideoStaticEx;

class CAVSkinDlg : public CDockedBarSkinDlg {
 public:
  CAVSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CAVSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);
  // Brought up in the opener's place: from the launcher (1) or the TV window (0), which
  // is where the way back leads.
  void ShowPlayer(BOOL fromLauncher);
  // Ends the file that plays, before the window goes.
  void StopPlayback();

  CVideoStaticEx* GetVideoArea() const { return m_videoArea; }
  CThumbnailListWnd& GetMediaList() { return m_mediaList; }
  int GetCurrentIndex() const { return m_currentIndex; }
  BOOL ReturnsToLauncher() const { return m_returnToLauncher; }

 protected:
  void OnSkinButton(const CString& name) override;
  void LayoutHostedControl() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg LRESULT OnPlaybackEvent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRunStateChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnBarCommand(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnEnterFullScreen(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLeaveFullScreen(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnOpenListItem(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListItemDeleted(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListCleared(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListSetFolder(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListAddFile(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListPlayState(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListKeyDown(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSliderTrack(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // ---- Skin and layout
  BOOL CreateVideoArea();
  void CreateMediaList();
  BOOL CreateControlBar();
  void Maximize();
  void Restore();

  // ---- Playing
  // A file is open, playing or paused.
  BOOL IsFileOpen() const;
  BOOL IsFilePaused() const;
  void PlayItem(const CMediaFileItem* item);
  void PlaySelected();
  void Play();
  void Pause();
  void TogglePlay();
  // Enter, on the player or on the list: the paused file plays on, else the selected
  // entry starts unless it is the one playing.
  void PlayByEnter();
  void Stop();
  // The file of the entry selected is the one playing.
  BOOL IsSelectedPlaying() const;
  void Next();
  void Previous();
  void SelectAndReport(int index);
  void SkipBack();
  void SkipForward();
  void VolumeStep(int down);
  void ToggleMute();
  void SetProgress(int percent);
  void ClearVideoArea();
  void PostBarState(int state, LPARAM detail);
  // Stopped by the controller, the window forgets the file and shows no progress.
  void ForgetFile();

  // ---- Screen and leaving
  void ToggleFullScreen();
  void LeaveFullScreenByKey();
  void ReturnToTv();
  void ShowLauncher();
  void CloseProgram();
  void AddFile();
  void SetFolder();

  CVideoStaticEx* m_videoArea = nullptr;
  CThumbnailListWnd m_mediaList;
  // The list's rectangle in the 1024 x 768 design space, from "AV-ListBox".
  CRect m_listDesign;
  int m_currentIndex = -1;
  // The path of the file playing or paused; the list index alone goes stale when
  // entries before it are deleted.
  CString m_currentPath;
  BOOL m_leaving = FALSE;
  BOOL m_returnToLauncher = FALSE;
};

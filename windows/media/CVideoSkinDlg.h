// The video editor (dialog 147, display mode 145, skin "Skin\Video\skin.ini"): the user
// cuts clips out of MPEG and AVI files and joins them into a new file. The left half, the
// clip pane, plays one source file through the clip player library; the user marks a cut
// start and a cut end on its position slider, and each cut goes into the editing project,
// which the right half, the project pane, previews and which is finally saved through the
// recording options dialog. Below the panes the clip list holds the source files and the
// project list the frame captured at each cut's start.
//
// Both libraries are reached through their exports (CEditingLibraries) and opened anew
// by every start: the project first, then the clip player, which also initialises COM;
// leaving or closing the window closes the project first, so its objects go before the
// clip player lets COM go. Timers 20497 and 20498 poll the two panes' positions every
// 100 ms while they play. The launcher makes the window on its video editor button and
// deletes it when the user comes back.
#pragma once

#include "windows/main/CSkinDialog.h"
#include "windows/media/CEditingLibraries.h"
#include "windows/media/CThumbnailListWnd.h"

#include "skin/CBitmapSlider.h"
#include "skin/CVideoPlaceholder.h"

#include <cstdint>
#include <memory>
#include <vector>

class CSkinButtonEx;

class CVideoSkinDlg : public CSkinDialog {
 public:
  static constexpr UINT_PTR kClipTimer = 20497;
  static constexpr UINT_PTR kProjectTimer = 20498;
  static constexpr UINT kPollMs = 100;
  static constexpr UINT kClipSliderId = 8192;
  static constexpr UINT kProjectSliderId = 8193;
  static constexpr int kFirstRadioCommand = 5310;
  static constexpr int kDisplayMode = 145;
  // Where the next cut goes.
  static constexpr int kVideoTrackMode = 0;
  static constexpr int kNoTrackMode = 2;
  static constexpr int kAudioTrackMode = 3;
  // The project pane as the window last set it.
  static constexpr int kPlaying = 0;
  static constexpr int kPaused = 1;
  static constexpr int kStopped = 2;

  CVideoSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CVideoSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);
  // Opens both libraries and sets both panes to their beginning (the shell's start, and
  // again for an empty project).
  void Start();

  // What the window holds, for the people and tests that look at it.
  BOOL IsClipOpen() const { return m_clipOpen; }
  BOOL IsPreviewActive() const { return m_previewActive; }
  BOOL IsCutStartSet() const { return m_cutStartSet; }
  BOOL IsClipTimerRunning() const { return m_clipTimer != kNoTimer; }
  BOOL IsProjectTimerRunning() const { return m_projectTimer != kNoTimer; }
  int GetCutStartPercent() const { return m_cutStartPercent; }
  int GetCutEndPercent() const { return m_cutEndPercent; }
  int GetTrackMode() const { return m_trackMode; }
  int GetProjectPlayState() const { return m_projectPlayState; }
  std::int64_t GetVideoEnd() const { return m_videoEnd; }
  std::int64_t GetAudioEnd() const { return m_audioEnd; }
  const CString& GetClipPath() const { return m_clipPath; }
  CBitmapSlider& GetClipSlider() { return m_clipSlider; }
  CBitmapSlider& GetProjectSlider() { return m_projectSlider; }
  CThumbnailListWnd& GetClipList() { return m_clipList; }
  CThumbnailListWnd& GetProjectList() { return m_projectList; }
  CVideoPlaceholder& GetClipVideoArea() { return m_clipVideo; }
  CVideoPlaceholder& GetProjectVideoArea() { return m_projectVideo; }
  // The radio button of that name, or null.
  CSkinButtonEx* FindRadioButton(LPCSTR name) const;

 protected:
  void OnSkinButton(const CString& name) override;
  void LayoutHostedControl() override;
  int FirstRestoredScaledButton() const override { return kFixedButtons; }
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
  afx_msg void OnVideoAreaSized(NMHDR* pNotify, LRESULT* pResult);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnProjectGraphEvent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnOpenListItem(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSliderTrack(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSliderSet(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  static constexpr int kNoTimer = -1;
  static constexpr int kUnset = -1;
  // Restored, the buttons from this index on use the 800 x 600 space.
  static constexpr int kFixedButtons = 16;

  // ---- Controls of the window's own (CVideoSkinDlg.cpp).
  void CreateRadioButtons();
  void CreateLists();
  BOOL CreateVideoAreas();
  BOOL CreateSlider(CBitmapSlider& slider, UINT id, const RECT& design);
  void LayoutControls();
  // The clip pane's and the project pane's pictures fitted to their areas again.
  void FitVideos();
  // The radio button of the track mode checked, the others released.
  void ShowTrackMode();
  void SwitchTrackMode();
  void StartTimer(UINT_PTR id, int& field);
  void StopTimer(UINT_PTR id, int& field);
  // Hands the front back to the launcher.
  void Leave();
  void CloseLibraries();

  // ---- The clip pane (CVideoSkinDlgClip.cpp).
  void AddSourceFile();
  void OpenClip(const CMediaFileItem* item);
  void PlayClip();
  void PauseClip();
  void StopClip();
  void MarkCutStart();
  void MarkCutEnd();
  void AddCutToProject();
  void PollClip();
  void SeekClip(int percent);

  // ---- The project pane (CVideoSkinDlgProject.cpp).
  void UpdateProjectButtons();
  void EnableProjectPane(BOOL enable);
  void PlayProject();
  void PauseProject();
  void StopProject();
  void PressProjectStop();
  void PollProject();
  void SeekProject(int percent);
  void SaveProject();
  void EmptyProject();

  CEditingLibraries m_lib;
  CVideoPlaceholder m_clipVideo;
  CVideoPlaceholder m_projectVideo;
  CBitmapSlider m_clipSlider;
  CBitmapSlider m_projectSlider;
  CThumbnailListWnd m_clipList;
  CThumbnailListWnd m_projectList;
  std::vector<std::unique_ptr<CSkinButtonEx>> m_radioButtons;

  int m_clipTimer = kNoTimer;
  int m_projectTimer = kNoTimer;
  int m_cutStartPercent = kUnset;
  int m_cutEndPercent = kUnset;
  BOOL m_clipOpen = FALSE;
  BOOL m_previewActive = FALSE;
  BOOL m_cutStartSet = FALSE;
  std::int64_t m_videoEnd = 0;
  std::int64_t m_audioEnd = 0;
  int m_trackMode = kVideoTrackMode;
  int m_projectPlayState = kStopped;
  CString m_clipPath;
};

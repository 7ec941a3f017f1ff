// The launcher: the program's main dialog and first window, a full-screen skinned menu
// with one button per activity. It is also the hub of the program. It owns the display
// mode, the controller and the taskbar notifier (made in LoadSkin, gone with the window),
// and the TV window once opened. The controller's timers run on it (500 schedule tick,
// 333 volume display, 600 scheduled run's second, 700 free space), beside its own 666
// keep-awake and the after-recording timers 3 (shut down) and 4 (stand by). Remote keys
// from the scheduler program and graph events arrive here and go on to the window in
// front by display mode.
#pragma once

#include "windows/main/CLogoLibrary.h"
#include "windows/main/CSkinDialog.h"

class CPICDlg;
class CTVDlg;
class CVideoDlg;
struct IAnimationPlayer;
struct IOleObject;

class CMainSkinDlg : public CSkinDialog {
 public:
  static constexpr UINT_PTR kKeepAwakeTimer = 666;
  static constexpr UINT kKeepAwakeTimerMs = 30000;
  static constexpr UINT_PTR kShutdownTimer = 3;
  static constexpr UINT_PTR kStandbyTimer = 4;

  CMainSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CMainSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);
  CTVDlg* GetTVDlg() const { return m_pTVDlg; }
  CPICDlg* GetPICDlg() const { return m_pPICDlg; }
  CVideoDlg* GetVideoDlg() const { return m_pVideoDlg; }
  BOOL IsBusy() const { return m_busy; }

 protected:
  void OnSkinButton(const CString& name) override;
  BOOL SkipsFailedButtons() const override { return TRUE; }
  void LayoutHostedControl() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void PaintSkin(CDC& dc) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshLayout(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHoverHint(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnControllerCommand(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnShowMain(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL CreateOwnedObjects();
  void CreateNotifier();
  void OpenTVWindow();
  void OpenSettingsHub();
  void OpenMediaPlayer();
  // Remote key 21 and Enter: the hovered navigable button, pressed.
  void PressHoveredButton();
  // Remote keys 31 and 68, Up and Down: the hover mark to the previous or next button.
  void MoveHoverMark(int step);
  void RelayRemoteKey(WPARAM wParam, LPARAM lParam);
  LRESULT OnGraphEvent();
  void RelayRunState(WPARAM wParam, LPARAM lParam);
  void OnDevicesChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnActivateMessage(WPARAM wParam);
  void KeepAwake();
  void ShutDownComputer();
  void StandBy();
  void DeleteTVWindow();
  void OpenPictureWindow();
  void OpenVideoEditor();
  // The launcher's window of that kind, made on first use, shown in its place before the
  // launcher hides; the display mode becomes the window's.
  template <class Dialog>
  void OpenInFront(Dialog*& window, int displayMode);
  template <class Dialog>
  static void DeleteWindow(Dialog*& window);
  void DeleteCaptureTempFiles();
  // The animation player of the skin's "Main-NewSkinStatic", when the player is there.
  void CreateFlashPlayer();
  void PlayMovie(const CString& movie);
  void ReleaseFlashPlayer();
  // True for a message to the player that goes no further.
  BOOL FilterPlayerMessage(const MSG* pMsg);
  CRect FlashRect() const;
  void ReleaseOwnedObjects();

  CTVDlg* m_pTVDlg = nullptr;
  CPICDlg* m_pPICDlg = nullptr;
  CVideoDlg* m_pVideoDlg = nullptr;
  CLogoLibrary m_logo;
  IOleObject* m_flashHost = nullptr;
  IAnimationPlayer* m_flashPlayer = nullptr;
  CString m_hoverMovies[7];
  CRect m_flashRect;
  BOOL m_busy = FALSE;
};

// What the settings hub's pages share (the hardware, video settings and record settings
// windows): each is a skinned window opened by the hub in its place, with a small live
// picture, labels from the skin's "Setting-Static" section (ids from 5700) and the window
// buttons CLOSE, NORMAL, HELP, MINISIZE, MAIN (to the launcher) and RETURN (to the hub).
// The remote keys 70 (back) and 20 (close) reach it through the launcher and the hub.
//
// A page is destroyed by the hub (or, with the hub, by the launcher) while the message
// that left it may still be on its own stack, so after sending the message that brings
// another window to the front it touches nothing of itself, and its owners delete it
// only once that message is over. Its teardown may run twice (the close button, then
// the window's destruction): whatever it releases it forgets.
#pragma once

#include "windows/main/CSkinDialog.h"
#include "windows/setup/CSkinLabelSet.h"

#include <memory>

class CVideoStatic;

class CSettingsPageDlg : public CSkinDialog {
 public:
  static constexpr int kFirstLabelId = 5700;
  static constexpr LPCSTR kLabelSection = "Setting-Static";

  CSettingsPageDlg(UINT nIDTemplate, CWnd* pParent);
  ~CSettingsPageDlg() override;

  CVideoStatic* GetVideoArea() const { return m_videoArea.get(); }
  const CSkinLabelSet& GetLabels() const { return m_skinStatics; }
  // Set once the page has handed the front to another window.
  BOOL HasReturned() const { return m_returned; }

 protected:
  // ---- Pieces of the pages' skin loads.
  // Restored: at the shared rectangle with the restored background; maximised: full screen.
  void PlaceWindow();
  // The live-picture area at a design rectangle: full screen by double-click not allowed.
  BOOL CreateVideoArea(const RECT& design);
  BOOL CreateLabels(COLORREF textColour, BOOL skinText);
  // The live picture goes into the video area: a running preview is handed over, an idle
  // controller starts one.
  void TakeOverPicture();

  // The window buttons every page has; TRUE when `name` was one of them.
  BOOL OnWindowButton(const CString& name);
  // Releases the page's controls: its own (DestroyPageControls), the video area, the
  // background and the labels. The buttons stay until the window goes, since a button may
  // be what asked for the teardown.
  void Teardown();
  virtual void DestroyPageControls() {}
  void LayoutHostedControl() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDevicesChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshLayout(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  DECLARE_MESSAGE_MAP()

  CSkinLabelSet m_skinStatics;
  std::unique_ptr<CVideoStatic> m_videoArea;
  BOOL m_returned = FALSE;

 private:
  void ReturnToHub();
  void GoToLauncher();
  void CloseProgram();
};

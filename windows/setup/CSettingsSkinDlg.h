// What the settings hub and its pages share: the window's place (the shared rectangle or
// full screen), a small live picture in a video area, the window buttons that act alike in
// all of them (close, maximise or restore, help, minimise, and "main" back to the
// launcher), the keys Escape and Backspace, and the window messages of a skinned window
// that another window may stand in front of.
//
// The hub and its pages are closed while the message that left them may still be on their
// own stack; after sending the message that brings another window to the front they touch
// nothing of themselves, and their owners delete them only once that message is over. A
// teardown may run twice (the close button, then the window's destruction): whatever it
// releases it forgets.
#pragma once

#include "windows/main/CSkinDialog.h"

#include <memory>

class CVideoStatic;

class CSettingsSkinDlg : public CSkinDialog {
 public:
  CSettingsSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CSettingsSkinDlg() override;

  CVideoStatic* GetVideoArea() const { return m_videoArea.get(); }

 protected:
  // Restored: at the shared rectangle with the restored background; maximised: full screen.
  void PlaceWindow();
  // The live-picture area at a design rectangle; it never goes full screen.
  BOOL CreateVideoArea(const RECT& design);
  // The live picture goes into the video area: a running preview is handed over, an idle
  // controller starts one.
  void TakeOverPicture();
  void LayoutHostedControl() override;

  // CLOSE, NORMAL, HELP, MINISIZE and MAIN; TRUE when `name` was one of them.
  BOOL OnSharedButton(const CString& name);
  // Back to the launcher, which closes the hub and its pages while it handles the layout
  // message.
  void GoToLauncher();
  // Releases the video area and the background. The buttons stay until the window goes,
  // since a button may be what asked for the teardown.
  virtual void Teardown();
  // The window became active again.
  virtual void OnActivated() {}
  // A key pressed in the window or one of its controls; TRUE when taken.
  virtual BOOL OnKey(MSG* pMsg) { return FALSE; }
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnDestroy();
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  DECLARE_MESSAGE_MAP()

  std::unique_ptr<CVideoStatic> m_videoArea;
  // Another window stands in front of this one: a restore from the taskbar hides it again.
  BOOL m_behind = FALSE;

 private:
  void CloseProgram();
};

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
#include "windows/main/CSkinVideoArea.h"

class CVideoStatic;

class CSettingsSkinDlg : public CSkinDialog {
 public:
  CSettingsSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CSettingsSkinDlg() override;

  CVideoStatic* GetVideoArea() const { return m_videoArea.Get(); }

 protected:
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
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnDestroy();
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  DECLARE_MESSAGE_MAP()

  CSkinVideoArea m_videoArea;

 private:
  void CloseProgram();
};

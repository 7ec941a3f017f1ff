// What the settings hub and its pages share: a small live picture in a video area, the
// window buttons that act alike in all of them (close, maximise or restore, help, minimise,
// and "main" back to the launcher), the smallest size they are sized to, and, from the
// skinned dialog base, the keys typed in them and the window procedure of a window that
// another one may stand in front of.
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

  // CLOSE, NORMAL, HELP, MINISIZE and MAIN; TRUE when `name` was one of them. The launcher
  // closes the hub and its pages while it handles MAIN's layout message.
  BOOL OnSharedButton(const CString& name);
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

// The player control bar (dialog 138): the one concrete shaped bar, skinned from
// "skins\elegance\skin.ini". Its owner (the TV window or the media player) reports its
// state with UM_BAR_STATE and the bar enables the buttons that make sense in it; the
// seek bar "PROGRESS_POS" seeks the playing media file.
#pragma once

#include "windows/main/CShapeBarDlg.h"

class CControlBarDlg : public CShapeBarDlg {
 public:
  enum { IDD = 138 };

  explicit CControlBarDlg(CWnd* pParent);

  // A bar made for the owner's picture, its skin loaded and the owner its video window;
  // null, with nothing of it left, when its window cannot be made.
  static CControlBarDlg* CreateFor(CWnd* owner);

  // Loads the bar's skin; on failure tells the user and asks the bar to close.
  BOOL LoadBarSkin();
  void EnableAutoHide() { SetAutoHide(TRUE); }
  // The buttons and the seek bar for a state of the owner (run state, or the media
  // player's 1, 4 and 5 with its detail).
  void OnBarState(int state, LPARAM detail);

 protected:
  BOOL OnInitDialog() override;
  void OnProgressMoved(const CString& name, int position) override;
  void OnProgressReleased(const CString& name, int position) override;

  afx_msg LRESULT OnBarStateMessage(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};

// The scaffolding every skinned window of the main program shares: a dialog drawn
// entirely from its skin description (an INI file and the pictures beside it). It reads
// the window's button section, makes one skinned button per key laid out in the
// 1024 x 768 design space, paints the skin background, drags by the client area,
// maximises and restores in the one shared placement (SharedPlacement.h), opens the help
// and turns button clicks into their command names. A window's own base (launcher, TV
// window, ...) derives from it and says what its buttons, keys and messages do.
//
// The steps that several windows take alike live here too, for the windows to call: the
// swallowed action after a double-click, the way back to the launcher, the remote keys 70
// and 20, the hover mark of the keys and the remote, the keys typed in a window, and the
// window procedure of a window that another one may stand in front of.
//
// A missing or broken skin never stops a window: a button without its picture is drawn
// empty and still works, a window without background leaves its client area alone.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/CDC.h>

#include <initializer_list>
#include <vector>

class CSkinButton;

class CSkinDialog : public CDialog {
 public:
  // The button sections of the maximised and the restored layout.
  CSkinDialog(UINT nIDTemplate, CWnd* pParent, LPCSTR buttonSection, LPCSTR restoredButtonSection);
  ~CSkinDialog() override;

  // The folder of `file` (its path without the file name), ending in one backslash.
  static CString GetFullPath(const CString& file);
  // The program folder, ending in a backslash.
  static CString GetAppFolder();
  // Opens folder + "help\help.chm" with the help viewer; nothing for an empty folder.
  static void ShowHelp(const CString& folder);
  // The whole bitmap stretched over (x1, y1)-(x2, y2), colour on colour.
  static void StretchDrawBitmap(HDC hdc, int x1, int y1, int x2, int y2, HBITMAP hBitmap);

  BOOL CreateSkinButtons(BOOL maximised);
  // LoadSkin's first steps as most windows take them: the skin file kept, the window placed
  // (PlaceWindow), its buttons made for the current placement; FALSE when one cannot be made.
  BOOL LoadSkinButtons(const CString& skinFile);
  void SwitchButtonLayout(BOOL maximised);
  void LoadShapeRegion(BOOL maximised);
  void LayoutSkinButtons();
  void MaximizeToWorkArea(BOOL savePlacement);
  void RestorePlacement();
  void ShowAtSharedRect();
  // A window's place as its skin is loaded: the shared rectangle and the restored
  // background, or the whole screen.
  void PlaceWindow();
  // A window's place as it comes back to the front: the shared rectangle with the restored
  // background and button layout, or the whole screen.
  void ReturnToSharedPlace();
  // Hands the front back to the parent window and sets `displayMode`.
  void ReturnToParent(int displayMode);

  // The first button of that name, or null.
  CSkinButton* FindSkinButton(LPCSTR name) const;
  // A button of that name exists and is enabled.
  BOOL IsButtonUsable(LPCSTR name) const;
  int GetSkinButtonCount() const { return static_cast<int>(m_skinButtons.size()); }
  CSkinButton* GetSkinButton(int index) const;
  // Every button out of sight and disabled (full screen), or back and enabled.
  void ShowSkinButtons(BOOL show);
  // The caption buttons that act alike in the plan, settings, picture and channel windows:
  // close the program, maximise or restore, minimise it, help. True when `name` was one of
  // them.
  BOOL HandleFrameButton(const CString& name);
  // Takes the hover mark off every button from index `first` on, repainting them.
  void UnmarkButtonsFrom(int first);
  const CString& GetSkinFile() const { return m_skinFile; }
  BOOL HasBackground() const { return m_background != nullptr; }

 protected:
  // What a button of this name does (exact, case-sensitive names).
  virtual void OnSkinButton(const CString& name);
  // Lays out what the window holds besides its buttons (hosted control, video area, bar).
  virtual void LayoutHostedControl() {}
  CString ButtonSection(BOOL maximised) const;
  // The window keeps going when a button object cannot be made (the launcher does).
  virtual BOOL SkipsFailedButtons() const { return FALSE; }
  // The command id of key "1" of the button sections; later keys count on from it.
  virtual int FirstButtonCommandId() const;
  // Restored, the buttons from this index on are laid out in the 800 x 600 space.
  virtual int FirstRestoredScaledButton() const;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void DoDataExchange(CDataExchange* pDX) override;

  afx_msg void OnPaint();
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg LRESULT OnHelpMessage(WPARAM wParam, LPARAM lParam);
  // UM_REMOTE_KEY, the keys of the windows with no others: a double-click seen before is
  // forgotten, then PressButtonOfRemoteKey.
  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam);
  afx_msg HCURSOR OnQueryDragIcon();
  DECLARE_MESSAGE_MAP()

  // The size of the client area, which the design space is scaled to.
  CSize ClientSize() const;
  // The rectangle of the first key of the skin's `section` ("1", "2", ...) that holds one
  // not empty; FALSE when none does.
  BOOL FindSectionRect(LPCSTR section, CRect& design) const;
  // The background and the buttons, for the windows' own OnPaint.
  virtual void PaintSkin(CDC& dc);
  // The window's outer rectangle into the shared rectangle.
  void StoreSharedRect();
  // Stores the caption strip's double-click: restores or maximises when in the strip.
  BOOL IsInCaptionStrip(CPoint point) const;
  // The shell's common start: icons, no caption or sizing frame, title, skin file.
  void InitShell(LPCSTR title, BOOL appWindow);
  // Shell paint while minimised: the icon centred.
  BOOL PaintIconic();
  // ---- Steps that several windows take alike

  // Buttons.
  // Maximised, the window restores; restored, it maximises.
  void ToggleMaximized();
  // The button's name is one of `names`.
  static BOOL IsNamed(const CSkinButton* button, std::initializer_list<LPCSTR> names);
  // The second click of a double-click, or the first press after the video left full
  // screen, reaches a button as its click: the action it would start is swallowed, once,
  // and both marks are cleared. TRUE when it was.
  BOOL SwallowsButtonAction();
  // Both marks cleared: the next button action acts.
  void ClearGuards();
  // MAIN: the live preview stopped, the launcher shown in this window's place and sent
  // UM_REFRESH_LAYOUT (`leftMode`, 0), display mode 105. The launcher may close this window
  // while it handles the message: nothing of the window is touched after it.
  void GoToLauncher(WPARAM leftMode = 0);
  // Remote key 70 acts as the RETURN button and 20 as the CLOSE button; any process may
  // send the key, so the shut-down flag that may come with 20 is not honoured. TRUE when
  // `key` was one of them.
  BOOL PressButtonOfRemoteKey(LPARAM key);

  // The hover mark that the keys and the remote move over the buttons.
  // The first button from index `first` on that carries the hover mark, -1 for none.
  int FindMarkedButton(int first) const;
  // The hover mark of the keys and the remote goes from one button to another; either may
  // be -1, none.
  void MoveButtonMark(int from, int to);
  // The mark steps back (step -1) or forward over the buttons from index `first` to the
  // last, wrapping at either end; with none marked the first takes it.
  void StepButtonMark(int first, int step);
  // UM_HOVER_HINT for a mark over the buttons from index `first` on: the mouse (lParam 0)
  // takes the mark off, and a navigable button id takes it.
  void FollowHoverHint(WPARAM buttonId, LPARAM source, int first);

  // Keys.
  // PreTranslateMessage for the windows whose keys act only when typed in the window or one
  // of its controls (an owned window's keys reach its owner too): Escape goes to its
  // control, Backspace goes back, OnKey takes the window's own keys; every other message
  // goes on to PreTranslateMessage.
  BOOL PreTranslateWindowKeys(MSG* pMsg);
  // A key of the window's own (PreTranslateWindowKeys); TRUE when taken.
  virtual BOOL OnKey(MSG* pMsg) { return FALSE; }
  // Enter or Escape goes straight to the control it was typed in, never to the dialog
  // manager, which would end the dialog on it; TRUE.
  static BOOL DispatchToControl(MSG* pMsg);
  // Backspace: the RETURN button, which a double-click seen before does not swallow; TRUE.
  BOOL GoBackByKey();

  // Window procedures.
  // Sizing for windows that lay their buttons out once a size or move ends: WM_SIZE marks
  // the window sized, WM_EXITSIZEMOVE then lays out; entering a move and help are
  // swallowed. Every other message goes on to WindowProc.
  LRESULT SizingWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window procedure of the windows another one stands in front of in turn (the
  // settings hub, its pages and the plan list): activation lays the buttons out after
  // OnActivated, a restore from the taskbar while behind hides the window again, a
  // system-menu close closes the program, and the rest goes through SizingWindowProc.
  LRESULT PageWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window became active again (PageWindowProc).
  virtual void OnActivated() {}
  // WM_EXITSIZEMOVE: the buttons laid out again when the window was sized since; TRUE then.
  BOOL LayoutAfterSizing();
  // WM_SIZE: restored from the taskbar while another window stands in front, the window
  // hides again; TRUE when it did.
  BOOL HidesBehindOtherWindow(WPARAM sizeType);
  // A system-menu close asks the main window, when that is another window, to close the
  // program, unless the skin's close button is disabled. FALSE, doing nothing, for any
  // other system command.
  BOOL CloseProgramFromSystemMenu(WPARAM command);

  // Destroys a hosted control's window and deletes it; nothing when there is none.
  template <class Control>
  static void DestroyAndDelete(Control*& control) {
    if (!control) return;
    if (control->GetSafeHwnd()) control->DestroyWindow();
    delete control;
    control = nullptr;
  }

  std::vector<CSkinButton*> m_skinButtons;
  HBITMAP m_background = nullptr;
  SIZE m_backgroundSize = {0, 0};
  CString m_skinFile;
  CString m_buttonSection;
  CString m_restoredButtonSection;
  HICON m_hIcon = nullptr;
  BOOL m_dblClickSeen = FALSE;
  // Set as the video of the TV window or the media player leaves full screen.
  BOOL m_swallowAfterFullScreen = FALSE;
  BOOL m_sizedFlag = FALSE;
  // Another window stands in front of this one, which hid itself for it.
  BOOL m_otherWindowShown = FALSE;

 private:
  void DestroySkinButtons();
  // The key each button was read from, so a layout switch matches keys, not positions.
  std::vector<int> m_buttonKeys;
};

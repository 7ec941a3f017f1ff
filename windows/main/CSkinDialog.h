// The scaffolding every skinned window of the main program shares: a dialog drawn
// entirely from its skin description (an INI file and the pictures beside it). It reads
// the window's button section, makes one skinned button per key laid out in the
// 1024 x 768 design space, paints the skin background, drags by the client area,
// maximises and restores in the one shared placement (SharedPlacement.h), opens the help
// and turns button clicks into their command names. A window's own base (launcher, TV
// window, ...) derives from it and says what its buttons, keys and messages do.
//
// A missing or broken skin never stops a window: a button without its picture is drawn
// empty and still works, a window without background leaves its client area alone.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/CDC.h>

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

  BOOL CreateSkinButtons(HDC hdc, BOOL maximised);
  void SwitchButtonLayout(BOOL maximised);
  void LoadShapeRegion(BOOL maximised);
  void LayoutSkinButtons();
  void MaximizeToWorkArea(BOOL savePlacement);
  void RestorePlacement();
  void ShowAtSharedRect();
  // A window's place as its skin is loaded: the shared rectangle and the restored
  // background, or the whole screen.
  void PlaceWindow();
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
  // The caption buttons that act alike in the plan windows: close the program, maximise or
  // restore, minimise it, help. True when `name` was one of them.
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
  afx_msg HCURSOR OnQueryDragIcon();
  DECLARE_MESSAGE_MAP()

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
  // Sizing for windows that lay their buttons out once a size or move ends: WM_SIZE marks
  // the window sized, WM_EXITSIZEMOVE then lays out; entering a move and help are
  // swallowed. Every other message goes on to WindowProc.
  LRESULT SizingWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // A system-menu close asks the main window to close the program, unless the skin's close
  // button is disabled. FALSE, doing nothing, for any other system command.
  BOOL CloseProgramFromSystemMenu(WPARAM command);
  // CreateSkinButtons for the current placement, against a screen device context.
  BOOL CreateSkinButtonsOnScreen();
  // The rectangle a docked bar runs along: the window's own when maximised, the shared
  // rectangle when restored.
  CRect BarDockRect() const;
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
  BOOL m_sizedFlag = FALSE;

 private:
  void DestroySkinButtons();
  // The key each button was read from, so a layout switch matches keys, not positions.
  std::vector<int> m_buttonKeys;
};

// The shell application bar of one window: registers it with the shell, docks it to an
// edge of a rectangle with the thickness its state gives, and hides it to a strip along
// that edge (auto-hide). It reserves no screen space: the window is placed, no more.
#pragma once

#include <win32/types.h>
#include <win32/user.h>

// The record given to SetState.
struct AppBarState {
  BOOL autoHide = FALSE;
  BOOL secondFlag = TRUE;
  BOOL hidden = TRUE;
  int edge = 0;    // 0 left, 1 top, 2 right, 3 bottom
  int width = 0;   // thickness docked left or right
  int height = 0;  // thickness docked top or bottom
  RECT unused[4] = {};
};

class CAppBar {
 public:
  static constexpr UINT kCallbackMessage = 2034;
  static constexpr UINT_PTR kHideTimer = 1;
  static constexpr UINT kHideTimerMs = 3000;
  static constexpr UINT_PTR kShowTimer = 2;
  static constexpr UINT kShowTimerMs = 50;

  explicit CAppBar(HWND hwnd);
  virtual ~CAppBar();
  CAppBar(const CAppBar&) = delete;
  CAppBar& operator=(const CAppBar&) = delete;

  BOOL Register();
  BOOL Unregister();
  // The saved thicknesses start as the state's, so a dock rectangle set before auto-hide
  // was ever on still gets the bar's height.
  void SetState(const AppBarState& state);
  void SetPos(int edge, const RECT& rect, BOOL move, BOOL noMove);
  void DockTo(int edge, RECT rect, BOOL noMove);
  BOOL SetAutoHide(BOOL on);
  BOOL EnableAutoHide();
  BOOL DisableAutoHide();
  void Hide(BOOL onlyMark);
  void Show();
  // The window was hidden outright (not to its strip): the next Show shows it again.
  void WindowHidden();
  void StartHideTimer();
  void StartShowTimer();
  void SetReferenceWindow(HWND hwnd) { m_referenceWindow = hwnd; }
  void SetDockRect(int left, int top, int right, int bottom);

  const AppBarState& GetState() const { return m_state; }
  const RECT& GetRect() const { return m_rect; }
  BOOL IsRegistered() const { return m_registered; }
  // The strip the bar hides to: `rect` cut down to its edge.
  RECT HiddenStrip(const RECT& rect) const;

 private:
  void Place(const RECT& rect);

  RECT m_rect = {0, 0, 0, 0};
  int m_savedHeight = 0;
  int m_savedWidth = 0;
  BOOL m_registered = FALSE;
  HWND m_hwnd;
  AppBarState m_state;
  HWND m_referenceWindow = nullptr;
  BOOL m_firstShow = TRUE;
};

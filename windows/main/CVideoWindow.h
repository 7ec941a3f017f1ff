// The free-standing video window: the live picture in a resizable window of its own, with
// a skinned frame (CSkinWindow, "Skin\SingleTV\skin.ini") whose bar of buttons runs along
// the bottom 28 pixels of the client area, an owner-drawn popup menu (resource 189:
// channels, input, aspect, standard of the external input, always on top, close), its
// own full screen with a pointer that hides when still, an aspect lock while it is sized,
// keys and remote keys. The TV window opens it ("SINGLE_BUTTON"), hands it the picture and
// takes the picture back when it is left (UM_VIDEO_WINDOW_CLOSED).
//
// A plain window of the class "Norlet Plus", whose procedure finds the object through the
// window property "sVideoWindow_OldProc", set from WM_NCCREATE to WM_NCDESTROY; messages
// outside that span get the default handling. Closing hides the window; deleting the
// object destroys it.
#pragma once

#include "skin/CCoolMenu.h"
#include "skin/CCursorHider.h"
#include "skin/CSkinWindow.h"

#include <win32/types.h>

class CVideoWindow {
 public:
  static constexpr LPCSTR kClassName = "Norlet Plus";
  static constexpr LPCSTR kObjectProperty = "sVideoWindow_OldProc";
  static constexpr UINT kMenuId = 189;
  static constexpr UINT_PTR kCursorTimer = 50;
  static constexpr UINT kCursorTimerMs = 10;
  // The bar of shape buttons along the client area's bottom; the remote's input switches
  // leave 20 pixels.
  static constexpr int kBarHeight = 28;
  static constexpr int kSwitchBarHeight = 20;
  // Menu commands.
  enum : UINT {
    kChannelUp = 32780,
    kChannelDown = 32781,
    kRetune = 32782,
    kInputTuner = 32783,
    kInputComposite = 32784,
    kAspect4x3 = 32785,
    kAspect16x9 = 32786,
    kAspectFree = 32787,
    kTopmost = 32788,
    kCloseProgram = 32789,
    kFirstStandard = 32794,
    kLastStandard = 32797,
  };

  CVideoWindow() = default;
  ~CVideoWindow();
  CVideoWindow(const CVideoWindow&) = delete;
  CVideoWindow& operator=(const CVideoWindow&) = delete;

  // A window whose client area is clientWidth x clientHeight, at the default place.
  BOOL Create(int clientWidth, int clientHeight);
  // FALSE when the skin's folder is missing or the menu cannot be loaded.
  BOOL LoadSkin(LPCSTR skinFile);
  // While the controller previews, the window becomes the video owner and video window
  // and the picture fills it above the bar.
  void SetVideoWindow(HWND video);
  void SetReturnWnd(HWND window);
  // Back to the launcher by way of the TV window's return: the preview stops, the
  // controller goes idle and the launcher is told which window was left (205). The
  // launcher may delete this window while it is told.
  void CloseTowardsTV();
  void SetWindowText(LPCSTR text);
  void Show(int command);

  HWND GetSafeHwnd() const { return m_hWnd; }
  BOOL IsFullScreen() const { return m_fullScreen; }
  BOOL IsTopmost() const { return m_topmost; }
  HMENU GetMenu() const { return m_menu.GetSafeHmenu(); }
  const CSkinWindow& GetSkin() const { return m_skin; }
  const CCursorHider& GetCursorHider() const { return m_cursorHider; }

  // The window rectangle kept at the settings' aspect while one edge is dragged.
  static void LockAspect(int aspect, UINT edge, RECT& window);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL RegisterWindowClass() const;
  BOOL LoadCoolMenu();
  void ReadColourTheme(LPCSTR skinFile);
  void PlaceAtSkinLoad();

  void LayoutVideo(int barHeight = kBarHeight);
  void EnterFullScreen();
  void LeaveFullScreen();
  void ToggleFullScreen();
  void ShowPointer();

  void OnKeyDown(WPARAM key);
  // FALSE for a system key the window leaves to the default handling.
  BOOL OnSysKeyDown(WPARAM key);
  void OnRemoteKey(LPARAM key);
  void OnCommand(UINT id);
  void OnInitMenuPopup();
  void OnMouseMove();
  void SwitchInput(BOOL tuner, int barHeight);
  void SetAspect(int aspect);
  void ToggleTopmost();
  void TakeSnapshot();
  void ReturnToTV();
  void CloseProgram();

  HWND m_hWnd = nullptr;
  BOOL m_clickGuard = FALSE;
  BOOL m_topmost = TRUE;
  BOOL m_inputSwitchFree = TRUE;
  CSkinWindow m_skin;
  HWND m_returnWnd = nullptr;
  CCoolMenu m_menu;
  BOOL m_fullScreen = FALSE;
  WINDOWPLACEMENT m_savedPlacement{};
  RECT m_fullScreenRect{};
  // One per window, so no other video window is left with a hider that has gone.
  CCursorHider m_cursorHider;
};

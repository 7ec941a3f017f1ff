// The frame of popup-menu windows while cool menus are in use: a thread hook sees each
// "#32768" window as it is created and replaces its procedure, which draws a two-line
// frame in the theme's frame colours (joined to the top-bar item it opened under) and,
// where the system draws no drop shadows, makes room for a 4-pixel shadow of its own,
// darkened from the screen beneath, with softened corners.
#pragma once

#include <mfc/afxwin.h>

// One per subclassed popup window, from its creation to its hiding or destruction.
struct CoolMenuWndInfo {
  RECT lastRect{};
  int lastX = -65535;
  int lastY = -65535;
  HWND hWnd = nullptr;
  HBITMAP savedScreen = nullptr;
  BOOL savedValid = FALSE;
};

class CCoolMenuPopup {
 public:
  static constexpr const char* kOldProcProp = "CoolMenu_oldProc";

  // The thread hook, installed once; removed with the last cool menu.
  static void Install();
  static void Uninstall();
  static bool IsInstalled();

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static void Subclass(HWND hWnd);
  // Puts the window's own procedure back and frees its record.
  static void Restore(HWND hWnd, WNDPROC oldProc);
  static void PaintFrame(HWND hWnd, HDC hdc);
  static void PaintJoin(HWND hWnd, HDC hdc, int frameRight);
  static void SaveShadowArea(CoolMenuWndInfo& info, const RECT& window);
  static void PaintShadow(HWND hWnd, HDC hdc, const CoolMenuWndInfo& info);
  static bool HasSystemShadow();
};

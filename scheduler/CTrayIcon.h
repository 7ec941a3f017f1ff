// The scheduler program's icon in the taskbar's notification area, its only visible face.
// It shows the icon and tip of one resource id, takes the mouse on the icon through a hook
// on the owner window (and on that window's top-level parent), adds the icon again when
// the shell restarts ("TaskbarCreated") and removes it when it goes. A right click opens
// the process's owner-drawn tray menu (menu 130) on the program's main window, which
// gets its commands.
#pragma once

#include "scheduler/CTrayIconHook.h"

#include <mfc/afxwin.h>
#include <win32/shell.h>

class CTrayIcon : public CCmdTarget {
 public:
  static constexpr DWORD kRecordSize = 88;
  static constexpr std::size_t kTipBytes = sizeof(NOTIFYICONDATAA::szTip);

  explicit CTrayIcon(UINT iconId);
  ~CTrayIcon() override;
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  // Puts the hooks on the window and its top-level parent and builds the tray menu.
  void AttachToWindow(CWnd* pWnd, UINT callbackMessage);
  // Tip and icon of resource `id` and shows them; 0 removes the icon.
  BOOL ShowIconFromResource(UINT id);
  // Adds or changes the icon; without one, removes it. Returns the shell's answer.
  BOOL UpdateIcon(HICON icon, LPCSTR tip = nullptr);

  // Mouse messages on the icon: 1 when taken.
  virtual LRESULT OnTrayNotification(WPARAM iconId, LPARAM mouseMessage);
  // The shell restarted: the icon is shown again.
  virtual LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

  const NOTIFYICONDATAA& Data() const { return m_data; }
  bool IsShown() const { return m_shown; }
  static UINT TaskbarCreatedMessage();

 private:
  void SetTip(LPCSTR tip);

  NOTIFYICONDATAA m_data;
  bool m_shown = false;
  CTrayIconHook m_windowHook;
  CTrayIconHook m_parentHook;
};

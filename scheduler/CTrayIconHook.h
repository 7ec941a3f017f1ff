// The tray icon's ear on a window: it passes the icon's callback message and the shell's
// "TaskbarCreated" notice to the icon, and every message on to the window.
#pragma once

#include "skin/CSubclassWnd.h"

class CTrayIcon;

class CTrayIconHook : public CSubclassWnd {
 public:
  explicit CTrayIconHook(CTrayIcon* icon) : m_pTrayIcon(icon) {}

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  CTrayIcon* m_pTrayIcon;
};

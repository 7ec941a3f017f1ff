#include "scheduler/CTrayIconHook.h"

#include "scheduler/CTrayIcon.h"

LRESULT CTrayIconHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const NOTIFYICONDATAA& data = m_pTrayIcon->Data();
  if (msg == data.uCallbackMessage && m_hWnd == data.hWnd) {
    m_pTrayIcon->OnTrayNotification(wParam, lParam);
  } else if (msg == CTrayIcon::TaskbarCreatedMessage()) {
    m_pTrayIcon->OnTaskbarCreated(wParam, lParam);
  }
  return CSubclassWnd::WindowProc(msg, wParam, lParam);
}

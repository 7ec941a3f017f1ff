#include "scheduler/CTrayIcon.h"

#include "scheduler/SchedulerPaths.h"

#include <win32/user.h>

#include <cstring>

CTrayIcon::CTrayIcon(UINT iconId) : m_windowHook(this), m_parentHook(this) {
  std::memset(&m_data, 0, sizeof m_data);
  m_data.cbSize = kRecordSize;
  m_data.uID = iconId;
  char tip[kTipBytes] = {};
  if (LoadStringA(AfxGetResourceHandle(), iconId, tip, sizeof tip) > 0) SetTip(tip);
}

CTrayIcon::~CTrayIcon() {
  UpdateIcon(nullptr);
  m_parentHook.HookWindow(static_cast<HWND>(nullptr));
  m_windowHook.HookWindow(static_cast<HWND>(nullptr));
}

UINT CTrayIcon::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

// At most 63 bytes, so the field always ends in a terminator.
void CTrayIcon::SetTip(LPCSTR tip) {
  std::memset(m_data.szTip, 0, sizeof m_data.szTip);
  if (tip) std::strncpy(m_data.szTip, tip, sizeof m_data.szTip - 1);
}

void CTrayIcon::AttachToWindow(CWnd* pWnd, UINT callbackMessage) {
  HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
  m_data.hWnd = hwnd;
  m_data.uCallbackMessage = callbackMessage;
  m_windowHook.HookWindow(hwnd);
  HWND top = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  if (top && top != hwnd) m_parentHook.HookWindow(top);
}

BOOL CTrayIcon::ShowIconFromResource(UINT id) {
  if (id == 0) return UpdateIcon(nullptr);
  char tip[kTipBytes] = {};
  if (LoadStringA(AfxGetResourceHandle(), id, tip, sizeof tip) > 0) SetTip(tip);
  HICON icon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
  return UpdateIcon(icon);
}

BOOL CTrayIcon::UpdateIcon(HICON icon, LPCSTR tip) {
  DWORD message;
  if (icon) {
    message = m_shown ? NIM_MODIFY : NIM_ADD;
    m_data.uFlags = NIF_ICON;
  } else {
    if (!m_shown) return TRUE;
    message = NIM_DELETE;
    m_data.uFlags = 0;
  }
  m_data.hIcon = icon;
  if (tip) SetTip(tip);
  if (m_data.szTip[0]) m_data.uFlags |= NIF_TIP;
  if (m_data.uCallbackMessage && m_data.hWnd) m_data.uFlags |= NIF_MESSAGE;
  const BOOL result = Shell_NotifyIconA(message, &m_data);
  m_shown = result && message != NIM_DELETE;
  return result;
}

LRESULT CTrayIcon::OnTaskbarCreated(WPARAM, LPARAM) {
  HICON icon = m_data.hIcon;
  m_shown = false;
  UpdateIcon(icon);
  return 0;
}

LRESULT CTrayIcon::OnTrayNotification(WPARAM iconId, LPARAM mouseMessage) {
  if (iconId != m_data.uID) return 0;
  switch (mouseMessage) {
    case WM_RBUTTONUP:
      // The tray menu comes with the owner-drawn menus.
      return 1;
    case WM_LBUTTONDBLCLK:
      WinExec(SchedulerPaths::MainProgram(), SW_SHOW);
      return 1;
    default:
      return 0;
  }
}

#include "scheduler/CTrayIcon.h"

#include "scheduler/SchedulerPaths.h"
#include "skin/CCoolMenu.h"

#include <win32/user.h>

#include <cstring>

namespace {

constexpr UINT kTrayMenuId = 130;
// The items of the menu's first popup, by position, with their traditional Chinese
// captions: Start, Remote Shutdown (with its trailing blank) and Exit.
struct TrayItem {
  UINT id;
  const char* caption;
};
constexpr TrayItem kTrayItems[] = {
    {32771, "\xB6\x7D\xA9\x6C"},
    {32774, "\xBB\xB7\xBA\xDD\xC3\xF6\xBE\xF7 "},
    {32775, "\xB5\xB2\xA7\xF4"},
};

// The process's tray menu, owner drawn.
CCoolMenu g_trayMenu;

HWND MainWindow() {
  CWnd* main = AfxGetMainWnd();
  return main ? main->GetSafeHwnd() : nullptr;
}

void BuildTrayMenu() {
  if (!g_trayMenu.LoadMenu(kTrayMenuId, 0)) return;
  HMENU popup = GetSubMenu(g_trayMenu.GetSafeHmenu(), 0);
  for (UINT position = 0; position < 3; ++position) {
    ModifyMenuA(popup, position, MF_BYPOSITION | MF_STRING, kTrayItems[position].id, kTrayItems[position].caption);
  }
  g_trayMenu.ConvertMenu(g_trayMenu.GetSafeHmenu(), 1);
  CCoolMenu::HookOwnerWindow(MainWindow());
  CCoolMenu::SetLogoText("Norlet PLUS", RGB(0, 0, 0xFF));
  CoolMenuTheme& theme = CCoolMenu::Theme();
  theme.flags &= ~CoolMenuTheme::kIconBar;
  theme.MenuColor = 0x000000;
  theme.IconBarColor = GetSysColor(COLOR_3DFACE);
  theme.LightBarColor = 0x7D7D7D;
  theme.LightBarStartColor = 0x9B9B9B;
  theme.LightBarEndColor = 0xFFFFFF;
  theme.TextColor = 0xE9E9E9;
  theme.HighLightColor = 0x321414;
  theme.Frame0Color = 0x9E7878;
  theme.Frame1Color = 0x303230;
  theme.Frame2Color = 0xFFFFFF;
  theme.Frame3Color = 0xD2A8A8;
}

}  // namespace

CTrayIcon::CTrayIcon(UINT iconId) : m_windowHook(this), m_parentHook(this) {
  std::memset(&m_data, 0, sizeof m_data);
  m_data.cbSize = kRecordSize;
  m_data.uID = iconId;
  char tip[kTipBytes] = {};
  if (LoadStringA(AfxGetResourceHandle(), iconId, tip, sizeof tip) > 0) SetTip(tip);
}

CTrayIcon::~CTrayIcon() {
  UpdateIcon(nullptr);
  CCoolMenu::HookOwnerWindow(nullptr);
  if (HMENU menu = g_trayMenu.Detach()) DestroyMenu(menu);
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
  BuildTrayMenu();
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
    case WM_RBUTTONUP: {
      HMENU popup = GetSubMenu(g_trayMenu.GetSafeHmenu(), 0);
      if (!popup) return 1;
      SetMenuDefaultItem(popup, 0, TRUE);
      HWND main = MainWindow();
      SetForegroundWindow(main);
      POINT cursor{};
      GetCursorPos(&cursor);
      TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, main, nullptr);
      PostMessageA(main, WM_NULL, 0, 0);
      return 1;
    }
    case WM_LBUTTONDBLCLK:
      WinExec(SchedulerPaths::MainProgram(), SW_SHOW);
      return 1;
    default:
      return 0;
  }
}

// CVideoWindow: its window, skin, menu, layout and full screen. Keys, remote keys and
// commands are in CVideoWindowInput.cpp.
#include "windows/main/CVideoWindow.h"

#include "core/CAppController.h"
#include "core/data/CAppSettings.h"
#include "graphs/CCaptureGraph.h"
#include "skin/CIniFile.h"
#include "skin/CTaskbarNotifier.h"
#include "skin/SkinValues.h"
#include "windows/main/WindowMessages.h"

#include <mfc/afxwin.h>
#include <vendor/language/Language.h>
#include <win32/error.h>
#include <win32/file.h>

namespace {

constexpr UINT kAppIcon = 128;
// The window style of the free-standing video window, as its template has it.
constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN | WS_THICKFRAME | 0x80;
constexpr int kMinTrackWidth = 320;
constexpr int kMinTrackHeight = 240;

// Captions of the menu from the UI text library: by command, and the three sub-menus by
// their place in the popup.
struct Caption {
  UINT item;
  int text;
};
constexpr Caption kCommandCaptions[] = {
    {CVideoWindow::kChannelUp, 1},     {CVideoWindow::kChannelDown, 2},  {CVideoWindow::kRetune, 3},
    {CVideoWindow::kInputTuner, 5},    {CVideoWindow::kInputComposite, 6}, {CVideoWindow::kAspect16x9, 9},
    {CVideoWindow::kAspect4x3, 10},    {CVideoWindow::kAspectFree, 21},  {32794, 17},
    {32795, 18},                       {32796, 19},                      {32797, 20},
    {CVideoWindow::kTopmost, 22},      {CVideoWindow::kCloseProgram, 23},
};
constexpr Caption kPopupCaptions[] = {{4, 4}, {5, 8}, {7, 16}};

void SetCaption(HMENU menu, UINT item, BOOL byPosition, int text) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<LPSTR>(GetMenuItem_SINGLE(text));
  ::SetMenuItemInfoA(menu, item, byPosition, &info);
}

// The folder a skin description lies in, without its last backslash.
CString SkinFolder(LPCSTR skinFile) {
  const CString path = skinFile ? skinFile : "";
  const int slash = path.ReverseFind('\\');
  return slash > 0 ? path.Left(slash) : CString();
}

}  // namespace

CVideoWindow::~CVideoWindow() {
  m_cursorHider.ShowPointer();
  if (m_hWnd) {
    HWND window = m_hWnd;
    ::DestroyWindow(window);
  }
}

// ---- The window

BOOL CVideoWindow::RegisterWindowClass() const {
  HINSTANCE instance = AfxGetInstanceHandle();
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(kAppIcon));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  // The class of an earlier video window is this one's too.
  return ::RegisterClassExA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

BOOL CVideoWindow::Create(int clientWidth, int clientHeight) {
  if (m_hWnd || !RegisterWindowClass()) return FALSE;
  RECT size{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRect(&size, WS_OVERLAPPEDWINDOW, FALSE);
  HWND window = ::CreateWindowExA(0, kClassName, "", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.right - size.left,
                                  size.bottom - size.top, nullptr, nullptr, AfxGetInstanceHandle(), this);
  if (!window) return FALSE;
  ::UpdateWindow(window);
  return TRUE;
}

LRESULT CALLBACK CVideoWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<CVideoWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->m_hWnd = hwnd;
    ::SetPropA(hwnd, kObjectProperty, self);
  }
  auto* self = static_cast<CVideoWindow*>(::GetPropA(hwnd, kObjectProperty));
  if (message == WM_NCDESTROY) {
    ::RemovePropA(hwnd, kObjectProperty);
    if (self) self->m_hWnd = nullptr;
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return self ? self->Handle(message, wParam, lParam) : ::DefWindowProcA(hwnd, message, wParam, lParam);
}

void CVideoWindow::SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }

void CVideoWindow::Show(int command) { ::ShowWindow(m_hWnd, command); }

void CVideoWindow::SetReturnWnd(HWND window) {
  m_returnWnd = window;
  m_skin.SetReturnWnd(window);
}

void CVideoWindow::SetVideoWindow(HWND video) {
  if (!g_pAppController || !g_pAppController->IsPreviewing()) return;
  g_pAppController->SetVideoOwner(video);
  g_pAppController->SetVideoWindow(video);
  LayoutVideo();
}

// ---- Skin and menu

BOOL CVideoWindow::LoadSkin(LPCSTR skinFile) {
  const DWORD folder = ::GetFileAttributesA(SkinFolder(skinFile));
  if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
  if (!m_skin.LoadSkin(skinFile)) return FALSE;
  m_skin.SetSkinnedWnd(m_hWnd);
  m_skin.Attach(m_hWnd);
  ReadColourTheme(skinFile);
  if (!LoadCoolMenu()) {
    if (g_pTaskbarNotifier) g_pTaskbarNotifier->Show("Load the Menu Resource Failed!", 500, 3000, 500, 1);
    return FALSE;
  }
  m_skin.CreateShapeButtons();
  PlaceAtSkinLoad();
  return TRUE;
}

// The eleven menu colours become the theme of every owner-drawn menu, without the icon
// bar; the section's logo pictures and text are not used.
void CVideoWindow::ReadColourTheme(LPCSTR skinFile) {
  const CIniFile ini(skinFile);
  CoolMenuTheme& theme = CCoolMenu::Theme();
  ReadColor(ini, "COLORTHEME", "MenuColor", theme.MenuColor);
  ReadColor(ini, "COLORTHEME", "IconBarColor", theme.IconBarColor);
  ReadColor(ini, "COLORTHEME", "LightBarColor", theme.LightBarColor);
  ReadColor(ini, "COLORTHEME", "LightBarStartColor", theme.LightBarStartColor);
  ReadColor(ini, "COLORTHEME", "LightBarEndColor", theme.LightBarEndColor);
  ReadColor(ini, "COLORTHEME", "TextColor", theme.TextColor);
  ReadColor(ini, "COLORTHEME", "HighLightColor", theme.HighLightColor);
  ReadColor(ini, "COLORTHEME", "Frame0Color", theme.Frame0Color);
  ReadColor(ini, "COLORTHEME", "Frame1Color", theme.Frame1Color);
  ReadColor(ini, "COLORTHEME", "Frame2Color", theme.Frame2Color);
  ReadColor(ini, "COLORTHEME", "Frame3Color", theme.Frame3Color);
  theme.flags &= ~CoolMenuTheme::kIconBar;
}

// The menu's captions come from the UI text library before its items become owner-drawn.
BOOL CVideoWindow::LoadCoolMenu() {
  HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kMenuId));
  HMENU popup = menu ? ::GetSubMenu(menu, 0) : nullptr;
  if (!popup) {
    if (menu) ::DestroyMenu(menu);
    return FALSE;
  }
  for (const Caption& caption : kCommandCaptions) SetCaption(popup, caption.item, FALSE, caption.text);
  for (const Caption& caption : kPopupCaptions) SetCaption(popup, caption.item, TRUE, caption.text);
  if (!m_menu.AttachMenu(menu)) {
    ::DestroyMenu(menu);
    return FALSE;
  }
  CCoolMenu::HookOwnerWindow(m_hWnd);
  return TRUE;
}

// Width kept, height by the aspect, centred on the screen, topmost as the settings say.
void CVideoWindow::PlaceAtSkinLoad() {
  RECT window{};
  ::GetWindowRect(m_hWnd, &window);
  const int width = window.right - window.left;
  int height = window.bottom - window.top;
  const int aspect = g_pAppSettings ? g_pAppSettings->VideoWindowAspect : 3;
  if (aspect == 1) height = width * 9 / 16;
  if (aspect == 2) height = width * 3 / 4;
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  m_topmost = !g_pAppSettings || g_pAppSettings->VideoWindowTopmost;
  ::SetWindowPos(m_hWnd, m_topmost ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, width, height, 0);
}

// ---- Layout and full screen

// The picture fills the client area above the bar, or all of it in full screen.
void CVideoWindow::LayoutVideo(int barHeight) {
  if (!g_pAppController) return;
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  g_pAppController->SetVideoRect(0, 0, client.right, m_fullScreen ? client.bottom : client.bottom - barHeight);
}

void CVideoWindow::ToggleFullScreen() {
  if (m_fullScreen) LeaveFullScreen();
  else EnterFullScreen();
}

// The frame lies outside the screen: the client area covers the whole of it.
void CVideoWindow::EnterFullScreen() {
  if (m_fullScreen) return;
  m_savedPlacement.length = sizeof m_savedPlacement;
  ::GetWindowPlacement(m_hWnd, &m_savedPlacement);
  RECT window{};
  RECT client{};
  ::GetWindowRect(m_hWnd, &window);
  ::GetClientRect(m_hWnd, &client);
  POINT origin{0, 0};
  ::ClientToScreen(m_hWnd, &origin);
  m_fullScreenRect = {window.left - origin.x, window.top - origin.y,
                      ::GetSystemMetrics(SM_CXSCREEN) + (window.right - origin.x - client.right),
                      ::GetSystemMetrics(SM_CYSCREEN) + (window.bottom - origin.y - client.bottom)};
  m_fullScreen = TRUE;
  WINDOWPLACEMENT placement = m_savedPlacement;
  placement.flags = 0;
  placement.showCmd = SW_SHOWNORMAL;
  placement.rcNormalPosition = m_fullScreenRect;
  ::SetWindowPlacement(m_hWnd, &placement);
  ::SetTimer(m_hWnd, kCursorTimer, kCursorTimerMs, nullptr);
  m_cursorHider.Attach(m_hWnd);
  ::SetFocus(m_hWnd);
  LayoutVideo();
}

void CVideoWindow::LeaveFullScreen() {
  if (!m_fullScreen) return;
  m_fullScreen = FALSE;
  ::SetWindowPlacement(m_hWnd, &m_savedPlacement);
  ::KillTimer(m_hWnd, kCursorTimer);
  m_cursorHider.ShowPointer();
  LayoutVideo();
}

void CVideoWindow::ShowPointer() {
  if (m_fullScreen) m_cursorHider.ShowPointer();
}

// The pointer shows again and its stillness is counted anew.
void CVideoWindow::OnMouseMove() {
  if (!m_fullScreen) {
    m_clickGuard = FALSE;
    return;
  }
  m_cursorHider.ShowPointer();
  ::SetTimer(m_hWnd, kCursorTimer, kCursorTimerMs, nullptr);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  m_cursorHider.SetSavedPoint(cursor);
}

void CVideoWindow::LockAspect(int aspect, UINT edge, RECT& window) {
  if (aspect != 1 && aspect != 2) return;
  const int across = aspect == 1 ? 16 : 4;
  const int down = aspect == 1 ? 9 : 3;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  switch (edge) {
    case WMSZ_TOP:
    case WMSZ_BOTTOM: window.right = window.left + height * across / down; break;
    case WMSZ_TOPLEFT: window.top = window.bottom - width * down / across; break;
    default: window.bottom = window.top + width * down / across; break;
  }
}

// ---- Messages

LRESULT CVideoWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      if (HMENU menu = m_menu.Detach()) ::DestroyMenu(menu);
      ::KillTimer(m_hWnd, kCursorTimer);
      return 0;
    case WM_SIZE: LayoutVideo(); return 0;
    case WM_SIZING:
      if (g_pAppSettings) LockAspect(g_pAppSettings->VideoWindowAspect, static_cast<UINT>(wParam), *reinterpret_cast<RECT*>(lParam));
      return TRUE;
    case WM_CLOSE: ::ShowWindow(m_hWnd, SW_HIDE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (!m_fullScreen) {
        info->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
      } else {
        const POINT size{m_fullScreenRect.right - m_fullScreenRect.left, m_fullScreenRect.bottom - m_fullScreenRect.top};
        info->ptMaxSize = size;
        info->ptMaxTrackSize = size;
      }
      return 0;
    }
    case WM_CONTEXTMENU:
      if (HMENU popup = ::GetSubMenu(m_menu.GetSafeHmenu(), 0))
        ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), 0, m_hWnd,
                         nullptr);
      return 0;
    case WM_INITMENUPOPUP:
      ShowPointer();
      OnInitMenuPopup();
      return 0;
    case WM_MOUSEMOVE: OnMouseMove(); return 0;
    case WM_LBUTTONDOWN:
      // Dragging the picture sizes the window from its lower right corner.
      if (!m_fullScreen) {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ClientToScreen(m_hWnd, &point);
        ::PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(point.x, point.y));
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      if (m_fullScreen) m_clickGuard = TRUE;
      ToggleFullScreen();
      return 0;
    case WM_TIMER:
      if (wParam == kCursorTimer && m_fullScreen) m_cursorHider.OnTimer(kCursorTimer);
      return 0;
    case WM_KEYDOWN: OnKeyDown(wParam); return 0;
    case WM_SYSKEYDOWN:
      if (OnSysKeyDown(wParam)) return 0;
      return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    case UM_REMOTE_KEY: OnRemoteKey(lParam); return 0;
    case UM_FRAME_MINIMIZE: ::PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0); return 0;
    case UM_FRAME_MAXIMIZE:
      if (!m_fullScreen && !m_clickGuard) EnterFullScreen();
      m_clickGuard = FALSE;
      return 0;
    case UM_FRAME_CLOSE: CloseProgram(); return 0;
    default: return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
  }
}

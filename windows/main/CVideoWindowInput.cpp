// CVideoWindow: keys, remote keys, the menu's commands and the states the menu shows.
#include "windows/main/CVideoWindow.h"

#include "core/CAppController.h"
#include "core/data/CAppSettings.h"
#include "core/CDisplayMode.h"
#include "graphs/CCaptureGraph.h"
#include "core/MediaListFile.h"
#include "skin/CTaskbarNotifier.h"
#include "windows/main/CTVSkinDlg.h"
#include "windows/main/WindowMessages.h"

#include <mfc/afxwin.h>

namespace {

constexpr LPARAM kLastRemoteKey = 74;
constexpr int kLauncherDisplayMode = 105;
constexpr int kVideoWindowDisplayMode = 205;
constexpr UINT kFirstShapeButton = CSkinWindow::kFirstBarButtonId;
constexpr UINT kLastShapeButton = CSkinWindow::kFirstBarButtonId + 11;

UINT Check(bool on) { return MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED); }
UINT Enable(bool on) { return MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED); }

}  // namespace

void CVideoWindow::OnKeyDown(WPARAM key) {
  if (key == VK_BACK) {
    ReturnToTV();
    return;
  }
  if (key == VK_ESCAPE) {
    LeaveFullScreen();
    return;
  }
  CAppController* controller = g_pAppController;
  if (!controller) return;
  if (key >= '0' && key <= '9') {
    controller->EnterDigit(static_cast<int>(key - '0'));
    return;
  }
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
    controller->EnterDigit(static_cast<int>(key - VK_NUMPAD0));
    return;
  }
  if (!controller->IsPreviewing()) return;
  switch (key) {
    case VK_PRIOR: controller->StepChannel(1); break;
    case VK_NEXT: controller->StepChannel(0); break;
    case VK_F5: TakeSnapshot(); break;
    case VK_F8: controller->ToggleMute(); break;
    case VK_F9: controller->VolumeStep(1); break;
    default: break;
  }
}

BOOL CVideoWindow::OnSysKeyDown(WPARAM key) {
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  if (key == VK_RETURN && alt) {
    ToggleFullScreen();
  } else if (key == VK_F4 && alt) {
    CloseProgram();
  } else if (key == VK_F10) {
    if (g_pAppController) g_pAppController->VolumeStep(0);
  } else {
    return FALSE;
  }
  return TRUE;
}

void CVideoWindow::OnRemoteKey(LPARAM key) {
  CAppController* controller = g_pAppController;
  if (!controller || key < 0 || key > kLastRemoteKey) return;
  if (key <= 9) {
    controller->EnterDigitFull(static_cast<int>(key));
    return;
  }
  switch (key) {
    case 10: controller->TuneByName(); break;
    case 12: controller->ToggleMute(); break;
    case 14: SwitchInput(FALSE, kSwitchBarHeight); break;
    case 16: controller->VolumeStep(0); break;
    case 17: controller->VolumeStep(1); break;
    case 18: controller->StepChannel(1); break;
    case 19: controller->StepChannel(0); break;
    // Any process may send this message: its shut-down flag is not honoured, key 20 only
    // closes the program, as in the other windows.
    case 20: CloseProgram(); break;
    case 24: SwitchInput(TRUE, kSwitchBarHeight); break;
    case 28: controller->RetuneCurrentChannel(); break;
    case 30: TakeSnapshot(); break;
    case 70: ReturnToTV(); break;
    case 74: ToggleFullScreen(); break;
    default: break;
  }
}

// A switch does not start while another one runs.
void CVideoWindow::SwitchInput(BOOL tuner, int barHeight) {
  if (!m_inputSwitchFree || !g_pAppController) return;
  m_inputSwitchFree = FALSE;
  if (tuner) g_pAppController->SelectTuner();
  else g_pAppController->SelectComposite();
  LayoutVideo(barHeight);
  m_inputSwitchFree = TRUE;
}

void CVideoWindow::OnCommand(UINT id) {
  CAppController* controller = g_pAppController;
  if (id >= kFirstShapeButton && id <= kLastShapeButton) {
    m_skin.OnShapeButton(static_cast<int>(id));
    return;
  }
  if (!controller) return;
  if (id >= kFirstStandard && id <= kLastStandard) {
    controller->SetCrossbarInput(static_cast<int>(id - kFirstStandard));
    LayoutVideo();
    return;
  }
  switch (id) {
    case kChannelUp: controller->StepChannel(1); break;
    case kChannelDown: controller->StepChannel(0); break;
    case kRetune: controller->RetuneCurrentChannel(); break;
    case kInputTuner:
    case kInputComposite:
      SwitchInput(id == kInputTuner, kBarHeight);
      OnInitMenuPopup();
      break;
    case kAspect16x9: SetAspect(1); break;
    case kAspect4x3: SetAspect(2); break;
    case kAspectFree: SetAspect(3); break;
    case kTopmost: ToggleTopmost(); break;
    case kCloseProgram: CloseProgram(); break;
    default: break;
  }
}

// The checks and the enabled items follow the settings and the run state.
void CVideoWindow::OnInitMenuPopup() {
  HMENU menu = m_menu.GetSafeHmenu();
  const CAppSettings* settings = g_pAppSettings;
  if (!menu || !settings) return;
  ::CheckMenuItem(menu, kTopmost, Check(settings->VideoWindowTopmost == 1));
  ::CheckMenuItem(menu, kInputTuner, Check(settings->VideoInput == 1 || settings->VideoInput == 2));
  ::CheckMenuItem(menu, kInputComposite, Check(settings->VideoInput == 3));
  ::CheckMenuItem(menu, kAspect16x9, Check(settings->VideoWindowAspect == 1));
  ::CheckMenuItem(menu, kAspect4x3, Check(settings->VideoWindowAspect == 2));
  ::CheckMenuItem(menu, kAspectFree, Check(settings->VideoWindowAspect == 3));
  for (UINT id = kFirstStandard; id <= kLastStandard; ++id) {
    ::CheckMenuItem(menu, id, Check(settings->AvInputStandard == static_cast<int>(id - kFirstStandard)));
    ::EnableMenuItem(menu, id, Enable(settings->VideoInput == 3));
  }
  const bool tv = g_pAppController && g_pAppController->IsTvMode();
  for (UINT id : {kChannelUp, kChannelDown, kRetune}) ::EnableMenuItem(menu, id, Enable(tv));
}

// 16:9 and 4:3 give the client area that shape at its width; free only keeps its shape
// from being locked.
void CVideoWindow::SetAspect(int aspect) {
  if (m_fullScreen || !g_pAppSettings) return;
  g_pAppSettings->VideoWindowAspect = aspect;
  OnInitMenuPopup();
  if (aspect == 3) return;
  RECT window{};
  RECT client{};
  ::GetWindowRect(m_hWnd, &window);
  ::GetClientRect(m_hWnd, &client);
  const int height = aspect == 1 ? client.right * 9 / 16 : client.right * 3 / 4;
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - client.bottom + height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void CVideoWindow::ToggleTopmost() {
  m_topmost = !m_topmost;
  if (g_pAppSettings) g_pAppSettings->VideoWindowTopmost = m_topmost;
  OnInitMenuPopup();
  ::SetWindowPos(m_hWnd, m_topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
}

// The still joins the picture history list and its name is shown.
void CVideoWindow::TakeSnapshot() {
  if (!g_pAppController) return;
  CString path;
  g_pAppController->TakeSnapshot(path);
  if (path.IsEmpty()) return;
  AppendMediaList(CAppController::GetModuleFolder() + kPictureHistoryFile, path, kMediaListPicture);
  if (g_pTaskbarNotifier) g_pTaskbarNotifier->Show(WrapNoticeText(path), 500, 3000, 500, 1);
}

// The TV window takes the picture back and deletes this window once the message is done.
void CVideoWindow::ReturnToTV() {
  ShowPointer();
  if (m_returnWnd) {
    ::ShowWindow(m_returnWnd, SW_SHOW);
    ::SendMessageA(m_returnWnd, UM_VIDEO_WINDOW_CLOSED, 0, 0);
  }
  ::SendMessageA(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CVideoWindow::CloseTowardsTV() {
  if (g_pAppController) {
    g_pAppController->StopPreview();
    g_pAppController->SetIdle();
  }
  ShowPointer();
  if (CWnd* main = AfxGetMainWnd()) {
    main->ShowWindow(SW_SHOW);
    main->SendMessage(UM_REFRESH_LAYOUT, kVideoWindowDisplayMode, 0);
  }
  // Nothing of this window is touched from here on.
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
}

void CVideoWindow::CloseProgram() {
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

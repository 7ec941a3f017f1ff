#include "windows/main/CTVSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "core/MediaListFile.h"
#include "graphs/CCaptureGraph.h"
#include "skin/CSkinButton.h"
#include "skin/CTaskbarNotifier.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CAVDlg.h"
#include "windows/main/CChannelMosaicWnd.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CMainSkinDlg.h"
#include "windows/main/CVideoWindow.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/CChannelDlg.h"
#include "windows/setup/CSetDlg.h"

#include <win32/shell/power.h>
#include <win32/time.h>

#include <new>

namespace {

constexpr int kTVDisplayMode = 110;
constexpr int kLauncherDisplayMode = 105;
constexpr int kChannelDisplayMode = 125;
constexpr int kSettingsDisplayMode = 120;
constexpr int kAVDisplayMode = 115;
// The live graph settles this long after it stopped for the media player.
constexpr DWORD kCaptureSettleMs = 350;
constexpr UINT kVideoAreaId = 1000;
// The bar's commands that the TV window asks the controller for.
constexpr UINT kOpenPreviewCommand = 12823;
constexpr UINT kRunCaptureCommand = 12824;
constexpr UINT kStopCaptureCommand = 12825;
// Buttons from this index on are unmarked by a hover hint and pressed by Enter.
constexpr int kFirstMarkableButton = 5;
// Why the mosaic closes: the user ended it, or pressed Escape.
constexpr WPARAM kMosaicClosedByUser = 1;
constexpr WPARAM kMosaicEscaped = 3;
constexpr int kVideoWindowDisplayMode = 205;

CWnd* MainWindow() { return AfxGetMainWnd(); }

int RunState() { return g_pAppController ? g_pAppController->GetRunState() : 0; }

}  // namespace

CString WrapNoticeText(const CString& text) { return CTaskbarNotifier::BreakLines(text); }

BEGIN_MESSAGE_MAP(CTVSkinDlg, CDockedBarSkinDlg)
  ON_WM_PAINT()
  ON_MESSAGE(UM_RUNSTATE_CHANGED, OnRunStateChanged)
  ON_MESSAGE(UM_REMOTE_KEY, OnRemoteKey)
  ON_MESSAGE(UM_BAR_COMMAND, OnBarCommand)
  ON_MESSAGE(UM_ATTACH_VIDEO, OnAttachVideo)
  ON_MESSAGE(UM_HOVER_HINT, OnHoverHint)
  ON_MESSAGE(UM_ENTER_FULLSCREEN, OnEnterFullScreen)
  ON_MESSAGE(UM_LEAVE_FULLSCREEN, OnLeaveFullScreen)
  ON_MESSAGE(UM_REFRESH_LAYOUT, OnRefreshLayout)
  ON_MESSAGE(UM_SLIDER_TRACK, OnSliderTrack)
  ON_MESSAGE(UM_SLIDER_SET, OnSliderTrack)
  ON_MESSAGE(UM_CONTROLLER_COMMAND, OnControllerCommand)
  ON_MESSAGE(UM_MOSAIC_CLOSED, OnMosaicClosed)
  ON_MESSAGE(UM_VIDEO_WINDOW_CLOSED, OnVideoWindowClosed)
  ON_MESSAGE(UM_DELETE_VIDEO_WINDOW, OnDeleteVideoWindow)
  ON_MESSAGE(UM_RELEASE_CHANNEL_WINDOW, OnReleaseChannelWindow)
  ON_WM_TIMER()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CTVSkinDlg::CTVSkinDlg(UINT nIDTemplate, CWnd* pParent) : CDockedBarSkinDlg(nIDTemplate, pParent, "TV-Buttons", "TV-ButtonsMin") {}

CTVSkinDlg::~CTVSkinDlg() {
  DestroyMosaic();
  DeleteVideoWindow();
  CloseChannelWindow();
  OnReleaseChannelWindow(0, 0);
  DestroyBar();
  DestroyAndDelete(m_videoArea);
}

// ---- Skin and layout

BOOL CTVSkinDlg::LoadSkin(const CString& skinFile) {
  if (!LoadSkinButtons(skinFile) || !CreateVideoArea()) return FALSE;
  LayoutSkinButtons();
  StartBarDocking();
  if (!m_controlBar) {
    if (!CreateControlBar()) return FALSE;
    if (g_isMaximized) m_controlBar->EnableAutoHide();
    if (g_pAppController) m_controlBar->SetVolumePos(CAppController::GetVolume());
  }
  if (g_pAppController) g_pAppController->StartPreview(m_videoArea->GetSafeHwnd());
  m_controlBar->ShowBar();
  if (::GetFocus() != m_hWnd) SetFocus();
  m_active = TRUE;
  m_skinLoaded = TRUE;
  Invalidate();
  return TRUE;
}

BOOL CTVSkinDlg::CreateVideoArea() {
  if (m_videoArea) return TRUE;
  m_videoArea = new (std::nothrow) CVideoStaticEx;
  if (!m_videoArea) return FALSE;
  CRect client;
  GetClientRect(&client);
  const CRect rc(client.Width() * 267 / 1024, client.Height() * 80 / 768, client.Width() * 1010 / 1024,
                 client.Height() * 660 / 768);
  if (!m_videoArea->Create("", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, this, kVideoAreaId)) {
    delete m_videoArea;
    m_videoArea = nullptr;
    return FALSE;
  }
  m_videoArea->ShowWindow(SW_HIDE);
  return TRUE;
}

// The half-made bar goes when its skin or window cannot be made.
BOOL CTVSkinDlg::CreateControlBar() {
  m_controlBar = CControlBarDlg::CreateFor(this);
  if (!m_controlBar) return FALSE;
  m_controlBar->ShowWindow(SW_HIDE);
  return TRUE;
}

void CTVSkinDlg::LayoutHostedControl() {
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int h = client.Height();
  if (m_mosaic)
    LayoutMosaic();
  else if (m_videoArea && !m_fullScreen)
    m_videoArea->MoveWindow(CRect(w * 268 / 1024, h * 80 / 768, w * 1010 / 1024, h * 654 / 768), TRUE);
  PlaceBar();
}

void CTVSkinDlg::OnPaint() {
  CPaintDC dc(this);
  if (m_fullScreen) return;
  PaintSkin(dc);
  if (g_pAppController && m_videoArea && !m_mosaic) {
    CRect video;
    m_videoArea->GetClientRect(&video);
    g_pAppController->SetVideoRect(video.left, video.top, video.Width(), video.Height());
  }
}

void CTVSkinDlg::ShowWithVideo(BOOL show) {
  ShowWindow(show ? SW_SHOW : SW_HIDE);
  if (show && m_videoArea) m_videoArea->ShowWindow(SW_SHOW);
}

void CTVSkinDlg::ReopenTV() {
  if (g_pAppController && m_videoArea && !g_pAppController->SwitchInput(m_videoArea->GetSafeHwnd()))
    g_pAppController->StartPreview(m_videoArea->GetSafeHwnd());
  ReturnToSharedPlace();
  SendMessage(UM_HOVER_HINT, 0, 0);
  if (m_controlBar && !m_controlBar->IsWindowVisible()) {
    m_controlBar->SetDockRect(g_sharedWindowRect.left, g_sharedWindowRect.top, g_sharedWindowRect.right,
                              g_sharedWindowRect.bottom);
    m_controlBar->ShowBar();
  } else if (!m_controlBar && CreateControlBar()) {
    m_controlBar->EnableAutoHide();
  }
  StartBarDocking();
  m_otherWindowShown = FALSE;
  LayoutSkinButtons();
  SendMessage(UM_ATTACH_VIDEO, 0, 0);
  m_active = TRUE;
  Invalidate();
  if (::GetFocus() != m_hWnd) SetFocus();
  m_inputSwitchReady = TRUE;
}

// ---- Buttons

BOOL CTVSkinDlg::Allows(LPCSTR name) const { return IsButtonUsable(name); }

void CTVSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) return;
  if (name == "FULLSCREEN_BUTTON") {
    ToggleFullScreen();
    return;
  }
  if (!Allows(name)) return;
  if (name == "RETURN_BUTTON") {
    ReturnToLauncher(FALSE);
  } else if (name == "MAIN_BUTTON") {
    ReturnToLauncher(TRUE);
  } else if (name == "MINISIZE_BUTTON") {
    if (CWnd* main = MainWindow()) main->ShowWindow(SW_MINIMIZE);
  } else if (name == "NORMAL_BUTTON") {
    if (g_isMaximized && m_skinLoaded) RestorePlacement();
    else MaximizeToWorkArea(TRUE);
  } else if (name == "CLOSE_BUTTON") {
    HideBar();
    CloseChannelWindow();
    if (CWnd* main = MainWindow()) main->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (name == "HELP_BUTTON") {
    ShowHelp(GetAppFolder());
  } else if (name == "SETTING_BUTTON") {
    OpenSettingsHub();
  } else if (name == "TVWALL_BUTTON") {
    StopScheduledRun();
    ReleaseBarPointer();
    StartMosaic();
  } else if (name == "SINGLE_BUTTON") {
    OpenVideoWindow();
  } else if (name == "CHANNEL_BUTTON") {
    OpenChannelWindow();
  } else if (name == "RECORDTV_BUTTON") {
    OpenMediaPlayer();
  }
}

// Both windows shown in the TV window's place: the bar put away, the schedule stopped.
void CTVSkinDlg::LeaveForWindowInPlace() {
  m_active = FALSE;
  m_otherWindowShown = TRUE;
  StoreSharedRect();
  if (g_pAppController) g_pAppController->StopScheduledRecording();
  HideBar();
  ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
}

void CTVSkinDlg::OpenChannelWindow() {
  LeaveForWindowInPlace();
  if (!g_pChannelDlg) {
    auto* channels = new (std::nothrow) CChannelDlg(this);
    if (!channels) return;
    if (!channels->Create(CChannelDlg::IDD, this)) {
      delete channels;
      return;
    }
    g_pChannelDlg = channels;
  }
  ShowWindow(SW_HIDE);
  g_pChannelDlg->ShowWindow(SW_SHOW);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kChannelDisplayMode);
}

void CTVSkinDlg::CloseChannelWindow() {
  if (!g_pChannelDlg) return;
  if (g_pChannelDlg->GetSafeHwnd()) g_pChannelDlg->ShowWindow(SW_HIDE);
  m_closedChannelDlgs.push_back(g_pChannelDlg);
  g_pChannelDlg = nullptr;
  if (m_hWnd) PostMessage(UM_RELEASE_CHANNEL_WINDOW, 0, 0);
}

void CTVSkinDlg::CloseReplacingWindow() {
  if (!g_pDisplayMode) return;
  if (g_pDisplayMode->Is125()) {
    CloseChannelWindow();
  } else if (g_pDisplayMode->Is205() && m_freeVideoWindow) {
    m_freeVideoWindow->Show(SW_HIDE);
    if (m_hWnd) PostMessage(UM_DELETE_VIDEO_WINDOW, 0, 0);
  }
}

LRESULT CTVSkinDlg::OnReleaseChannelWindow(WPARAM, LPARAM) {
  for (CChannelDlg* channels : m_closedChannelDlgs) {
    if (channels->GetSafeHwnd()) channels->DestroyWindow();
    delete channels;
  }
  m_closedChannelDlgs.clear();
  return 0;
}

// A hub that cannot be made ends the button where it stands: the TV window stays visible.
void CTVSkinDlg::OpenSettingsHub() {
  LeaveForWindowInPlace();
  if (!g_pSetDlg) {
    auto* hub = new (std::nothrow) CSetDlg(this);
    if (!hub) return;
    if (!hub->Create(CSetDlg::IDD, this)) {
      delete hub;
      return;
    }
    g_pSetDlg = hub;
  }
  g_pSetDlg->ShowAtSharedRect();
  g_pSetDlg->SetOpenedFromLauncher(0);
  ShowWindow(SW_HIDE);
  g_pSetDlg->ShowWindow(SW_SHOW);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kSettingsDisplayMode);
}

// The player takes this window's place with the capture set aside; a player that cannot
// be made leaves the window where it stands.
void CTVSkinDlg::OpenMediaPlayer() {
  m_active = FALSE;
  m_otherWindowShown = TRUE;
  StopScheduledRun();
  HideBar();
  StoreSharedRect();
  ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  if (g_pAppController && g_pAppController->IsPreviewing()) {
    g_pAppController->CloseTvForMedia();
    ::Sleep(kCaptureSettleMs);
  }
  CAVDlg* player = CAVDlg::MakePlayer(this);
  if (!player) return;
  ShowWindow(SW_HIDE);
  player->ShowPlayer(FALSE);
  player->ShowWindow(SW_SHOW);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kAVDisplayMode);
}

void CTVSkinDlg::ReturnToLauncher(BOOL hideAfter) {
  HideBar();
  if (g_pAppController) g_pAppController->StopPreview();
  StoreSharedRect();
  if (!hideAfter) ShowWindow(SW_HIDE);
  m_otherWindowShown = TRUE;
  m_active = FALSE;
  if (CWnd* main = MainWindow()) {
    main->ShowWindow(SW_SHOW);
    main->SendMessage(UM_REFRESH_LAYOUT, 0, 0);
  }
  if (hideAfter) ShowWindow(SW_HIDE);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
}

void CTVSkinDlg::EnableButtonsForState(int state) {
  for (int i = 0; i < GetSkinButtonCount(); ++i) {
    CSkinButton* button = GetSkinButton(i);
    switch (state) {
      case 0:
        button->SetDisabled(!IsNamed(button, {"RETURN_BUTTON", "CLOSE_BUTTON", "NORMAL_BUTTON", "HELP_BUTTON",
                                              "MINISIZE_BUTTON", "RECORDTV_BUTTON", "MAIN_BUTTON"}));
        break;
      case 2: button->SetDisabled(FALSE); break;
      case 3:
      case 12:
      case 14:
        button->SetDisabled(!IsNamed(button, {"FULLSCREEN_BUTTON", "HELP_BUTTON", "MINISIZE_BUTTON", "NORMAL_BUTTON"}));
        break;
      case 7:
      case 9:
      case 10:
        button->SetDisabled(IsNamed(button, {"RETURN_BUTTON", "SETTING_BUTTON", "CLOSE_BUTTON", "CHANNEL_BUTTON",
                                             "TVWALL_BUTTON", "RECORDTV_BUTTON", "MAIN_BUTTON", "SINGLE_BUTTON"}));
        break;
      case 11:
      case 13: button->SetDisabled(IsNamed(button, {"CHANNEL_BUTTON", "TVWALL_BUTTON"})); break;
      default: break;
    }
  }
  if (state == 9 || state == 10) SetFocus();
}

LRESULT CTVSkinDlg::OnRunStateChanged(WPARAM wParam, LPARAM lParam) {
  if (g_pDisplayMode && g_pDisplayMode->GetMode() == kChannelDisplayMode) {
    if (g_pChannelDlg) g_pChannelDlg->SendMessage(UM_RUNSTATE_CHANGED, wParam, lParam);
    return 0;
  }
  EnableButtonsForState(static_cast<int>(wParam));
  if (m_controlBar) m_controlBar->PostMessage(UM_BAR_STATE, wParam, lParam);
  return 0;
}

// ---- Bar commands

void CTVSkinDlg::StartRecording() {
  if (g_pAppController && g_pAppController->IsPreviewing()) g_pAppController->RequestManualRecording();
}

void CTVSkinDlg::StopMovie() {
  if (m_mosaic) PostMessage(UM_MOSAIC_CLOSED, kMosaicClosedByUser, 0);
  else StopRecording();
}

// The recording's file name is asked for while it records and shown as it stops.
void CTVSkinDlg::StopRecording() {
  if (!g_pAppController || !g_pAppController->IsRecording()) return;
  CString file;
  g_pAppController->GetRecordFileName(file);
  if (g_pTaskbarNotifier && !file.IsEmpty()) g_pTaskbarNotifier->Show(WrapNoticeText(file), 500, 3000, 500, 1);
  g_pAppController->StopRecordingRequest();
}

void CTVSkinDlg::VolumeStep(int down) {
  if (!g_pAppController) return;
  const int volume = g_pAppController->VolumeStep(down);
  if (m_controlBar) m_controlBar->SetVolumePos(volume);
}

void CTVSkinDlg::TakeSnapshot() {
  if (!g_pAppController) return;
  CString file;
  if (!g_pAppController->TakeSnapshot(file) || file.IsEmpty()) return;
  AppendMediaList(GetAppFolder() + kPictureHistoryFile, file, kMediaListPicture);
  if (g_pTaskbarNotifier) g_pTaskbarNotifier->Show(WrapNoticeText(file), 500, 3000, 500, 1);
}

LRESULT CTVSkinDlg::OnBarCommand(WPARAM wParam, LPARAM) {
  const CString name = reinterpret_cast<LPCSTR>(wParam);
  if (!g_pAppController) return 0;
  if (name == "RECORD_MOVIE") {
    StartRecording();
  } else if (name == "STOP_MOVIE") {
    StopMovie();
  } else if (name == "ADD_SND") {
    VolumeStep(0);
  } else if (name == "SUB_SND") {
    VolumeStep(1);
  } else if (name == "MUTE_SND") {
    g_pAppController->ToggleMute();
  } else if (name == "RETURN_ChANNELS") {
    g_pAppController->RetuneCurrentChannel();
  } else if (name == "NEXT_CHANNELS") {
    // One rule for the bar, the keys and the remote: "previous" is channel up (Page Up,
    // remote key 18), "next" channel down (Page Down, remote key 19).
    g_pAppController->StepChannel(0);
  } else if (name == "PRE_CHANNELS") {
    g_pAppController->StepChannel(1);
  } else if (name == "JIETU_PIC") {
    TakeSnapshot();
  }
  SetFocus();
  return 0;
}

LRESULT CTVSkinDlg::OnSliderTrack(WPARAM wParam, LPARAM lParam) {
  if (wParam == CShapeBarDlg::kVolumeSliderId && g_pAppController)
    g_pAppController->SetVolume(static_cast<int>(lParam));
  return 0;
}

// ---- Full screen

void CTVSkinDlg::ToggleFullScreen() {
  if (m_mosaic) {
    m_mosaic->ToggleFullScreen();
    return;
  }
  if (!m_videoArea) return;
  m_videoArea->ToggleFullScreen();
  if (m_controlBar && !m_controlBar->IsShown()) m_controlBar->ShowBar();
}

LRESULT CTVSkinDlg::OnEnterFullScreen(WPARAM wParam, LPARAM) {
  if (wParam == 1) {
    if (m_controlBar) m_controlBar->PostMessage(UM_BAR_CONTROL, 1, g_isMaximized || m_fullScreen);
    return 0;
  }
  if (!g_pAppController) return 0;
  if (m_controlBar && (g_pAppController->IsRecording() || g_pAppController->IsPreviewing()))
    m_controlBar->SetKeepCursor(FALSE);
  m_fullScreen = TRUE;
  ShowSkinButtons(FALSE);
  CoverScreenForFullScreen();
  return 0;
}

LRESULT CTVSkinDlg::OnLeaveFullScreen(WPARAM, LPARAM) {
  ShowButtonsAfterFullScreen();
  if (g_pAppController) SendMessage(UM_RUNSTATE_CHANGED, static_cast<WPARAM>(RunState()), 0);
  if (!g_isMaximized) {
    LoadShapeRegion(FALSE);
    SwitchButtonLayout(FALSE);
    if (g_sharedPlacement) SetWindowPlacement(g_sharedPlacement);
    MoveWindow(&g_sharedWindowRect, TRUE);
    LayoutSkinButtons();
  }
  RedockBarAfterFullScreen();
  return 0;
}

// ---- Remote keys, keys and navigation

LRESULT CTVSkinDlg::OnRemoteKey(WPARAM wParam, LPARAM lParam) {
  if (!g_pAppController || !g_pDisplayMode) return 0;
  if (g_pDisplayMode->GetMode() == kChannelDisplayMode) {
    if (g_pChannelDlg) g_pChannelDlg->SendMessage(UM_REMOTE_KEY, wParam, lParam);
    return 0;
  }
  if (g_pDisplayMode->GetMode() == kVideoWindowDisplayMode && m_freeVideoWindow) {
    ::SendMessageA(m_freeVideoWindow->GetSafeHwnd(), UM_REMOTE_KEY, wParam, lParam);
    return 0;
  }
  if (!g_pDisplayMode->Is110()) return 0;
  ClearGuards();
  const int key = static_cast<int>(lParam);
  if (key > 74) return 0;
  if (key >= 0 && key <= 9) {
    g_pAppController->EnterDigitFull(key);
    return 0;
  }
  switch (key) {
    case 10: g_pAppController->TuneByName(); break;
    case 12: g_pAppController->ToggleMute(); break;
    case 14: SwitchRemoteInput(FALSE); break;
    case 16: VolumeStep(0); break;
    case 17: VolumeStep(1); break;
    case 18: g_pAppController->StepChannel(1); break;
    case 19: g_pAppController->StepChannel(0); break;
    // Any process may send this message: its shut-down flag is not honoured.
    case 20:
      if (g_pAppController->IsPreviewing()) OnSkinButton("CLOSE_BUTTON");
      break;
    case 21: PressMarkedButton(); break;
    case 23:
      if (m_controlBar) StopMovie();
      break;
    case 24: SwitchRemoteInput(TRUE); break;
    case 26:
      if (m_controlBar) StartRecording();
      break;
    case 28: g_pAppController->RetuneCurrentChannel(); break;
    case 30: TakeSnapshot(); break;
    case 31: Navigate(-1); break;
    case 68: Navigate(1); break;
    case 70:
      if (!m_fullScreen) OnSkinButton("RETURN_BUTTON");
      break;
    case 74: ToggleFullScreen(); break;
    default: break;
  }
  return 0;
}

// A switch does not start while another one runs.
void CTVSkinDlg::SwitchRemoteInput(BOOL tuner) {
  if (!m_inputSwitchReady) return;
  m_inputSwitchReady = FALSE;
  if (tuner) g_pAppController->SelectTuner();
  else g_pAppController->SelectComposite();
  m_inputSwitchReady = TRUE;
}

// Only the buttons 6, 7, 9 and 10 take part: on live TV in that order, on an external
// input 6 and 10 in turn.
void CTVSkinDlg::Navigate(int step) {
  if (GetSkinButtonCount() < 11) return;
  const int state = RunState();
  const int marked = FindMarkedButton(6);
  int next = -1;
  if (state == 2) {
    static const int order[] = {6, 7, 9, 10};
    int at = -1;
    for (int i = 0; i < 4; ++i)
      if (order[i] == marked) at = i;
    next = at < 0 ? 7 : order[(at + (step > 0 ? 1 : 3)) % 4];
  } else if (state == 11 || state == 13) {
    next = marked < 0 ? 10 : (marked == 6 ? 10 : 6);
  } else {
    return;
  }
  MoveButtonMark(marked, next);
}

void CTVSkinDlg::PressMarkedButton() {
  if (m_mosaic) {
    PostMessage(UM_MOSAIC_CLOSED, kMosaicClosedByUser, 0);
    return;
  }
  if (m_fullScreen) return;
  ClearGuards();
  for (int i = kFirstMarkableButton; i < GetSkinButtonCount(); ++i) {
    CSkinButton* button = GetSkinButton(i);
    if (!button->GetHover()) continue;
    if (button->GetName() == "FULLSCREEN_BUTTON") ToggleFullScreen();
    else OnSkinButton(button->GetName());
    button->SetHover(FALSE);
    Invalidate();
    return;
  }
}

LRESULT CTVSkinDlg::OnHoverHint(WPARAM, LPARAM) {
  UnmarkButtonsFrom(kFirstMarkableButton);
  return 0;
}

BOOL CTVSkinDlg::PreTranslateMessage(MSG* pMsg) {
  // The free-standing video window this window owns sees its keys through it; they are
  // that window's own (the launcher hands them on).
  if (m_freeVideoWindow && pMsg->hwnd == m_freeVideoWindow->GetSafeHwnd()) return FALSE;
  const BOOL ctrl = ::GetKeyState(VK_CONTROL) < 0;
  const BOOL shift = ::GetKeyState(VK_SHIFT) < 0;
  if (pMsg->message == WM_SYSKEYDOWN) {
    if (pMsg->wParam == VK_RETURN) {
      ToggleFullScreen();
      return TRUE;
    }
    if (pMsg->wParam == VK_F10) {
      VolumeStep(0);
      return TRUE;
    }
  }
  if (pMsg->message != WM_KEYDOWN) return CDialog::PreTranslateMessage(pMsg);
  const WPARAM key = pMsg->wParam;
  if (!g_pAppController && key != VK_ESCAPE) return CDialog::PreTranslateMessage(pMsg);
  if (key >= '0' && key <= '9') {
    g_pAppController->EnterDigit(static_cast<int>(key - '0'));
    return TRUE;
  }
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
    g_pAppController->EnterDigit(static_cast<int>(key - VK_NUMPAD0));
    return TRUE;
  }
  switch (key) {
    case VK_ESCAPE:
      if (m_mosaic) {
        PostMessage(UM_MOSAIC_CLOSED, kMosaicEscaped, 0);
      } else if (m_fullScreen && m_controlBar) {
        m_controlBar->KillHideTimer();
        m_controlBar->ShowBar();
        m_videoArea->LeaveFullScreen();
        if (!m_controlBar->IsShown()) m_controlBar->ShowBar();
        ClearGuards();
      }
      return TRUE;
    case 'R':
      if (ctrl && !shift) {
        StartRecording();
        return TRUE;
      }
      break;
    case 'S':
      if (ctrl && !shift) {
        StopMovie();
        return TRUE;
      }
      if (ctrl && shift) {
        if (m_videoArea) ClearGuards();
        OnSkinButton("TVWALL_BUTTON");
        return TRUE;
      }
      break;
    case 'H':
    case VK_F1: ShowHelp(GetAppFolder()); return TRUE;
    case VK_F8: g_pAppController->ToggleMute(); return TRUE;
    case VK_F5: TakeSnapshot(); return TRUE;
    case VK_F9: VolumeStep(1); return TRUE;
    case VK_PRIOR: g_pAppController->StepChannel(1); return TRUE;
    case VK_NEXT: g_pAppController->StepChannel(0); return TRUE;
    case VK_LEFT:
    case VK_RIGHT: return TRUE;
    case VK_UP: Navigate(-1); return TRUE;
    case VK_DOWN: Navigate(1); return TRUE;
    case VK_RETURN: PressMarkedButton(); return TRUE;
    case VK_BACK:
      if (!m_fullScreen) {
        ClearGuards();
        OnSkinButton("RETURN_BUTTON");
      }
      return TRUE;
    default: break;
  }
  return CDialog::PreTranslateMessage(pMsg);
}

// ---- Other messages

LRESULT CTVSkinDlg::OnAttachVideo(WPARAM, LPARAM) {
  if (g_pAppController && m_videoArea) {
    g_pAppController->SetVideoOwner(m_videoArea->GetSafeHwnd());
    g_pAppController->SetVideoWindow(m_videoArea->GetSafeHwnd());
  }
  return 0;
}

// In front again, where the shared placement says, with the bar along its bottom.
void CTVSkinDlg::ComeBackToFront() {
  m_otherWindowShown = FALSE;
  PlaceWindow();
  if (!m_controlBar) return;
  m_controlBar->SetDockRect(g_sharedWindowRect.left, g_sharedWindowRect.top, g_sharedWindowRect.right,
                            g_sharedWindowRect.bottom);
  m_controlBar->ShowBar();
}

LRESULT CTVSkinDlg::OnRefreshLayout(WPARAM, LPARAM) {
  ComeBackToFront();
  if (m_controlBar) m_controlBar->SetVolumePos(CAppController::GetVolume());
  LayoutSkinButtons();
  m_active = TRUE;
  m_inputSwitchReady = TRUE;
  Invalidate();
  CloseChannelWindow();
  CloseSettingsHub();
  // The player posted its return: it is no longer on the stack and may go.
  CAVDlg::DestroyPlayer();
  SetFocus();
  return 0;
}

LRESULT CTVSkinDlg::OnControllerCommand(WPARAM wParam, LPARAM) {
  if (!g_pAppController) return 0;
  switch (wParam) {
    case kOpenPreviewCommand: g_pAppController->OpenPreview(); break;
    case kRunCaptureCommand:
      if (!g_pAppController->IsPreviewing()) break;
      g_pAppController->CaptureGraphRun();
      if (g_pAppController->IsTvMode()) g_pAppController->SelectComposite();
      else g_pAppController->SelectTuner();
      break;
    case kStopCaptureCommand: g_pAppController->CaptureGraphStop(); break;
    default: break;
  }
  return 0;
}

void CTVSkinDlg::OnTimer(UINT_PTR nIDEvent) {
  if (g_pAppController && nIDEvent == kDigitTimer) g_pAppController->OnDigitTimer();
  else if (g_pAppController && nIDEvent == kDigitTimerFull) g_pAppController->OnDigitTimerFull();
  else if (nIDEvent == kMosaicTimer) StepMosaic();
  else CDockedBarSkinDlg::OnTimer(nIDEvent);
}

// The bar is docked and woken again where it hides by itself (maximised, full screen) or
// while it is not shown; a bar standing in a restored window is left where it is.
void CTVSkinDlg::OnMouseMove(UINT nFlags, CPoint point) {
  ClearGuards();
  WakeBar(TRUE);
  CDockedBarSkinDlg::OnMouseMove(nFlags, point);
}

void CTVSkinDlg::OnLButtonDblClk(UINT nFlags, CPoint point) {
  m_dblClickSeen = TRUE;
  if (!IsInCaptionStrip(point)) return;
  if (!g_isMaximized) {
    StoreSharedRect();
    MaximizeToWorkArea(TRUE);
  } else if (m_skinLoaded) {
    RestorePlacement();
    SetFocus();
  }
  CDialog::OnLButtonDblClk(nFlags, point);
}

LRESULT CTVSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (wParam && g_pChannelDlg) g_pChannelDlg->SendMessage(WM_ACTIVATE, 1, 0);
      if (wParam && !m_fullScreen && !m_mosaic) {
        LayoutSkinButtons();
        LayoutHostedControl();
      }
      return 0;
    case WM_EXITSIZEMOVE:
      LayoutAfterSizing();
      return 0;
    case WM_WINDOWPOSCHANGED:
      if (!g_isMaximized && !m_fullScreen) PlaceBar();
      break;
    case WM_POWERBROADCAST: {
      const BOOL vista = IsVistaProductName();
      const BOOL resumed = vista ? wParam == PBT_APMRESUMEAUTOMATIC
                                 : (wParam == PBT_APMRESUMESUSPEND || wParam == PBT_APMRESUMECRITICAL);
      if (resumed) {
        if (g_pAppController && g_pDisplayMode && g_pDisplayMode->Is110()) g_pAppController->OpenPreview();
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      }
      return 0;
    }
    case WM_HELP: return 0;
    case WM_SIZE:
      if (HidesBehindOtherWindow(wParam)) return 0;
      break;
    case WM_SYSCOMMAND:
      if (CloseProgramFromSystemMenu(wParam)) return 0;
      break;
    case WM_GETMINMAXINFO: {
      const LRESULT result = CDockedBarSkinDlg::WindowProc(message, wParam, lParam);
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {800, 600};
      return result;
    }
    default: break;
  }
  return CDockedBarSkinDlg::WindowProc(message, wParam, lParam);
}

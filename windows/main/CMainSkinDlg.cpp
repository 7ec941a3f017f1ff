#include "windows/main/CMainSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "graphs/CCaptureGraph.h"
#include "graphs/CGraphBase.h"
#include "graphs/WindowsVersion.h"
#include "skin/CIniFile.h"
#include "skin/SkinValues.h"
#include "skin/CSkinButton.h"
#include "skin/CTaskbarNotifier.h"
#include "windows/main/CAVDlg.h"
#include "windows/main/CTVDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/CSetDlg.h"
#include "windows/media/CPICDlg.h"
#include "windows/media/CVideoDlg.h"

#include <dshow/control.h>
#include <dshow/evcode.h>
#include <com/oleidl.h>
#include <win32/codepage.h>
#include <vendor/language/Language.h>
#include <vendor/swflash/swflash.h>
#include <win32/file.h>
#include <win32/handleapi.h>
#include <win32/shell/power.h>
#include <win32/shell/shellapi.h>

#include <cctype>
#include <new>

namespace {

// The caption buttons (keys 1 to 4) take no part in key navigation.
constexpr int kFirstNavigableButton = 4;
constexpr int kShutdownFailedText = 0;
constexpr UINT kAboutCommand = 16;
constexpr UINT kAboutDialog = 100;
constexpr int kTVDisplayMode = 110;
constexpr int kSettingsDisplayMode = 120;
constexpr int kHardwareDisplayMode = 175;
constexpr int kAVDisplayMode = 115;
constexpr int kPictureDisplayMode = 135;
constexpr int kChannelDisplayMode = 125;
constexpr int kVideoEditorDisplayMode = 145;
constexpr int kVideoWindowDisplayMode = 205;
constexpr UINT kFlashControlId = 1023;
// The hover movies of the buttons with command ids 5004 to 5008.
constexpr int kFirstHoverCommand = 5004;
constexpr int kWebHoverCommand = 5009;
const int kHoverMovieOf[] = {1, 2, 3, 4, 6};

static_assert(UM_GRAPH_EVENT == 0x428);

// The hub and its pages: the hub passes remote keys on to the page in front.
bool IsSettingsMode(int mode) {
  for (int settings : {kSettingsDisplayMode, 155, 165, kHardwareDisplayMode, 185, 195})
    if (mode == settings) return true;
  return false;
}

}  // namespace

BEGIN_MESSAGE_MAP(CMainSkinDlg, CSkinDialog)
  ON_MESSAGE(UM_REMOTE_KEY, OnRemoteKey)
  ON_MESSAGE(UM_REFRESH_LAYOUT, OnRefreshLayout)
  ON_MESSAGE(UM_HOVER_HINT, OnHoverHint)
  ON_MESSAGE(UM_CONTROLLER_COMMAND, OnControllerCommand)
  ON_MESSAGE(UM_SHOW_MAIN, OnShowMain)
  ON_WM_TIMER()
  ON_WM_CLOSE()
  ON_WM_GETMINMAXINFO()
  ON_WM_SIZING()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CMainSkinDlg::CMainSkinDlg(UINT nIDTemplate, CWnd* pParent) : CSkinDialog(nIDTemplate, pParent, "Main-SystemButtons", "Main-SystemButtonsMin") {
  m_sizedFlag = TRUE;
}

CMainSkinDlg::~CMainSkinDlg() { ReleaseOwnedObjects(); }

// The controller's timers run on this window: everything goes while it still exists.
void CMainSkinDlg::OnDestroy() {
  ReleaseOwnedObjects();
  CSkinDialog::OnDestroy();
}

void CMainSkinDlg::ReleaseOwnedObjects() {
  ReleaseFlashPlayer();
  DeleteCaptureTempFiles();
  CAVDlg::DestroyPlayer();
  DeleteWindow(m_pVideoDlg);
  DeleteWindow(m_pPICDlg);
  CloseSettingsHub();
  ReleaseClosedSettingsHubs();
  DeleteTVWindow();
  if (g_pTaskbarNotifier) {
    g_pCaptureNotices = nullptr;
    if (g_pTaskbarNotifier->GetSafeHwnd()) g_pTaskbarNotifier->DestroyWindow();
    delete g_pTaskbarNotifier;
    g_pTaskbarNotifier = nullptr;
  }
  delete g_pAppController;
  g_pAppController = nullptr;
  delete g_pDisplayMode;
  g_pDisplayMode = nullptr;
  // Last: the windows above may still place themselves while they go.
  FreeSharedPlacement();
}

// Only the clip player's frame captures ("cap<n>_<n>.bmp") are the program's own; other
// files of the temporary folder that happen to start with "Cap" are left alone.
void CMainSkinDlg::DeleteCaptureTempFiles() {
  char temp[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathA(sizeof temp, temp);
  if (length < 1 || length > MAX_PATH) return;
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA(CString(temp) + "Cap*.bmp", &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    unsigned first = 0;
    unsigned second = 0;
    char tail[8] = {};
    // The whole name must be "cap", digits, "_", digits, ".bmp".
    if (std::sscanf(found.cFileName + 3, "%u_%u%7s", &first, &second, tail) == 3 && CString(tail).CompareNoCase(".bmp") == 0 &&
        std::isdigit(static_cast<unsigned char>(found.cFileName[3])))
      ::DeleteFileA(CString(temp) + found.cFileName);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

BOOL CMainSkinDlg::LoadSkin(const CString& skinFile) {
  m_skinFile = skinFile;
  MaximizeToWorkArea(FALSE);
  CRect client;
  GetClientRect(&client);
  InitSharedPlacement(client.Width(), client.Height());
  CreateSkinButtons(TRUE);
  CreateFlashPlayer();
  LayoutSkinButtons();
  if (!CreateOwnedObjects()) return FALSE;
  CreateNotifier();
  Invalidate();
  SetTimer(kKeepAwakeTimer, kKeepAwakeTimerMs, nullptr);
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  return TRUE;
}

BOOL CMainSkinDlg::CreateOwnedObjects() {
  if (!g_pDisplayMode) {
    g_pDisplayMode = new (std::nothrow) CDisplayMode;
    if (!g_pDisplayMode) return FALSE;
    g_pDisplayMode->SetMode(105);
  }
  if (!g_pAppController) {
    g_pAppController = new (std::nothrow) CAppController;
    if (!g_pAppController) return FALSE;
    return g_pAppController->Startup();
  }
  return TRUE;
}

void CMainSkinDlg::CreateNotifier() {
  if (g_pTaskbarNotifier) return;
  g_pTaskbarNotifier = new (std::nothrow) CTaskbarNotifier;
  if (!g_pTaskbarNotifier) return;
  if (!g_pTaskbarNotifier->Create(this)) {
    delete g_pTaskbarNotifier;
    g_pTaskbarNotifier = nullptr;
    return;
  }
  if (HBITMAP skin = m_logo.GetMessageWindowLogo()) g_pTaskbarNotifier->SetSkin(skin, -1, -1, -1);
  g_pTaskbarNotifier->SetTextFont("Arial", 90, 0, 4);
  g_pTaskbarNotifier->SetTextColor(0, 0xC80000);
  CRect notice;
  g_pTaskbarNotifier->GetWindowRect(&notice);
  g_pTaskbarNotifier->SetTextRect(CRect(10, 40, notice.Width() - 10, notice.Height() - 25));
  // The capture graph's notices show in it too.
  g_pCaptureNotices = g_pTaskbarNotifier;
}

// The maker's logo in the top left corner, over the background and the buttons.
void CMainSkinDlg::PaintSkin(CDC& dc) {
  CSkinDialog::PaintSkin(dc);
  HBITMAP logo = m_logo.GetCompanyLogo();
  if (!logo) return;
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int h = client.Height();
  StretchDrawBitmap(dc.GetSafeHdc(), w * 5 / 1024, 0, w * 44 / 1024, h * 35 / 768, logo);
  ::DeleteObject(logo);
}

// ---- The animation player

// "bmp": six movie files, the player's design rectangle and its background colour.
void CMainSkinDlg::CreateFlashPlayer() {
  const CIniFile ini(m_skinFile);
  CStringArray keys;
  if (m_flashHost || !ini.GetSectionKeys("Main-NewSkinStatic", keys)) return;
  CString value = ini.GetString("Main-NewSkinStatic", "bmp", "");
  const CString folder = GetFullPath(m_skinFile);
  for (int k = 1; k <= 6; ++k) m_hoverMovies[k] = folder + CutField(value);
  m_flashRect = CutRect(value);
  const int red = FieldToInt(CutField(value)) & 0xFF;
  const int green = FieldToInt(CutField(value)) & 0xFF;
  const int blue = FieldToInt(CutField(value)) & 0xFF;
  // Without the registered player the launcher goes on without the picture.
  if (FAILED(::CoCreateInstance(CLSID_AnimationPlayer, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&m_flashHost))))
    return;
  const CRect rect = FlashRect();
  IOleInPlaceObject* inPlace = nullptr;
  HWND player = nullptr;
  if (FAILED(m_flashHost->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, m_hWnd, &rect)) ||
      FAILED(m_flashHost->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
    ReleaseFlashPlayer();
    return;
  }
  inPlace->GetWindow(&player);
  inPlace->Release();
  if (player) ::SetWindowLongPtrA(player, GWLP_ID, kFlashControlId);
  if (FAILED(m_flashHost->QueryInterface(IID_IAnimationPlayer, reinterpret_cast<void**>(&m_flashPlayer)))) return;
  m_flashPlayer->put_BackgroundColor(red | green << 8 | blue << 16);
  PlayMovie(m_hoverMovies[1]);
}

void CMainSkinDlg::PlayMovie(const CString& movie) {
  if (!m_flashPlayer) return;
  WCHAR wide[MAX_PATH] = {};
  ::MultiByteToWideChar(CP_ACP, 0, movie, -1, wide, MAX_PATH - 1);
  BSTR url = ::SysAllocString(wide);
  m_flashPlayer->Stop();
  m_flashPlayer->LoadMovie(0, url);
  m_flashPlayer->Play();
  ::SysFreeString(url);
}

void CMainSkinDlg::ReleaseFlashPlayer() {
  if (m_flashPlayer) m_flashPlayer->Release();
  m_flashPlayer = nullptr;
  if (m_flashHost) {
    m_flashHost->Close(OLECLOSE_NOSAVE);
    m_flashHost->Release();
  }
  m_flashHost = nullptr;
}

// The player's own context menu never opens; a press on it repaints it before it takes
// the press.
BOOL CMainSkinDlg::FilterPlayerMessage(const MSG* pMsg) {
  if (pMsg->message != WM_RBUTTONDOWN && pMsg->message != WM_LBUTTONDOWN) return FALSE;
  HWND player = m_flashHost ? ::GetDlgItem(m_hWnd, kFlashControlId) : nullptr;
  if (!player || (pMsg->hwnd != player && !::IsChild(player, pMsg->hwnd))) return FALSE;
  if (pMsg->message == WM_RBUTTONDOWN) return TRUE;
  ::RedrawWindow(player, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return FALSE;
}

CRect CMainSkinDlg::FlashRect() const {
  CRect client;
  GetClientRect(&client);
  return ScaleDesignRect(m_flashRect, client.Width(), client.Height());
}

void CMainSkinDlg::LayoutHostedControl() {
  if (!m_flashHost) return;
  IOleInPlaceObject* inPlace = nullptr;
  if (FAILED(m_flashHost->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) return;
  const CRect rect = FlashRect();
  inPlace->SetObjectRects(&rect, &rect);
  inPlace->Release();
}

// ---- Buttons

void CMainSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) return;
  if (name == "CLOSE_BUTTON") {
    PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (name == "MAX_BUTTON") {
    ToggleMaximized();
  } else if (name == "HELP_BUTTON") {
    ShowHelp(GetAppFolder());
  } else if (name == "MIN_BUTTON") {
    ShowWindow(SW_MINIMIZE);
  } else if (name == "TV_BUTTON") {
    OpenTVWindow();
  } else if (name == "SET_BUTTON") {
    OpenSettingsHub();
  } else if (name == "FILM_BUTTON") {
    OpenMediaPlayer();
  } else if (name == "PIC_BUTTON") {
    OpenPictureWindow();
  } else if (name == "VIDEO_BUTTON") {
    OpenVideoEditor();
  } else if (name == "WEB_BUTTON") {
    const CString web = m_logo.GetCompanyWeb();
    if (!web.IsEmpty()) ::ShellExecuteA(nullptr, "open", web, nullptr, nullptr, SW_SHOWNORMAL);
  }
}

void CMainSkinDlg::OpenTVWindow() {
  m_busy = TRUE;
  StoreSharedRect();
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  if (m_pTVDlg) {
    m_pTVDlg->ReopenTV();
  } else {
    m_pTVDlg = new (std::nothrow) CTVDlg(this);
    if (m_pTVDlg && !m_pTVDlg->Create(CTVDlg::IDD, this)) DeleteTVWindow();
    if (!m_pTVDlg) {
      ::SetCursor(previous);
      m_busy = FALSE;
      return;
    }
  }
  ::ReleaseCapture();
  ShowWindow(SW_HIDE);
  m_pTVDlg->ShowWithVideo(TRUE);
  m_otherWindowShown = TRUE;
  m_busy = FALSE;
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kTVDisplayMode);
}

// The player comes up in media mode, owned by the TV window when there is one, and leads
// back here.
void CMainSkinDlg::OpenMediaPlayer() {
  m_busy = TRUE;
  StoreSharedRect();
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  if (g_pAppController && !g_pAppController->IsMediaMode()) g_pAppController->EnterMediaMode();
  CAVDlg* player = CAVDlg::MakePlayer(m_pTVDlg);
  if (!player) {
    ::SetCursor(previous);
    m_busy = FALSE;
    return;
  }
  player->ShowPlayer(TRUE);
  ::ReleaseCapture();
  ShowWindow(SW_HIDE);
  player->ShowWindow(SW_SHOW);
  m_otherWindowShown = TRUE;
  m_busy = FALSE;
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kAVDisplayMode);
}

template <class Dialog>
void CMainSkinDlg::OpenInFront(Dialog*& window, int displayMode) {
  m_busy = TRUE;
  StoreSharedRect();
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  if (!window) {
    window = new (std::nothrow) Dialog(this);
    if (window && !window->Create(Dialog::IDD, this)) DeleteWindow(window);
    if (!window) {
      ::SetCursor(previous);
      m_busy = FALSE;
      return;
    }
  }
  window->ShowAtSharedRect();
  ::ReleaseCapture();
  window->ShowWindow(SW_SHOW);
  ShowWindow(SW_HIDE);
  m_otherWindowShown = TRUE;
  m_busy = FALSE;
  if (g_pDisplayMode) g_pDisplayMode->SetMode(displayMode);
}

template <class Dialog>
void CMainSkinDlg::DeleteWindow(Dialog*& window) {
  if (!window) return;
  if (window->GetSafeHwnd()) window->DestroyWindow();
  delete window;
  window = nullptr;
}

// The hub is brought up in the launcher's place, its parent the TV window when there is one.
void CMainSkinDlg::OpenSettingsHub() {
  m_busy = TRUE;
  StoreSharedRect();
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  if (!g_pSetDlg) {
    auto* hub = new (std::nothrow) CSetDlg(m_pTVDlg);
    if (hub && !hub->Create(CSetDlg::IDD, m_pTVDlg)) {
      delete hub;
      hub = nullptr;
    }
    if (!hub) {
      ::SetCursor(previous);
      m_busy = FALSE;
      return;
    }
    g_pSetDlg = hub;
  }
  g_pSetDlg->ShowAtSharedRect();
  g_pSetDlg->SetOpenedFromLauncher(1);
  ::ReleaseCapture();
  g_pSetDlg->ShowWindow(SW_SHOW);
  ShowWindow(SW_HIDE);
  m_otherWindowShown = TRUE;
  m_busy = FALSE;
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kSettingsDisplayMode);
}

void CMainSkinDlg::OpenPictureWindow() { OpenInFront(m_pPICDlg, kPictureDisplayMode); }

void CMainSkinDlg::OpenVideoEditor() { OpenInFront(m_pVideoDlg, kVideoEditorDisplayMode); }

void CMainSkinDlg::DeleteTVWindow() {
  if (!m_pTVDlg) return;
  if (m_pTVDlg->GetSafeHwnd()) m_pTVDlg->DestroyWindow();
  delete m_pTVDlg;
  m_pTVDlg = nullptr;
}

// ---- Key navigation

void CMainSkinDlg::MoveHoverMark(int step) {
  const int count = GetSkinButtonCount();
  if (count <= kFirstNavigableButton) return;
  const int hovered = FindMarkedButton(kFirstNavigableButton);
  int next = kFirstNavigableButton;
  if (hovered >= 0) {
    GetSkinButton(hovered)->SetHover(FALSE);
    GetSkinButton(hovered)->Invalidate();
    next = hovered + step;
    if (next < kFirstNavigableButton) next = count - 1;
    if (next >= count) next = kFirstNavigableButton;
  }
  CSkinButton* button = GetSkinButton(next);
  button->SetHover(TRUE);
  if (hovered >= 0) SendMessage(UM_HOVER_HINT, static_cast<WPARAM>(button->GetCommandId()), 1);
  button->Invalidate();
}

void CMainSkinDlg::PressHoveredButton() {
  const int hovered = FindMarkedButton(kFirstNavigableButton);
  if (hovered < 0) return;
  CSkinButton* button = GetSkinButton(hovered);
  button->SetPressed(TRUE);
  button->UpdateWindow();
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  button->SetPressed(FALSE);
  ::SetCursor(previous);
  OnSkinButton(button->GetName());
  button->SetHover(FALSE);
  button->Invalidate();
}

// The movie of the button under the mouse or the keys' mark. The web button's movie plays
// only for the maker's own address.
LRESULT CMainSkinDlg::OnHoverHint(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0) UnmarkButtonsFrom(kFirstNavigableButton);
  const int k = static_cast<int>(wParam) - kFirstHoverCommand;
  if (k >= 0 && k < static_cast<int>(std::size(kHoverMovieOf))) {
    PlayMovie(m_hoverMovies[kHoverMovieOf[k]]);
  } else if (static_cast<int>(wParam) == kWebHoverCommand) {
    CString web = m_logo.GetCompanyWeb();
    web.MakeUpper();
    if (web.Find("TALVIK") >= 0) PlayMovie(m_hoverMovies[5]);
  }
  return 0;
}

// ---- Remote keys

LRESULT CMainSkinDlg::OnRemoteKey(WPARAM wParam, LPARAM lParam) {
  if (!g_pDisplayMode) return 0;
  if (!g_pDisplayMode->Is105()) {
    RelayRemoteKey(wParam, lParam);
    return 0;
  }
  if (m_busy) return 0;
  m_dblClickSeen = FALSE;
  switch (lParam) {
    // Any process may send this message: the shut-down flag it could carry is not
    // honoured, key 20 only closes the program.
    case kRemoteKeyClose: PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case kRemoteKeyPress: PressHoveredButton(); break;
    case kRemoteKeyPrevious: MoveHoverMark(-1); break;
    case kRemoteKeyNext: MoveHoverMark(1); break;
    default: break;
  }
  return 0;
}

void CMainSkinDlg::RelayRemoteKey(WPARAM wParam, LPARAM lParam) {
  HWND target = nullptr;
  const int mode = g_pDisplayMode->GetMode();
  if (m_pTVDlg && ((mode == kTVDisplayMode && m_pTVDlg->IsActive()) || mode == 125 || mode == 205))
    target = m_pTVDlg->GetSafeHwnd();
  if (g_pSetDlg && IsSettingsMode(mode)) target = g_pSetDlg->GetSafeHwnd();
  if (mode == kAVDisplayMode && g_pAVDlg)
    target = g_pAVDlg->GetSafeHwnd();
  if (m_pVideoDlg && mode == kVideoEditorDisplayMode) target = m_pVideoDlg->GetSafeHwnd();
  if (m_pPICDlg && mode == kPictureDisplayMode) target = m_pPICDlg->GetSafeHwnd();
  if (target) ::SendMessageA(target, UM_REMOTE_KEY, wParam, lParam);
}

// ---- Messages relayed by display mode

void CMainSkinDlg::RelayRunState(WPARAM wParam, LPARAM lParam) {
  if (!g_pDisplayMode) return;
  const int mode = g_pDisplayMode->GetMode();
  if (mode == kSettingsDisplayMode && g_pSetDlg) ::SendMessageA(g_pSetDlg->GetSafeHwnd(), UM_RUNSTATE_CHANGED, wParam, lParam);
  if (m_pTVDlg && (mode == kTVDisplayMode || mode == 125 || mode == 205))
    ::SendMessageA(m_pTVDlg->GetSafeHwnd(), UM_RUNSTATE_CHANGED, wParam, lParam);
  else if (mode == kAVDisplayMode && g_pAVDlg)
    ::SendMessageA(g_pAVDlg->GetSafeHwnd(), UM_RUNSTATE_CHANGED, wParam, lParam);
}

LRESULT CMainSkinDlg::OnControllerCommand(WPARAM wParam, LPARAM lParam) {
  if (g_pDisplayMode && g_pDisplayMode->Is110() && m_pTVDlg)
    ::SendMessageA(m_pTVDlg->GetSafeHwnd(), UM_CONTROLLER_COMMAND, wParam, lParam);
  return 0;
}

void CMainSkinDlg::OnDevicesChanged(WPARAM wParam, LPARAM lParam) {
  if (g_pSetDlg && g_pDisplayMode && g_pDisplayMode->GetMode() == kHardwareDisplayMode)
    ::SendMessageA(g_pSetDlg->GetSafeHwnd(), UM_DEVICES_CHANGED, wParam, lParam);
  if (wParam == 1) {
    if (g_pAppController) g_pAppController->OnDevicesChanged();
    return;
  }
  if (wParam == 0 && CAppController::GetCaptureDeviceCount() > 0) {
    for (int i = 0; i < GetSkinButtonCount(); ++i) {
      CSkinButton* button = GetSkinButton(i);
      if (button->GetName() == "TV_BUTTON" && !button->IsEnabled()) button->SetDisabled(FALSE);
    }
  }
}

// The played file's end goes to the media player; other events are taken and dropped,
// and a removed device stops playback.
LRESULT CMainSkinDlg::OnGraphEvent() {
  if (g_pAppController->IsMediaComplete()) {
    if (g_pAVDlg) g_pAVDlg->PostMessage(UM_PLAYBACK_EVENT, 0, 0);
    return 0;
  }
  IMediaEventEx* events = g_pAppController->GetGraphEventInterface();
  if (!events) return 0;
  long code = 0;
  LONG_PTR param1 = 0;
  LONG_PTR param2 = 0;
  while (SUCCEEDED(events->GetEvent(&code, &param1, &param2, 0))) {
    events->FreeEventParams(code, param1, param2);
    if (code != EC_DEVICE_LOST) continue;
    if (param2 == 0) g_pAppController->StopAll();
    break;
  }
  return 0;
}

LRESULT CMainSkinDlg::OnActivateMessage(WPARAM wParam) {
  if (wParam == 0) return 0;
  if (g_pSetDlg) ::SendMessageA(g_pSetDlg->GetSafeHwnd(), WM_ACTIVATE, 1, 0);
  if (g_pAVDlg) ::SendMessageA(g_pAVDlg->GetSafeHwnd(), WM_ACTIVATE, 1, 0);
  if (m_pVideoDlg) ::SendMessageA(m_pVideoDlg->GetSafeHwnd(), WM_ACTIVATE, 1, 0);
  if (m_pPICDlg) ::SendMessageA(m_pPICDlg->GetSafeHwnd(), WM_ACTIVATE, 1, 0);
  if (m_pTVDlg) ::SendMessageA(m_pTVDlg->GetSafeHwnd(), WM_ACTIVATE, 1, 0);
  LayoutSkinButtons();
  return 0;
}

LRESULT CMainSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMQUERYSUSPEND) return BROADCAST_QUERY_DENY;
      if (wParam == PBT_APMSUSPEND) return 0;
      break;
    case WM_ACTIVATE: return OnActivateMessage(wParam);
    case WM_SETTINGCHANGE:
    case WM_HELP:
    case WM_ENTERSIZEMOVE: return 0;
    case WM_EXITSIZEMOVE:
      if (LayoutAfterSizing()) return 0;
      break;
    case WM_SIZE:
      if (HidesBehindOtherWindow(wParam)) return 0;
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_RELOAD_SCHEDULE && g_pAppController) g_pAppController->ScheduleFileChanged();
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == kAboutCommand) {
        CDialog about(kAboutDialog, this);
        about.DoModal();
        return 0;
      }
      break;
    default: break;
  }
  if (message == UM_GRAPH_EVENT && g_pAppController) return OnGraphEvent();
  if (message == UM_RUNSTATE_CHANGED) {
    RelayRunState(wParam, lParam);
    return 0;
  }
  if (message == UM_OPEN_TV_WINDOW) {
    if (g_pDisplayMode && g_pDisplayMode->Is105()) {
      m_dblClickSeen = FALSE;
      OnSkinButton("TV_BUTTON");
    }
    return 0;
  }
  if (message == UM_DEVICES_CHANGED) {
    OnDevicesChanged(wParam, lParam);
    return 0;
  }
  if (message == UM_PLAN_LIST_CHANGED) {
    if (g_pSetDlg && g_pDisplayMode && g_pDisplayMode->Is155())
      ::SendMessageA(g_pSetDlg->GetSafeHwnd(), message, wParam, lParam);
    return 0;
  }
  if (message == UM_RELEASE_SETTINGS_WINDOWS) {
    ReleaseClosedSettingsHubs();
    return 0;
  }
  return CSkinDialog::WindowProc(message, wParam, lParam);
}

BOOL CMainSkinDlg::PreTranslateMessage(MSG* pMsg) {
  // The free-standing video window takes its keys itself, past the dialogs' handling.
  const BOOL videoWindowMode = g_pDisplayMode && g_pDisplayMode->Is205();
  const BOOL altEnter = pMsg->message == WM_SYSKEYDOWN && ::GetKeyState(VK_MENU) < 0 && pMsg->wParam == VK_RETURN;
  if (videoWindowMode && (altEnter || pMsg->message == WM_KEYDOWN)) {
    ::DispatchMessageA(pMsg);
    return TRUE;
  }
  if (FilterPlayerMessage(pMsg)) return TRUE;
  if (pMsg->message != WM_KEYDOWN) return CSkinDialog::PreTranslateMessage(pMsg);
  m_dblClickSeen = FALSE;
  const WPARAM key = pMsg->wParam;
  if (key == VK_ESCAPE) return TRUE;
  if (::GetKeyState(VK_CONTROL) < 0) {
    LPCSTR command = key == 'E'   ? "VIDEO_BUTTON"
                     : key == 'I' ? "PIC_BUTTON"
                     : key == 'P' ? "FILM_BUTTON"
                     : key == 'S' ? "SET_BUTTON"
                     : key == 'T' ? "TV_BUTTON"
                                  : nullptr;
    if (command) {
      OnSkinButton(command);
      return TRUE;
    }
  }
  switch (key) {
    case 'H':
    case VK_F1: ShowHelp(GetAppFolder()); return TRUE;
    case VK_UP: MoveHoverMark(-1); return TRUE;
    case VK_DOWN: MoveHoverMark(1); return TRUE;
    case VK_RETURN: PressHoveredButton(); return TRUE;
    default: return CDialog::PreTranslateMessage(pMsg);
  }
}

// ---- Back to the front

LRESULT CMainSkinDlg::OnRefreshLayout(WPARAM wParam, LPARAM) {
  m_otherWindowShown = FALSE;
  ReturnToSharedPlace();
  LayoutSkinButtons();
  // Left from the channel window or the free-standing video window, which the TV window
  // opened in its place.
  if ((wParam == kChannelDisplayMode || wParam == kVideoWindowDisplayMode) && m_pTVDlg)
    m_pTVDlg->CloseReplacingWindow();
  // The player posted its return: it is no longer on the stack and may go.
  CAVDlg::DestroyPlayer();
  DeleteWindow(m_pVideoDlg);
  DeleteWindow(m_pPICDlg);
  CloseSettingsHub();
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  return 0;
}

LRESULT CMainSkinDlg::OnShowMain(WPARAM wParam, LPARAM) {
  if (wParam == kTVDisplayMode) DeleteTVWindow();
  ShowWindow(SW_SHOW);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(105);
  SendMessage(UM_REFRESH_LAYOUT, 0, 0);
  return 0;
}

// ---- Timers and power

void CMainSkinDlg::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kKeepAwakeTimer: KeepAwake(); break;
    case CAppController::kScheduleTimer:
      if (g_pAppController && g_pDisplayMode && CAppController::GetCaptureDeviceCount() > 0 &&
          (g_pDisplayMode->Is105() || g_pDisplayMode->Is110() || g_pDisplayMode->Is155() || g_pDisplayMode->Is165()))
        g_pAppController->OnScheduleTick();
      break;
    case CAppController::kOsdTimer:
      if (g_pAppController && g_pAppController->IsRecording()) {
        g_pAppController->DrawStatusOsd(1);
        g_pAppController->StopOsdTimer();
      }
      break;
    case CAppController::kScheduleSecondTimer:
      if (g_pAppController) g_pAppController->OnScheduleSecond();
      break;
    case CAppController::kDiskCheckTimer:
      if (g_pAppController) g_pAppController->OnDiskCheckTimer();
      break;
    case kShutdownTimer: ShutDownComputer(); break;
    case kStandbyTimer: StandBy(); break;
    default: CSkinDialog::OnTimer(nIDEvent); break;
  }
}

void CMainSkinDlg::KeepAwake() {
  const int version = GetWindowsVersionCode();
  if (version != 10 && version != 11) ::SetThreadExecutionState(ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

namespace {

void EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (::LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
    ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  ::CloseHandle(token);
}

}  // namespace

// The controller goes first so its files are saved; its pointer is cleared so the
// program stays usable when the shut-down is refused.
void CMainSkinDlg::ShutDownComputer() {
  KillTimer(kShutdownTimer);
  delete g_pAppController;
  g_pAppController = nullptr;
  EnableShutdownPrivilege();
  if (!::ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF, 0))
    MessageBox(CString(GetMessageInfo(kShutdownFailedText)));
}

void CMainSkinDlg::StandBy() {
  KillTimer(kStandbyTimer);
  EnableShutdownPrivilege();
  ::SetSystemPowerState(TRUE, TRUE);
}

void CMainSkinDlg::OnClose() {
  if (g_pDisplayMode && g_pDisplayMode->Is110()) DeleteTVWindow();
  KillTimer(kKeepAwakeTimer);
  // What the dialog's default processing does with the close: it ends as cancelled.
  OnCancel();
}

void CMainSkinDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  if (!m_pTVDlg && !g_pAVDlg) lpMMI->ptMinTrackSize = {800, 600};
}

void CMainSkinDlg::OnSizing(UINT fwSide, LPRECT pRect) {
  m_sizedFlag = TRUE;
  CSkinDialog::OnSizing(fwSide, pRect);
}

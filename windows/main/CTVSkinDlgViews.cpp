// CTVSkinDlg: the two other views of the live picture it opens, the channel mosaic in
// place of its video area and the free-standing video window in place of itself.
#include "windows/main/CTVSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "skin/CVideoStaticEx.h"
#include "windows/main/CChannelMosaicWnd.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/CVideoWindow.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <new>

namespace {

// Why the mosaic closes (UM_MOSAIC_CLOSED's wParam).
constexpr WPARAM kMosaicFailed = 3;
constexpr WPARAM kMosaicListEnded = 4;
constexpr int kPlaceholderPicture = 152;
constexpr int kVideoWindowDisplayMode = 205;
constexpr int kTVDisplayMode = 110;
constexpr int kVideoWindowWidth = 480;
constexpr int kVideoWindowHeight = 320;
constexpr char kVideoWindowSkin[] = "Skin\\SingleTV\\skin.ini";
constexpr char kVideoWindowTitle[] = "Orvane Meida";

}  // namespace

void CTVSkinDlg::StopScheduledRun() {
  if (g_pAppController) g_pAppController->StopScheduledRecording();
}

// The bar shows the pointer it hid and keeps it shown.
void CTVSkinDlg::ReleaseBarPointer() {
  if (!m_controlBar) return;
  m_controlBar->RestoreCursor();
  if (!m_controlBar->GetKeepCursor()) m_controlBar->SetKeepCursor(TRUE);
}

// ---- The channel mosaic

void CTVSkinDlg::StartMosaic() {
  if (!g_pAppController || !g_pAppController->IsTvMode()) return;
  int first = 0;
  if (!g_pAppController->StartChannelWall(first)) {
    PostMessage(UM_MOSAIC_CLOSED, kMosaicFailed, 0);
    return;
  }
  const BOOL videoFullScreen = m_videoArea && m_videoArea->IsFullScreen();
  if (videoFullScreen && !g_isMaximized) {
    m_mosaicSavedRect = g_sharedWindowRect;
    m_mosaicRectSaved = TRUE;
  }
  DestroyMosaic();
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int h = client.Height();
  const CRect made((w + 3) * 269 / 1024, (h + 4) * 82 / 768, (w + 9) * 1008 / 1024, (h + 12) * 651 / 768);
  m_mosaic = new (std::nothrow) CChannelMosaicWnd;
  if (!m_mosaic || !m_mosaic->Create(WS_CHILD | WS_VISIBLE, made, this)) {
    delete m_mosaic;
    m_mosaic = nullptr;
    PostMessage(UM_MOSAIC_CLOSED, kMosaicFailed, 0);
    return;
  }
  // Without its picture a cell stays grey until it shows a channel.
  if (HBITMAP placeholder = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kPlaceholderPicture))) {
    for (int i = 0; i < CChannelMosaicWnd::kCells; ++i) m_mosaic->SetCellPicture(i, placeholder);
    ::DeleteObject(placeholder);
  }
  if (m_videoArea) m_videoArea->ShowWindow(SW_HIDE);
  if (videoFullScreen) m_mosaic->ToggleFullScreen();
  m_mosaic->ShowWindow(SW_SHOW);
  m_mosaic->SetCellChannel(0, first);
  m_mosaicLiveChannel = first;
  g_pAppController->WallShowChannel(m_mosaic->GetCellWindow(0), first);
  SetFocus();
  m_mosaicStep = 1;
  if (!SetTimer(kMosaicTimer, kMosaicTimerMs, nullptr)) PostMessage(UM_MOSAIC_CLOSED, kMosaicFailed, 0);
}

// Timer 400: the channel shown live becomes a still in its cell, and the next channel goes
// live in the next cell along the rows.
void CTVSkinDlg::StepMosaic() {
  if (!m_mosaic || !g_pAppController) {
    PostMessage(UM_MOSAIC_CLOSED, kMosaicFailed, 0);
    return;
  }
  HBITMAP still = nullptr;
  int next = 0;
  const int result = g_pAppController->LoadChannelBitmap(still, next);
  if (result == -1) return;
  if (result < 0) {
    if (still) ::DeleteObject(still);
    if (result == -6) PostMessage(UM_MOSAIC_CLOSED, kMosaicListEnded, 0);
    else if (result != -7) PostMessage(UM_MOSAIC_CLOSED, kMosaicFailed, 0);
    return;
  }
  ++m_mosaicStep;
  const int left = (m_mosaicStep - 2) % CChannelMosaicWnd::kCells;
  const int live = (m_mosaicStep - 1) % CChannelMosaicWnd::kCells;
  if (HWND cell = m_mosaic->GetCellWindow(live)) {
    // The cell keeps the channel it really showed: numbers may have gaps.
    m_mosaic->SetCellChannel(left, m_mosaicLiveChannel);
    m_mosaic->SetCellPicture(left, still);
    m_mosaic->SetCellChannel(live, next);
    m_mosaicLiveChannel = next;
    g_pAppController->WallShowChannel(cell, next);
  }
  if (still) ::DeleteObject(still);
}

void CTVSkinDlg::LayoutMosaic() {
  if (!m_mosaic->IsFullScreen()) {
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    m_mosaic->MoveWindow(CRect((w + 3) * 271 / 1024, (h + 4) * 84 / 768, (w + 9) * 1005 / 1024, (h + 12) * 648 / 768),
                         TRUE);
  }
  m_mosaic->LayoutCells();
}

void CTVSkinDlg::DestroyMosaic() {
  if (!m_mosaic) return;
  if (m_mosaic->GetSafeHwnd()) m_mosaic->DestroyWindow();
  delete m_mosaic;
  m_mosaic = nullptr;
}

// A close queued behind another (Enter, then Escape) finds the wall gone and the
// controller back on live TV: it would tune the remembered channel over the user's choice.
LRESULT CTVSkinDlg::OnMosaicClosed(WPARAM wParam, LPARAM lParam) {
  if (!m_mosaic && !(g_pAppController && g_pAppController->IsMosaicMode())) return 0;
  const BOOL wasFullScreen = m_mosaic && m_mosaic->IsFullScreen();
  // Leaving the mosaic's own full screen gives this window its buttons and place back.
  if (wasFullScreen) m_mosaic->ToggleFullScreen();
  DestroyMosaic();
  if (m_videoArea) m_videoArea->ShowWindow(SW_SHOW);
  if (g_pAppController) g_pAppController->SetInputSource(static_cast<int>(wParam), static_cast<int>(lParam));
  if (wasFullScreen) {
    if (m_videoArea && m_videoArea->IsFullScreen()) m_videoArea->LeaveFullScreen();
    if (m_mosaicRectSaved) {
      MoveWindow(&m_mosaicSavedRect, TRUE);
      g_sharedWindowRect = m_mosaicSavedRect;
      m_mosaicRectSaved = FALSE;
    }
  }
  LayoutHostedControl();
  KillTimer(kMosaicTimer);
  m_mosaicStep = 0;
  return 0;
}

// ---- The free-standing video window

void CTVSkinDlg::OpenVideoWindow() {
  m_active = FALSE;
  m_otherWindowShown = TRUE;
  StopScheduledRun();
  HideBar();
  StoreSharedRect();
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  ShowWindow(SW_HIDE);
  // A window closed by WM_CLOSE is only hidden: it is shown again.
  if (!m_freeVideoWindow) {
    auto* window = new (std::nothrow) CVideoWindow;
    if (!window || !window->Create(kVideoWindowWidth, kVideoWindowHeight)) {
      delete window;
      ::SetCursor(previous);
      m_otherWindowShown = FALSE;
      m_active = TRUE;
      ShowWindow(SW_SHOW);
      if (m_controlBar) m_controlBar->ShowBar();
      return;
    }
    m_freeVideoWindow = window;
    window->LoadSkin(GetAppFolder() + kVideoWindowSkin);
    window->SetWindowText(kVideoWindowTitle);
    ::SetWindowLongPtrA(window->GetSafeHwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(m_hWnd));
    window->SetReturnWnd(m_hWnd);
  }
  m_freeVideoWindow->Show(SW_SHOW);
  m_freeVideoWindow->SetVideoWindow(m_freeVideoWindow->GetSafeHwnd());
  ::SetFocus(m_freeVideoWindow->GetSafeHwnd());
  ::SetCursor(previous);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kVideoWindowDisplayMode);
}

// The video window is still inside its own sending of this message: it is deleted once
// that is done.
LRESULT CTVSkinDlg::OnVideoWindowClosed(WPARAM, LPARAM) {
  ComeBackToFront();
  SendMessage(UM_ATTACH_VIDEO, 0, 0);
  LayoutSkinButtons();
  m_active = TRUE;
  Invalidate();
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kTVDisplayMode);
  SetFocus();
  PostMessage(UM_DELETE_VIDEO_WINDOW, 0, 0);
  return 0;
}

LRESULT CTVSkinDlg::OnDeleteVideoWindow(WPARAM, LPARAM) {
  // A window shown again before this came is still in use.
  if (g_pDisplayMode && g_pDisplayMode->Is205()) return 0;
  DeleteVideoWindow();
  return 0;
}

void CTVSkinDlg::DeleteVideoWindow() {
  delete m_freeVideoWindow;
  m_freeVideoWindow = nullptr;
}

// The media player's skin, layout, docked bar and the messages that are not commands.
// Playing and the commands are in CAVSkinDlgPlayback.cpp, full screen, leaving and adding
// files in CAVSkinDlgScreen.cpp.
#include "windows/main/CAVSkinDlg.h"

#include "core/CAppController.h"
#include "core/MediaListFile.h"
#include "skin/CIniFile.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStaticEx.h"
#include "skin/SkinValues.h"
#include "windows/main/CControlBarDlg.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

#include <new>

namespace {

constexpr UINT kVideoAreaId = 0;
constexpr UINT kMediaListId = 1001;
constexpr LPCSTR kListSection = "AV-ListBox";
// The list's own colour is that of the panel the default skin draws under it.
constexpr COLORREF kListBackground = RGB(19, 27, 36);
// The video area and the picture in it, in the 1024 x 768 design space.
constexpr RECT kVideoDesign = {193, 79, 993, 649};
constexpr int kVideoWidth = 800;
constexpr int kVideoHeight = 570;

CRect Scaled(const RECT& design, const CRect& client) {
  return ScaleDesignRect(design, client.Width(), client.Height());
}

}  // namespace

BEGIN_MESSAGE_MAP(CAVSkinDlg, CDockedBarSkinDlg)
  ON_WM_PAINT()
  ON_WM_DESTROY()
  ON_WM_TIMER()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDBLCLK()
  ON_MESSAGE(UM_PLAYBACK_EVENT, OnPlaybackEvent)
  ON_MESSAGE(UM_RUNSTATE_CHANGED, OnRunStateChanged)
  ON_MESSAGE(UM_BAR_COMMAND, OnBarCommand)
  ON_MESSAGE(UM_REMOTE_KEY, OnRemoteKey)
  ON_MESSAGE(UM_ENTER_FULLSCREEN, OnEnterFullScreen)
  ON_MESSAGE(UM_LEAVE_FULLSCREEN, OnLeaveFullScreen)
  ON_MESSAGE(CImageListView::UM_OPEN_LIST_ITEM, OnOpenListItem)
  ON_MESSAGE(CImageListView::UM_LIST_PLAY_ITEM, OnOpenListItem)
  ON_MESSAGE(CImageListView::UM_LIST_ITEM_DELETED, OnListItemDeleted)
  ON_MESSAGE(CImageListView::UM_LIST_CLEARED, OnListCleared)
  ON_MESSAGE(CImageListView::UM_LIST_SET_FOLDER, OnListSetFolder)
  ON_MESSAGE(CImageListView::UM_LIST_ADD_FILE, OnListAddFile)
  ON_MESSAGE(CImageListView::UM_LIST_PLAY_STATE, OnListPlayState)
  ON_MESSAGE(CImageListView::UM_LIST_KEYDOWN, OnListKeyDown)
  ON_MESSAGE(UM_SLIDER_TRACK, OnSliderTrack)
  ON_MESSAGE(UM_SLIDER_SET, OnSliderTrack)
END_MESSAGE_MAP()

CAVSkinDlg::CAVSkinDlg(UINT nIDTemplate, CWnd* pParent) : CDockedBarSkinDlg(nIDTemplate, pParent, "TV-Buttons", "TV-ButtonsMin") {}

CAVSkinDlg::~CAVSkinDlg() {
  DestroyBar();
  DestroyAndDelete(m_videoArea);
}

// ---- Skin and layout

BOOL CAVSkinDlg::LoadSkin(const CString& skinFile) {
  if (!LoadSkinButtons(skinFile) || !CreateVideoArea()) return FALSE;
  CreateMediaList();
  LayoutSkinButtons();
  StartBarDocking();
  if (!m_controlBar) {
    if (!CreateControlBar()) return FALSE;
    StartBarDocking();
  }
  if (g_pAppController && !g_pAppController->IsMediaMode()) g_pAppController->EnterMediaMode();
  if (m_mediaList.GetSafeHwnd()) m_mediaList.ShowWindow(SW_SHOW);
  Invalidate();
  return TRUE;
}

BOOL CAVSkinDlg::CreateVideoArea() {
  if (m_videoArea) return TRUE;
  m_videoArea = new (std::nothrow) CVideoStaticEx;
  if (!m_videoArea) return FALSE;
  CRect client;
  GetClientRect(&client);
  if (!m_videoArea->Create("", WS_CHILD | WS_VISIBLE, Scaled(kVideoDesign, client), this, kVideoAreaId)) {
    delete m_videoArea;
    m_videoArea = nullptr;
    return FALSE;
  }
  return TRUE;
}

// One list: the first entry of the section that gives a rectangle. It stays hidden, in
// the player's menu mode, until the rest of the skin is read.
void CAVSkinDlg::CreateMediaList() {
  if (m_mediaList.GetSafeHwnd()) return;
  const CIniFile ini(m_skinFile);
  CStringArray keys;
  ini.GetSectionKeys(kListSection, keys);
  for (int key = 1; key <= static_cast<int>(keys.GetSize()); ++key) {
    CString name;
    name.Format("%d", key);
    RECT design{};
    if (!ReadRect(ini, kListSection, name, design)) continue;
    CRect client;
    GetClientRect(&client);
    const CRect rect = Scaled(design, client);
    if (!m_mediaList.Create("", WS_CHILD, rect, this, kMediaListId, TRUE, kListBackground, 0)) return;
    m_listDesign = design;
    m_mediaList.SetMargins(rect.left, rect.top, rect.right, rect.bottom);
    m_mediaList.SetNotifyWindow(m_hWnd);
    m_mediaList.SetMenuMode(0);
    m_mediaList.LoadListFile(GetAppFolder() + kMediaHistoryFile);
    return;
  }
}

BOOL CAVSkinDlg::CreateControlBar() {
  m_controlBar = CControlBarDlg::CreateFor(this);
  if (!m_controlBar) return FALSE;
  m_controlBar->ShowWindow(SW_SHOW);
  if (g_isMaximized) m_controlBar->EnableAutoHide();
  m_controlBar->SetVolumePos(CAppController::GetVolume());
  return TRUE;
}

void CAVSkinDlg::LayoutHostedControl() {
  CRect client;
  GetClientRect(&client);
  if (m_videoArea && !m_fullScreen) m_videoArea->MoveWindow(Scaled(kVideoDesign, client), TRUE);
  if (g_pAppController)
    g_pAppController->SetVideoRect(0, 0, kVideoWidth * client.Width() / 1024, kVideoHeight * client.Height() / 768);
  if (m_mediaList.GetSafeHwnd()) {
    const CRect rect = Scaled(m_listDesign, client);
    m_mediaList.MoveWindow(&rect, TRUE);
    m_mediaList.MoveList(0, 0, rect.Width(), rect.Height());
  }
  PlaceBar();
}

void CAVSkinDlg::Maximize() {
  MaximizeToWorkArea(TRUE);
  if (!m_controlBar) return;
  CRect window;
  GetWindowRect(&window);
  m_controlBar->SetDockRect(window.left, window.top, window.right, window.bottom);
  m_controlBar->SetDockToVideo(TRUE);
}

void CAVSkinDlg::Restore() {
  RestorePlacement();
  if (!m_controlBar) return;
  CRect window;
  GetWindowRect(&window);
  m_controlBar->SetDockRect(window.left, window.top, window.right, window.bottom);
  m_controlBar->SetDockToVideo(TRUE);
  m_controlBar->KillHideTimer();
}

void CAVSkinDlg::ShowPlayer(BOOL fromLauncher) {
  m_returnToLauncher = fromLauncher;
  m_leaving = FALSE;
  ShowAtSharedRect();
  if (::GetFocus() != m_hWnd) SetFocus();
}

// ---- Messages

void CAVSkinDlg::OnPaint() {
  CPaintDC dc(this);
  if (!m_fullScreen) PaintSkin(dc);
  PlaceBar();
}

// The history is written back whole, an empty list too; without a list nothing was read,
// so nothing is written over it.
void CAVSkinDlg::OnDestroy() {
  if (m_mediaList.GetSafeHwnd()) m_mediaList.SaveListFile(GetAppFolder() + kMediaHistoryFile, TRUE);
  CDockedBarSkinDlg::OnDestroy();
}

void CAVSkinDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != CAppController::kMediaTimer || !m_controlBar || !g_pAppController) return;
  if (g_pAppController->IsMediaRunning()) SetProgress(g_pAppController->GetMediaPositionPercent());
}

void CAVSkinDlg::OnMouseMove(UINT nFlags, CPoint point) {
  ClearGuards();
  WakeBar(FALSE);
  CDockedBarSkinDlg::OnMouseMove(nFlags, point);
}

// The caption strip's double click maximises or restores as the template's does, with the
// bar's dock following.
void CAVSkinDlg::OnLButtonDblClk(UINT nFlags, CPoint point) {
  m_dblClickSeen = TRUE;
  if (!IsInCaptionStrip(point)) return;
  if (g_isMaximized) Restore();
  else Maximize();
  CDialog::OnLButtonDblClk(nFlags, point);
}

LRESULT CAVSkinDlg::OnRunStateChanged(WPARAM wParam, LPARAM lParam) {
  if (m_controlBar) m_controlBar->PostMessage(UM_BAR_STATE, wParam, lParam);
  return 0;
}

LRESULT CAVSkinDlg::OnSliderTrack(WPARAM wParam, LPARAM lParam) {
  if (wParam == CShapeBarDlg::kVolumeSliderId && g_pAppController && IsFileOpen())
    g_pAppController->SetVolume(static_cast<int>(lParam));
  return 0;
}

LRESULT CAVSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !m_fullScreen) LayoutSkinButtons();
      return 0;
    case WM_EXITSIZEMOVE:
      LayoutAfterSizing();
      return 0;
    case WM_WINDOWPOSCHANGED: PlaceBar(); break;
    case WM_HELP: return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_CLOSE) break;
      CloseProgram();
      return 0;
    default: break;
  }
  return CDockedBarSkinDlg::WindowProc(message, wParam, lParam);
}

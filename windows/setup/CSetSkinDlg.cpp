#include "windows/setup/CSetSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStatic.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/CHardwareDlg.h"
#include "windows/setup/CRecordDlg.h"
#include "windows/setup/CRecordSetDlg.h"
#include "windows/setup/CVideoSetDlg.h"

#include <initializer_list>
#include <new>

CHardwareDlg* g_hardwarePage = nullptr;
CVideoSetDlg* g_videoSetPage = nullptr;
CRecordSetDlg* g_recordSetPage = nullptr;
CRecordDlg* g_recordPlanPage = nullptr;

namespace {

constexpr int kTVDisplayMode = 110;
constexpr int kScheduleEditorDisplayMode = 165;
constexpr RECT kVideoAreaRect{40, 528, 339, 732};

}  // namespace

BEGIN_MESSAGE_MAP(CSetSkinDlg, CSettingsSkinDlg)
  ON_MESSAGE(UM_REMOTE_KEY, OnRemoteKey)
  ON_MESSAGE(UM_DEVICES_CHANGED, OnDevicesChanged)
  ON_MESSAGE(UM_ATTACH_VIDEO, OnAttachVideo)
  ON_MESSAGE(UM_REFRESH_LAYOUT, OnRefreshLayout)
  ON_MESSAGE(UM_HOVER_HINT, OnHoverHint)
  ON_MESSAGE(UM_RELEASE_SETTINGS_WINDOWS, OnReleasePages)
END_MESSAGE_MAP()

CSetSkinDlg::CSetSkinDlg(UINT nIDTemplate, CWnd* pParent) : CSettingsSkinDlg(nIDTemplate, pParent) {}

CSetSkinDlg::~CSetSkinDlg() { CSetSkinDlg::Teardown(); }

// ---- Skin and layout

// The video area is shown once the hub has its picture.
BOOL CSetSkinDlg::LoadSkin(const CString& skinFile) {
  const BOOL made = LoadSkinButtons(skinFile) && CreateVideoArea(kVideoAreaRect);
  if (made) {
    m_videoArea->ShowWindow(SW_HIDE);
    m_otherWindowShown = FALSE;
    TakeOverPicture();
    m_videoArea->ShowWindow(SW_SHOW);
  }
  LayoutSkinButtons();
  return made;
}

// ---- Buttons

void CSetSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) return;
  if (name == "EQUIPMENTSET_BUTTON") {
    OpenPage(g_hardwarePage, CHardwareDlg::kDisplayMode, TRUE);
  } else if (name == "VIDEOSET_BUTTON") {
    OpenPage(g_videoSetPage, CVideoSetDlg::kDisplayMode, FALSE);
  } else if (name == "RECORDSET_BUTTON") {
    OpenPage(g_recordSetPage, CRecordSetDlg::kDisplayMode, TRUE);
  } else if (name == "RECORDPLAN_BUTTON") {
    OpenPage(g_recordPlanPage, CRecordDlg::kDisplayMode, FALSE);
  } else if (name == "RETURN_BUTTON") {
    if (m_openedFromLauncher) GoToLauncher();
    else ReturnToTV();
  } else {
    OnSharedButton(name);
  }
}

void CSetSkinDlg::LeaveForPage(BOOL endsScheduledRecording) {
  StoreSharedRect();
  m_otherWindowShown = TRUE;
  ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  if (endsScheduledRecording && g_pAppController) g_pAppController->StopScheduledRecording();
}

// A page that cannot be made leaves the hub in front.
template <class Page>
void CSetSkinDlg::OpenPage(Page*& page, int displayMode, BOOL endsScheduledRecording) {
  LeaveForPage(endsScheduledRecording);
  if (!page) {
    auto* made = new (std::nothrow) Page(this);
    if (made && !made->Create(Page::IDD, this)) {
      delete made;
      made = nullptr;
    }
    page = made;
  }
  if (page) ShowPage(page, displayMode);
  else m_otherWindowShown = FALSE;
}

void CSetSkinDlg::ShowPage(CSkinDialog* page, int displayMode) {
  ::ReleaseCapture();
  ShowWindow(SW_HIDE);
  page->ShowWindow(SW_SHOW);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(displayMode);
}

template <class Page>
void CSetSkinDlg::ClosePage(Page*& page) {
  if (!page) return;
  if (page->GetSafeHwnd()) page->ShowWindow(SW_HIDE);
  m_closedPages.push_back(page);
  page = nullptr;
}

void CSetSkinDlg::ClosePages() {
  const size_t before = m_closedPages.size();
  ClosePage(g_recordSetPage);
  ClosePage(g_videoSetPage);
  ClosePage(g_hardwarePage);
  ClosePage(g_recordPlanPage);
  if (m_closedPages.size() > before && m_hWnd) PostMessage(UM_RELEASE_SETTINGS_WINDOWS, 0, 0);
}

void CSetSkinDlg::ReleaseClosedPages() {
  std::vector<CSkinDialog*> pages;
  pages.swap(m_closedPages);
  for (CSkinDialog* page : pages) {
    if (page->GetSafeHwnd()) page->DestroyWindow();
    delete page;
  }
}

LRESULT CSetSkinDlg::OnReleasePages(WPARAM, LPARAM) {
  ReleaseClosedPages();
  return 0;
}

void CSetSkinDlg::Close() {
  ClosePages();
  m_closed = TRUE;
  if (m_hWnd) ShowWindow(SW_HIDE);
}

// ---- Leaving

// The TV window closes the hub while it handles the layout message: nothing of the hub
// is touched after it.
void CSetSkinDlg::ReturnToTV() {
  if (HWND tv = ::FindWindowA("#32770", "Orvane Media_TVDlg"); tv && g_pAppController)
    ::SendMessageA(tv, UM_RUNSTATE_CHANGED, static_cast<WPARAM>(g_pAppController->GetRunState()), 0);
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kTVDisplayMode);
  StoreSharedRect();
  if (CWnd* parent = GetParent()) {
    parent->ShowWindow(SW_SHOW);
    parent->SendMessage(UM_ATTACH_VIDEO, 0, 0);
    parent->SendMessage(UM_REFRESH_LAYOUT, 0, 0);
  }
}

// The pages go at once, with their teardown; opened from the launcher, the hub ends the
// live graph it started.
void CSetSkinDlg::Teardown() {
  // A closed hub's pages were taken with it; the pointers may be another hub's by now.
  if (!m_closed) ClosePages();
  ReleaseClosedPages();
  CSettingsSkinDlg::Teardown();
  if (m_openedFromLauncher && g_pAppController) g_pAppController->DestroyCaptureGraph();
}

// ---- Coming back

LRESULT CSetSkinDlg::OnRefreshLayout(WPARAM, LPARAM) {
  m_otherWindowShown = FALSE;
  ClosePages();
  ReturnToSharedPlace();
  LayoutSkinButtons();
  return 0;
}

LRESULT CSetSkinDlg::OnAttachVideo(WPARAM, LPARAM) {
  m_videoArea.AttachLivePicture();
  return 0;
}

// ---- The highlight of the keys and the remote

int CSetSkinDlg::GetHighlighted() const { return FindMarkedButton(kFirstPageButton); }

void CSetSkinDlg::StepHighlight(int step) {
  if (g_pAppController) StepButtonMark(kFirstPageButton, step);
}

// The command may bring another window to the front; the hub itself stays until the
// message is over.
void CSetSkinDlg::PressHighlighted() {
  const int marked = GetHighlighted();
  if (marked < 0) return;
  CSkinButton* button = GetSkinButton(marked);
  OnSkinButton(button->GetName());
  button->SetHover(FALSE);
  Invalidate();
}

// The buttons send their command id, which is no index: a mouse hover only clears the
// keys' highlight.
LRESULT CSetSkinDlg::OnHoverHint(WPARAM wParam, LPARAM lParam) {
  FollowHoverHint(wParam, lParam, kFirstPageButton);
  return 0;
}

// ---- Remote keys and relays

void CSetSkinDlg::SendToPage(CSkinDialog* page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (page && page->GetSafeHwnd()) page->SendMessage(message, wParam, lParam);
}

// Any process may send this message: key 20 only closes the program, whatever flag it
// carries, as in the launcher and the TV window.
LRESULT CSetSkinDlg::OnRemoteKey(WPARAM wParam, LPARAM lParam) {
  if (!g_pDisplayMode) return 0;
  switch (g_pDisplayMode->GetMode()) {
    case kDisplayMode:
      m_dblClickSeen = FALSE;
      if (PressButtonOfRemoteKey(lParam)) break;
      if (lParam == kRemoteKeyPress) PressHighlighted();
      else if (lParam == kRemoteKeyPrevious) StepHighlight(-1);
      else if (lParam == kRemoteKeyNext) StepHighlight(1);
      break;
    case CHardwareDlg::kDisplayMode: SendToPage(g_hardwarePage, UM_REMOTE_KEY, wParam, lParam); break;
    case CVideoSetDlg::kDisplayMode: SendToPage(g_videoSetPage, UM_REMOTE_KEY, wParam, lParam); break;
    case CRecordDlg::kDisplayMode:
    case kScheduleEditorDisplayMode: SendToPage(g_recordPlanPage, UM_REMOTE_KEY, wParam, lParam); break;
    case CRecordSetDlg::kDisplayMode: SendToPage(g_recordSetPage, UM_REMOTE_KEY, wParam, lParam); break;
    default: break;
  }
  return 0;
}

LRESULT CSetSkinDlg::OnDevicesChanged(WPARAM wParam, LPARAM lParam) {
  if (g_pDisplayMode && g_pDisplayMode->GetMode() == CHardwareDlg::kDisplayMode)
    SendToPage(g_hardwarePage, UM_DEVICES_CHANGED, wParam, lParam);
  return 0;
}

void CSetSkinDlg::OnActivated() {
  const std::initializer_list<CSkinDialog*> pages = {g_recordSetPage, g_videoSetPage, g_hardwarePage, g_recordPlanPage};
  for (CSkinDialog* page : pages) SendToPage(page, WM_ACTIVATE, 1, 0);
}

LRESULT CSetSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == UM_PLAN_LIST_CHANGED) {
    SendToPage(g_recordPlanPage, message, wParam, lParam);
    return 0;
  }
  return CSettingsSkinDlg::WindowProc(message, wParam, lParam);
}

BOOL CSetSkinDlg::OnKey(MSG* pMsg) {
  switch (pMsg->wParam) {
    case VK_UP: StepHighlight(-1); return TRUE;
    case VK_DOWN: StepHighlight(1); return TRUE;
    case VK_RETURN: PressHighlighted(); return TRUE;
    default: return FALSE;
  }
}

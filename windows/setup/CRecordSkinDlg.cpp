// The record plan list's skin and controls, its window messages, keys and highlight.
#include "windows/setup/CRecordSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "core/CScheduleList.h"
#include "skin/CDriveFolderList.h"
#include "skin/CIniFile.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinText.h"
#include "skin/CVideoStatic.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/CScheduleDlg.h"
#include "windows/setup/SettingsVideoArea.h"

#include <new>

CScheduleDlg* g_pScheduleDlg = nullptr;

namespace {

constexpr RECT kVideoAreaRect{40, 528, 339, 732};
constexpr RECT kDetailTextRect{371, 530, 912, 688};
constexpr COLORREF kDetailTextColour = 0xFFFFFF;
constexpr COLORREF kListFill = 0x000000;
constexpr COLORREF kListItemBackground = 0xFFFFFF;
constexpr COLORREF kListText = 0xFF0000;
constexpr UINT kHotRowIcon = 166;
constexpr int kHubDisplayMode = 120;
constexpr int kLauncherDisplayMode = 105;
// Remote keys the plan list acts on.
constexpr LPARAM kKeyClose = 20;
constexpr LPARAM kKeyPress = 21;
constexpr LPARAM kKeyPrevious = 31;
constexpr LPARAM kKeyNext = 68;
constexpr LPARAM kKeyReturn = 70;

CSize ClientSize(const CWnd& wnd) {
  CRect rc;
  wnd.GetClientRect(&rc);
  return {rc.Width(), rc.Height()};
}

}  // namespace

BEGIN_MESSAGE_MAP(CRecordSkinDlg, CSkinDialog)
  ON_WM_DESTROY()
  ON_MESSAGE(UM_REFRESH_LAYOUT, OnRefreshLayout)
  ON_MESSAGE(UM_SCHEDULE_CHANGED, OnScheduleChanged)
  ON_MESSAGE(UM_PLAN_LIST_CHANGED, OnPlanListChanged)
  ON_MESSAGE(UM_REFRESH_PLAN_LIST, OnRefreshPlanList)
  ON_MESSAGE(UM_ATTACH_VIDEO, OnAttachVideo)
  ON_MESSAGE(UM_REMOTE_KEY, OnRemoteKey)
  ON_MESSAGE(UM_HOVER_HINT, OnHoverHint)
  ON_MESSAGE(UM_RELEASE_SCHEDULE_EDITOR, OnReleaseEditor)
END_MESSAGE_MAP()

CRecordSkinDlg::CRecordSkinDlg(UINT nIDTemplate, CWnd* pParent)
    : CSkinDialog(nIDTemplate, pParent, "Record-Buttons", "Record-ButtonsMin") {}

CRecordSkinDlg::~CRecordSkinDlg() { Teardown(); }

CScheduleList* CRecordSkinDlg::ScheduleList() {
  return g_pAppController ? g_pAppController->GetScheduleList() : nullptr;
}

// ---- Skin

void CRecordSkinDlg::PlaceWindow() {
  if (!g_isMaximized) {
    LoadShapeRegion(FALSE);
    SwitchButtonLayout(FALSE);
    MoveWindow(&g_sharedWindowRect, TRUE);
  } else {
    MaximizeToWorkArea(FALSE);
  }
}

BOOL CRecordSkinDlg::LoadSkin(const CString& skinFile) {
  m_skinFile = skinFile;
  PlaceWindow();
  HDC screen = ::GetDC(nullptr);
  const BOOL made = CreateSkinButtons(screen, g_isMaximized) && CreateList() && CreateVideoArea() && CreateDetailText();
  ::ReleaseDC(nullptr, screen);
  LayoutSkinButtons();
  if (made) {
    Fill();
    ShowLivePicture(*m_videoArea);
    if (g_pAppController) g_pAppController->SetPlanWindowOpen(1);
  }
  Invalidate();
  return made;
}

// The first key of "Record-ListCtrl" holding a rectangle places the list; a skin without
// one leaves the window without a list.
BOOL CRecordSkinDlg::CreateList() {
  const CIniFile ini(m_skinFile);
  CStringArray keys;
  ini.GetSectionKeys("Record-ListCtrl", keys);
  for (int key = 1; key <= static_cast<int>(keys.GetSize()) && !m_pList; ++key) {
    CString keyName;
    keyName.Format("%d", key);
    CRect design;
    if (!ReadRect(ini, "Record-ListCtrl", keyName, design) || design.IsRectEmpty()) continue;
    m_pList = new (std::nothrow) CDriveFolderList;
    if (!m_pList) return FALSE;
    const CSize client = ClientSize(*this);
    if (!m_pList->Create(WS_CHILD | WS_VISIBLE, ScaleDesignRect(design, client.cx, client.cy), this, kListId)) {
      delete m_pList;
      m_pList = nullptr;
      return FALSE;
    }
    m_pList->SetFillColor(kListFill);
    m_pList->SetItemBkColor(kListItemBackground);
    m_pList->SetTextColor(kListText);
    m_pList->SetMargins(design.left, design.top, design.right, design.bottom);
    m_pList->SetOptionFlag(TRUE);
    m_pList->SetHotIcon(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(kHotRowIcon)));
    m_pList->SetWrapMode(TRUE);
    AddEmptyRows(kPaddedRows);
  }
  return TRUE;
}

BOOL CRecordSkinDlg::CreateVideoArea() {
  if (m_videoArea) return TRUE;
  m_videoArea = MakeVideoArea(*this, kVideoAreaRect);
  return m_videoArea != nullptr;
}

BOOL CRecordSkinDlg::CreateDetailText() {
  if (m_pDetail) return TRUE;
  m_pDetail = new (std::nothrow) CSkinText;
  if (!m_pDetail) return FALSE;
  m_pDetail->SetTextColor(kDetailTextColour);
  const CSize client = ClientSize(*this);
  if (!m_pDetail->Create("", WS_CHILD | WS_VISIBLE, ScaleDesignRect(kDetailTextRect, client.cx, client.cy), this,
                         kDetailTextId)) {
    delete m_pDetail;
    m_pDetail = nullptr;
    return FALSE;
  }
  return TRUE;
}

void CRecordSkinDlg::LayoutHostedControl() {
  const CSize client = ClientSize(*this);
  if (m_pList) {
    RECT design{};
    m_pList->GetMargins(design.left, design.top, design.right, design.bottom);
    m_pList->MoveWindow(ScaleDesignRect(design, client.cx, client.cy), TRUE);
  }
  if (m_videoArea) m_videoArea->MoveWindow(ScaleDesignRect(kVideoAreaRect, client.cx, client.cy), TRUE);
  if (m_pDetail) m_pDetail->MoveWindow(ScaleDesignRect(kDetailTextRect, client.cx, client.cy), TRUE);
}

// ---- Teardown and the editor's release

void CRecordSkinDlg::Teardown() {
  if (m_tornDown) return;
  m_tornDown = TRUE;
  if (g_pScheduleDlg) CloseEditor();
  ReleaseClosedEditor();
  if (m_pKeptEntry) {
    PutKeptEntryBack();
    SaveScheduleFile();
  }
  if (g_pAppController) g_pAppController->SetPlanWindowOpen(0);
  DestroyAndDelete(m_pDetail);
  DestroyVideoArea(m_videoArea);
  DestroyAndDelete(m_pList);
}

void CRecordSkinDlg::OnDestroy() {
  Teardown();
  CSkinDialog::OnDestroy();
}

void CRecordSkinDlg::CloseEditor() {
  if (!g_pScheduleDlg) return;
  ReleaseClosedEditor();
  m_pClosedEditor = g_pScheduleDlg;
  g_pScheduleDlg = nullptr;
  if (m_pClosedEditor->GetSafeHwnd()) m_pClosedEditor->ShowWindow(SW_HIDE);
  if (m_hWnd) PostMessage(UM_RELEASE_SCHEDULE_EDITOR, 0, 0);
}

void CRecordSkinDlg::ReleaseClosedEditor() { DestroyAndDelete(m_pClosedEditor); }

LRESULT CRecordSkinDlg::OnReleaseEditor(WPARAM, LPARAM) {
  ReleaseClosedEditor();
  return 0;
}

// ---- Buttons

void CRecordSkinDlg::OnSkinButton(const CString& name) {
  if (m_dblClickSeen) {
    m_dblClickSeen = FALSE;
    return;
  }
  if (!IsButtonUsable(name)) return;
  if (HandleFrameButton(name)) return;
  if (name == "MAIN_BUTTON") {
    GoToLauncher();
  } else if (name == "RETURN_BUTTON") {
    m_handedOver = TRUE;
    ReturnToParent(kHubDisplayMode);
  } else if (name == "ADD_BUTTON" || name == "EDIT_BUTTON") {
    OpenEditor(name == "EDIT_BUTTON");
  } else if (name == "DELETE_BUTTON") {
    DeleteMarked();
  } else if (name == "REMOVEALL_BUTTON") {
    RemoveAllEntries();
  } else if (name == "UP_BUTTON") {
    if (m_pList) m_pList->SelectPrev();
  } else if (name == "DOWN_BUTTON") {
    SelectNextWrapping();
  }
}

// The launcher closes the settings windows while it handles the layout message.
void CRecordSkinDlg::GoToLauncher() {
  if (g_pAppController && g_pAppController->IsPreviewing()) {
    g_pAppController->StopPreview();
    g_pAppController->SetIdle();
  }
  StoreSharedRect();
  m_handedOver = TRUE;
  if (CWnd* main = AfxGetMainWnd()) {
    main->ShowWindow(SW_SHOW);
    main->SendMessage(UM_REFRESH_LAYOUT, 0, 0);
  }
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
}

// ---- Messages

LRESULT CRecordSkinDlg::OnAttachVideo(WPARAM, LPARAM) {
  if (g_pAppController && m_videoArea) {
    g_pAppController->SetVideoOwner(m_videoArea->GetSafeHwnd());
    g_pAppController->SetVideoWindow(m_videoArea->GetSafeHwnd());
  }
  return 0;
}

// The editor came back (wParam its edit flag, lParam whether it saved); without an editor
// open the message stores nothing.
LRESULT CRecordSkinDlg::OnRefreshLayout(WPARAM wParam, LPARAM lParam) {
  if (!g_pScheduleDlg) return 0;
  m_handedOver = FALSE;
  if (wParam == 1) {
    ApplyEdit(lParam == 1);
    SendMessage(UM_PLAN_LIST_CHANGED, 0, 0);
  } else {
    ApplyNew(lParam == 1);
  }
  CloseEditor();
  PlaceWindow();
  LayoutSkinButtons();
  SaveScheduleFile();
  Invalidate();
  return 0;
}

LRESULT CRecordSkinDlg::OnRefreshPlanList(WPARAM wParam, LPARAM) {
  ShowDetails(static_cast<int>(wParam));
  return 0;
}

// While the editor is in front every key is its own.
LRESULT CRecordSkinDlg::OnRemoteKey(WPARAM wParam, LPARAM lParam) {
  if (g_pDisplayMode && g_pDisplayMode->Is165()) {
    if (g_pScheduleDlg && g_pScheduleDlg->GetSafeHwnd())
      ::SendMessageA(g_pScheduleDlg->GetSafeHwnd(), UM_REMOTE_KEY, wParam, lParam);
    return 0;
  }
  m_dblClickSeen = FALSE;
  switch (lParam) {
    case kKeyReturn: OnSkinButton("RETURN_BUTTON"); break;
    // Any process may send this message: its shut-down flag is not honoured.
    case kKeyClose: OnSkinButton("CLOSE_BUTTON"); break;
    case kKeyPrevious: HighlightPrevious(); break;
    case kKeyNext: HighlightNext(); break;
    case kKeyPress: PressHighlighted(); break;
    default: break;
  }
  return 0;
}

// The mouse over a button takes the keys' highlight off.
LRESULT CRecordSkinDlg::OnHoverHint(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0) UnmarkButtonsFrom(kFirstNavigableButton);
  const int id = static_cast<int>(wParam);
  if (id >= kFirstNavigableButton && id < GetSkinButtonCount()) MoveHighlight(-1, id);
  return 0;
}

// Keys for this window and its controls: the arrows and Enter move and press the
// highlight, Backspace goes back, Escape goes to its control; a click on a row marks it.
BOOL CRecordSkinDlg::PreTranslateMessage(MSG* pMsg) {
  const BOOL mine = pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd);
  if (mine && pMsg->message == WM_LBUTTONUP && m_pList && pMsg->hwnd == m_pList->GetSafeHwnd()) {
    BOOL outside = TRUE;
    const int row = static_cast<int>(m_pList->ItemFromPoint(CPoint(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)), outside));
    if (!outside) m_pList->ToggleMark(row);
  }
  if (mine && pMsg->message == WM_KEYDOWN) {
    switch (pMsg->wParam) {
      case VK_UP: HighlightPrevious(); return TRUE;
      case VK_DOWN: HighlightNext(); return TRUE;
      case VK_RETURN: PressHighlighted(); return TRUE;
      case VK_BACK:
        m_dblClickSeen = FALSE;
        OnSkinButton("RETURN_BUTTON");
        return TRUE;
      case VK_ESCAPE:
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
        return TRUE;
      default: break;
    }
  }
  return CSkinDialog::PreTranslateMessage(pMsg);
}

LRESULT CRecordSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (!wParam) return 0;
      if (g_pScheduleDlg && g_pScheduleDlg->GetSafeHwnd()) g_pScheduleDlg->SendMessage(WM_ACTIVATE, 1, 0);
      LayoutSkinButtons();
      return 0;
    case WM_SIZE:
      if (wParam == SIZE_RESTORED && m_handedOver) {
        ShowWindow(SW_HIDE);
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      if (CloseProgramFromSystemMenu(wParam)) return 0;
      break;
    default: break;
  }
  return SizingWindowProc(message, wParam, lParam);
}

// ---- Highlight over the buttons after the first eight

int CRecordSkinDlg::GetHighlighted() const {
  for (int i = kFirstNavigableButton; i < GetSkinButtonCount(); ++i)
    if (GetSkinButton(i)->GetHover()) return i;
  return -1;
}

void CRecordSkinDlg::MoveHighlight(int from, int to) {
  if (CSkinButton* old = GetSkinButton(from)) {
    old->SetHover(FALSE);
    old->Invalidate();
  }
  if (CSkinButton* next = GetSkinButton(to)) {
    next->SetHover(TRUE);
    next->Invalidate();
  }
}

void CRecordSkinDlg::HighlightPrevious() {
  const int last = GetSkinButtonCount() - 1;
  if (last < kFirstNavigableButton) return;
  const int from = GetHighlighted();
  MoveHighlight(from, from < 0 ? kFirstNavigableButton : from == kFirstNavigableButton ? last : from - 1);
}

void CRecordSkinDlg::HighlightNext() {
  const int last = GetSkinButtonCount() - 1;
  if (last < kFirstNavigableButton) return;
  const int from = GetHighlighted();
  MoveHighlight(from, from < 0 || from == last ? kFirstNavigableButton : from + 1);
}

// The highlight goes first: the button may take this window from the front.
void CRecordSkinDlg::PressHighlighted() {
  const int pressed = GetHighlighted();
  if (pressed < 0) return;
  const CString name = GetSkinButton(pressed)->GetName();
  MoveHighlight(pressed, -1);
  OnSkinButton(name);
}

// The record plan list's skin and controls, its window messages, keys and highlight.
#include "windows/setup/CRecordSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "core/CScheduleList.h"
#include "skin/CDriveFolderList.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinText.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/CScheduleDlg.h"

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

BOOL CRecordSkinDlg::LoadSkin(const CString& skinFile) {
  m_skinFile = skinFile;
  ReturnToSharedPlace();
  const BOOL made = CreateSkinButtons(g_isMaximized) && CreateList() && CreateVideoArea() && CreateDetailText();
  LayoutSkinButtons();
  if (made) {
    Fill();
    m_videoArea.ShowLivePicture();
    if (g_pAppController) g_pAppController->SetPlanWindowOpen(1);
  }
  Invalidate();
  return made;
}

// The first key of "Record-ListCtrl" holding a rectangle places the list; a skin without
// one leaves the window without a list.
BOOL CRecordSkinDlg::CreateList() {
  CRect design;
  if (m_pList || !FindSectionRect("Record-ListCtrl", design)) return TRUE;
  m_pList = new (std::nothrow) CDriveFolderList;
  if (!m_pList) return FALSE;
  const CSize client = ClientSize();
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
  return TRUE;
}

BOOL CRecordSkinDlg::CreateVideoArea() {
  return m_videoArea.Create(*this, kVideoAreaRect);
}

BOOL CRecordSkinDlg::CreateDetailText() {
  if (m_pDetail) return TRUE;
  m_pDetail = new (std::nothrow) CSkinText;
  if (!m_pDetail) return FALSE;
  m_pDetail->SetTextColor(kDetailTextColour);
  const CSize client = ClientSize();
  if (!m_pDetail->Create("", WS_CHILD | WS_VISIBLE, ScaleDesignRect(kDetailTextRect, client.cx, client.cy), this,
                         kDetailTextId)) {
    delete m_pDetail;
    m_pDetail = nullptr;
    return FALSE;
  }
  return TRUE;
}

void CRecordSkinDlg::LayoutHostedControl() {
  const CSize client = ClientSize();
  if (m_pList) {
    RECT design{};
    m_pList->GetMargins(design.left, design.top, design.right, design.bottom);
    m_pList->MoveWindow(ScaleDesignRect(design, client.cx, client.cy), TRUE);
  }
  m_videoArea.Place();
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
  m_videoArea.Destroy();
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
  if (SwallowsButtonAction()) return;
  if (!IsButtonUsable(name)) return;
  if (HandleFrameButton(name)) return;
  if (name == "MAIN_BUTTON") {
    // The launcher closes the settings windows while it handles the layout message.
    GoToLauncher();
  } else if (name == "RETURN_BUTTON") {
    m_otherWindowShown = TRUE;
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

// ---- Messages

LRESULT CRecordSkinDlg::OnAttachVideo(WPARAM, LPARAM) {
  m_videoArea.AttachLivePicture();
  return 0;
}

// The editor came back (wParam its edit flag, lParam whether it saved); without an editor
// open the message stores nothing.
LRESULT CRecordSkinDlg::OnRefreshLayout(WPARAM wParam, LPARAM lParam) {
  if (!g_pScheduleDlg) return 0;
  m_otherWindowShown = FALSE;
  if (wParam == 1) {
    ApplyEdit(lParam == 1);
    SendMessage(UM_PLAN_LIST_CHANGED, 0, 0);
  } else {
    ApplyNew(lParam == 1);
  }
  CloseEditor();
  ReturnToSharedPlace();
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
  if (PressButtonOfRemoteKey(lParam)) return 0;
  switch (lParam) {
    case kRemoteKeyPrevious: StepButtonMark(kFirstNavigableButton, -1); break;
    case kRemoteKeyNext: StepButtonMark(kFirstNavigableButton, 1); break;
    case kRemoteKeyPress: PressHighlighted(); break;
    default: break;
  }
  return 0;
}

// The mouse over a button takes the keys' highlight off.
LRESULT CRecordSkinDlg::OnHoverHint(WPARAM wParam, LPARAM lParam) {
  FollowHoverHint(wParam, lParam, kFirstNavigableButton);
  return 0;
}

// A click on a row of the list marks it; the keys are the window's and its controls'.
BOOL CRecordSkinDlg::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_LBUTTONUP && m_pList && pMsg->hwnd == m_pList->GetSafeHwnd()) {
    BOOL outside = TRUE;
    const int row = static_cast<int>(m_pList->ItemFromPoint(CPoint(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)), outside));
    if (!outside) m_pList->ToggleMark(row);
  }
  return PreTranslateWindowKeys(pMsg);
}

BOOL CRecordSkinDlg::OnKey(MSG* pMsg) {
  switch (pMsg->wParam) {
    case VK_UP: StepButtonMark(kFirstNavigableButton, -1); return TRUE;
    case VK_DOWN: StepButtonMark(kFirstNavigableButton, 1); return TRUE;
    case VK_RETURN: PressHighlighted(); return TRUE;
    default: return FALSE;
  }
}

void CRecordSkinDlg::OnActivated() {
  if (g_pScheduleDlg && g_pScheduleDlg->GetSafeHwnd()) g_pScheduleDlg->SendMessage(WM_ACTIVATE, 1, 0);
}

LRESULT CRecordSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return PageWindowProc(message, wParam, lParam);
}

// ---- Highlight over the buttons after the first eight

int CRecordSkinDlg::GetHighlighted() const { return FindMarkedButton(kFirstNavigableButton); }

// The highlight goes first: the button may take this window from the front.
void CRecordSkinDlg::PressHighlighted() {
  const int pressed = GetHighlighted();
  if (pressed < 0) return;
  const CString name = GetSkinButton(pressed)->GetName();
  MoveButtonMark(pressed, -1);
  OnSkinButton(name);
}

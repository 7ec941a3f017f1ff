#include "skin/CInPlaceCombo.h"

#include "skin/CSkinListCtrl.h"

namespace {

CInPlaceCombo* g_instance = nullptr;

// Posted on close-up: the selection change the close-up brings is handled first.
constexpr UINT kReturnFocus = WM_APP + 0x3E7;

}  // namespace

BEGIN_MESSAGE_MAP(CInPlaceCombo, CComboBox)
  ON_WM_KILLFOCUS()
  ON_CONTROL_REFLECT(CBN_CLOSEUP, OnCloseUp)
  ON_MESSAGE(kReturnFocus, OnReturnFocus)
END_MESSAGE_MAP()

CInPlaceCombo::CInPlaceCombo() : m_nRow(-1), m_nColumn(-1), m_bCancelled(FALSE) {}

CInPlaceCombo* CInPlaceCombo::GetInstance() {
  if (!g_instance) g_instance = new CInPlaceCombo;
  return g_instance;
}

void CInPlaceCombo::DeleteInstance() {
  if (!g_instance) return;
  if (g_instance->GetSafeHwnd()) g_instance->DestroyWindow();
  delete g_instance;
  g_instance = nullptr;
}

BOOL CInPlaceCombo::ShowComboCtrl(CWnd* pList, const CRect& cell, int nRowHeight, int nRow, int nColumn,
                                  const CString& initialText, const CStringList& choices) {
  if (!pList || !pList->GetSafeHwnd()) return FALSE;
  // One instance serves every list: it moves to the list that asks.
  if (GetSafeHwnd() && ::GetParent(m_hWnd) != pList->GetSafeHwnd()) DestroyWindow();
  const CRect rect = cell;
  if (!GetSafeHwnd() && !Create(kStyle, rect, pList, kControlId)) return FALSE;
  m_nRow = nRow;
  m_nColumn = nColumn;
  m_bCancelled = FALSE;
  m_strInitial = initialText;
  m_choices.RemoveAll();
  ResetContent();
  for (POSITION pos = choices.GetHeadPosition(); pos;) {
    const CString& choice = choices.GetNext(pos);
    m_choices.AddTail(choice);
    // One row of the list per choice: the drop-down is as high as the choices.
    SetItemHeight(AddString(choice), static_cast<UINT>(nRowHeight));
  }
  if (CWnd* owner = pList->GetParent()) SetFont(owner->GetFont());
  SetCurSel(FindStringExact(-1, initialText));
  SetWindowPos(&CWnd::wndTop, rect.left, rect.top, rect.Width(), rect.Height(), SWP_SHOWWINDOW);
  SetFocus();
  return TRUE;
}

CString CInPlaceCombo::GetResultText() const {
  if (m_bCancelled) return m_strInitial;
  CString text;
  const int selected = GetCurSel();
  if (selected >= 0) GetLBText(selected, text);
  else text = m_strInitial;
  return text;
}

void CInPlaceCombo::EndEdit() {
  CWnd* list = GetParent();
  if (!list) return;
  const CString text = GetResultText();
  NMLVDISPINFOA info{};
  info.hdr.hwndFrom = m_hWnd;
  info.hdr.idFrom = kControlId;
  info.hdr.code = LVN_ENDLABELEDIT;
  info.item.mask = LVIF_TEXT;
  info.item.iItem = m_nRow;
  info.item.iSubItem = m_nColumn;
  info.item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
  info.item.cchTextMax = text.GetLength();
  list->SendMessage(WM_NOTIFY, kControlId, reinterpret_cast<LPARAM>(&info));
  // Handing the focus back makes the list take the choice into the record.
  if (::GetFocus() == m_hWnd) list->SetFocus();
  ShowWindow(SW_HIDE);
}

BOOL CInPlaceCombo::PreTranslateMessage(MSG* pMsg) {
  // Enter and Esc end the edit here, before any dialog around the list takes them.
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE) &&
      pMsg->hwnd == m_hWnd) {
    if (pMsg->wParam == VK_ESCAPE) m_bCancelled = TRUE;
    // An open drop-down takes the key itself (choosing or closing); the close-up returns the focus.
    if (GetDroppedState()) return FALSE;
    if (CWnd* list = GetParent()) list->SetFocus();
    return TRUE;
  }
  return CComboBox::PreTranslateMessage(pMsg);
}

void CInPlaceCombo::OnKillFocus(CWnd* pNewWnd) {
  CComboBox::OnKillFocus(pNewWnd);
  if (CWnd* list = GetParent()) list->SendMessage(CSkinListCtrl::UM_INPLACE_KILLFOCUS, 0, 0);
}

void CInPlaceCombo::OnCloseUp() { PostMessage(kReturnFocus, 0, 0); }

LRESULT CInPlaceCombo::OnReturnFocus(WPARAM, LPARAM) {
  if (::GetFocus() == m_hWnd)
    if (CWnd* list = GetParent()) list->SetFocus();
  return 0;
}

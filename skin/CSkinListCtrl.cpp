#include "skin/CSkinListCtrl.h"

#include "core/CAppController.h"
#include "core/data/CChannelList.h"
#include "core/data/TunerProgramming.h"
#include "skin/CInPlaceCombo.h"
#include "skin/SkinBitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr float kLeastFrequency = 1e-19f;

// Copies a text into a fixed record field, cut to fit with its terminating zero.
template <std::size_t N>
void CopyField(char (&field)[N], LPCSTR text) {
  std::memset(field, 0, N);
  if (text) std::strncpy(field, text, N - 1);
}

// A frequency text is a number: digits with at most one '.', not first and not empty.
bool IsFrequencyText(const CString& text) {
  if (text.IsEmpty() || text[0] == '.') return false;
  int points = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] == '.') ++points;
    else if (text[i] < '0' || text[i] > '9') return false;
  }
  return points <= 1;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSkinListCtrl, CListCtrl)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_NCDESTROY()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
  ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeydown)
  ON_MESSAGE(UM_LIST_EDIT_CELL, OnEditCell)
  ON_MESSAGE(UM_LIST_COMMIT_EDIT, OnCommitEdit)
  ON_MESSAGE(UM_INPLACE_EDIT_ENTER, OnEditEnter)
  ON_MESSAGE(UM_LIST_COMBO_CELL, OnComboCell)
  ON_MESSAGE(UM_INPLACE_KILLFOCUS, OnInPlaceKillFocus)
  ON_CBN_SELCHANGE(CInPlaceCombo::kControlId, OnComboSelChange)
  ON_NOTIFY(LVN_ENDLABELEDIT, CInPlaceCombo::kControlId, OnComboEndEdit)
  ON_MESSAGE(UM_LIST_ACCEPT_EDIT, OnCommitEdit)
  ON_MESSAGE(UM_LIST_MOVE_UP, OnMoveUp)
  ON_MESSAGE(UM_LIST_MOVE_DOWN, OnMoveDown)
  ON_MESSAGE(UM_LIST_MOVE_TOP, OnMoveTop)
  ON_MESSAGE(UM_LIST_MOVE_BOTTOM, OnMoveBottom)
END_MESSAGE_MAP()

CSkinListCtrl::CSkinListCtrl()
    : m_nFocusRow(-1), m_nFocusColumn(-1), m_bEditing(FALSE), m_nEditRow(-1), m_nEditColumn(-1), m_bComboActive(FALSE),
      m_nComboRow(-1), m_nComboColumn(-1), m_hImages{} {}

CSkinListCtrl::~CSkinListCtrl() { FreeImages(); }

void CSkinListCtrl::FreeImages() {
  for (HBITMAP& image : m_hImages) ReleaseBitmap(image);
}

ChannelRecord* CSkinListCtrl::GetRowRecord(int nRow) const {
  if (nRow < 0 || !m_hWnd || nRow >= GetItemCount()) return nullptr;
  return reinterpret_cast<ChannelRecord*>(GetItemData(nRow));
}

void CSkinListCtrl::ShowRowTexts(int nRow, const ChannelRecord& record) {
  CString text;
  SetItemText(nRow, 0, "");
  SetItemText(nRow, 1, CString(record.StandardName, static_cast<int>(strnlen(record.StandardName, sizeof record.StandardName))));
  text.Format("%d", record.ChannelNumber);
  SetItemText(nRow, 2, text);
  SetItemText(nRow, 3, CString(record.ChannelName, static_cast<int>(strnlen(record.ChannelName, sizeof record.ChannelName))));
  if (record.Frequency > kLeastFrequency) text.Format("%.2f", static_cast<double>(record.Frequency));
  else text.Empty();
  SetItemText(nRow, 4, text);
}

int CSkinListCtrl::InsertRecordRow(int nRow, ChannelRecord* pRecord) {
  if (!pRecord) return -1;
  const int row = InsertItem(nRow, "");
  if (row < 0) return -1;
  SetItemData(row, reinterpret_cast<DWORD_PTR>(pRecord));
  ShowRowTexts(row, *pRecord);
  RedrawRow(row);
  return row;
}

BOOL CSkinListCtrl::SetRowValue(int nRow, float fFrequency) {
  ChannelRecord* record = GetRowRecord(nRow);
  if (!record) return FALSE;
  record->Frequency = fFrequency;
  CString text;
  text.Format("%.2f", static_cast<double>(fFrequency));
  SetItemText(nRow, 4, text);
  RedrawRow(nRow);
  return TRUE;
}

BOOL CSkinListCtrl::SetRowNumber(int nRow, int nNumber) {
  ChannelRecord* record = GetRowRecord(nRow);
  if (!record) return FALSE;
  record->ChannelNumber = nNumber;
  CString text;
  text.Format("%d", nNumber);
  SetItemText(nRow, 2, text);
  RedrawRow(nRow);
  return TRUE;
}

BOOL CSkinListCtrl::SetRowName(int nRow, LPCSTR lpszName) {
  ChannelRecord* record = GetRowRecord(nRow);
  if (!record) return FALSE;
  CopyField(record->ChannelName, lpszName);
  SetItemText(nRow, 3, record->ChannelName);
  RedrawRow(nRow);
  return TRUE;
}

BOOL CSkinListCtrl::SetRowStandard(int nRow, LPCSTR lpszStandard) {
  ChannelRecord* record = GetRowRecord(nRow);
  if (!record) return FALSE;
  // The field holds 9 characters; a longer name is cut rather than run into the next field.
  CopyField(record->StandardName, lpszStandard);
  SetItemText(nRow, 1, CString(record->StandardName));
  RedrawRow(nRow);
  return TRUE;
}

BOOL CSkinListCtrl::SetRowSkip(int nRow, BOOL bSkip) {
  ChannelRecord* record = GetRowRecord(nRow);
  if (!record) return FALSE;
  record->SkipFlag = bSkip ? 1 : 0;
  RedrawRow(nRow);
  return TRUE;
}

BOOL CSkinListCtrl::DeleteRecordRow(int nRow) {
  ChannelRecord* record = GetRowRecord(nRow);
  if (!record) return FALSE;
  delete record;
  SetItemData(nRow, 0);
  return DeleteItem(nRow);
}

int CSkinListCtrl::FindRecordItem(const ChannelRecord* pRecord) const {
  if (!pRecord) return -1;
  for (int row = 0; row < GetItemCount(); ++row) {
    const ChannelRecord* record = GetRowRecord(row);
    if (record && record->ChannelNumber == pRecord->ChannelNumber) return row;
  }
  return -1;
}

void CSkinListCtrl::SetColumnEditable(int nColumn, BOOL bEditable) {
  const auto it = std::find(m_editable.begin(), m_editable.end(), nColumn);
  if (bEditable && it == m_editable.end()) m_editable.push_back(nColumn);
  if (!bEditable && it != m_editable.end()) m_editable.erase(it);
}

BOOL CSkinListCtrl::IsColumnEditable(int nColumn) const {
  return std::find(m_editable.begin(), m_editable.end(), nColumn) != m_editable.end();
}

void CSkinListCtrl::SetBitmaps(HBITMAP hImage1, HBITMAP hImage2, HBITMAP hImage3, HBITMAP hImage4, HBITMAP hImage5,
                               HBITMAP hImage6, const RECT& rc1, const RECT&, const RECT& rc3, const RECT& rc4,
                               const RECT& rc5, const RECT& rc6, const RECT& rc7) {
  FreeImages();
  const HBITMAP sources[6] = {hImage1, hImage2, hImage3, hImage4, hImage5, hImage6};
  const RECT* rects[6] = {&rc1, &rc3, &rc4, &rc5, &rc6, &rc7};
  for (int i = 0; i < 6; ++i) {
    const CRect rect(*rects[i]);
    m_hImages[i] = CutBitmap(sources[i], rect.left, rect.top, rect.Width(), rect.Height());
  }
}

void CSkinListCtrl::SetCellFrameMargins(int nLeft, int nTop, int nRight, int nBottom) {
  m_rcMargins.SetRect(nLeft, nTop, nRight, nBottom);
}

BOOL CSkinListCtrl::MeasureInParent() {
  CRect client;
  GetClientRect(&client);
  ClientToScreen(&client);
  if (CWnd* parent = GetParent()) parent->ScreenToClient(&client);
  return TRUE;
}

void CSkinListCtrl::RedrawRow(int nRow) {
  if (nRow < 0 || nRow >= GetItemCount()) return;
  RedrawItems(nRow, nRow);
  UpdateWindow();
}

int CSkinListCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CListCtrl::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_edit.GetSafeHwnd()) {
    m_edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(0, 0, 0, 0), this,
                  static_cast<UINT>(GetDlgCtrlID() + kEditIdOffset));
    m_edit.LimitText(kNameLimit);
    m_edit.ShowWindow(SW_HIDE);
  }
  return 0;
}

void CSkinListCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  TEXTMETRICA metrics{};
  CClientDC dc(this);
  auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0));
  HGDIOBJ old = dc.SelectObject(font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  dc.GetTextMetrics(&metrics);
  dc.SelectObject(old);
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(std::max(15, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading)) + 4);
}

void CSkinListCtrl::OnSize(UINT nType, int cx, int cy) {
  CListCtrl::OnSize(nType, cx, cy);
  // Before the owner inserts its columns there is nothing to share the width among.
  CHeaderCtrl* header = GetHeaderCtrl();
  const int columns = header ? header->GetItemCount() : 0;
  if (columns > 0) {
    CRect client;
    GetClientRect(&client);
    for (int c = 0; c < columns; ++c) SetColumnWidth(c, client.Width() / columns);
  }
  if (m_bEditing) {
    CRect cell;
    if (GetSubItemRect(m_nEditRow, m_nEditColumn, LVIR_BOUNDS, cell)) {
      cell.right = cell.left + GetColumnWidth(m_nEditColumn);
      m_edit.MoveWindow(&cell);
    }
  }
  Invalidate();
}

LRESULT CSkinListCtrl::OnEraseBkgnd(WPARAM wParam, LPARAM) {
  CRect client;
  GetClientRect(&client);
  ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  return 1;
}

LRESULT CSkinListCtrl::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  const auto style = static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE));
  if (style & (WS_HSCROLL | WS_VSCROLL)) SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style & ~(WS_HSCROLL | WS_VSCROLL)));
  return DefWindowProc(WM_NCCALCSIZE, wParam, lParam);
}

void CSkinListCtrl::OnNcDestroy() {
  for (int row = 0; row < GetItemCount(); ++row) {
    delete GetRowRecord(row);
    SetItemData(row, 0);
  }
  CInPlaceCombo::DeleteInstance();
  m_bComboActive = FALSE;
  CListCtrl::OnNcDestroy();
}

int CSkinListCtrl::HitCell(CPoint point, int& nColumn) {
  LVHITTESTINFO hit{};
  hit.pt = point;
  SubItemHitTest(&hit);
  nColumn = hit.iSubItem;
  return hit.iItem;
}

void CSkinListCtrl::OnButtonDown(CPoint point, bool toggle) {
  int column = -1;
  const int row = HitCell(point, column);
  if (row < 0) return;
  ChannelRecord* record = GetRowRecord(row);
  if (CWnd* parent = GetParent())
    parent->SendMessage(UM_CHANNEL_ROW_CHANGED, 0, reinterpret_cast<LPARAM>(record));
  if (m_bEditing && (m_nEditRow != row || m_nEditColumn != column)) EndEditByUser();
  if (m_bComboActive && (m_nComboRow != row || m_nComboColumn != column)) SendMessage(UM_INPLACE_KILLFOCUS, 0, 0);
  m_nFocusColumn = column;
  m_nFocusRow = row;
  if (toggle && column == 0 && record) {
    record->SkipFlag = record->SkipFlag ? 0 : 1;
    RedrawRow(row);
    if (CWnd* parent = GetParent())
      parent->SendMessage(UM_CHANNEL_FIELD_EDITED, record->SkipFlag, reinterpret_cast<LPARAM>(record));
  }
  ScrollFocusedColumnIntoView();
}

void CSkinListCtrl::ScrollFocusedColumnIntoView() {
  CRect cell;
  if (m_nFocusColumn < 0 || !GetSubItemRect(std::max(0, m_nFocusRow), m_nFocusColumn, LVIR_BOUNDS, cell)) return;
  CRect client;
  GetClientRect(&client);
  const int right = cell.left + GetColumnWidth(m_nFocusColumn);
  int dx = 0;
  if (cell.left < client.left) dx = cell.left - client.left;
  else if (right > client.right) dx = std::min(cell.left - client.left, right - static_cast<int>(client.right));
  if (dx != 0) Scroll(CSize(dx, 0));
}

void CSkinListCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  OnButtonDown(point, true);
  CListCtrl::OnLButtonDown(nFlags, point);
}

void CSkinListCtrl::OnRButtonDown(UINT nFlags, CPoint point) {
  OnButtonDown(point, false);
  int column = -1;
  const int row = HitCell(point, column);
  CListCtrl::OnRButtonDown(nFlags, point);
  RedrawRow(row);
}

void CSkinListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CListCtrl::OnLButtonDblClk(nFlags, point);
  int column = -1;
  const int row = HitCell(point, column);
  if (row < 0) return;
  if (column == 3) {
    if (g_pAppController) g_pAppController->StopScan();
    CellRequest request{row, 3, 0};
    SendMessage(UM_LIST_EDIT_CELL, 0, reinterpret_cast<LPARAM>(&request));
  } else if (column == 2) {
    if (CWnd* parent = GetParent()) parent->PostMessage(UM_CHANNEL_ACTIVATE, static_cast<WPARAM>(row), 0);
  } else if (column == 1) {
    CellRequest request{row, 1, 0};
    SendMessage(UM_LIST_COMBO_CELL, 0, reinterpret_cast<LPARAM>(&request));
    if (CWnd* parent = GetParent()) parent->PostMessage(UM_CHANNEL_ACTIVATE, static_cast<WPARAM>(row), 0);
  }
}

void CSkinListCtrl::OnKeydown(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(pNMHDR);
  const int selected = GetNextItem(-1, LVNI_SELECTED);
  switch (key->wVKey) {
    case VK_RETURN:
      if (!m_bEditing && !m_bComboActive && selected >= 0 && (m_nFocusColumn == 3 || m_nFocusColumn == 1)) {
        CellRequest request{selected, m_nFocusColumn, 0};
        SendMessage(m_nFocusColumn == 3 ? UM_LIST_EDIT_CELL : UM_LIST_COMBO_CELL, 0, reinterpret_cast<LPARAM>(&request));
      }
      return;
    case VK_LEFT:
    case VK_RIGHT:
      CommitEdit();
      CommitCombo();
      m_nFocusColumn = std::clamp(m_nFocusColumn + (key->wVKey == VK_LEFT ? -1 : 1), 0, kColumns - 1);
      m_nFocusRow = selected;
      ScrollFocusedColumnIntoView();
      RedrawRow(selected);
      return;
    case VK_UP:
    case VK_DOWN:
      if (m_nFocusRow < 0 || m_nFocusColumn < 0) return;
      CommitEdit();
      CommitCombo();
      if (CWnd* parent = GetParent()) parent->SendMessage(UM_CHANNEL_ROW_CHANGED, 0, 0);
      m_nFocusRow = std::clamp(m_nFocusRow + (key->wVKey == VK_UP ? -1 : 1), 0, GetItemCount() - 1);
      return;
    default:
      return;
  }
}

LRESULT CSkinListCtrl::OnEditCell(WPARAM, LPARAM lParam) {
  const auto* request = reinterpret_cast<const CellRequest*>(lParam);
  if (!request) return 0;
  return BeginEdit(request->nRow, request->nColumn);
}

BOOL CSkinListCtrl::BeginEdit(int nRow, int nColumn) {
  if (nRow < 0 || nRow >= GetItemCount() || nColumn < 0 || nColumn >= kColumns) return FALSE;
  if (m_bEditing && !CommitEdit()) return FALSE;
  CommitCombo();
  EnsureVisible(nRow, FALSE);
  CRect cell;
  if (!GetSubItemRect(nRow, nColumn, LVIR_BOUNDS, cell)) return FALSE;
  CRect client;
  GetClientRect(&client);
  if (cell.left < 0 || cell.left > client.right) {
    Scroll(CSize(cell.left, 0));
    cell.OffsetRect(-cell.left, 0);
  }
  cell.right = std::min(static_cast<int>(cell.left + GetColumnWidth(nColumn)), static_cast<int>(client.right));
  const CString text = GetItemText(nRow, nColumn);
  LVCOLUMNA column{};
  column.mask = LVCF_FMT;
  GetColumn(nColumn, &column);
  DWORD align = ES_LEFT;
  if ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) align = ES_RIGHT;
  if ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) align = ES_CENTER;
  const auto style = static_cast<DWORD>(m_edit.GetStyle()) & ~static_cast<DWORD>(ES_CENTER | ES_RIGHT);
  ::SetWindowLongA(m_edit.GetSafeHwnd(), GWL_STYLE, static_cast<LONG>(style | align));
  m_edit.SetWindowText(text);
  m_edit.SetSel(text.GetLength(), text.GetLength());
  CClientDC dc(this);
  const int width = std::max(static_cast<int>(dc.GetTextExtent(text).cx), cell.Width());
  m_edit.SetWindowPos(nullptr, cell.left, cell.top, width, cell.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  m_edit.SetFocus();
  if (nColumn == 3) m_strOldName = text;
  if (nColumn == 4) m_strOldValue = text;
  m_bEditing = TRUE;
  m_nEditRow = nRow;
  m_nEditColumn = nColumn;
  return TRUE;
}

BOOL CSkinListCtrl::CommitEdit() {
  if (!m_bEditing) return TRUE;
  CString text;
  m_edit.GetWindowText(text);
  if (m_nEditColumn == 4 && !IsFrequencyText(text)) text = m_strOldValue;
  if (m_nEditColumn == 3 && text.IsEmpty()) text = m_strOldName;
  const int row = m_nEditRow;
  SetItemText(row, m_nEditColumn, text);
  if (ChannelRecord* record = GetRowRecord(row)) {
    if (m_nEditColumn == 3) CopyField(record->ChannelName, text);
    if (m_nEditColumn == 4) record->Frequency = static_cast<float>(std::atof(text));
    if (m_nEditColumn == 1) CopyField(record->StandardName, text);
  }
  m_edit.ShowWindow(SW_HIDE);
  m_bEditing = FALSE;
  m_nEditRow = m_nEditColumn = -1;
  return TRUE;
}

LRESULT CSkinListCtrl::OnCommitEdit(WPARAM, LPARAM) { return m_bEditing && CommitEdit(); }

LRESULT CSkinListCtrl::OnEditEnter(WPARAM wParam, LPARAM lParam) {
  const auto sender = reinterpret_cast<HWND>(lParam ? lParam : static_cast<LPARAM>(wParam));
  if (sender != m_edit.GetSafeHwnd() || !m_bEditing) return 0;
  const int row = m_nEditRow;
  EndEditByUser();
  RedrawRow(row);
  SetFocus();
  return 1;
}

void CSkinListCtrl::EndEditByUser() {
  if (!m_bEditing) return;
  const int row = m_nEditRow;
  const int column = m_nEditColumn;
  CommitEdit();
  ChannelRecord* record = GetRowRecord(row);
  CWnd* parent = GetParent();
  if (parent && column == 4) parent->SendMessage(UM_CHANNEL_EDITED, 0, reinterpret_cast<LPARAM>(record));
  if (parent && column == 3) parent->SendMessage(UM_CHANNEL_UPDATED, 0, reinterpret_cast<LPARAM>(record));
}

LRESULT CSkinListCtrl::OnComboCell(WPARAM, LPARAM lParam) {
  const auto* request = reinterpret_cast<const CellRequest*>(lParam);
  // The standard is chosen per channel only where the tuner uses the 38 MHz standards.
  if (!request || !g_pChannelList || !CurrentCountryUsesIf38()) return 0;
  return BeginCombo(request->nRow, request->nColumn);
}

BOOL CSkinListCtrl::BeginCombo(int nRow, int nColumn) {
  if (nRow < 0 || nRow >= GetItemCount() || !IsColumnEditable(nColumn)) return FALSE;
  if (m_bEditing && !CommitEdit()) return FALSE;
  CommitCombo();
  CStringList choices;
  if (CWnd* parent = GetParent())
    parent->SendMessage(UM_GET_COMBO_ITEMS, static_cast<WPARAM>(nColumn), reinterpret_cast<LPARAM>(&choices));
  EnsureVisible(nRow, FALSE);
  CRect cell;
  if (!GetSubItemRect(nRow, nColumn, LVIR_BOUNDS, cell)) return FALSE;
  cell.right = cell.left + GetColumnWidth(nColumn);
  CInPlaceCombo* combo = CInPlaceCombo::GetInstance();
  if (!combo->ShowComboCtrl(this, cell, cell.Height(), nRow, nColumn, GetItemText(nRow, nColumn), choices)) return FALSE;
  m_bComboActive = TRUE;
  m_nComboRow = nRow;
  m_nComboColumn = nColumn;
  return TRUE;
}

BOOL CSkinListCtrl::CommitCombo() {
  if (!m_bComboActive) return FALSE;
  CInPlaceCombo* combo = CInPlaceCombo::GetInstance();
  const CString text = combo->GetResultText();
  const int row = m_nComboRow;
  const int column = m_nComboColumn;
  m_bComboActive = FALSE;
  m_nComboRow = m_nComboColumn = -1;
  SetItemText(row, column, text);
  ChannelRecord* record = GetRowRecord(row);
  if (record && column == 1) CopyField(record->StandardName, text);
  if (combo->GetSafeHwnd()) combo->ShowWindow(SW_HIDE);
  RedrawRow(row);
  if (text == combo->GetInitialText()) return TRUE;
  // Stored first, so the re-tuning reads the new standard from the channel list.
  if (record && column == 1) Store(*record);
  RetuneWithStandard(text);
  return TRUE;
}

void CSkinListCtrl::RetuneWithStandard(const CString& standard) {
  if (g_pAppController) {
    g_pAppController->SetAudioOn(0);
    g_pAppController->ApplyChannelStandard(standard);
  }
  if (g_pChannelList) {
    const int list = GetActiveChannelListIndex();
    g_pChannelList->TuneChannel(g_pChannelList->GetCurrentChannel(list), list);
  }
  if (g_pAppController) g_pAppController->SetAudioOn(1);
}

LRESULT CSkinListCtrl::OnInPlaceKillFocus(WPARAM, LPARAM) { return CommitCombo(); }

void CSkinListCtrl::OnComboSelChange() {
  if (m_bComboActive) CInPlaceCombo::GetInstance()->EndEdit();
}

void CSkinListCtrl::OnComboEndEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  auto* info = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR);
  if (!info->item.pszText || info->item.iItem < 0 || info->item.iItem >= GetItemCount()) return;
  SetItemText(info->item.iItem, info->item.iSubItem, info->item.pszText);
  if (CWnd* parent = GetParent())
    parent->SendMessage(UM_COMBO_ITEM_CHOSEN, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(info));
}

void CSkinListCtrl::PlaceCombo() {
  CInPlaceCombo* combo = CInPlaceCombo::GetInstance();
  CRect cell;
  if (!combo->GetSafeHwnd() || !GetSubItemRect(m_nComboRow, m_nComboColumn, LVIR_BOUNDS, cell)) return;
  CRect now;
  combo->GetWindowRect(&now);
  ScreenToClient(&now);
  if (now.TopLeft() != cell.TopLeft())
    combo->SetWindowPos(nullptr, cell.left, cell.top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
  combo->Invalidate();
  combo->UpdateWindow();
}

void CSkinListCtrl::Store(const ChannelRecord& record) {
  // The channel list takes a copy; the row keeps its own record.
  const int list = GetActiveChannelListIndex();
  if (g_pChannelList && list > 0 && record.ChannelNumber >= 1)
    g_pChannelList->PutChannel(record.ChannelNumber, list, new ChannelRecord(record));
}

void CSkinListCtrl::SwapRows(int a, int b) {
  ChannelRecord* first = GetRowRecord(a);
  ChannelRecord* second = GetRowRecord(b);
  if (!first || !second) return;
  // The records change rows and swap numbers, so the numbers stay in row order.
  std::swap(first->ChannelNumber, second->ChannelNumber);
  SetItemData(a, reinterpret_cast<DWORD_PTR>(second));
  SetItemData(b, reinterpret_cast<DWORD_PTR>(first));
  ShowRowTexts(a, *second);
  ShowRowTexts(b, *first);
  Store(*second);
  Store(*first);
}

void CSkinListCtrl::MoveFocusedRow(int nSteps) {
  CommitEdit();
  CommitCombo();
  int row = GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) return;
  const ChannelRecord* moved = GetRowRecord(row);
  const bool tuned = moved && g_pChannelList &&
                     g_pChannelList->GetCurrentChannel(GetActiveChannelListIndex()) == moved->ChannelNumber;
  const int target = std::clamp(row + nSteps, 0, GetItemCount() - 1);
  while (row != target) {
    const int next = row + (target > row ? 1 : -1);
    SwapRows(row, next);
    row = next;
  }
  SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EnsureVisible(row, FALSE);
  m_nFocusRow = row;
  Invalidate();
  // The tuned channel keeps playing under its new number.
  if (tuned && g_pChannelList) {
    const ChannelRecord* record = GetRowRecord(row);
    const int list = GetActiveChannelListIndex();
    if (g_pAppController) g_pAppController->SetAudioOn(0);
    g_pChannelList->TuneChannel(record->ChannelNumber, list);
    if (g_pAppController) g_pAppController->SetAudioOn(1);
  }
}

LRESULT CSkinListCtrl::OnMoveUp(WPARAM, LPARAM) {
  MoveFocusedRow(-1);
  return 1;
}

LRESULT CSkinListCtrl::OnMoveDown(WPARAM, LPARAM) {
  MoveFocusedRow(1);
  return 1;
}

LRESULT CSkinListCtrl::OnMoveTop(WPARAM, LPARAM) {
  MoveFocusedRow(-GetItemCount());
  return 1;
}

LRESULT CSkinListCtrl::OnMoveBottom(WPARAM, LPARAM) {
  MoveFocusedRow(GetItemCount());
  return 1;
}

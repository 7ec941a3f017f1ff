#include "skin/CDriveFolderList.h"

#include <win32/file.h>

#include <algorithm>
#include <cstring>

BEGIN_MESSAGE_MAP(CDriveFolderList, CListBox)
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEWHEEL()
  ON_WM_KEYDOWN()
  ON_WM_PAINT()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
END_MESSAGE_MAP()

namespace {

constexpr int kDriveBuffer = 128;

// A name or path cut to its 256-character field.
void CopyField(char (&field)[256], LPCSTR text) {
  std::memset(field, 0, sizeof(field));
  if (text) std::strncpy(field, text, sizeof(field) - 1);
}

}  // namespace

CDriveFolderList::CDriveFolderList()
    : m_crFill(0xFF0000),
      m_crItemBk(0xFFFFFF),
      m_crText(0xFFFFFF),
      m_bSeparator(FALSE),
      m_nSel(-1),
      m_nHot(-1),
      m_nRemembered(-1),
      m_nLimit(-1),
      m_bWrap(FALSE),
      m_hHotIcon(nullptr),
      m_bOption(FALSE) {}

CDriveFolderList::~CDriveFolderList() {
  for (int i = 0; i < m_items.GetSize(); ++i) delete static_cast<DriveFolderItem*>(m_items[i]);
  if (m_hHotIcon) ::DestroyIcon(m_hHotIcon);
}

BOOL CDriveFolderList::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CListBox::Create(dwStyle | WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE, rect, pParentWnd, nID);
}

DriveFolderItem* CDriveFolderList::MakeRecord(LPCSTR lpszName, LPCSTR lpszPath, int nValue1, int nValue2,
                                              BOOL bFolder) {
  auto* record = new DriveFolderItem{};
  CopyField(record->szName, lpszName);
  CopyField(record->szPath, lpszPath);
  record->nValue1 = nValue1;
  record->nValue2 = nValue2;
  record->bFolder = bFolder;
  return record;
}

int CDriveFolderList::Append(DriveFolderItem* pRecord) {
  m_items.Add(pRecord);
  const int index = AddString(pRecord->szName);
  if (index >= 0) CListBox::SetItemData(index, reinterpret_cast<DWORD_PTR>(pRecord));
  return index;
}

const DriveFolderItem* CDriveFolderList::GetRecord(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
  const DWORD_PTR data = GetItemData(nIndex);
  return data == static_cast<DWORD_PTR>(LB_ERR) ? nullptr : reinterpret_cast<const DriveFolderItem*>(data);
}

BOOL CDriveFolderList::ListDrives() {
  ResetContent();
  char drives[kDriveBuffer] = {};
  const DWORD length = ::GetLogicalDriveStringsA(sizeof(drives), drives);
  if (length == 0 || length > sizeof(drives)) return FALSE;
  for (const char* drive = drives; *drive; drive += std::strlen(drive) + 1) {
    const UINT type = ::GetDriveTypeA(drive);
    if (type == DRIVE_CDROM || type == DRIVE_REMOTE || type == DRIVE_UNKNOWN) continue;
    AddItem(drive, 0, 0);
  }
  return TRUE;
}

int CDriveFolderList::AddSubFolders(LPCSTR lpszFolder, int nValue1, int nValue2, BOOL bFoldersOnly) {
  const CString folder = lpszFolder ? lpszFolder : "";
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA(folder + "*.*", &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int added = 0;
  do {
    const CString name = found.cFileName;
    if (name == "." || name == "..") continue;
    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (bFoldersOnly && isFolder) {
      Append(MakeRecord(name, folder + name, nValue1, nValue2, TRUE));
      ++added;
    } else if (!bFoldersOnly) {
      Append(MakeRecord(name, "", 0, 0, FALSE));
      ++added;
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return added;
}

BOOL CDriveFolderList::ParentFolder(CString& strPath) {
  CString path = strPath;
  if (!path.IsEmpty() && path[path.GetLength() - 1] == '\\') path = path.Left(path.GetLength() - 1);
  const int slash = path.ReverseFind('\\');
  if (slash < 0) return FALSE;
  strPath = path.Left(slash + 1);
  return TRUE;
}

int CDriveFolderList::AddItem(LPCSTR lpszText, int nValue1, int nValue2) {
  return Append(MakeRecord(lpszText, "", nValue1, nValue2, FALSE));
}

int CDriveFolderList::SetItem(int nIndex, LPCSTR lpszText, BOOL bGrow) {
  if (nIndex == -1) return -1;
  if (!lpszText || !*lpszText) return 0;
  if (nIndex < 0 || nIndex > GetCount()) return LB_ERR;
  if (nIndex >= GetCount()) AddItem("", 0, 0);
  if (bGrow) m_items.Add(nullptr);
  DriveFolderItem* record = MakeRecord(lpszText, "", 0, 0, FALSE);
  // The record replaced is freed, wherever it is kept.
  auto* old = const_cast<DriveFolderItem*>(GetRecord(nIndex));
  for (int i = 0; i < m_items.GetSize(); ++i)
    if (m_items[i] == old) m_items.RemoveAt(i);
  delete old;
  m_items.InsertAt(std::min(nIndex, static_cast<int>(m_items.GetSize())), record);
  const int result = CListBox::SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(record));
  Invalidate();
  return result;
}

void CDriveFolderList::ResetContent() {
  for (int i = 0; i < m_items.GetSize(); ++i) delete static_cast<DriveFolderItem*>(m_items[i]);
  m_items.RemoveAll();
  CListBox::ResetContent();
  m_nSel = -1;
  Invalidate();
}

void CDriveFolderList::RemoveItemData(int nIndex) {
  auto* record = const_cast<DriveFolderItem*>(GetRecord(nIndex));
  if (!record) return;
  for (int i = 0; i < m_items.GetSize(); ++i)
    if (m_items[i] == record) m_items.RemoveAt(i);
  CListBox::SetItemData(nIndex, 0);
  delete record;
}

CString CDriveFolderList::GetCurSelText() const {
  const DriveFolderItem* record = GetRecord(m_nSel);
  return record ? CString(record->szName) : CString();
}

BOOL CDriveFolderList::GetCurSelIsFolder() const {
  const DriveFolderItem* record = GetRecord(m_nSel);
  return record && record->bFolder;
}

int CDriveFolderList::SetCurSel(int nIndex) {
  m_nSel = nIndex;
  const int result = CListBox::SetCurSel(nIndex);
  if (nIndex >= 0 && nIndex < GetCount() && nIndex < GetTopIndex()) SetTopIndex(nIndex);
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return result;
}

void CDriveFolderList::Notify(int nIndex) {
  if (CWnd* parent = GetParent()) parent->SendMessage(UM_LIST_SELCHANGE, static_cast<WPARAM>(nIndex), 0);
}

void CDriveFolderList::SelectPrev() {
  int next = m_nSel < 0 ? 0 : std::max(0, m_nSel - 1);
  if (m_bWrap && m_nLimit > 0 && next > m_nLimit - 1) next = 0;
  SetCurSel(next);
  Notify(next);
  Invalidate();
}

void CDriveFolderList::SelectNext() {
  int next = m_nSel < 0 ? 0 : std::min(GetCount() - 1, m_nSel + 1);
  if (m_bWrap && m_nLimit > 0) {
    if (m_nSel == m_nLimit - 1) next = m_nSel;
    else if (next > m_nLimit - 1) next = 0;
  }
  SetCurSel(next);
  Notify(next);
  Invalidate();
}

void CDriveFolderList::SetHotIcon(HICON hIcon) {
  if (m_hHotIcon && m_hHotIcon != hIcon) ::DestroyIcon(m_hHotIcon);
  m_hHotIcon = hIcon;
}

void CDriveFolderList::GetMargins(int& nLeft, int& nTop, int& nRight, int& nBottom) const {
  nLeft = m_rcMargins.left;
  nTop = m_rcMargins.top;
  nRight = m_rcMargins.right;
  nBottom = m_rcMargins.bottom;
}

void CDriveFolderList::ToggleMark(int nIndex) {
  m_nHot = nIndex;
  if (m_nLimit >= 0 && nIndex > m_nLimit - 1) {
    m_nHot = m_nRemembered;
  } else if (nIndex == m_nRemembered) {
    m_nHot = m_nRemembered = -1;
  } else {
    m_nRemembered = nIndex;
  }
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CDriveFolderList::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemWidth = kItemWidth;
  lpMeasureItemStruct->itemHeight = kItemHeight;
}

void CDriveFolderList::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  CRect rect(lpDrawItemStruct->rcItem);
  const int index = static_cast<int>(lpDrawItemStruct->itemID);
  CBrush frame(m_crItemBk);
  dc->FrameRect(&rect, &frame);
  CRect fill = rect;
  fill.DeflateRect(1, 1);
  dc->FillSolidRect(&fill, m_crFill);
  if (m_bSeparator) dc->DrawEdge(&rect, EDGE_SUNKEN, BF_BOTTOM);
  if (index == m_nHot && m_hHotIcon) ::DrawIconEx(dc->GetSafeHdc(), rect.left + 2, rect.top + 2, m_hHotIcon, 0, 0, 0, nullptr, DI_NORMAL);
  const DriveFolderItem* record = GetRecord(index);
  if (!record) return;
  CRect text = rect;
  text.DeflateRect(2, 2);
  text.OffsetRect(2, 10);
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(m_crText);
  const CString name = record->szName;
  if (!m_bOption) {
    dc->DrawText(name, &text, DT_SINGLELINE | DT_LEFT | DT_TOP);
    return;
  }
  const int first = name.Find(' ');
  const int last = name.ReverseFind(' ');
  if (first >= 0) dc->DrawText(name.Left(first), &text, DT_SINGLELINE | DT_LEFT | DT_TOP);
  dc->DrawText(name.Mid(last + 1) + "       ", &text, DT_SINGLELINE | DT_RIGHT);
}

void CDriveFolderList::SelectFromPoint(CPoint point) {
  BOOL outside = TRUE;
  const int index = static_cast<int>(ItemFromPoint(point, outside));
  if (outside || index < 0 || index >= GetCount()) return;
  if (index != m_nSel) {
    SetCurSel(index);
    Notify(index);
  }
  Invalidate();
}

void CDriveFolderList::OnLButtonUp(UINT nFlags, CPoint point) {
  CListBox::OnLButtonUp(nFlags, point);
  SelectFromPoint(point);
}

void CDriveFolderList::OnMouseMove(UINT nFlags, CPoint point) {
  CListBox::OnMouseMove(nFlags, point);
  SelectFromPoint(point);
}

void CDriveFolderList::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CListBox::OnLButtonDblClk(nFlags, point);
  if (CWnd* parent = GetParent()) parent->SendMessage(UM_FOLDER_SELECTED, 0, 0);
}

BOOL CDriveFolderList::OnMouseWheel(UINT, short zDelta, CPoint) {
  if (zDelta < 1) SelectNext();
  else SelectPrev();
  return TRUE;
}

void CDriveFolderList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  const int caret = GetCaretIndex();
  if ((nChar == VK_UP && caret != 0) || (nChar == VK_DOWN && caret >= 0 && caret < GetCount())) m_nSel = caret;
  CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
  m_nSel = CListBox::GetCurSel();
}

LRESULT CDriveFolderList::OnEraseBkgnd(WPARAM, LPARAM) { return 1; }

// The background is never erased, so the room below the last item is filled here, in the
// items' own fill: a row taken away would otherwise stay on the screen, mark and all.
void CDriveFolderList::OnPaint() {
  Default();
  CRect below;
  GetClientRect(&below);
  if (const int count = GetCount(); count > 0) {
    CRect last;
    GetItemRect(count - 1, &last);
    below.top = std::max(below.top, last.bottom);
  }
  if (below.IsRectEmpty()) return;
  CClientDC dc(this);
  dc.FillSolidRect(&below, m_crFill);
}

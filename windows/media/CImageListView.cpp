#include "windows/media/CImageListView.h"

#include "windows/media/MediaFileKinds.h"

#include <vendor/cximage/CxImage.h>
#include <vendor/language/Language.h>
#include <win32/shell/dropfiles.h>

namespace {

constexpr COLORREF kThumbBackground = 0xFFFFFF;
constexpr COLORREF kThumbFrame = 0xC0C0C0;
// The styles the view adds: show-selection-always and auto-arrange (0x108), and single
// selection (0x10C in all) when asked.
constexpr DWORD kAddedStyle = LVS_SHOWSELALWAYS | LVS_AUTOARRANGE;

// The menu texts by popup position (the separators at 3 and 6 have none).
struct MenuText {
  UINT position;
  int text;
};
constexpr MenuText kMenuTexts[] = {{0, 1}, {1, 2}, {2, 3}, {4, 4}, {5, 5}, {7, 6}};

}  // namespace

BEGIN_MESSAGE_MAP(CImageListView, CListCtrl)
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_CONTEXTMENU()
  ON_WM_DROPFILES()
  ON_MESSAGE(WM_ENTERMENULOOP, OnEnterMenuLoop)
  ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
  ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeyDownNotify)
  ON_COMMAND(ID_LIST_PLAY, OnPlay)
  ON_COMMAND(ID_LIST_DELETE, OnDelete)
  ON_COMMAND(ID_LIST_CLEAR, OnClear)
  ON_COMMAND(ID_LIST_ADD_FILE, OnAddFile)
  ON_COMMAND(ID_LIST_ADD_FOLDER, OnAddFolder)
END_MESSAGE_MAP()

CImageListView::CImageListView(BOOL bSingleSelection, int nStoredValue)
    : m_bSingleSelection(bSingleSelection), m_nStoredValue(nStoredValue) {
  if (!m_menu.LoadMenu(IDR_IMAGE_LIST_MENU)) return;
  CMenu* popup = m_menu.GetSubMenu(0);
  if (!popup) return;
  for (const MenuText& entry : kMenuTexts)
    popup->ModifyMenu(entry.position, MF_BYPOSITION | MF_STRING, popup->GetMenuItemID(static_cast<int>(entry.position)),
                      GetMenuItem(entry.text));
}

CImageListView::~CImageListView() {
  if (m_hWnd) DestroyWindow();
  for (POSITION pos = m_items.GetHeadPosition(); pos;) {
    auto* item = static_cast<CMediaFileItem*>(m_items.GetNext(pos));
    if (item->IsVideo()) item->DeleteThumbnail();
    delete item;
  }
  m_items.RemoveAll();
}

BOOL CImageListView::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  const DWORD style = (dwStyle & ~LVS_TYPEMASK) | LVS_ICON | kAddedStyle | (m_bSingleSelection ? LVS_SINGLESEL : 0);
  if (!CListCtrl::Create(style, rect, pParentWnd, nID)) return FALSE;
  if (!m_images.Create(kThumbSize, kThumbSize, ILC_COLOR24, 0, 1)) return FALSE;
  if (::SendMessageA(m_hWnd, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)) {
    m_images.DeleteImageList();
    return FALSE;
  }
  SetImageList(&m_images, LVSIL_NORMAL);
  m_tip.Create(this, CCoolTip::kFade | CCoolTip::kSemiTransparent, 150, 150);
  if (m_bAcceptFiles) DragAcceptFiles(TRUE);
  return TRUE;
}

void CImageListView::SetNotifyWindow(HWND hWnd) { m_hNotifyWnd = ::IsWindow(hWnd) ? hWnd : nullptr; }

void CImageListView::SetMenuMode(int nMode) {
  if (nMode == -1) return;
  m_nMenuMode = nMode;
  // The picture list has no "play" entry. It is taken out by its command, so setting the
  // mode again leaves the other entries alone.
  CMenu* popup = m_menu.GetSafeHmenu() ? m_menu.GetSubMenu(0) : nullptr;
  if (nMode == 1 && popup && popup->GetMenuState(ID_LIST_PLAY, MF_BYCOMMAND) != 0xFFFFFFFF)
    popup->RemoveMenu(ID_LIST_PLAY, MF_BYCOMMAND);
}

void CImageListView::EnableHoverTips(BOOL bEnable) {
  m_bTipsEnabled = bEnable;
  if (bEnable || !m_hWnd) return;
  KillTimer(kHoverTimer);
  HideTip();
}

CMediaFileItem* CImageListView::GetItem(int nIndex) const {
  if (!m_hWnd || nIndex < 0 || nIndex >= GetItemCount()) return nullptr;
  return reinterpret_cast<CMediaFileItem*>(GetItemData(nIndex));
}

int CImageListView::IndexOf(const CMediaFileItem* pItem) const {
  for (int i = 0; i < GetItemCount(); ++i)
    if (GetItem(i) == pItem) return i;
  return -1;
}

LRESULT CImageListView::Notify(UINT message, WPARAM wParam, LPARAM lParam) {
  return HasNotifyWindow() ? ::SendMessageA(m_hNotifyWnd, message, wParam, lParam) : 0;
}

BOOL CImageListView::AddItem(const CMediaFileItem* pItem, BOOL bDraw) {
  const int index = InsertItemLast(pItem, bDraw);
  return index >= 0 && MoveItemToTop(index);
}

int CImageListView::InsertItemLast(const CMediaFileItem* pItem, BOOL bDraw) {
  if (!pItem || !m_hWnd) return -1;
  const int count = GetItemCount();
  const int image = m_images.GetImageCount();
  auto* copy = new CMediaFileItem(*pItem);
  copy->SetDisplayName("");  // thumbnails carry no caption

  SetRedraw(FALSE);
  const int index = InsertItem(count, "", image);
  if (index < 0 || !m_images.SetImageCount(static_cast<UINT>(image + 1))) {
    if (index >= 0) DeleteItem(index);
    SetRedraw(TRUE);
    delete copy;
    return -1;
  }
  copy->SetSecondIndex(image);
  SetItemData(index, reinterpret_cast<DWORD_PTR>(copy));
  m_items.AddTail(copy);
  SetRedraw(TRUE);
  Invalidate();
  if (!bDraw) return index;

  if (!DrawThumbnail(*copy, image)) {
    RemoveItem(index, FALSE);
    return -1;
  }
  RedrawItems(index, index);
  Invalidate();
  return index;
}

bool CImageListView::DrawThumbnail(const CMediaFileItem& item, int nImage) {
  const CString path = item.GetImagePath();
  const unsigned long format = GetImageFormatFromExtension(path);
  if (format == 0) return false;
  CxImage picture(path, format);
  if (!picture.IsValid() || picture.GetWidth() == 0) return false;

  HDC listDC = ::GetDC(m_hWnd);
  HDC dc = ::CreateCompatibleDC(listDC);
  HBITMAP thumb = ::CreateCompatibleBitmap(listDC, kThumbSize, kThumbSize);
  HGDIOBJ old = ::SelectObject(dc, thumb);
  const RECT square{0, 0, kThumbSize, kThumbSize};
  HBRUSH white = ::CreateSolidBrush(kThumbBackground);
  ::FillRect(dc, &square, white);
  ::DeleteObject(white);
  // A wide picture is stretched over the square; a tall one keeps its shape, centred.
  const double ratio = static_cast<double>(picture.GetHeight()) / static_cast<double>(picture.GetWidth());
  if (ratio <= 1.0) {
    picture.Stretch(dc, 0, 0, kThumbSize, kThumbSize);
  } else {
    const long width = static_cast<long>(kThumbSize / ratio);
    picture.Stretch(dc, (kThumbSize - width) / 2, 0, width, kThumbSize);
  }
  HBRUSH grey = ::CreateSolidBrush(kThumbFrame);
  ::FrameRect(dc, &square, grey);
  ::DeleteObject(grey);
  ::SelectObject(dc, old);
  const BOOL replaced = ::ImageList_Replace(m_images, nImage, thumb, nullptr);
  ::DeleteObject(thumb);
  ::DeleteDC(dc);
  ::ReleaseDC(m_hWnd, listDC);
  return replaced != FALSE;
}

BOOL CImageListView::RemoveItem(int nIndex, BOOL bDeleteFile) {
  CMediaFileItem* item = GetItem(nIndex);
  if (!item) return FALSE;
  if (bDeleteFile) {
    int named = 0;
    for (int i = 0; i < GetItemCount(); ++i) named += CMediaFileItem::IsSameFile(item, GetItem(i)) ? 1 : 0;
    if (named == 1) {
      if (item->IsVideo())
        item->DeleteVideoFile();
      else
        item->DeletePictureFile();
    }
  }
  if (POSITION pos = m_items.Find(item)) m_items.RemoveAt(pos);
  if (item->IsVideo()) item->DeleteThumbnail();
  const int image = item->GetSecondIndex();
  delete item;
  DeleteItem(nIndex);
  m_images.Remove(image);
  for (int i = 0; i < GetItemCount(); ++i) {
    CMediaFileItem* other = GetItem(i);
    if (!other || other->GetSecondIndex() <= image) continue;
    other->SetSecondIndex(other->GetSecondIndex() - 1);
    SetItem(i, 0, LVIF_IMAGE, nullptr, other->GetSecondIndex(), 0, 0, 0);
  }
  return TRUE;
}

BOOL CImageListView::RemoveAllItems(BOOL bDeleteFiles) {
  for (POSITION pos = m_items.GetHeadPosition(); pos;) {
    auto* item = static_cast<CMediaFileItem*>(m_items.GetNext(pos));
    if (item->IsVideo()) item->DeleteThumbnail();
    if (bDeleteFiles) {
      if (item->IsVideo())
        item->DeleteVideoFile();
      else
        item->DeletePictureFile();
    }
    delete item;
  }
  m_items.RemoveAll();
  if (!m_hWnd) return TRUE;
  m_images.Remove(-1);
  DeleteAllItems();
  return TRUE;
}

BOOL CImageListView::SelectItem(int nIndex, BOOL bClamp) {
  const int count = m_hWnd ? GetItemCount() : 0;
  if (nIndex < 0 || nIndex >= count) {
    if (!bClamp || count == 0) return FALSE;
    nIndex = nIndex < 0 ? 0 : count - 1;
  }
  EnsureVisible(nIndex, TRUE);
  SetItemState(nIndex, LVIS_SELECTED, LVIS_SELECTED);
  return TRUE;
}

void CImageListView::DeselectItem(int nIndex) {
  if (GetItem(nIndex)) SetItemState(nIndex, 0, LVIS_SELECTED);
}

BOOL CImageListView::IsItemSelected(int nIndex) const {
  if (!m_hWnd) return FALSE;
  for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
    if (i == nIndex) return TRUE;
  return FALSE;
}

int CImageListView::GetFirstSelected() const { return m_hWnd ? GetNextItem(-1, LVNI_SELECTED) : -1; }

int CImageListView::HitTest(CPoint point) const { return m_hWnd ? CListCtrl::HitTest(point) : -1; }

void CImageListView::ShowItem(int nIndex) {
  const CMediaFileItem* item = GetItem(nIndex);
  if (item) SetItem(nIndex, 0, LVIF_TEXT | LVIF_IMAGE, item->GetDisplayName(), item->GetSecondIndex(), 0, 0, 0);
}

bool CImageListView::MoveRow(int nFrom, int nTo) {
  CMediaFileItem* item = GetItem(nFrom);
  if (!item || nTo < 0 || nTo >= GetItemCount()) return false;
  if (nFrom == nTo) return true;
  const UINT state = GetItemState(nFrom, LVIS_SELECTED | LVIS_FOCUSED);
  DeleteItem(nFrom);
  LVITEMA row{};
  row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  row.iItem = nTo;
  const CString name = item->GetDisplayName();
  row.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(name));
  row.iImage = item->GetSecondIndex();
  row.lParam = reinterpret_cast<LPARAM>(item);
  row.state = state;
  row.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  return InsertItem(&row) == nTo;
}

// A move by n places is n swaps of neighbours, which together take the item out and put it
// back n places on, the others keeping their order; one step past either end fails the
// move where it stands.
BOOL CImageListView::MoveItemUp(int nIndex, int nCount) {
  if (nCount < 0) return MoveItemDown(nIndex, -nCount);
  if (!GetItem(nIndex)) return FALSE;
  const int target = nIndex - nCount;
  if (!MoveRow(nIndex, target < 0 ? 0 : target)) return FALSE;
  return target >= 0;
}

BOOL CImageListView::MoveItemDown(int nIndex, int nCount) {
  if (nCount < 0) return MoveItemUp(nIndex, -nCount);
  if (!GetItem(nIndex)) return FALSE;
  const int last = GetItemCount() - 1;
  const int target = nIndex + nCount;
  if (!MoveRow(nIndex, target > last ? last : target)) return FALSE;
  return target <= last;
}

// The selected states trade places with the items. Swapping does not ask whether the
// files are still there: a vanished file must not leave a new item stranded mid-list.
BOOL CImageListView::SwapItems(int nFirst, int nSecond) {
  CMediaFileItem* first = GetItem(nFirst);
  CMediaFileItem* second = GetItem(nSecond);
  if (!first || !second) return FALSE;
  const UINT firstState = GetItemState(nFirst, LVIS_SELECTED);
  const UINT secondState = GetItemState(nSecond, LVIS_SELECTED);
  SetItemData(nFirst, reinterpret_cast<DWORD_PTR>(second));
  SetItemData(nSecond, reinterpret_cast<DWORD_PTR>(first));
  ShowItem(nFirst);
  ShowItem(nSecond);
  SetItemState(nFirst, secondState, LVIS_SELECTED);
  SetItemState(nSecond, firstState, LVIS_SELECTED);
  return TRUE;
}

BOOL CImageListView::UpdateItem(int nIndex, const CMediaFileItem* pSource) {
  CMediaFileItem* item = GetItem(nIndex);
  if (!item || !pSource || !item->MainFileExists() || !pSource->MainFileExists()) return FALSE;
  if (item != pSource) *item = *pSource;
  ShowItem(nIndex);
  return TRUE;
}

int CImageListView::SortByLoadOrder() {
  const int count = m_hWnd ? GetItemCount() : 0;
  for (int p = 0; p < count; ++p) {
    CMediaFileItem* here = GetItem(p);
    if (here->GetLoadOrder() == -1 || here->GetLoadOrder() == p) {
      here->SetLoadOrder(-1);
      continue;
    }
    int smallest = -1;
    for (int i = p; i < count; ++i) {
      const int order = GetItem(i)->GetLoadOrder();
      if (order != -1 && (smallest < 0 || order < GetItem(smallest)->GetLoadOrder())) smallest = i;
    }
    if (smallest < 0) continue;
    CMediaFileItem* moved = GetItem(smallest);
    MoveItemUp(smallest, smallest - p);
    moved->SetLoadOrder(-1);
  }
  return 1;
}

void CImageListView::HideTip() {
  if (m_tip.GetSafeHwnd() && m_tip.IsVisible()) m_tip.Hide();
}

void CImageListView::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bTipsEnabled && !m_bInMenuLoop) {
    m_ptLastMouse = point;
    if (HitTest(point) == -1) m_nHotItem = -1;
    SetTimer(kHoverTimer, kHoverMs, nullptr);
  }
  Default();
  Notify(WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
}

void CImageListView::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHoverTimer) {
    Default();
    return;
  }
  if (!m_bTipsEnabled || m_bInMenuLoop) return;
  CPoint cursor;
  ::GetCursorPos(&cursor);
  CRect window;
  GetWindowRect(&window);
  if (!window.PtInRect(cursor)) {
    m_nHotItem = -1;
    KillTimer(kHoverTimer);
    HideTip();
    return;
  }
  const int index = HitTest(m_ptLastMouse);
  const CMediaFileItem* item = GetItem(index);
  if (!item || index == m_nHotItem) return;
  RedrawItems(index, index);
  m_nHotItem = index;
  CRect bounds;
  GetItemRect(index, &bounds, LVIR_BOUNDS);
  ClientToScreen(&bounds);
  m_tip.SetHotRect(bounds);
  m_tip.SetTitle(item->GetInfoText());
  m_tip.SetText(item->GetDisplayName());
  m_tip.SetShowDelay(15);
  m_tip.SetPicture(item->GetImagePath());
  m_tip.Show(cursor);
}

bool CImageListView::DropVanishedItemAt(CPoint point) {
  const int index = HitTest(point);
  const CMediaFileItem* item = GetItem(index);
  if (!item || item->MainFileExists()) return false;
  RemoveItem(index, FALSE);
  return true;
}

void CImageListView::OnLButtonDown(UINT, CPoint point) {
  HideTip();
  if (HasNotifyWindow()) Notify(UM_LIST_PLAY_STATE, HitTest(point) >= 0 ? 1 : 0, 0);
  if (DropVanishedItemAt(point)) return;
  Default();
}

void CImageListView::OnRButtonDown(UINT, CPoint point) {
  HideTip();
  if (DropVanishedItemAt(point)) return;
  Default();
}

void CImageListView::OnLButtonDblClk(UINT, CPoint) {
  Default();
  const int index = GetFirstSelected();
  CMediaFileItem* item = GetItem(index);
  if (!item) return;
  if (!item->MainFileExists()) {
    RemoveItem(index, FALSE);
    return;
  }
  item->SetThirdIndex(index);
  Notify(UM_OPEN_LIST_ITEM, reinterpret_cast<WPARAM>(m_hWnd), reinterpret_cast<LPARAM>(item));
}

void CImageListView::OnKeyDownNotify(NMHDR* pNotify, LRESULT* pResult) {
  Notify(UM_LIST_KEYDOWN, static_cast<WPARAM>(GetFirstSelected()), reinterpret_cast<LPARAM>(pNotify));
  *pResult = 0;
}

BOOL CImageListView::PreTranslateMessage(MSG* pMsg) {
  if (m_bTipsEnabled && m_tip.GetSafeHwnd()) m_tip.RelayEvent(pMsg);
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
    ::TranslateMessage(pMsg);
    ::DispatchMessageA(pMsg);
    return TRUE;
  }
  return CListCtrl::PreTranslateMessage(pMsg);
}

void CImageListView::OnContextMenu(CWnd*, CPoint pos) {
  if (!m_bMenuEnabled || (m_nMenuMode != 0 && m_nMenuMode != 1) || !m_menu.GetSafeHmenu()) return;
  CMenu* popup = m_menu.GetSubMenu(0);
  if (!popup) return;
  const bool selected = GetFirstSelected() >= 0;
  const UINT state = selected ? MF_ENABLED : (MF_DISABLED | MF_GRAYED);
  // By position: play, delete and the unbound entry; in mode 1 play is gone.
  static constexpr UINT kPlayerEntries[] = {0, 1, 7};
  static constexpr UINT kPictureEntries[] = {0, 6};
  if (m_nMenuMode == 0)
    for (const UINT position : kPlayerEntries) popup->EnableMenuItem(position, MF_BYPOSITION | state);
  else
    for (const UINT position : kPictureEntries) popup->EnableMenuItem(position, MF_BYPOSITION | state);
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pos.x, pos.y, this);
}

LRESULT CImageListView::OnEnterMenuLoop(WPARAM, LPARAM) {
  if (m_bMenuEnabled) m_bInMenuLoop = TRUE;
  return Default();
}

LRESULT CImageListView::OnExitMenuLoop(WPARAM, LPARAM) {
  m_bInMenuLoop = FALSE;
  return Default();
}

void CImageListView::OnDropFiles(HDROP hDropInfo) {
  Notify(UM_LIST_DROP_FILES, reinterpret_cast<WPARAM>(hDropInfo), 0);
  // The block is the receiver's only while the message is being handled; it goes now.
  ::DragFinish(hDropInfo);
}

void CImageListView::OnPlay() {
  CMediaFileItem* item = GetItem(GetFirstSelected());
  if (!item) return;
  if (m_nMenuMode == 0) Notify(UM_LIST_PLAY_ITEM, reinterpret_cast<WPARAM>(m_hWnd), reinterpret_cast<LPARAM>(item));
  if (m_nMenuMode == 1) Notify(UM_LIST_OPEN_ITEM, reinterpret_cast<WPARAM>(m_hWnd), reinterpret_cast<LPARAM>(item));
}

// The item is held by its pointer across the question: while the box is up, messages from
// other programs (the remote's previous and next) can move the selection, and only the
// item the user was asked about may lose its file.
void CImageListView::OnDelete() {
  CMediaFileItem* item = GetItem(GetFirstSelected());
  if (!item) return;
  Notify(UM_LIST_ITEM_DELETED, reinterpret_cast<WPARAM>(m_hWnd), reinterpret_cast<LPARAM>(item));
  if (IndexOf(item) < 0) return;
  if (m_bConfirmDelete && ::MessageBoxA(m_hWnd, GetMessageInfo(10), GetMessageInfo(3), MB_OKCANCEL) != IDOK) return;
  const int index = IndexOf(item);
  if (index >= 0) RemoveItem(index, TRUE);
}

void CImageListView::OnClear() {
  RemoveAllItems(FALSE);
  Notify(UM_LIST_CLEARED, 0, 0);
  Invalidate();
  UpdateWindow();
}

void CImageListView::OnAddFile() {
  if (HasNotifyWindow()) Notify(UM_LIST_ADD_FILE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CImageListView::OnAddFolder() { Notify(UM_LIST_SET_FOLDER, reinterpret_cast<WPARAM>(m_hWnd), 0); }

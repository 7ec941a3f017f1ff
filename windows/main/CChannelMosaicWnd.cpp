#include "windows/main/CChannelMosaicWnd.h"

#include "windows/main/CMosaicCell.h"
#include "windows/main/WindowMessages.h"

#include <new>

namespace {

constexpr UINT kHashBuckets = 17;
constexpr UINT kFirstCellId = 1000;

}  // namespace

BEGIN_MESSAGE_MAP(CChannelMosaicWnd, CWnd)
  ON_WM_CREATE()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_NCHITTEST()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CChannelMosaicWnd::CChannelMosaicWnd() { m_cells.InitHashTable(kHashBuckets); }

CChannelMosaicWnd::~CChannelMosaicWnd() {
  POSITION position = m_cells.GetStartPosition();
  while (position) {
    int index = 0;
    CMosaicCell* cell = nullptr;
    m_cells.GetNextAssoc(position, index, cell);
    if (cell->GetSafeHwnd()) cell->DestroyWindow();
    delete cell;
  }
  m_cells.RemoveAll();
}

BOOL CChannelMosaicWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd) {
  return CWnd::Create("STATIC", "", dwStyle, rect, pParentWnd, 0);
}

CRect CChannelMosaicWnd::CellRect(int index) const {
  CRect client;
  GetClientRect(&client);
  const int w = client.Width() / kColumns;
  const int h = client.Height() / kColumns;
  const int column = index % kColumns;
  const int row = index / kColumns;
  return CRect(column * w, row * h, (column + 1) * w, (row + 1) * h);
}

// Column by column, and down each column; a cell that cannot be made is left out.
int CChannelMosaicWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  for (int column = 0; column < kColumns; ++column) {
    for (int row = 0; row < kColumns; ++row) {
      const int index = column + kColumns * row;
      auto* cell = new (std::nothrow) CMosaicCell(index);
      if (!cell) continue;
      if (!cell->Create(WS_CHILD | WS_VISIBLE | WS_DLGFRAME, CellRect(index), this,
                        kFirstCellId + static_cast<UINT>(column))) {
        delete cell;
        continue;
      }
      m_cells.SetAt(index, cell);
    }
  }
  return 0;
}

CMosaicCell* CChannelMosaicWnd::GetCell(int index) const {
  CMosaicCell* cell = nullptr;
  return m_cells.Lookup(index, cell) ? cell : nullptr;
}

BOOL CChannelMosaicWnd::SetCellChannel(int index, int channel) {
  CMosaicCell* cell = index >= 0 ? GetCell(index) : nullptr;
  return cell && cell->SetChannel(channel);
}

BOOL CChannelMosaicWnd::SetCellPicture(int index, HBITMAP picture) {
  CMosaicCell* cell = GetCell(index);
  return cell && cell->SetPicture(picture);
}

HWND CChannelMosaicWnd::GetCellWindow(int index) const {
  CMosaicCell* cell = GetCell(index);
  return cell ? cell->GetSafeHwnd() : nullptr;
}

void CChannelMosaicWnd::LayoutCells() {
  for (int index = 0; index < kCells; ++index)
    if (CMosaicCell* cell = GetCell(index)) cell->MoveWindow(CellRect(index), TRUE);
}

LRESULT CChannelMosaicWnd::OnEraseBkgnd(WPARAM wParam, LPARAM) {
  CRect client;
  GetClientRect(&client);
  HBRUSH grey = ::CreateSolidBrush(kBackground);
  ::FillRect(reinterpret_cast<HDC>(wParam), &client, grey);
  ::DeleteObject(grey);
  return TRUE;
}

// A static passes the mouse to its parent; the mosaic wants the pointer's moves itself.
LRESULT CChannelMosaicWnd::OnNcHitTest(CPoint) { return HTCLIENT; }

void CChannelMosaicWnd::OnMouseMove(UINT, CPoint) {
  if (CWnd* parent = GetParent()) parent->SendMessage(UM_ENTER_FULLSCREEN, 1, 0);
}

void CChannelMosaicWnd::ToggleFullScreen() {
  if (m_fullScreen) LeaveFullScreen();
  else EnterFullScreen();
}

// The client area covers the screen, the frame (none for the mosaic) outside it.
void CChannelMosaicWnd::EnterFullScreen() {
  if (CWnd* parent = GetParent()) parent->SendMessage(UM_ENTER_FULLSCREEN, 0, 0);
  m_savedPlacement.length = sizeof m_savedPlacement;
  GetWindowPlacement(&m_savedPlacement);
  CRect window;
  GetWindowRect(&window);
  CRect client;
  GetClientRect(&client);
  CPoint origin(0, 0);
  ClientToScreen(&origin);
  CRect cover(window.left - origin.x, window.top - origin.y,
              ::GetSystemMetrics(SM_CXSCREEN) + (window.right - origin.x - client.Width()),
              ::GetSystemMetrics(SM_CYSCREEN) + (window.bottom - origin.y - client.Height()));
  if (CWnd* parent = GetParent()) parent->ScreenToClient(&cover);
  WINDOWPLACEMENT placement = m_savedPlacement;
  placement.flags = 0;
  placement.showCmd = SW_SHOWNORMAL;
  placement.rcNormalPosition = cover;
  SetWindowPlacement(&placement);
  LayoutCells();
  m_fullScreen = TRUE;
  SetFocus();
}

void CChannelMosaicWnd::LeaveFullScreen() {
  SetWindowPlacement(&m_savedPlacement);
  LayoutCells();
  Invalidate();
  m_fullScreen = FALSE;
  if (CWnd* parent = GetParent()) parent->SendMessage(UM_LEAVE_FULLSCREEN, 0, 0);
}

#include "windows/main/CMosaicCell.h"

#include "core/CAppController.h"
#include "skin/SkinBitmap.h"
#include "windows/main/WindowMessages.h"

namespace {

constexpr char kTvWindowTitle[] = "Orvane Media_TVDlg";
constexpr int kLabelWidth = 100;
constexpr int kLabelHeight = 25;
constexpr int kCloseForChannel = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CMosaicCell, CWnd)
  ON_WM_PAINT()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_LBUTTONDBLCLK()
  ON_WM_SIZE()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CMosaicCell::~CMosaicCell() { ReleaseBitmap(m_picture); }

BOOL CMosaicCell::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("BUTTON", "", dwStyle, rect, pParentWnd, nID);
}

void CMosaicCell::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  ModifyStyle(0xFF, BS_OWNERDRAW);
}

BOOL CMosaicCell::SetChannel(int channel) {
  if (channel < 0) return FALSE;
  m_channel = channel;
  return TRUE;
}

BOOL CMosaicCell::SetPicture(HBITMAP picture) {
  BITMAP info{};
  if (!picture || !::GetObjectA(picture, sizeof info, &info)) return FALSE;
  HBITMAP copy = CutBitmap(picture, 0, 0, info.bmWidth, info.bmHeight);
  if (!copy) return FALSE;
  ReleaseBitmap(m_picture);
  m_picture = copy;
  if (m_hWnd) Invalidate(FALSE);
  return TRUE;
}

void CMosaicCell::Draw(HDC hdc) {
  CRect client;
  GetClientRect(&client);
  const int oldMode = ::SetStretchBltMode(hdc, COLORONCOLOR);
  StretchWholeBitmap(hdc, client, m_picture);
  ::SetStretchBltMode(hdc, oldMode);
  if (m_channel <= 0) return;
  CString label;
  label.Format("Channel%d", m_channel);
  CRect text(client.Width() - kLabelWidth, 0, client.Width(), kLabelHeight);
  ::SetTextColor(hdc, kLabelColour);
  ::SetBkMode(hdc, TRANSPARENT);
  ::DrawTextA(hdc, label, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void CMosaicCell::OnPaint() {
  CPaintDC dc(this);
  Draw(dc.GetSafeHdc());
}

// The first erase only fills the cell grey; later ones draw it.
LRESULT CMosaicCell::OnEraseBkgnd(WPARAM wParam, LPARAM) {
  auto hdc = reinterpret_cast<HDC>(wParam);
  if (m_eraseOnce) {
    CRect client;
    GetClientRect(&client);
    HBRUSH grey = ::CreateSolidBrush(kEmptyColour);
    ::FillRect(hdc, &client, grey);
    ::DeleteObject(grey);
    m_eraseOnce = FALSE;
  } else {
    Draw(hdc);
  }
  return TRUE;
}

// A cell that has not shown a channel yet names none to tune.
void CMosaicCell::OnLButtonDblClk(UINT, CPoint) {
  if (m_channel > 0) {
    if (HWND tv = ::FindWindowA(nullptr, kTvWindowTitle))
      ::PostMessageA(tv, UM_MOSAIC_CLOSED, kCloseForChannel, m_channel);
  }
  Invalidate();
}

void CMosaicCell::OnSize(UINT, int cx, int cy) {
  if (g_pAppController) g_pAppController->SetVideoRect(0, 0, cx, cy);
}

void CMosaicCell::OnMouseMove(UINT nFlags, CPoint point) {
  if (CWnd* mosaic = GetParent()) mosaic->SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
}

#include "skin/CTaskbarNotifier.h"

#include "skin/SkinBitmap.h"
#include "skin/SkinFonts.h"

#include <vendor/language/Language.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr UINT_PTR kAppearTimer = 1;
constexpr UINT_PTR kStayTimer = 2;
constexpr UINT_PTR kHideTimer = 3;
constexpr int kPixelStep = 2;
constexpr int kNoColour = 65535;
constexpr UINT kTextFormat = DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS;

bool IsColourPart(int nValue) { return nValue >= 0 && nValue < kNoColour; }

LOGFONTA NoticeFont(LPCSTR szFont, int nSize, int nStyle) {
  LOGFONTA logFont{};
  logFont.lfHeight = nSize;
  logFont.lfWeight = (nStyle & CTaskbarNotifier::kBold) ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = (nStyle & CTaskbarNotifier::kItalic) ? TRUE : FALSE;
  logFont.lfUnderline = (nStyle & CTaskbarNotifier::kUnderline) ? TRUE : FALSE;
  logFont.lfCharSet = CharSetForLanguage(GetLanguage());
  std::strncpy(logFont.lfFaceName, szFont ? szFont : "", LF_FACESIZE - 1);
  return logFont;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTaskbarNotifier, CWnd)
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CTaskbarNotifier::CTaskbarNotifier()
    : m_hSkin(nullptr),
      m_hSkinRegion(nullptr),
      m_nSkinWidth(0),
      m_nSkinHeight(0),
      m_nRegionOffsetY(0),
      m_nSkinOffsetY(0),
      m_crNormalTextColor(0xB59285),
      m_crSelectedTextColor(0x6A240A),
      m_bMouseIsOver(FALSE),
      m_nAnimStatus(kHidden),
      m_dwTimeToShow(0),
      m_dwTimeToStay(0),
      m_dwTimeToHide(0),
      m_dwShowEvents(0),
      m_dwHideEvents(0),
      m_nStartPosX(0),
      m_nStartPosY(0),
      m_nCurrentPosX(0),
      m_nCurrentPosY(0),
      m_nTaskbarPlacement(kBottom),
      m_nIncrement(kPixelStep) {}

CTaskbarNotifier::~CTaskbarNotifier() {
  if (m_hWnd) DestroyWindow();
  ReleaseSkin();
}

BOOL CTaskbarNotifier::Create(CWnd* pWndParent) {
  LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  return CreateEx(0, lpszClass, nullptr, WS_POPUP, 0, 0, 0, 0, pWndParent ? pWndParent->GetSafeHwnd() : nullptr,
                  nullptr);
}

void CTaskbarNotifier::ReleaseSkin() {
  ReleaseBitmap(m_hSkin);
  if (m_hSkinRegion) ::DeleteObject(m_hSkinRegion);
  m_hSkinRegion = nullptr;
}

BOOL CTaskbarNotifier::SetSkin(UINT nBitmapID, int nRed, int nGreen, int nBlue) {
  return SetSkin(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapID)), nRed, nGreen, nBlue);
}

BOOL CTaskbarNotifier::SetSkin(HBITMAP hBitmap, int nRed, int nGreen, int nBlue) {
  ReleaseSkin();
  m_nSkinWidth = m_nSkinHeight = 0;
  m_hSkin = hBitmap;
  if (m_hSkin) {
    BITMAP bm{};
    ::GetObjectA(m_hSkin, sizeof bm, &bm);
    m_nSkinWidth = bm.bmWidth;
    m_nSkinHeight = bm.bmHeight;
  }
  m_rcText.SetRect(0, 0, m_nSkinWidth, m_nSkinHeight);
  // The region builder matches the key colour's low byte against blue.
  if (m_hSkin && IsColourPart(nRed) && IsColourPart(nGreen) && IsColourPart(nBlue))
    m_hSkinRegion = BitmapToRegion(m_hSkin, RGB(nBlue & 0xFF, nGreen & 0xFF, nRed & 0xFF));
  m_nRegionOffsetY = 0;
  if (m_hWnd) {
    ApplyRegion(0);
    SetWindowPos(nullptr, 0, 0, m_nSkinWidth, m_nSkinHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return m_hSkin != nullptr;
}

void CTaskbarNotifier::ApplyRegion(int nOffsetY) {
  m_nRegionOffsetY = nOffsetY;
  if (!m_hSkinRegion) {
    ::SetWindowRgn(m_hWnd, nullptr, TRUE);
    return;
  }
  HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
  ::CombineRgn(hRegion, m_hSkinRegion, nullptr, RGN_COPY);
  ::OffsetRgn(hRegion, 0, nOffsetY);
  ::SetWindowRgn(m_hWnd, hRegion, TRUE);
}

void CTaskbarNotifier::SetTextFont(LPCSTR szFont, int nSize, int nNormalStyle, int nSelectedStyle) {
  m_myNormalFont.DeleteObject();
  m_mySelectedFont.DeleteObject();
  const LOGFONTA normal = NoticeFont(szFont, nSize, nNormalStyle);
  const LOGFONTA selected = NoticeFont(szFont, nSize, nSelectedStyle);
  m_myNormalFont.CreatePointFontIndirect(&normal);
  m_mySelectedFont.CreatePointFontIndirect(&selected);
}

void CTaskbarNotifier::SetTextColor(COLORREF crNormalTextColor, COLORREF crSelectedTextColor) {
  m_crNormalTextColor = crNormalTextColor;
  m_crSelectedTextColor = crSelectedTextColor;
  if (m_hWnd) Invalidate();
}

void CTaskbarNotifier::SetTextRect(const RECT& rcText) {
  m_rcText = rcText;
  if (m_hWnd) Invalidate();
}

void CTaskbarNotifier::ReadTaskbarPlacement() {
  RECT rcWorkArea{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWorkArea, 0);
  m_rcWorkArea = rcWorkArea;
  const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
  const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
  if (m_rcWorkArea.Width() < cxScreen)
    m_nTaskbarPlacement = m_rcWorkArea.left == 0 ? kRight : kLeft;
  else if (m_rcWorkArea.Height() < cyScreen && m_rcWorkArea.top != 0)
    m_nTaskbarPlacement = kTop;
  else
    m_nTaskbarPlacement = kBottom;
}

CString CTaskbarNotifier::BreakLines(const CString& strText, int nLineLength) {
  CString broken = strText;
  if (nLineLength <= 0) return broken;
  for (int k = broken.GetLength() / nLineLength; k >= 1; --k) broken.Insert(k * nLineLength, '\n');
  return broken;
}

void CTaskbarNotifier::Show(LPCTSTR szCaption, DWORD dwTimeToShow, DWORD dwTimeToStay, DWORD dwTimeToHide, int) {
  if (!m_hWnd) return;
  m_strCaption = szCaption ? szCaption : "";
  SetWindowText(m_strCaption);
  m_dwTimeToShow = dwTimeToShow;
  m_dwTimeToStay = dwTimeToStay;
  m_dwTimeToHide = dwTimeToHide;
  switch (m_nAnimStatus) {
    case kHidden:
      ReadTaskbarPlacement();
      StartSlide();
      break;
    case kAppearing:
      Invalidate();
      break;
    case kShowing:
      Invalidate();
      KillTimer(kStayTimer);
      SetTimer(kStayTimer, m_dwTimeToStay, nullptr);
      break;
    case kDisappearing: {
      KillTimer(kHideTimer);
      const CPoint visible = VisiblePosition();
      m_nCurrentPosX = visible.x;
      m_nCurrentPosY = visible.y;
      PlaceWindow();
      Invalidate();
      m_nAnimStatus = kShowing;
      SetTimer(kStayTimer, m_dwTimeToStay, nullptr);
      break;
    }
  }
}

void CTaskbarNotifier::StartSlide() {
  const bool bSideways = m_nTaskbarPlacement == kLeft || m_nTaskbarPlacement == kRight;
  // A skin smaller than one step (or none) still slides in one step.
  const DWORD dwSteps = static_cast<DWORD>(std::max(1, (bSideways ? m_nSkinWidth : m_nSkinHeight) / m_nIncrement));
  m_dwShowEvents = m_dwTimeToShow / dwSteps;
  m_dwHideEvents = m_dwTimeToHide / dwSteps;
  switch (m_nTaskbarPlacement) {
    case kRight:
      m_nStartPosX = m_rcWorkArea.right;
      m_nStartPosY = m_rcWorkArea.bottom - m_nSkinHeight;
      break;
    case kLeft:
      m_nStartPosX = m_rcWorkArea.left - m_nSkinWidth;
      m_nStartPosY = m_rcWorkArea.bottom - m_nSkinHeight;
      break;
    case kTop:
      m_nStartPosX = m_rcWorkArea.right - m_nSkinWidth;
      m_nStartPosY = m_rcWorkArea.top - m_nSkinHeight;
      break;
    default:
      m_nStartPosX = m_rcWorkArea.right - m_nSkinWidth;
      m_nStartPosY = m_rcWorkArea.bottom;
      break;
  }
  m_nCurrentPosX = m_nStartPosX;
  m_nCurrentPosY = m_nStartPosY;
  PlaceWindow();
  ShowWindow(SW_SHOWNOACTIVATE);
  m_nAnimStatus = kAppearing;
  SetTimer(kAppearTimer, m_dwShowEvents, nullptr);
}

CPoint CTaskbarNotifier::VisiblePosition() const {
  switch (m_nTaskbarPlacement) {
    case kRight:
      return CPoint(m_rcWorkArea.right - m_nSkinWidth, m_nStartPosY);
    case kLeft:
      return CPoint(m_rcWorkArea.left, m_nStartPosY);
    case kTop:
      return CPoint(m_nStartPosX, m_rcWorkArea.top);
    default:
      return CPoint(m_nStartPosX, m_rcWorkArea.bottom - m_nSkinHeight);
  }
}

BOOL CTaskbarNotifier::StepSlide(int nDirection) {
  const CPoint target = nDirection > 0 ? VisiblePosition() : CPoint(m_nStartPosX, m_nStartPosY);
  const auto approach = [this](int nFrom, int nTo) {
    return nFrom < nTo ? std::min(nFrom + m_nIncrement, nTo) : std::max(nFrom - m_nIncrement, nTo);
  };
  m_nCurrentPosX = approach(m_nCurrentPosX, target.x);
  m_nCurrentPosY = approach(m_nCurrentPosY, target.y);
  PlaceWindow();
  return m_nCurrentPosX == target.x && m_nCurrentPosY == target.y;
}

void CTaskbarNotifier::PlaceWindow() {
  int nTop = m_nCurrentPosY;
  int nHeight = m_nSkinHeight;
  if (m_nTaskbarPlacement == kBottom) {
    nHeight = std::clamp(m_rcWorkArea.bottom - m_nCurrentPosY, 0, m_nSkinHeight);
  } else if (m_nTaskbarPlacement == kTop) {
    nTop = std::max(m_nCurrentPosY, static_cast<int>(m_rcWorkArea.top));
    nHeight = std::clamp(m_nCurrentPosY + m_nSkinHeight - nTop, 0, m_nSkinHeight);
  }
  m_nSkinOffsetY = m_nCurrentPosY - nTop;
  if (m_nSkinOffsetY != m_nRegionOffsetY) ApplyRegion(m_nSkinOffsetY);
  SetWindowPos(&wndTopMost, m_nCurrentPosX, nTop, m_nSkinWidth, nHeight, SWP_NOACTIVATE);
}

void CTaskbarNotifier::KillAllTimers() {
  KillTimer(kAppearTimer);
  KillTimer(kStayTimer);
  KillTimer(kHideTimer);
}

void CTaskbarNotifier::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kAppearTimer:
      if (m_nAnimStatus == kAppearing && StepSlide(1)) {
        KillTimer(kAppearTimer);
        m_nAnimStatus = kShowing;
        SetTimer(kStayTimer, m_dwTimeToStay, nullptr);
      }
      break;
    case kStayTimer:
      KillTimer(kStayTimer);
      m_nAnimStatus = kDisappearing;
      SetTimer(kHideTimer, m_dwHideEvents, nullptr);
      break;
    case kHideTimer:
      if (m_nAnimStatus == kDisappearing && StepSlide(-1)) {
        KillAllTimers();
        ShowWindow(SW_HIDE);
        m_nAnimStatus = kHidden;
      }
      break;
    default:
      CWnd::OnTimer(nIDEvent);
      break;
  }
}

LRESULT CTaskbarNotifier::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

void CTaskbarNotifier::OnPaint() {
  CPaintDC dc(this);
  DrawNotice(dc);
}

void CTaskbarNotifier::DrawNotice(CDC& dc) {
  if (m_hSkin) {
    CDC memDC;
    memDC.CreateCompatibleDC(&dc);
    HGDIOBJ hOld = memDC.SelectObject(m_hSkin);
    dc.BitBlt(0, m_nSkinOffsetY, m_nSkinWidth, m_nSkinHeight, &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(hOld);
  }
  CFont& font = m_bMouseIsOver ? m_mySelectedFont : m_myNormalFont;
  CFont* pOldFont = font.GetSafeHandle() ? dc.SelectObject(&font) : nullptr;
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(m_bMouseIsOver ? m_crSelectedTextColor : m_crNormalTextColor);
  CRect rcText = m_rcText;
  rcText.OffsetRect(0, m_nSkinOffsetY);
  dc.DrawText(m_strCaption, &rcText, kTextFormat);
  if (pOldFont) dc.SelectObject(pOldFont);
}

void CTaskbarNotifier::OnMouseMove(UINT nFlags, CPoint point) {
  CRect rcClient;
  GetClientRect(&rcClient);
  if (!rcClient.PtInRect(point)) {
    // The pointer left while we held the capture.
    if (GetCapture() == this) ::ReleaseCapture();
  } else if (!m_bMouseIsOver) {
    m_bMouseIsOver = TRUE;
    SetCapture();
    Invalidate();
  }
  CWnd::OnMouseMove(nFlags, point);
}

void CTaskbarNotifier::OnCaptureChanged(CWnd* pWnd) {
  if (m_bMouseIsOver) {
    m_bMouseIsOver = FALSE;
    Invalidate();
  }
  CWnd::OnCaptureChanged(pWnd);
}

void CTaskbarNotifier::OnLButtonUp(UINT nFlags, CPoint point) {
  CRect rcClient;
  GetClientRect(&rcClient);
  if (rcClient.PtInRect(point)) {
    if (HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER)) ::PostMessageA(hOwner, UM_NOTIFIER_CLICKED, 0, 0);
  }
  CWnd::OnLButtonUp(nFlags, point);
}

#include "skin/CCoolTip.h"

#include "skin/SkinBitmap.h"

#include <win32/module.h>
#include <win32/version.h>

#include <algorithm>

namespace {

constexpr const char* kClassName = "CoolTipCtrl";
constexpr const char* kTitle = "COOL_TIP_CTRL_WINDOW";
constexpr int kShadowFactors[CCoolTip::kShadow] = {170, 205, 220, 240};

using SetLayeredProc = BOOL (*)(HWND, COLORREF, BYTE, DWORD);

// Looked up at run time, as on systems without layered windows it is missing.
SetLayeredProc LayeredFunction() {
  HMODULE user = ::GetModuleHandleA("user32.dll");
  if (!user) user = ::LoadLibraryA("user32.dll");
  return user ? reinterpret_cast<SetLayeredProc>(::GetProcAddress(user, "SetLayeredWindowAttributes")) : nullptr;
}

COLORREF Darken(COLORREF color, int factor) {
  return RGB(GetRValue(color) * factor / 255, GetGValue(color) * factor / 255, GetBValue(color) * factor / 255);
}

}  // namespace

BEGIN_MESSAGE_MAP(CCoolTip, CWnd)
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
END_MESSAGE_MAP()

CCoolTip::CCoolTip()
    : m_dwStyle(0),
      m_nState(kHidden),
      m_nAlpha(0),
      m_nShowDelay(10),
      m_nCountdown(0),
      m_ptShow{0, 0},
      m_crBack(0xE1FFFA),
      m_size(10, 10),
      m_hPicture(nullptr) {}

CCoolTip::~CCoolTip() {
  ReleaseBitmap(m_hPicture);
  if (m_hWnd) DestroyWindow();
}

BOOL CCoolTip::CanFade() const {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  return (m_dwStyle & kFade) && ::GetVersionExA(&version) && version.dwMajorVersion >= 5 && LayeredFunction();
}

BOOL CCoolTip::Create(CWnd* pParentWnd, DWORD dwStyleFlags, int nWidth, int nHeight) {
  // A second registration of the class fails harmlessly.
  WNDCLASSA wc{};
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.lpszClassName = kClassName;
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  ::RegisterClassA(&wc);
  m_dwStyle = dwStyleFlags;
  m_size = CSize(nWidth, nHeight);
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | (CanFade() ? WS_EX_LAYERED : 0);
  return CreateEx(exStyle, kClassName, kTitle, WS_POPUP, 0, 0, nWidth, nHeight,
                  pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}

void CCoolTip::SetPicture(LPCSTR lpszPath) {
  m_strPicture = lpszPath ? lpszPath : "";
  ReleaseBitmap(m_hPicture);
  SIZE size{};
  if (!m_strPicture.IsEmpty()) LoadPictureFile(m_strPicture, m_hPicture, size);
}

bool CCoolTip::PointerInHot() const {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  return m_rcHot.PtInRect(cursor) != FALSE;
}

void CCoolTip::Wait(int nCountdown) {
  m_nState = kWaiting;
  m_nCountdown = nCountdown;
  SetTimer(kWaitTimer, kWaitMs, nullptr);
  SetTimer(kWatchTimer, kWatchMs, nullptr);
}

int CCoolTip::Show(POINT point) {
  m_ptShow = point;
  if (IsVisible() && m_nState != kWaiting) {
    // What is up goes first, so the new title, text and picture show once it has gone;
    // left standing, a tip the pointer stays in would never make way.
    m_dwStyle |= kShowPending;
    if (m_nState != kFadingOut) Disappear();
    return 0;
  }
  Wait(m_nShowDelay);
  return 1;
}

int CCoolTip::Hide() {
  if (m_nState == kHidden) return 0;
  if (m_nState == kWaiting) {
    KillTimer(kWaitTimer);
    KillTimer(kWatchTimer);
    m_nState = kHidden;
    return 1;
  }
  if (CanFade()) {
    m_nState = kFadingOut;
    SetTimer(kFadeTimer, kFadeMs, nullptr);
    return 1;
  }
  Finish();
  return 1;
}

void CCoolTip::RelayEvent(const MSG* pMsg) {
  if (pMsg && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_RBUTTONDOWN)) Hide();
}

void CCoolTip::ApplyAlpha() {
  if (SetLayeredProc setLayered = LayeredFunction())
    setLayered(m_hWnd, 0, static_cast<BYTE>(std::clamp(m_nAlpha, 0, 255)), LWA_ALPHA);
}

void CCoolTip::Appear() {
  SetWindowPos(&CWnd::wndTopMost, m_ptShow.x, m_ptShow.y, m_size.cx, m_size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (CanFade()) {
    m_nState = kFadingIn;
    m_nAlpha = 0;
    ApplyAlpha();
    SetTimer(kFadeTimer, kFadeMs, nullptr);
  } else {
    m_nState = kShown;
    m_nAlpha = 255;
    SetTimer(kFadeTimer, kShowMs, nullptr);
  }
  Invalidate();
}

void CCoolTip::Finish() {
  m_nAlpha = 0;
  m_nState = kHidden;
  KillTimer(kFadeTimer);
  KillTimer(kWatchTimer);
  KillTimer(kWaitTimer);
  ShowWindow(SW_HIDE);
  if (m_dwStyle & kShowPending) {
    m_dwStyle &= ~kShowPending;
    Wait(1);
  }
}

void CCoolTip::Disappear() {
  KillTimer(kWaitTimer);
  KillTimer(kWatchTimer);
  if (CanFade()) {
    m_nState = kFadingOut;
    SetTimer(kFadeTimer, kFadeMs, nullptr);
  } else {
    Finish();
  }
}

void CCoolTip::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kWaitTimer:
      if (m_nState != kWaiting || --m_nCountdown > 0) return;
      KillTimer(kWaitTimer);
      if (!PointerInHot()) {
        // Left before the delay ended: nothing shows, and the tip counts as hidden.
        KillTimer(kWatchTimer);
        m_nState = kHidden;
        return;
      }
      Appear();
      return;
    case kFadeTimer:
      if (m_nState == kFadingIn) {
        m_nAlpha = std::min(255, m_nAlpha + kAlphaStep);
        if (m_nAlpha >= 255) {
          m_nState = kShown;
          m_nAlpha = (m_dwStyle & kSemiTransparent) ? 230 : 255;
          KillTimer(kFadeTimer);
          SetTimer(kWatchTimer, kWatchMs, nullptr);
        }
        ApplyAlpha();
      } else if (m_nState == kFadingOut) {
        m_nAlpha = std::max(0, m_nAlpha - kAlphaStep);
        ApplyAlpha();
        if (m_nAlpha == 0) Finish();
      } else {
        Finish();
      }
      return;
    case kWatchTimer:
      if (m_nState == kWaiting) {
        // Not shown yet: a pointer that left ends the wait, with no fade of a tip never shown.
        if (!PointerInHot()) {
          KillTimer(kWaitTimer);
          KillTimer(kWatchTimer);
          m_nState = kHidden;
        }
        return;
      }
      if (m_nState == kShown && !PointerInHot()) Disappear();
      return;
    default:
      return;
  }
}

LRESULT CCoolTip::OnEraseBkgnd(WPARAM, LPARAM) { return 1; }

// The tip shows at the pointer: the pointer passes through it to the window beneath, which
// keeps following it (a list moves its tip on to the next item).
LRESULT CCoolTip::OnNcHitTest(WPARAM, LPARAM) { return HTTRANSPARENT; }

void CCoolTip::OnPaint() {
  CPaintDC dc(this);
  Paint(dc);
}

void CCoolTip::Paint(CDC& dc) {
  CRect client;
  GetClientRect(&client);
  CRect body(0, 0, client.right - kShadow, client.bottom - kShadow);
  // The screen beneath shows through the shadow strips, darkened row by row.
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
  for (int d = 0; d < kShadow; ++d) {
    const COLORREF shade = Darken(::GetSysColor(COLOR_WINDOW), kShadowFactors[d]);
    dc.FillSolidRect(body.right + d, kShadow, 1, body.bottom, shade);
    dc.FillSolidRect(kShadow, body.bottom + d, body.right, 1, shade);
  }
  dc.FillSolidRect(&body, m_crBack);
  CBrush frame(RGB(0, 0, 0));
  dc.FrameRect(&body, &frame);
  body.DeflateRect(4, 2);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  HGDIOBJ old = dc.SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
  CRect line = body;
  if (!m_strTitle.IsEmpty()) {
    dc.DrawText(m_strTitle, &line, DT_LEFT | DT_TOP | DT_SINGLELINE);
    line.top += 16;
  }
  if (!m_strText.IsEmpty()) {
    dc.DrawText(m_strText, &line, DT_LEFT | DT_TOP | DT_SINGLELINE);
    line.top += 16;
  }
  dc.SelectObject(old);
  if (m_hPicture && line.bottom > line.top) {
    dc.SetStretchBltMode(COLORONCOLOR);
    StretchWholeBitmap(dc.GetSafeHdc(), line, m_hPicture);
  }
}

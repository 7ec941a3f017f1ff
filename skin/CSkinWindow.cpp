#include "skin/CSkinWindow.h"

#include "core/CAppController.h"
#include "skin/CIniFile.h"
#include "skin/CSkinButton.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"

#include <mfc/wnd/afxgdi.h>

#include <algorithm>

namespace {

constexpr int kGrip = 5;
constexpr const char* kFrameSection = "DialogResInfo";
constexpr const char* kPartNames[] = {"TopLeft",     "MiddleTop",  "TopRight",     "MiddleLeft", "Center",
                                      "MiddleRight", "BottomLeft", "MiddleBottom", "BottomRight"};
constexpr const char* kCaptionButtonSections[] = {"SysMinButton", "SysMaxButton", "SysCloseButton"};

}  // namespace

CSkinWindow::CSkinWindow()
    : m_bLoaded(FALSE),
      m_bSizable(FALSE),
      m_bMinimizeBox(FALSE),
      m_bMaximizeBox(FALSE),
      m_bActive(FALSE),
      m_bButtonShown{FALSE, FALSE, FALSE},
      m_nHover(0),
      m_nPressed(0),
      m_nLastHover(0),
      m_hFrame(nullptr),
      m_bShapeWindow(FALSE),
      m_nSkinClient(0),
      m_crMask(0),
      m_hPartRegions{},
      m_hParts{},
      m_nTopLeftWidth(0), m_nMiddleTopWidth(0), m_nTopRightWidth(0), m_nTopHeight(0),
      m_nMiddleLeftWidth(0), m_nMiddleLeftHeight(0), m_nMiddleRightWidth(0), m_nMiddleRightHeight(0),
      m_nBottomLeftWidth(0), m_nMiddleBottomWidth(0), m_nBottomRightWidth(0), m_nBottomHeight(0),
      m_hSysButtons(nullptr),
      m_hSkinnedWnd(nullptr),
      m_hReturnWnd(nullptr) {}

CSkinWindow::~CSkinWindow() {
  for (int i = 0; i < m_buttons.GetSize(); ++i) {
    auto* button = static_cast<CSkinButton*>(m_buttons[i]);
    button->DestroyWindow();
    delete button;
  }
  m_buttons.RemoveAll();
  FreeParts();
  ReleaseBitmap(m_hFrame);
  ReleaseBitmap(m_hSysButtons);
  HookWindow(static_cast<HWND>(nullptr));
}

void CSkinWindow::FreeParts() {
  for (int state = 0; state < 2; ++state)
    for (HBITMAP& part : m_hParts[state]) ReleaseBitmap(part);
  for (HRGN& region : m_hPartRegions) {
    if (region) ::DeleteObject(region);
    region = nullptr;
  }
}

CSkinButton* CSkinWindow::GetButton(int nIndex) const {
  return nIndex >= 0 && nIndex < m_buttons.GetSize() ? static_cast<CSkinButton*>(m_buttons[nIndex]) : nullptr;
}

BOOL CSkinWindow::LoadSkin(LPCSTR lpszPath) {
  const CString path = lpszPath ? lpszPath : "";
  if (path.IsEmpty()) return FALSE;
  m_strPath = path;
  m_strFolder = path.Left(path.ReverseFind('\\') + 1);
  const CIniFile ini(path);
  SIZE size{};
  const CString frame = ini.GetString(kFrameSection, "FrameImage", "");
  if (!frame.IsEmpty()) LoadPictureFile(m_strFolder + frame, m_hFrame, size);
  const CString buttons = ini.GetString("SystemButtons", "Image", "");
  if (!buttons.IsEmpty()) LoadPictureFile(m_strFolder + buttons, m_hSysButtons, size);

  for (int state = 0; state < 2; ++state) {
    for (int slot = 0; slot < kSlots; ++slot) {
      if (slot == Center) continue;
      CString key;
      key.Format("%s%d", kPartNames[slot], state);
      ReadRect(ini, kFrameSection, key, m_rcParts[state][slot]);
    }
  }
  m_bShapeWindow = ini.GetInt(kFrameSection, "ShapeWindow");
  m_nSkinClient = ini.GetInt(kFrameSection, "SkinClient");
  CString mask = ini.GetString(kFrameSection, "MaskColor", "");
  const int a = FieldToInt(CutField(mask));
  const int b = FieldToInt(CutField(mask));
  const int c = FieldToInt(CutField(mask));
  // In 32-bit arithmetic that wraps, so numbers past a byte give what they always gave.
  m_crMask = static_cast<COLORREF>(static_cast<DWORD>(a) + 256u * static_cast<DWORD>(b) + 65536u * static_cast<DWORD>(c));
  BuildParts();
  for (int i = 0; i < 3; ++i) ReadCaptionButton(ini, kCaptionButtonSections[i], m_captionButtons[i]);
  m_bLoaded = TRUE;
  return TRUE;
}

void CSkinWindow::ReadCaptionButton(const CIniFile& ini, LPCSTR lpszSection, CaptionButton& button) {
  button.nOffsetRight = ini.GetInt(lpszSection, "OffsetRight");
  button.nOffsetTop = ini.GetInt(lpszSection, "OffsetTop");
  ReadRect(ini, lpszSection, "normal", button.rcNormal);
  ReadRect(ini, lpszSection, "over", button.rcOver);
  ReadRect(ini, lpszSection, "down", button.rcDown);
  ReadRect(ini, lpszSection, "disabled", button.rcDisabled);
}

void CSkinWindow::BuildParts() {
  FreeParts();
  const CRect* active = m_rcParts[0];
  m_nTopLeftWidth = SkinWidth(active[TopLeft]);
  m_nMiddleTopWidth = SkinWidth(active[MiddleTop]);
  m_nTopRightWidth = SkinWidth(active[TopRight]);
  m_nTopHeight = SkinHeight(active[TopLeft]);
  m_nMiddleLeftWidth = SkinWidth(active[MiddleLeft]);
  m_nMiddleLeftHeight = SkinHeight(active[MiddleLeft]);
  m_nMiddleRightWidth = SkinWidth(active[MiddleRight]);
  m_nMiddleRightHeight = SkinHeight(active[MiddleRight]);
  m_nBottomLeftWidth = SkinWidth(active[BottomLeft]);
  m_nMiddleBottomWidth = SkinWidth(active[MiddleBottom]);
  m_nBottomRightWidth = SkinWidth(active[BottomRight]);
  m_nBottomHeight = SkinHeight(active[BottomLeft]);
  if (!m_hFrame) return;
  for (int state = 0; state < 2; ++state) {
    for (int slot = 0; slot < kSlots; ++slot) {
      const CRect& source = m_rcParts[state][slot];
      const CRect& size = active[slot];
      if (source.IsRectEmpty() || size.IsRectEmpty()) continue;
      HDC screen = ::GetDC(nullptr);
      HDC from = ::CreateCompatibleDC(screen);
      HDC to = ::CreateCompatibleDC(screen);
      m_hParts[state][slot] = ::CreateCompatibleBitmap(screen, SkinWidth(size), SkinHeight(size));
      HGDIOBJ oldFrom = ::SelectObject(from, m_hFrame);
      HGDIOBJ oldTo = ::SelectObject(to, m_hParts[state][slot]);
      ::SetStretchBltMode(to, HALFTONE);
      ::SetBrushOrgEx(to, 0, 0, nullptr);
      ::StretchBlt(to, 0, 0, SkinWidth(size), SkinHeight(size), from, source.left, source.top, SkinWidth(source),
                   SkinHeight(source), SRCCOPY);
      ::SelectObject(from, oldFrom);
      ::SelectObject(to, oldTo);
      ::DeleteDC(from);
      ::DeleteDC(to);
      ::ReleaseDC(nullptr, screen);
    }
  }
  for (int slot = 0; slot < kSlots; ++slot)
    if (slot != Center && m_hParts[0][slot]) m_hPartRegions[slot] = BitmapToRegion(m_hParts[0][slot], m_crMask, 0);
}

BOOL CSkinWindow::Attach(HWND hWnd) {
  if (!::IsWindow(hWnd) || !m_bLoaded) return FALSE;
  HookWindow(static_cast<HWND>(nullptr));
  const BOOL hooked = HookWindow(hWnd);
  const auto style = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE));
  m_bSizable = (style & WS_THICKFRAME) != 0;
  m_bMaximizeBox = (style & WS_MAXIMIZEBOX) != 0;
  m_bMinimizeBox = (style & WS_MINIMIZEBOX) != 0;
  // A window attached while active is drawn active from the start.
  m_bActive = ::GetActiveWindow() == hWnd;
  ::SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>(style & ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)));
  ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  char text[256] = {};
  ::GetWindowTextA(hWnd, text, sizeof(text));
  m_strCaption = text;
  return hooked;
}

CSize CSkinWindow::WindowSize() const {
  CRect window;
  ::GetWindowRect(m_hWnd, &window);
  return window.Size();
}

CRect CSkinWindow::CaptionButtonRect(int nButton) const {
  const CaptionButton& button = m_captionButtons[nButton];
  const int left = WindowSize().cx - button.nOffsetRight;
  return CRect(CPoint(left, button.nOffsetTop), button.rcNormal.Size());
}

int CSkinWindow::HitTest(CPoint point) const {
  static const int kCodes[] = {kHitMinimize, kHitMaximize, kHitClose};
  for (int i = 0; i < 3; ++i)
    if (m_bButtonShown[i] && CaptionButtonRect(i).PtInRect(point)) return kCodes[i];
  const CSize size = WindowSize();
  const int w = size.cx;
  const int h = size.cy;
  if (m_bSizable) {
    if (CRect(0, 0, kGrip, kGrip).PtInRect(point)) return HTTOPLEFT;
    if (CRect(w - kGrip, 0, w, kGrip).PtInRect(point)) return HTTOPRIGHT;
    if (CRect(0, h - kGrip, kGrip, h).PtInRect(point)) return HTBOTTOMLEFT;
    if (CRect(w - kGrip, h - kGrip, w, h).PtInRect(point)) return HTBOTTOMRIGHT;
    if (CRect(kGrip, 0, w - kGrip, kGrip).PtInRect(point)) return HTTOP;
    if (CRect(0, kGrip, kGrip, h - kGrip).PtInRect(point)) return HTLEFT;
    if (CRect(w - kGrip, kGrip, w, h - kGrip).PtInRect(point)) return HTRIGHT;
    if (CRect(kGrip, h - kGrip, w - kGrip, h).PtInRect(point)) return HTBOTTOM;
  }
  if (CRect(kGrip, kGrip, w - kGrip, m_nTopHeight - kGrip).PtInRect(point)) return HTCAPTION;
  return HTCLIENT;
}

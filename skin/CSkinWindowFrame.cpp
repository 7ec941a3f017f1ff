// CSkinWindow: the frame's painting, the window shape, the button bar and the messages.
#include "skin/CSkinWindow.h"

#include "core/CAppController.h"
#include "core/MediaListFile.h"
#include "core/data/CAppSettings.h"
#include "skin/CIniFile.h"
#include "skin/CSkinButton.h"
#include "skin/CTaskbarNotifier.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinValues.h"

#include <mfc/wnd/afxgdi.h>

#include <algorithm>

namespace {

// How the snapshot's notice slides out, stays and slides back.
constexpr DWORD kNoticeShowMs = 500;
constexpr DWORD kNoticeStayMs = 3000;
constexpr DWORD kNoticeHideMs = 500;

void TileBitmap(HDC hdc, HBITMAP hPart, int cx, int cy, const CRect& area) {
  if (!hPart || cx <= 0 || cy <= 0) return;
  HDC source = ::CreateCompatibleDC(hdc);
  HGDIOBJ old = ::SelectObject(source, hPart);
  for (int y = area.top; y < area.bottom; y += cy)
    for (int x = area.left; x < area.right; x += cx)
      ::BitBlt(hdc, x, y, std::min(cx, area.right - x), std::min(cy, area.bottom - y), source, 0, 0, SRCCOPY);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

HRGN TileRegion(HRGN hPart, int cx, int cy, const CRect& area) {
  if (!hPart || cx <= 0 || cy <= 0 || area.IsRectEmpty()) return nullptr;
  HRGN tiled = ::CreateRectRgn(0, 0, 0, 0);
  HRGN piece = ::CreateRectRgn(0, 0, 0, 0);
  for (int y = area.top; y < area.bottom; y += cy) {
    for (int x = area.left; x < area.right; x += cx) {
      ::CombineRgn(piece, hPart, nullptr, RGN_COPY);
      ::OffsetRgn(piece, x, y);
      ::CombineRgn(tiled, tiled, piece, RGN_OR);
    }
  }
  ::DeleteObject(piece);
  HRGN clip = ::CreateRectRgnIndirect(&area);
  ::CombineRgn(tiled, tiled, clip, RGN_AND);
  ::DeleteObject(clip);
  return tiled;
}

// The part's region placed at (x, y), or NULL.
HRGN PlacedRegion(HRGN hPart, int x, int y) {
  if (!hPart) return nullptr;
  HRGN placed = ::CreateRectRgn(0, 0, 0, 0);
  ::CombineRgn(placed, hPart, nullptr, RGN_COPY);
  ::OffsetRgn(placed, x, y);
  return placed;
}

void Join(HRGN target, HRGN part) {
  if (!part) return;
  ::CombineRgn(target, target, part, RGN_OR);
  ::DeleteObject(part);
}

void StretchPart(HDC hdc, HBITMAP hPart, const CRect& rect) {
  if (hPart && !rect.IsRectEmpty()) StretchWholeBitmap(hdc, rect, hPart);
}

}  // namespace

void CSkinWindow::PaintFrame() {
  if (!m_hWnd) return;
  HDC hdc = ::GetWindowDC(m_hWnd);
  if (!hdc) return;
  if (m_bShapeWindow) {
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(m_hWnd, shape) != ERROR) ::SelectClipRgn(hdc, shape);
    ::DeleteObject(shape);
  }
  PaintFrameTo(hdc, WindowSize());
  ::ReleaseDC(m_hWnd, hdc);
}

void CSkinWindow::PaintFrameTo(HDC hdc, const CSize& size) {
  const int w = size.cx;
  const int h = size.cy;
  HBITMAP* parts = m_hParts[m_bActive ? 0 : 1];

  // The top bar through a buffer filled with the window's background first.
  if (m_nTopHeight > 0 && w > 0) {
    HDC buffer = ::CreateCompatibleDC(hdc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(hdc, w, m_nTopHeight);
    HGDIOBJ old = ::SelectObject(buffer, bitmap);
    const CRect bar(0, 0, w, m_nTopHeight);
    ::FillRect(buffer, &bar, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    ::SetStretchBltMode(buffer, HALFTONE);
    StretchPart(buffer, parts[TopLeft], CRect(0, 0, m_nTopLeftWidth, m_nTopHeight));
    StretchPart(buffer, parts[TopRight], CRect(w - m_nTopRightWidth, 0, w, m_nTopHeight));
    TileBitmap(buffer, parts[MiddleTop], m_nMiddleTopWidth, m_nTopHeight,
               CRect(m_nTopLeftWidth, 0, w - m_nTopRightWidth, m_nTopHeight));
    PaintCaptionButtons(buffer, size);
    PaintCaption(buffer, size);
    ::BitBlt(hdc, 0, 0, w, m_nTopHeight, buffer, 0, 0, SRCCOPY);
    ::SelectObject(buffer, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(buffer);
  }
  TileBitmap(hdc, parts[MiddleLeft], m_nMiddleLeftWidth, m_nMiddleLeftHeight,
             CRect(0, m_nTopHeight, m_nMiddleLeftWidth, h - m_nBottomHeight));
  TileBitmap(hdc, parts[MiddleRight], m_nMiddleRightWidth, m_nMiddleRightHeight,
             CRect(w - m_nMiddleRightWidth, m_nTopHeight, w, h - m_nBottomHeight));
  ::SetStretchBltMode(hdc, HALFTONE);
  StretchPart(hdc, parts[BottomLeft], CRect(0, h - m_nBottomHeight, m_nBottomLeftWidth, h));
  StretchPart(hdc, parts[BottomRight], CRect(w - m_nBottomRightWidth, h - m_nBottomHeight, w, h));
  TileBitmap(hdc, parts[MiddleBottom], m_nMiddleBottomWidth, m_nBottomHeight,
             CRect(m_nBottomLeftWidth, h - m_nBottomHeight, w - m_nBottomRightWidth, h));
}

void CSkinWindow::PaintCaptionButtons(HDC hdc, const CSize&) {
  static const int kCodes[] = {kHitMinimize, kHitMaximize, kHitClose};
  if (!m_hSysButtons) return;
  HDC source = ::CreateCompatibleDC(hdc);
  HGDIOBJ old = ::SelectObject(source, m_hSysButtons);
  ::SetStretchBltMode(hdc, HALFTONE);
  for (int i = 0; i < 3; ++i) {
    if (!m_bButtonShown[i]) continue;
    const CaptionButton& button = m_captionButtons[i];
    const CRect& image = m_nPressed == kCodes[i] ? button.rcDown : m_nHover == kCodes[i] ? button.rcOver : button.rcNormal;
    const CRect target = CaptionButtonRect(i);
    ::StretchBlt(hdc, target.left, target.top, target.Width(), target.Height(), source, image.left, image.top,
                 image.Width(), image.Height(), SRCCOPY);
  }
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

void CSkinWindow::PaintCaption(HDC hdc, const CSize& size) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  CFont font;
  font.CreatePointFont(metrics.iSmCaptionHeight, "System");
  HGDIOBJ old = ::SelectObject(hdc, font.GetSafeHandle());
  ::SetTextColor(hdc, RGB(255, 255, 255));
  ::SetBkMode(hdc, TRANSPARENT);
  CRect rect(m_nTopLeftWidth, 0, size.cx - m_nTopRightWidth, m_nTopHeight);
  ::DrawTextA(hdc, m_strCaption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS);
  ::SelectObject(hdc, old);
}

void CSkinWindow::PaintBand() {
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  HBITMAP band = ::LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(kBarBandBitmap));
  if (!band) return;
  HDC hdc = ::GetDC(m_hWnd);
  ::SetStretchBltMode(hdc, HALFTONE);
  ::SetBrushOrgEx(hdc, 0, 0, nullptr);
  StretchWholeBitmap(hdc, CRect(client.left, client.bottom - kBarBandHeight, client.right, client.bottom), band);
  ::ReleaseDC(m_hWnd, hdc);
  ::DeleteObject(band);
}

void CSkinWindow::LayoutButtons() {
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  for (int i = 0; i < m_buttons.GetSize(); ++i) {
    auto* button = static_cast<CSkinButton*>(m_buttons[i]);
    CRect skin;
    button->GetSkinRect(skin);
    const int left = ClampToInt(client.left + static_cast<long long>(client.Width()) * skin.left / kBarDesignWidth);
    const int top = ClampToInt(static_cast<long long>(client.bottom) - skin.bottom);
    button->MoveWindow(left, top, SkinWidth(skin), SkinHeight(skin), TRUE);
  }
}

HRGN CSkinWindow::BuildShape(const CSize& size) const {
  const int w = size.cx;
  const int h = size.cy;
  if (!m_bShapeWindow) return ::CreateRectRgn(0, 0, w, h);
  HRGN shape = ::CreateRectRgn(m_nMiddleLeftWidth, m_nTopHeight, w - m_nMiddleRightWidth, h - m_nBottomHeight);
  Join(shape, PlacedRegion(m_hPartRegions[TopLeft], 0, 0));
  Join(shape, TileRegion(m_hPartRegions[MiddleTop], m_nMiddleTopWidth, m_nTopHeight,
                         CRect(m_nTopLeftWidth, 0, w - m_nTopRightWidth, m_nTopHeight)));
  Join(shape, PlacedRegion(m_hPartRegions[TopRight], w - m_nTopRightWidth, 0));
  Join(shape, TileRegion(m_hPartRegions[MiddleLeft], m_nMiddleLeftWidth, m_nMiddleLeftHeight,
                         CRect(0, m_nTopHeight, m_nMiddleLeftWidth, h - m_nBottomHeight)));
  Join(shape, TileRegion(m_hPartRegions[MiddleRight], m_nMiddleRightWidth, m_nMiddleRightHeight,
                         CRect(w - m_nMiddleRightWidth, m_nTopHeight, w, h - m_nBottomHeight)));
  Join(shape, PlacedRegion(m_hPartRegions[BottomLeft], 0, h - m_nBottomHeight));
  Join(shape, TileRegion(m_hPartRegions[MiddleBottom], m_nMiddleBottomWidth, m_nBottomHeight,
                         CRect(m_nBottomLeftWidth, h - m_nBottomHeight, w - m_nBottomRightWidth, h)));
  Join(shape, PlacedRegion(m_hPartRegions[BottomRight], w - m_nBottomRightWidth, h - m_nBottomHeight));
  return shape;
}

void CSkinWindow::ApplyShape() {
  // The window owns the region from here on.
  ::SetWindowRgn(m_hWnd, BuildShape(WindowSize()), TRUE);
}

void CSkinWindow::AfterPaintOrSize() {
  PaintBand();
  LayoutButtons();
  PaintFrame();
}

void CSkinWindow::CreateShapeButtons() {
  CWnd* parent = CWnd::FromHandle(m_hSkinnedWnd);
  if (!parent || m_strPath.IsEmpty()) return;
  const CIniFile ini(m_strPath);
  CStringArray keys;
  ini.GetSectionKeys("ShapeButtonInfo", keys);
  for (int key = 1; key <= keys.GetSize(); ++key) {
    SkinButtonEntry entry;
    if (!ReadButtonEntry(ini, "ShapeButtonInfo", key, entry)) continue;
    auto* button = new CSkinButton;
    button->SetName(entry.strName);
    button->SetCommandId(kFirstBarButtonId + key - 1);
    HBITMAP strip = nullptr;
    SIZE size{};
    LoadPictureFile(m_strFolder + entry.strImage, strip, size);
    button->SetImage(strip, entry.rcDesign.left, entry.rcDesign.top, entry.rcDesign.right, entry.rcDesign.bottom);
    ReleaseBitmap(strip);
    button->SetShowCaption(FALSE);
    if (!button->Create("", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, entry.rcDesign, parent,
                        static_cast<UINT>(kFirstBarButtonId + key - 1))) {
      delete button;
      continue;
    }
    m_buttons.Add(button);
  }
  LayoutButtons();
}

void CSkinWindow::OnShapeButton(int nId) {
  CSkinButton* clicked = nullptr;
  for (int i = 0; i < m_buttons.GetSize() && !clicked; ++i) {
    auto* button = static_cast<CSkinButton*>(m_buttons[i]);
    if (button->GetCommandId() == nId) clicked = button;
  }
  CAppController* controller = g_pAppController;
  if (!clicked || !controller) return;
  const CString name = clicked->GetName();
  if (name == "ADD_BUTTON") {
    controller->VolumeStep(0);
  } else if (name == "SUB_BUTTON") {
    controller->VolumeStep(1);
  } else if (name == "MUTE_BUTTON") {
    if (controller->IsPreviewing()) controller->ToggleMute();
  } else if (name == "JIETU_BUTTON") {
    // The still joins the picture history list in the program folder, and its name shows
    // in the launcher's notifier when there is one.
    CString picture;
    if (controller->IsPreviewing() && controller->TakeSnapshot(picture) && !picture.IsEmpty() && g_pAppSettings &&
        !g_pAppSettings->ProgramFolder.IsEmpty()) {
      AppendMediaList(g_pAppSettings->ProgramFolder + kPictureHistoryFile, picture, kMediaListPicture);
      if (g_pTaskbarNotifier)
        g_pTaskbarNotifier->Show(CTaskbarNotifier::BreakLines(picture), kNoticeShowMs, kNoticeStayMs, kNoticeHideMs);
    }
  } else if (name == "PRE_BUTTON" || name == "NEXT_BUTTON") {
    // The rule of the control bar and the keys: "previous" is channel up.
    if (controller->IsPreviewing()) controller->StepChannel(name == "PRE_BUTTON");
  } else if (name == "RETURN_BUTTON") {
    if (m_hReturnWnd) {
      ::ShowWindow(m_hReturnWnd, SW_SHOW);
      ::SendMessageA(m_hReturnWnd, UM_RETURN, 0, 0);
    }
    if (m_hSkinnedWnd) ::PostMessageA(m_hSkinnedWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

LRESULT CSkinWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!m_bLoaded) return CSubclassWnd::WindowProc(msg, wParam, lParam);
  switch (msg) {
    case WM_NCCALCSIZE: {
      if (!wParam) break;
      auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
      RECT& client = params->rgrc[0];
      client.left += m_nMiddleLeftWidth;
      client.right -= m_nMiddleRightWidth;
      client.top += m_nTopHeight;
      client.bottom -= m_nBottomHeight;
      params->rgrc[1] = client;
      params->rgrc[2] = client;
      return 0;
    }
    case WM_NCHITTEST: {
      CRect window;
      ::GetWindowRect(m_hWnd, &window);
      return HitTest(CPoint(GET_X_LPARAM(lParam) - window.left, GET_Y_LPARAM(lParam) - window.top));
    }
    case WM_NCPAINT:
      PaintFrame();
      return 0;
    case WM_ACTIVATE:
      m_bActive = LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE;
      PaintFrame();
      break;
    case WM_NCACTIVATE:
      m_bActive = wParam != 0;
      PaintFrame();
      break;
    case WM_NCMOUSEMOVE: {
      const bool grip = wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT;
      const LRESULT result = grip ? CSubclassWnd::WindowProc(msg, wParam, lParam) : 0;
      m_nHover = static_cast<int>(wParam);
      m_nPressed = 0;
      if (m_nHover != m_nLastHover) PaintFrame();
      m_nLastHover = m_nHover;
      return result;
    }
    case WM_NCLBUTTONDOWN:
      m_nHover = m_nPressed = static_cast<int>(wParam);
      PaintFrame();
      break;
    case WM_NCLBUTTONUP:
      if (wParam == kHitMinimize) ::SendMessageA(m_hSkinnedWnd, UM_SYS_MINIMIZE, 0, 0);
      if (wParam == kHitMaximize) ::SendMessageA(m_hSkinnedWnd, UM_SYS_MAXIMIZE, 0, 0);
      if (wParam == kHitClose) ::SendMessageA(m_hSkinnedWnd, UM_SYS_CLOSE, 0, 0);
      if (wParam >= static_cast<WPARAM>(kHitMinimize) && wParam <= static_cast<WPARAM>(kHitClose)) return 0;
      break;
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION && m_bSizable) {
        m_nHover = m_nPressed = 0;
        PaintFrame();
        return 0;
      }
      break;
    case WM_SETTEXT: {
      CSubclassWnd::WindowProc(msg, wParam, lParam);
      m_strCaption = reinterpret_cast<LPCSTR>(lParam) ? reinterpret_cast<LPCSTR>(lParam) : "";
      PaintFrame();
      return 0;
    }
    case WM_SHOWWINDOW:
      if (wParam) m_nHover = m_nPressed = 0;
      break;
    case WM_PAINT:
      AfterPaintOrSize();
      break;
    case WM_SIZE:
      ApplyShape();
      ::InvalidateRect(m_hWnd, nullptr, TRUE);
      AfterPaintOrSize();
      break;
    default:
      break;
  }
  return CSubclassWnd::WindowProc(msg, wParam, lParam);
}

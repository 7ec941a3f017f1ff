#include "skin/CoolScrollBar.h"

#include "skin/CoolScrollSkin.h"

#include <com/hresult.h>
#include <win32/gdi.h>
#include <win32/muldiv.h>
#include <win32/version.h>

#include <algorithm>

namespace {

constexpr const char* kProp = "CoolSBSubclassPtr";
constexpr UINT_PTR kHotTimer = 65522;
constexpr UINT_PTR kDelayTimer = 65533;
constexpr UINT_PTR kRepeatTimer = 65534;
constexpr UINT kHotMs = 20;
constexpr UINT kDelayMs = 300;
constexpr UINT kRepeatMs = 55;
constexpr int kNone = -1;
// Part codes of the inserted buttons, beside the scroll commands the other parts send.
constexpr int kFirstButtonPart = 16;

// The one bar being pressed and the one under the pointer, for the whole process.
struct Tracking {
  HWND hwnd = nullptr;
  int bar = kNone;
  int part = kNone;
  int command = kNone;
  int grab = 0;
  HWND hotHwnd = nullptr;
  int hotBar = kNone;
  int lastHot = kNone;
  CRect hotRect;
};
Tracking g_track;

CoolScrollWnd* RecordOf(HWND hwnd) { return static_cast<CoolScrollWnd*>(::GetPropA(hwnd, kProp)); }

bool IsBar(int nBar) { return nBar == SB_HORZ || nBar == SB_VERT; }
bool IsButtonPart(int part) { return part >= kFirstButtonPart && part < kFirstButtonPart + CoolScrollBar::kMaxButtons; }

int DefaultMinThumb() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  ::GetVersionExA(&version);
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5 ? 6 : 8;
}

int BarSize(const CoolScrollBar& bar, int nBar) {
  return bar.size > 0 ? bar.size : ::GetSystemMetrics(nBar == SB_VERT ? SM_CXVSCROLL : SM_CYHSCROLL);
}

int LastPos(const SCROLLINFO& info) { return info.nMax - std::max(static_cast<int>(info.nPage) - 1, 0); }

bool Shown(const CoolScrollWnd& record, int nBar) { return (record.bars[nBar].flags & CoolScrollBar::kShown) != 0; }

// The client area in window coordinates.
CRect ClientInWindow(HWND hwnd) {
  CRect window, client;
  ::GetWindowRect(hwnd, &window);
  ::GetClientRect(hwnd, &client);
  CPoint origin(0, 0);
  ::ClientToScreen(hwnd, &origin);
  client.OffsetRect(origin.x - window.left, origin.y - window.top);
  return client;
}

// A bar's rectangle in window coordinates, beside the client area.
CRect BarRect(HWND hwnd, const CoolScrollWnd& record, int nBar) {
  const CRect client = ClientInWindow(hwnd);
  const int size = BarSize(record.bars[nBar], nBar);
  if (nBar == SB_VERT) {
    return record.leftScrollbar ? CRect(client.left - size, client.top, client.left, client.bottom)
                                : CRect(client.right, client.top, client.right + size, client.bottom);
  }
  return CRect(client.left, client.bottom, client.right, client.bottom + size);
}

struct Geometry {
  CRect first, second, thumb, before, after;
  CRect buttons[CoolScrollBar::kMaxButtons];
};

// Buttons at the start, the first arrow, the track with the thumb, the second arrow and the
// buttons at the end, along the bar. A button is left out when it would leave no room for
// the two arrows.
Geometry Layout(const CRect& bar, const CoolScrollBar& record, int nBar) {
  const bool vertical = nBar == SB_VERT;
  const int thickness = vertical ? bar.Width() : bar.Height();
  const int length = vertical ? bar.Height() : bar.Width();
  auto piece = [&](int from, int to) {
    return vertical ? CRect(bar.left, bar.top + from, bar.right, bar.top + to)
                    : CRect(bar.left + from, bar.top, bar.left + to, bar.bottom);
  };
  bool fits[CoolScrollBar::kMaxButtons] = {};
  int used = 0;
  int endSum = 0;
  for (int i = 0; i < record.buttonCount; ++i) {
    const CoolScrollButton& button = record.buttons[i];
    const int size = button.size > 0 ? button.size : thickness;
    fits[i] = length - used - size >= 2 * thickness;
    if (!fits[i]) continue;
    used += size;
    if (button.placement == CoolScrollButton::kAtEnd) endSum += size;
  }
  Geometry g;
  int start = 0;
  int end = length - endSum;
  for (int i = 0, next = end; i < record.buttonCount; ++i) {
    if (!fits[i]) continue;
    const CoolScrollButton& button = record.buttons[i];
    const int size = button.size > 0 ? button.size : thickness;
    int& at = button.placement == CoolScrollButton::kAtEnd ? next : start;
    g.buttons[i] = piece(at, at + size);
    at += size;
  }
  const int track = std::max(0, end - start - 2 * thickness);
  const SCROLLINFO& info = record.info;
  const int range = std::max(1, info.nMax - info.nMin + 1);
  int thumb = info.nPage ? MulDiv(track, static_cast<int>(info.nPage), range) : 0;
  thumb = std::min(track, std::max(thumb, record.minThumb));
  const int span = std::max(1, LastPos(info) - info.nMin);
  const int offset = MulDiv(track - thumb, std::max(0, info.nPos - info.nMin), span);
  const int trackStart = start + thickness;
  g.first = piece(start, trackStart);
  g.second = piece(end - thickness, end);
  g.thumb = piece(trackStart + offset, trackStart + offset + thumb);
  g.before = piece(trackStart, trackStart + offset);
  g.after = piece(trackStart + offset + thumb, end - thickness);
  return g;
}

int HitPart(const Geometry& g, const CoolScrollBar& record, CPoint point) {
  for (int i = 0; i < record.buttonCount; ++i)
    if (g.buttons[i].PtInRect(point)) return kFirstButtonPart + i;
  if (g.first.PtInRect(point)) return SB_LINEUP;
  if (g.second.PtInRect(point)) return SB_LINEDOWN;
  if (g.thumb.PtInRect(point)) return SB_THUMBTRACK;
  if (g.before.PtInRect(point)) return SB_PAGEUP;
  if (g.after.PtInRect(point)) return SB_PAGEDOWN;
  return kNone;
}

// A point of the screen in the window's own coordinates.
CPoint InWindow(HWND hwnd, CPoint screen) {
  CRect window;
  ::GetWindowRect(hwnd, &window);
  return CPoint(screen.x - window.left, screen.y - window.top);
}

CPoint PointerInWindow(HWND hwnd) {
  CPoint cursor;
  ::GetCursorPos(&cursor);
  return InWindow(hwnd, cursor);
}

Geometry LayoutOf(HWND hwnd, const CoolScrollWnd& record, int nBar) {
  return Layout(BarRect(hwnd, record, nBar), record.bars[nBar], nBar);
}

CoolScrollSkin::State StateOf(const CoolScrollBar& bar, int part) {
  if (bar.pressedPart == part) return CoolScrollSkin::kPressed;
  return bar.hotPart == part ? CoolScrollSkin::kHot : CoolScrollSkin::kNormal;
}

void FillFace(HDC hdc, const CRect& rect) {
  ::FillRect(hdc, &rect, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
}

void DrawButton(HDC hdc, const CoolScrollButton& button, const CRect& rect) {
  if (rect.IsRectEmpty()) return;
  const bool pushed = (button.state & CoolScrollButton::kPushed) != 0;
  const HBITMAP picture = pushed && button.pressed ? button.pressed : button.normal;
  BITMAP info{};
  if (picture && ::GetObjectA(picture, sizeof(info), &info)) {
    HDC source = ::CreateCompatibleDC(hdc);
    HGDIOBJ old = ::SelectObject(source, picture);
    ::SetStretchBltMode(hdc, COLORONCOLOR);
    ::StretchBlt(hdc, rect.left, rect.top, rect.Width(), rect.Height(), source, 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
    ::SelectObject(source, old);
    ::DeleteDC(source);
    return;
  }
  CRect face = rect;
  FillFace(hdc, face);
  ::DrawEdge(hdc, &face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

// The system's look: arrow glyphs, a checkered track of the face and highlight colours,
// a raised thumb.
void DrawSystemBar(HDC hdc, const CoolScrollBar& bar, const Geometry& g, bool vertical) {
  auto pushed = [&](int part) { return bar.pressedPart == part ? DFCS_PUSHED : 0u; };
  CRect first = g.first, second = g.second;
  ::DrawFrameControl(hdc, &first, DFC_SCROLL, (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | pushed(SB_LINEUP));
  ::DrawFrameControl(hdc, &second, DFC_SCROLL, (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | pushed(SB_LINEDOWN));
  const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP checker = ::CreateBitmap(8, 8, 1, 1, pattern);
  HBRUSH track = ::CreatePatternBrush(checker);
  ::SetTextColor(hdc, ::GetSysColor(COLOR_3DHILIGHT));
  ::SetBkColor(hdc, ::GetSysColor(COLOR_BTNFACE));
  for (const CRect* piece : {&g.before, &g.after})
    if (!piece->IsRectEmpty()) ::FillRect(hdc, piece, track);
  ::DeleteObject(track);
  ::DeleteObject(checker);
  if (!g.thumb.IsRectEmpty()) {
    CRect thumb = g.thumb;
    FillFace(hdc, thumb);
    ::DrawEdge(hdc, &thumb, pushed(SB_THUMBTRACK) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  }
}

void DrawSkinnedBar(HDC hdc, const CoolScrollBar& bar, const Geometry& g, bool vertical) {
  using Skin = CoolScrollSkin;
  Skin::Draw(hdc, vertical ? Skin::kUp : Skin::kLeft, StateOf(bar, SB_LINEUP), g.first);
  Skin::Draw(hdc, vertical ? Skin::kDown : Skin::kRight, StateOf(bar, SB_LINEDOWN), g.second);
  const Skin::Piece track = vertical ? Skin::kVertTrack : Skin::kHorzTrack;
  Skin::Draw(hdc, track, StateOf(bar, SB_PAGEUP), g.before);
  Skin::Draw(hdc, track, StateOf(bar, SB_PAGEDOWN), g.after);
  Skin::Draw(hdc, vertical ? Skin::kVertThumb : Skin::kHorzThumb, StateOf(bar, SB_THUMBTRACK), g.thumb);
}

void DrawBar(HWND hwnd, HDC hdc, const CoolScrollWnd& record, int nBar) {
  const CoolScrollBar& bar = record.bars[nBar];
  const Geometry g = LayoutOf(hwnd, record, nBar);
  if (CoolScrollSkin::IsLoaded()) DrawSkinnedBar(hdc, bar, g, nBar == SB_VERT);
  else DrawSystemBar(hdc, bar, g, nBar == SB_VERT);
  for (int i = 0; i < bar.buttonCount; ++i) DrawButton(hdc, bar.buttons[i], g.buttons[i]);
}

void PaintBars(HWND hwnd, const CoolScrollWnd& record) {
  HDC hdc = ::GetWindowDC(hwnd);
  for (int nBar : {SB_HORZ, SB_VERT})
    if (Shown(record, nBar)) DrawBar(hwnd, hdc, record, nBar);
  // The corner where both bars meet.
  if (Shown(record, SB_HORZ) && Shown(record, SB_VERT)) {
    const CRect h = BarRect(hwnd, record, SB_HORZ);
    const CRect v = BarRect(hwnd, record, SB_VERT);
    const CRect corner(v.left, h.top, v.right, h.bottom);
    if (CoolScrollSkin::IsLoaded()) CoolScrollSkin::Draw(hdc, CoolScrollSkin::kCorner, CoolScrollSkin::kNormal, corner);
    else FillFace(hdc, corner);
  }
  ::ReleaseDC(hwnd, hdc);
}

void RefreshFrame(HWND hwnd) {
  ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  if (CoolScrollWnd* record = RecordOf(hwnd)) PaintBars(hwnd, *record);
}

void SendScroll(HWND hwnd, int nBar, int command, int pos) {
  ::SendMessageA(hwnd, nBar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(command, pos), 0);
}

int PosFromThumb(HWND hwnd, const CoolScrollWnd& record, int nBar, CPoint point) {
  const CoolScrollBar& bar = record.bars[nBar];
  const Geometry g = LayoutOf(hwnd, record, nBar);
  const bool vertical = nBar == SB_VERT;
  const int thumb = vertical ? g.thumb.Height() : g.thumb.Width();
  const int free = std::max(1, (vertical ? g.second.top - g.first.bottom : g.second.left - g.first.right) - thumb);
  const int along = (vertical ? point.y - g.first.bottom : point.x - g.first.right) - g_track.grab;
  const int pos = bar.info.nMin + MulDiv(std::clamp(along, 0, free), LastPos(bar.info) - bar.info.nMin, free);
  return std::clamp(pos, bar.info.nMin, LastPos(bar.info));
}

void EndTracking(HWND hwnd, CoolScrollWnd& record) {
  ::KillTimer(hwnd, kDelayTimer);
  ::KillTimer(hwnd, kRepeatTimer);
  if (IsBar(g_track.bar)) {
    CoolScrollBar& bar = record.bars[g_track.bar];
    bar.pressedPart = kNone;
    for (int i = 0; i < bar.buttonCount; ++i) bar.buttons[i].state &= ~CoolScrollButton::kPushed;
  }
  g_track.hwnd = nullptr;
  g_track.bar = g_track.part = g_track.command = kNone;
}

void StopHot(HWND hwnd, CoolScrollWnd* record) {
  ::KillTimer(hwnd, kHotTimer);
  if (record && IsBar(g_track.hotBar)) record->bars[g_track.hotBar].hotPart = kNone;
  g_track.hotHwnd = nullptr;
  g_track.hotBar = g_track.lastHot = kNone;
}

void OnNcMouseMove(HWND hwnd, CoolScrollWnd& record, WPARAM hit) {
  if (hit != HTVSCROLL && hit != HTHSCROLL) return;
  const int nBar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  if (g_track.hotHwnd != hwnd || g_track.hotBar != nBar) {
    if (HWND previous = g_track.hotHwnd) {
      CoolScrollWnd* before = RecordOf(previous);
      StopHot(previous, before);
      if (before) PaintBars(previous, *before);
    }
    g_track.hotHwnd = hwnd;
    g_track.hotBar = nBar;
  }
  g_track.hotRect = BarRect(hwnd, record, nBar);
  ::SetTimer(hwnd, kHotTimer, kHotMs, nullptr);
}

// Each tick: the pointer gone from the bar ends the hot look; otherwise the part under it
// is drawn hot when it is not the part last drawn so.
void OnHotTick(HWND hwnd, CoolScrollWnd& record) {
  const CPoint at = PointerInWindow(hwnd);
  if (g_track.hotHwnd != hwnd || !IsBar(g_track.hotBar) || !g_track.hotRect.PtInRect(at)) {
    StopHot(hwnd, &record);
    PaintBars(hwnd, record);
    return;
  }
  CoolScrollBar& bar = record.bars[g_track.hotBar];
  const int part = HitPart(LayoutOf(hwnd, record, g_track.hotBar), bar, at);
  if (part == g_track.lastHot) return;
  bar.hotPart = g_track.lastHot = part;
  PaintBars(hwnd, record);
}

LRESULT OnNcButtonDown(HWND hwnd, CoolScrollWnd& record, WPARAM hit, LPARAM lParam) {
  const int nBar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  const CPoint at = InWindow(hwnd, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
  CoolScrollBar& bar = record.bars[nBar];
  const Geometry g = LayoutOf(hwnd, record, nBar);
  const int part = HitPart(g, bar, at);
  if (part == kNone) return 0;
  g_track.hwnd = hwnd;
  g_track.bar = nBar;
  g_track.part = part;
  g_track.command = kNone;
  bar.pressedPart = part;
  ::SetCapture(hwnd);
  if (part == SB_THUMBTRACK) {
    g_track.grab = nBar == SB_VERT ? at.y - g.thumb.top : at.x - g.thumb.left;
    bar.info.nTrackPos = bar.info.nPos;
  } else if (IsButtonPart(part)) {
    bar.buttons[part - kFirstButtonPart].state |= CoolScrollButton::kPushed;
  } else {
    g_track.command = part;
    SendScroll(hwnd, nBar, part, 0);
    ::SetTimer(hwnd, kDelayTimer, kDelayMs, nullptr);
  }
  PaintBars(hwnd, record);
  return 0;
}

// The pointer moved while a part is pressed: the thumb follows it; any other part is
// pressed only while the pointer is over it.
void OnTrackMove(HWND hwnd, CoolScrollWnd& record) {
  CoolScrollBar& bar = record.bars[g_track.bar];
  const CPoint at = PointerInWindow(hwnd);
  if (g_track.part == SB_THUMBTRACK) {
    const int pos = PosFromThumb(hwnd, record, g_track.bar, at);
    bar.info.nTrackPos = pos;
    SendScroll(hwnd, g_track.bar, SB_THUMBTRACK, pos);
    return;
  }
  const bool over = HitPart(LayoutOf(hwnd, record, g_track.bar), bar, at) == g_track.part;
  const int pressed = over ? g_track.part : kNone;
  if (IsButtonPart(g_track.part)) {
    UINT& state = bar.buttons[g_track.part - kFirstButtonPart].state;
    state = over ? (state | CoolScrollButton::kPushed) : (state & ~CoolScrollButton::kPushed);
  } else {
    g_track.command = pressed;
  }
  if (pressed == bar.pressedPart) return;
  bar.pressedPart = pressed;
  PaintBars(hwnd, record);
}

void OnTrackRelease(HWND hwnd, CoolScrollWnd& record) {
  const int nBar = g_track.bar;
  const int part = g_track.part;
  CoolScrollBar& bar = record.bars[nBar];
  const bool command = IsButtonPart(part) && (bar.buttons[part - kFirstButtonPart].state & CoolScrollButton::kPushed);
  const UINT id = IsButtonPart(part) ? bar.buttons[part - kFirstButtonPart].id : 0;
  const int pos = bar.info.nTrackPos;
  EndTracking(hwnd, record);
  ::ReleaseCapture();
  if (command) ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  if (part == SB_THUMBTRACK) SendScroll(hwnd, nBar, SB_THUMBPOSITION, pos);
  SendScroll(hwnd, nBar, SB_ENDSCROLL, 0);
  if (CoolScrollWnd* still = RecordOf(hwnd)) PaintBars(hwnd, *still);
}

void OnRepeatTick(HWND hwnd, CoolScrollWnd& record) {
  // The pointer is tested again: the part repeats only while it is under it.
  OnTrackMove(hwnd, record);
  if (g_track.command != kNone) SendScroll(hwnd, g_track.bar, g_track.command, 0);
}

// The window's own calculation sees no scroll-bar styles, so it never makes room for the
// system's bars; ours take theirs after it.
LRESULT OnNcCalcSize(HWND hwnd, const CoolScrollWnd& record, WPARAM wParam, LPARAM lParam) {
  const auto style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
  const DWORD bars = style & (WS_HSCROLL | WS_VSCROLL);
  if (bars) ::SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(style & ~bars));
  const LRESULT result = ::CallWindowProcA(record.oldProc, hwnd, WM_NCCALCSIZE, wParam, lParam);
  if (bars) ::SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)) | bars));
  auto* client = reinterpret_cast<RECT*>(lParam);
  if (Shown(record, SB_VERT)) {
    const int size = BarSize(record.bars[SB_VERT], SB_VERT);
    if (record.leftScrollbar) client->left += size;
    else client->right -= size;
  }
  if (Shown(record, SB_HORZ)) client->bottom -= BarSize(record.bars[SB_HORZ], SB_HORZ);
  return result;
}

LRESULT CALLBACK CoolProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  const WNDPROC old = record->oldProc;
  const bool tracking = g_track.hwnd == hwnd;
  const bool onBar = wParam == HTVSCROLL || wParam == HTHSCROLL;
  switch (msg) {
    case WM_NCCALCSIZE:
      return OnNcCalcSize(hwnd, *record, wParam, lParam);
    case WM_NCHITTEST: {
      const CPoint at = InWindow(hwnd, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      if (Shown(*record, SB_VERT) && BarRect(hwnd, *record, SB_VERT).PtInRect(at)) return HTVSCROLL;
      if (Shown(*record, SB_HORZ) && BarRect(hwnd, *record, SB_HORZ).PtInRect(at)) return HTHSCROLL;
      break;
    }
    case WM_NCPAINT: {
      const LRESULT result = ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
      PaintBars(hwnd, *record);
      return result;
    }
    case WM_SETCURSOR:
      // The window's own cursor is for its client area, not for our bars.
      if (LOWORD(lParam) == HTVSCROLL || LOWORD(lParam) == HTHSCROLL) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (onBar) return OnNcButtonDown(hwnd, *record, wParam, lParam);
      break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
      if (onBar) {
        ::SendMessageA(hwnd, msg + 352, wParam, lParam);
        return 0;
      }
      break;
    case WM_NCMOUSEMOVE:
      OnNcMouseMove(hwnd, *record, wParam);
      break;
    case WM_TIMER:
      if (wParam == kHotTimer) {
        OnHotTick(hwnd, *record);
        return 0;
      }
      if (wParam == kDelayTimer) {
        ::KillTimer(hwnd, kDelayTimer);
        ::SetTimer(hwnd, kRepeatTimer, kRepeatMs, nullptr);
        return 0;
      }
      if (wParam == kRepeatTimer) {
        if (tracking) OnRepeatTick(hwnd, *record);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (!tracking) break;
      OnTrackMove(hwnd, *record);
      return 0;
    case WM_LBUTTONUP:
      if (!tracking) break;
      OnTrackRelease(hwnd, *record);
      return 0;
    case WM_STYLECHANGED:
      record->sizing = (::GetWindowLongA(hwnd, GWL_STYLE) & WS_THICKFRAME) != 0;
      break;
    case WM_NCDESTROY:
      if (tracking) EndTracking(hwnd, *record);
      if (g_track.hotHwnd == hwnd) StopHot(hwnd, record);
      UninitializeCoolSB(hwnd);
      return ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
    default:
      break;
  }
  return ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
}

}  // namespace

BOOL InitializeCoolSB(HWND hwnd) {
  if (!::IsWindow(hwnd) || RecordOf(hwnd)) return FALSE;
  auto* record = new CoolScrollWnd{};
  const auto style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
  for (int nBar : {SB_HORZ, SB_VERT}) {
    CoolScrollBar& bar = record->bars[nBar];
    bar.info.cbSize = sizeof(SCROLLINFO);
    bar.info.fMask = SIF_ALL;
    ::GetScrollInfo(hwnd, nBar, &bar.info);
    bar.hotPart = bar.pressedPart = kNone;
    if (style & (nBar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) bar.flags |= CoolScrollBar::kShown;
    bar.minThumb = DefaultMinThumb();
  }
  record->leftScrollbar = (::GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  ::SetPropA(hwnd, kProp, record);
  record->oldProc =
      reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CoolProc)));
  CoolScrollSkin::Acquire();
  RefreshFrame(hwnd);
  return TRUE;
}

HRESULT UninitializeCoolSB(HWND hwnd) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record) return E_FAIL;
  if (g_track.hwnd == hwnd) EndTracking(hwnd, *record);
  if (g_track.hotHwnd == hwnd) StopHot(hwnd, record);
  ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->oldProc));
  ::RemovePropA(hwnd, kProp);
  delete record;
  CoolScrollSkin::Release();
  if (::IsWindow(hwnd))
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  return S_OK;
}

BOOL CoolSB_GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || !IsBar(nBar)) return ::GetScrollInfo(hwnd, nBar, lpsi);
  if (!lpsi) return FALSE;
  const SCROLLINFO& info = record->bars[nBar].info;
  if (lpsi->fMask & SIF_RANGE) {
    lpsi->nMin = info.nMin;
    lpsi->nMax = info.nMax;
  }
  if (lpsi->fMask & SIF_PAGE) lpsi->nPage = info.nPage;
  if (lpsi->fMask & SIF_POS) lpsi->nPos = info.nPos;
  if (lpsi->fMask & SIF_TRACKPOS) lpsi->nTrackPos = info.nTrackPos;
  return TRUE;
}

int CoolSB_GetScrollPos(HWND hwnd, int nBar) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || !IsBar(nBar)) return ::GetScrollPos(hwnd, nBar);
  return record->bars[nBar].info.nPos;
}

BOOL CoolSB_GetScrollRange(HWND hwnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || !IsBar(nBar)) return ::GetScrollRange(hwnd, nBar, lpMinPos, lpMaxPos);
  if (!lpMinPos || !lpMaxPos) return FALSE;
  *lpMinPos = record->bars[nBar].info.nMin;
  *lpMaxPos = record->bars[nBar].info.nMax;
  return TRUE;
}

int CoolSB_SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL fRedraw) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || !IsBar(nBar)) return ::SetScrollInfo(hwnd, nBar, lpsi, fRedraw);
  if (!lpsi) return 0;
  CoolScrollBar& bar = record->bars[nBar];
  SCROLLINFO& info = bar.info;
  if (lpsi->fMask & SIF_RANGE) {
    info.nMin = lpsi->nMin;
    info.nMax = lpsi->nMax;
  }
  if (lpsi->fMask & SIF_PAGE) info.nPage = std::min(lpsi->nPage, static_cast<UINT>(std::max(0, info.nMax - info.nMin + 1)));
  if (lpsi->fMask & SIF_POS) info.nPos = std::min(std::max(lpsi->nPos, info.nMin), LastPos(info));
  const bool wasShown = Shown(*record, nBar);
  if (lpsi->fMask & SIF_DISABLENOSCROLL) {
    bar.flags |= CoolScrollBar::kShown;
  } else if (!(bar.flags & CoolScrollBar::kAlwaysShow)) {
    const bool wanted = static_cast<int>(info.nPage) <= info.nMax && !(info.nPage == 0 && info.nMax == 0) &&
                        info.nMax > info.nMin;
    bar.flags = wanted ? (bar.flags | CoolScrollBar::kShown) : (bar.flags & ~CoolScrollBar::kShown);
  }
  if (wasShown != Shown(*record, nBar)) RefreshFrame(hwnd);
  else if (fRedraw) PaintBars(hwnd, *record);
  return info.nPos;
}

int CoolSB_SetScrollPos(HWND hwnd, int nBar, int nPos, BOOL fRedraw) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || !IsBar(nBar)) return ::SetScrollPos(hwnd, nBar, nPos, fRedraw);
  SCROLLINFO& info = record->bars[nBar].info;
  const int old = info.nPos;
  info.nPos = std::max(info.nMin, std::min(nPos, LastPos(info)));
  if (fRedraw) PaintBars(hwnd, *record);
  return old;
}

int CoolSB_SetScrollRange(HWND hwnd, int nBar, int nMinPos, int nMaxPos, BOOL fRedraw) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || !IsBar(nBar)) return ::SetScrollRange(hwnd, nBar, nMinPos, nMaxPos, fRedraw);
  SCROLLINFO& info = record->bars[nBar].info;
  info.nMin = nMinPos;
  info.nMax = nMaxPos;
  info.nPos = std::max(info.nMin, std::min(info.nPos, LastPos(info)));
  if (fRedraw) PaintBars(hwnd, *record);
  return TRUE;
}

BOOL CoolSB_ShowScrollBar(HWND hwnd, int wBar, BOOL fShow) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record) return ::ShowScrollBar(hwnd, wBar, fShow);
  auto style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
  for (int nBar : {SB_HORZ, SB_VERT}) {
    if (wBar != nBar && wBar != SB_BOTH) continue;
    CoolScrollBar& bar = record->bars[nBar];
    const DWORD bit = nBar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    bar.flags = fShow ? (bar.flags | CoolScrollBar::kShown) : (bar.flags & ~CoolScrollBar::kShown);
    style = fShow ? (style | bit) : (style & ~bit);
  }
  ::SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(style));
  RefreshFrame(hwnd);
  return TRUE;
}

BOOL CoolSB_SetMinThumbSize(HWND hwnd, UINT wBar, UINT size) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record) return FALSE;
  const int length = size == static_cast<UINT>(-1) ? DefaultMinThumb() : static_cast<int>(size);
  for (int nBar : {SB_HORZ, SB_VERT})
    if (static_cast<int>(wBar) == nBar || wBar == SB_BOTH) record->bars[nBar].minThumb = length;
  return TRUE;
}

BOOL CoolSB_SetSize(HWND hwnd, int wBar, int nSize, int nSize2) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || nSize == 0 || nSize2 == 0 || nSize < -8 || nSize > 256 || nSize2 < -8 || nSize2 > 256) return FALSE;
  for (int nBar : {SB_HORZ, SB_VERT})
    if (wBar == nBar || wBar == SB_BOTH) record->bars[nBar].size = nBar == SB_VERT ? nSize : nSize2;
  RefreshFrame(hwnd);
  return TRUE;
}

BOOL CoolSB_InsertButton(HWND hwnd, int wBar, const CoolScrollButton* pButton) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || !IsBar(wBar) || !pButton) return FALSE;
  CoolScrollBar& bar = record->bars[wBar];
  if (bar.buttonCount >= CoolScrollBar::kMaxButtons) return FALSE;
  CoolScrollButton& added = bar.buttons[bar.buttonCount++];
  added = *pButton;
  added.state &= ~CoolScrollButton::kPushed;
  PaintBars(hwnd, *record);
  return TRUE;
}

BOOL CoolSB_RemoveButton(HWND hwnd, int wBar, UINT uCmdOrIndex, BOOL fByCommand) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || !IsBar(wBar)) return FALSE;
  CoolScrollBar& bar = record->bars[wBar];
  int index = fByCommand ? kNone : static_cast<int>(uCmdOrIndex);
  for (int i = 0; fByCommand && i < bar.buttonCount && index == kNone; ++i)
    if (bar.buttons[i].id == uCmdOrIndex) index = i;
  if (index < 0 || index >= bar.buttonCount) return FALSE;
  // A button going while it is held ends the press, or the release would find another.
  if (g_track.hwnd == hwnd && g_track.bar == wBar && IsButtonPart(g_track.part)) {
    EndTracking(hwnd, *record);
    ::ReleaseCapture();
  }
  std::copy(bar.buttons + index + 1, bar.buttons + bar.buttonCount, bar.buttons + index);
  --bar.buttonCount;
  if (g_track.hotHwnd == hwnd && g_track.hotBar == wBar) bar.hotPart = g_track.lastHot = kNone;
  PaintBars(hwnd, *record);
  return TRUE;
}

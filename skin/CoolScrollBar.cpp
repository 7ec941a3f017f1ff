#include "skin/CoolScrollBar.h"

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

// The one bar being tracked by the mouse in the process.
struct Tracking {
  HWND hwnd = nullptr;
  int bar = kNone;
  int part = kNone;
  int command = kNone;
  int grab = 0;
  int hotBar = kNone;
  CRect hotRect;
};
Tracking g_track;

CoolScrollWnd* RecordOf(HWND hwnd) { return static_cast<CoolScrollWnd*>(::GetPropA(hwnd, kProp)); }

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
};

Geometry Layout(const CRect& bar, const CoolScrollBar& record, int nBar) {
  const bool vertical = nBar == SB_VERT;
  const int arrow = vertical ? bar.Width() : bar.Height();
  const int length = vertical ? bar.Height() : bar.Width();
  const int track = std::max(0, length - 2 * arrow);
  const SCROLLINFO& info = record.info;
  const int range = std::max(1, info.nMax - info.nMin + 1);
  int thumb = info.nPage ? MulDiv(track, static_cast<int>(info.nPage), range) : 0;
  thumb = std::min(track, std::max(thumb, record.minThumb));
  const int span = std::max(1, LastPos(info) - info.nMin);
  const int offset = MulDiv(track - thumb, std::max(0, info.nPos - info.nMin), span);
  auto piece = [&](int from, int to) {
    return vertical ? CRect(bar.left, bar.top + from, bar.right, bar.top + to)
                    : CRect(bar.left + from, bar.top, bar.left + to, bar.bottom);
  };
  Geometry g;
  g.first = piece(0, arrow);
  g.second = piece(length - arrow, length);
  g.thumb = piece(arrow + offset, arrow + offset + thumb);
  g.before = piece(arrow, arrow + offset);
  g.after = piece(arrow + offset + thumb, length - arrow);
  return g;
}

int HitPart(const Geometry& g, CPoint point) {
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

void DrawBar(HWND hwnd, HDC hdc, const CoolScrollWnd& record, int nBar) {
  const CoolScrollBar& bar = record.bars[nBar];
  const CRect rect = BarRect(hwnd, record, nBar);
  const Geometry g = Layout(rect, bar, nBar);
  const bool vertical = nBar == SB_VERT;
  const bool tracked = g_track.hwnd == hwnd && g_track.bar == nBar;
  auto state = [&](int part) { return tracked && g_track.part == part ? DFCS_PUSHED : 0u; };
  CRect first = g.first, second = g.second;
  ::DrawFrameControl(hdc, &first, DFC_SCROLL, (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | state(SB_LINEUP));
  ::DrawFrameControl(hdc, &second, DFC_SCROLL, (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | state(SB_LINEDOWN));
  // The checkered track: alternate pixels of the face and highlight colours.
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
    ::FillRect(hdc, &thumb, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    ::DrawEdge(hdc, &thumb, state(SB_THUMBTRACK) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  }
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
    ::FillRect(hdc, &corner, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
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
  const CRect rect = BarRect(hwnd, record, nBar);
  const Geometry g = Layout(rect, bar, nBar);
  const bool vertical = nBar == SB_VERT;
  const int arrow = vertical ? rect.Width() : rect.Height();
  const int thumb = vertical ? g.thumb.Height() : g.thumb.Width();
  const int free = std::max(1, (vertical ? rect.Height() : rect.Width()) - 2 * arrow - thumb);
  const int along = (vertical ? point.y - rect.top : point.x - rect.left) - arrow - g_track.grab;
  const int pos = bar.info.nMin + MulDiv(std::clamp(along, 0, free), LastPos(bar.info) - bar.info.nMin, free);
  return std::clamp(pos, bar.info.nMin, LastPos(bar.info));
}

void EndTracking(HWND hwnd) {
  ::KillTimer(hwnd, kDelayTimer);
  ::KillTimer(hwnd, kRepeatTimer);
  g_track.hwnd = nullptr;
  g_track.bar = g_track.part = g_track.command = kNone;
}

LRESULT CALLBACK CoolProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  const WNDPROC old = record->oldProc;
  const bool tracking = g_track.hwnd == hwnd;
  switch (msg) {
    case WM_NCCALCSIZE: {
      const LRESULT result = ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
      auto* client = reinterpret_cast<RECT*>(lParam);
      if (Shown(*record, SB_VERT)) {
        const int size = BarSize(record->bars[SB_VERT], SB_VERT);
        if (record->leftScrollbar) client->left += size;
        else client->right -= size;
      }
      if (Shown(*record, SB_HORZ)) client->bottom -= BarSize(record->bars[SB_HORZ], SB_HORZ);
      return result;
    }
    case WM_NCHITTEST: {
      const CPoint at = InWindow(hwnd, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      if (Shown(*record, SB_VERT) && BarRect(hwnd, *record, SB_VERT).PtInRect(at)) return HTVSCROLL;
      if (Shown(*record, SB_HORZ) && BarRect(hwnd, *record, SB_HORZ).PtInRect(at)) return HTHSCROLL;
      return ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
    }
    case WM_NCPAINT: {
      const LRESULT result = ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
      PaintBars(hwnd, *record);
      return result;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      if (wParam != HTVSCROLL && wParam != HTHSCROLL) break;
      const int nBar = wParam == HTVSCROLL ? SB_VERT : SB_HORZ;
      const CPoint at = InWindow(hwnd, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      const Geometry g = Layout(BarRect(hwnd, *record, nBar), record->bars[nBar], nBar);
      const int part = HitPart(g, at);
      if (part == kNone) return 0;
      g_track.hwnd = hwnd;
      g_track.bar = nBar;
      g_track.part = part;
      ::SetCapture(hwnd);
      if (part == SB_THUMBTRACK) {
        g_track.grab = nBar == SB_VERT ? at.y - g.thumb.top : at.x - g.thumb.left;
        record->bars[nBar].info.nTrackPos = record->bars[nBar].info.nPos;
      } else {
        g_track.command = part;
        SendScroll(hwnd, nBar, part, 0);
        ::SetTimer(hwnd, kDelayTimer, kDelayMs, nullptr);
      }
      PaintBars(hwnd, *record);
      return 0;
    }
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
      if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
        ::SendMessageA(hwnd, msg + 352, wParam, lParam);
        return 0;
      }
      break;
    case WM_NCMOUSEMOVE:
      if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
        g_track.hotBar = wParam == HTVSCROLL ? SB_VERT : SB_HORZ;
        g_track.hotRect = BarRect(hwnd, *record, g_track.hotBar);
        ::SetTimer(hwnd, kHotTimer, kHotMs, nullptr);
      }
      break;
    case WM_TIMER:
      if (wParam == kHotTimer) {
        CPoint cursor;
        ::GetCursorPos(&cursor);
        if (!g_track.hotRect.PtInRect(InWindow(hwnd, cursor))) {
          ::KillTimer(hwnd, kHotTimer);
          g_track.hotBar = kNone;
          PaintBars(hwnd, *record);
        }
        return 0;
      }
      if (wParam == kDelayTimer) {
        ::KillTimer(hwnd, kDelayTimer);
        ::SetTimer(hwnd, kRepeatTimer, kRepeatMs, nullptr);
        return 0;
      }
      if (wParam == kRepeatTimer) {
        if (!tracking) return 0;
        // The pointer is tested again: the part repeats only while it is under it.
        CPoint cursor;
        ::GetCursorPos(&cursor);
        const Geometry g = Layout(BarRect(hwnd, *record, g_track.bar), record->bars[g_track.bar], g_track.bar);
        g_track.command = HitPart(g, InWindow(hwnd, cursor)) == g_track.part ? g_track.part : kNone;
        if (g_track.command != kNone) SendScroll(hwnd, g_track.bar, g_track.command, 0);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (tracking && g_track.part == SB_THUMBTRACK) {
        CPoint cursor;
        ::GetCursorPos(&cursor);
        const int pos = PosFromThumb(hwnd, *record, g_track.bar, InWindow(hwnd, cursor));
        record->bars[g_track.bar].info.nTrackPos = pos;
        SendScroll(hwnd, g_track.bar, SB_THUMBTRACK, pos);
        return 0;
      }
      if (tracking) return 0;
      break;
    case WM_LBUTTONUP:
      if (tracking) {
        const int nBar = g_track.bar;
        const bool thumb = g_track.part == SB_THUMBTRACK;
        const int pos = record->bars[nBar].info.nTrackPos;
        EndTracking(hwnd);
        ::ReleaseCapture();
        if (thumb) SendScroll(hwnd, nBar, SB_THUMBPOSITION, pos);
        SendScroll(hwnd, nBar, SB_ENDSCROLL, 0);
        PaintBars(hwnd, *record);
        return 0;
      }
      break;
    case WM_STYLECHANGED:
      record->sizing = (::GetWindowLongA(hwnd, GWL_STYLE) & WS_THICKFRAME) != 0;
      break;
    case WM_NCDESTROY:
      if (tracking) EndTracking(hwnd);
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
  // The system's own bars give way to ours.
  ::SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(style & ~(WS_HSCROLL | WS_VSCROLL)));
  ::SetPropA(hwnd, kProp, record);
  record->oldProc =
      reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CoolProc)));
  RefreshFrame(hwnd);
  return TRUE;
}

HRESULT UninitializeCoolSB(HWND hwnd) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record) return E_FAIL;
  ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->oldProc));
  ::RemovePropA(hwnd, kProp);
  delete record;
  if (::IsWindow(hwnd))
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  return S_OK;
}

BOOL CoolSB_GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || (nBar != SB_HORZ && nBar != SB_VERT)) return ::GetScrollInfo(hwnd, nBar, lpsi);
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
  if (!record || (nBar != SB_HORZ && nBar != SB_VERT)) return ::GetScrollPos(hwnd, nBar);
  return record->bars[nBar].info.nPos;
}

BOOL CoolSB_GetScrollRange(HWND hwnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || (nBar != SB_HORZ && nBar != SB_VERT)) return ::GetScrollRange(hwnd, nBar, lpMinPos, lpMaxPos);
  if (!lpMinPos || !lpMaxPos) return FALSE;
  *lpMinPos = record->bars[nBar].info.nMin;
  *lpMaxPos = record->bars[nBar].info.nMax;
  return TRUE;
}

int CoolSB_SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL fRedraw) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || (nBar != SB_HORZ && nBar != SB_VERT)) return ::SetScrollInfo(hwnd, nBar, lpsi, fRedraw);
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
  if (!record || (nBar != SB_HORZ && nBar != SB_VERT)) return ::SetScrollPos(hwnd, nBar, nPos, fRedraw);
  SCROLLINFO& info = record->bars[nBar].info;
  const int old = info.nPos;
  info.nPos = std::max(info.nMin, std::min(nPos, LastPos(info)));
  if (fRedraw) PaintBars(hwnd, *record);
  return old;
}

int CoolSB_SetScrollRange(HWND hwnd, int nBar, int nMinPos, int nMaxPos, BOOL fRedraw) {
  CoolScrollWnd* record = RecordOf(hwnd);
  if (!record || (nBar != SB_HORZ && nBar != SB_VERT)) return ::SetScrollRange(hwnd, nBar, nMinPos, nMaxPos, fRedraw);
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
  for (int nBar : {SB_HORZ, SB_VERT}) {
    if (wBar != nBar && wBar != SB_BOTH) continue;
    CoolScrollBar& bar = record->bars[nBar];
    bar.flags = fShow ? (bar.flags | CoolScrollBar::kShown) : (bar.flags & ~CoolScrollBar::kShown);
  }
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

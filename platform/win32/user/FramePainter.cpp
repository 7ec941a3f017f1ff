#include <win32/user/FramePainter.h>

#include <win32/gdi/dc.h>
#include <win32/gdi/draw.h>
#include <win32/gdi/font.h>
#include <win32/gdi/icon.h>
#include <win32/gdi/object.h>
#include <win32/gdi/windowdc.h>
#include <win32/user/Frame.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/ScrollBarPainter.h>
#include <win32/user/UserSystem.h>
#include <win32/user/metrics.h>
#include <win32/user/rect.h>
#include <win32/user/window.h>

#include <algorithm>
#include <string>

namespace plat {

namespace {

// What the drawing needs of the window, read under the user lock.
struct Look {
  DWORD style = 0;
  DWORD exStyle = 0;
  bool active = false;
  std::string title;
  int width = 0;
  int height = 0;
  HICON icon = nullptr;
  int border = 0;
  int caption = 0;
  bool dialogFrame = false;
  // The standard scroll bars, horizontal then vertical: where they lie and their state.
  RECT bars[2]{};
  Window::ScrollBar scroll[2];
};

bool shows(const RECT& rect) { return rect.right > rect.left && rect.bottom > rect.top; }

bool lookOf(HWND hwnd, Look& look) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  const auto window = system.window(hwnd);
  if (!window || !(window->style & WS_VISIBLE)) return false;
  const Frame frame(window->style, window->exStyle, system.metrics());
  look.style = window->style;
  look.exStyle = window->exStyle;
  look.active = window->frameActive;
  look.title = window->text;
  look.width = window->width();
  look.height = window->height();
  look.icon = window->smallIcon ? window->smallIcon : window->bigIcon;
  if (!look.icon) look.icon = window->windowClass->icon;
  look.border = frame.borderWidth();
  look.caption = frame.captionHeight();
  look.dialogFrame = frame.dialogFrame();
  for (const int bar : {SB_HORZ, SB_VERT}) {
    look.bars[bar] = frame.scrollBar(RECT{0, 0, look.width, look.height}, bar);
    look.scroll[bar] = window->scrollBars[bar];
  }
  return look.border > 0 || (look.exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) || shows(look.bars[SB_HORZ]) ||
         shows(look.bars[SB_VERT]);
}

void fill(HDC hdc, RECT rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(hdc, &rect, brush);
  DeleteObject(brush);
}

COLORREF mix(COLORREF from, COLORREF to, int step, int steps) {
  const auto channel = [&](int shift) {
    const int a = static_cast<int>(from >> shift & 0xFF);
    const int b = static_cast<int>(to >> shift & 0xFF);
    return static_cast<COLORREF>(a + (b - a) * step / std::max(1, steps)) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

// The border band between the outer edge and `inner`: the face colour and a raised edge,
// or a single line for a plain border.
void drawBorder(HDC hdc, const Look& look, RECT outer) {
  if (look.style & WS_THICKFRAME || look.dialogFrame) {
    const RECT inner{look.border, look.border, look.width - look.border, look.height - look.border};
    fill(hdc, RECT{0, 0, look.width, inner.top}, GetSysColor(COLOR_BTNFACE));
    fill(hdc, RECT{0, inner.bottom, look.width, look.height}, GetSysColor(COLOR_BTNFACE));
    fill(hdc, RECT{0, inner.top, inner.left, inner.bottom}, GetSysColor(COLOR_BTNFACE));
    fill(hdc, RECT{inner.right, inner.top, look.width, inner.bottom}, GetSysColor(COLOR_BTNFACE));
    DrawEdge(hdc, &outer, EDGE_RAISED, BF_RECT);
    return;
  }
  HBRUSH line = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
  FrameRect(hdc, &outer, line);
  DeleteObject(line);
}

// A caption button: a raised face with its glyph drawn in lines.
void drawButton(HDC hdc, RECT face, int glyph) {
  fill(hdc, face, GetSysColor(COLOR_BTNFACE));
  DrawEdge(hdc, &face, EDGE_RAISED, BF_RECT);
  HPEN pen = CreatePen(PS_SOLID, 2, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ old = SelectObject(hdc, pen);
  const int left = face.left + 4, right = face.right - 5, top = face.top + 3, bottom = face.bottom - 4;
  switch (glyph) {
    case SC_CLOSE:
      MoveToEx(hdc, left, top, nullptr);
      LineTo(hdc, right, bottom);
      MoveToEx(hdc, right, top, nullptr);
      LineTo(hdc, left, bottom);
      break;
    case SC_MINIMIZE:
      MoveToEx(hdc, left, bottom - 1, nullptr);
      LineTo(hdc, right - 2, bottom - 1);
      break;
    default: {  // maximise: a window outline with a thick top
      RECT box{left, top, right, bottom};
      HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNTEXT));
      FrameRect(hdc, &box, brush);
      RECT bar{left, top, right, top + 2};
      FillRect(hdc, &bar, brush);
      DeleteObject(brush);
      break;
    }
  }
  SelectObject(hdc, old);
  DeleteObject(pen);
}

// The caption bar inside the border: shading, buttons, icon and title.
void drawCaption(HDC hdc, const Look& look) {
  RECT bar{look.border, look.border, look.width - look.border, look.border + look.caption - 1};
  fill(hdc, RECT{bar.left, bar.bottom, bar.right, bar.bottom + 1}, GetSysColor(COLOR_BTNFACE));
  const COLORREF from = GetSysColor(look.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  const COLORREF to = GetSysColor(look.active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
  const int span = bar.right - bar.left;
  for (int x = bar.left; x < bar.right; ++x) fill(hdc, RECT{x, bar.top, x + 1, bar.bottom}, mix(from, to, x - bar.left, span));

  int textRight = bar.right - 2;
  if (look.style & WS_SYSMENU) {
    const int size = std::max(0, bar.bottom - bar.top - 4);
    RECT face{bar.right - 2 - (size + 2), bar.top + 2, bar.right - 2, bar.top + 2 + size};
    drawButton(hdc, face, SC_CLOSE);
    textRight = face.left - 2;
    if (look.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
      for (const int glyph : {SC_MAXIMIZE, SC_MINIMIZE}) {
        OffsetRect(&face, -(face.right - face.left) - (glyph == SC_MAXIMIZE ? 2 : 0), 0);
        drawButton(hdc, face, glyph);
        textRight = face.left - 2;
      }
    }
  }
  int textLeft = bar.left + 3;
  if ((look.style & WS_SYSMENU) && !look.dialogFrame && !(look.exStyle & WS_EX_TOOLWINDOW) && look.icon) {
    const int icon = GetSystemMetrics(SM_CXSMICON);
    DrawIconEx(hdc, bar.left + 2, bar.top + (bar.bottom - bar.top - icon) / 2, look.icon, icon, icon, 0, nullptr,
               DI_NORMAL);
    textLeft = bar.left + 2 + icon + 3;
  }
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
  HGDIOBJ old = SelectObject(hdc, font);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(look.active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  RECT text{textLeft, bar.top, textRight, bar.bottom};
  DrawTextA(hdc, look.title.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(hdc, old);
  DeleteObject(font);
}

}  // namespace

void FramePainter::paint(HWND hwnd) {
  Look look;
  if (!lookOf(hwnd, look)) return;
  HDC hdc = GetWindowDC(hwnd);
  if (!hdc) return;
  RECT outer{0, 0, look.width, look.height};
  if (look.border > 0) drawBorder(hdc, look, outer);
  if (look.caption > 0) drawCaption(hdc, look);
  RECT edge{look.border, look.border + look.caption, look.width - look.border, look.height - look.border};
  if (look.exStyle & WS_EX_CLIENTEDGE) DrawEdge(hdc, &edge, EDGE_SUNKEN, BF_RECT);
  else if (look.exStyle & WS_EX_STATICEDGE) DrawEdge(hdc, &edge, BDR_SUNKENOUTER, BF_RECT);
  for (const int bar : {SB_HORZ, SB_VERT})
    if (shows(look.bars[bar]))
      ScrollBarPainter::paint(hdc, ScrollBarGeometry(look.bars[bar], bar == SB_VERT, look.scroll[bar]),
                              ScrollBarGeometry::Part::None);
  if (shows(look.bars[SB_HORZ]) && shows(look.bars[SB_VERT]))
    ScrollBarPainter::paintCorner(hdc, RECT{look.bars[SB_VERT].left, look.bars[SB_HORZ].top, look.bars[SB_VERT].right,
                                            look.bars[SB_HORZ].bottom});
  ReleaseDC(hwnd, hdc);
}

void FramePainter::activate(HWND hwnd, bool active) {
  {
    UserSystem& system = UserSystem::current();
    std::lock_guard guard(system.lock());
    const auto window = system.window(hwnd);
    if (!window) return;
    window->frameActive = active;
  }
  repaint(hwnd);
}

// Through WM_NCPAINT, so a window that draws its own frame draws it again.
void FramePainter::repaint(HWND hwnd) {
  if (IsWindowVisible(hwnd)) MessageDelivery::send(hwnd, WM_NCPAINT, 1, 0);
}

}  // namespace plat

#include <win32/user/Frame.h>

#include <win32/user/SystemMetrics.h>
#include <win32/user/WindowGeometry.h>
#include <win32/user/metrics.h>
#include <win32/user/scroll.h>
#include <win32/user/window.h>

#include <algorithm>

namespace plat {

namespace {
bool inside(const RECT& r, POINT pt) { return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom; }
}  // namespace

Frame::Frame(DWORD style, DWORD exStyle, const SystemMetrics& metrics)
    : m_style(style), m_exStyle(exStyle), m_metrics(metrics) {}

bool Frame::dialogFrame() const {
  return (m_exStyle & WS_EX_DLGMODALFRAME) || ((m_style & WS_DLGFRAME) && !(m_style & WS_THICKFRAME));
}

int Frame::borderWidth() const {
  if (m_style & WS_THICKFRAME) return m_metrics.metric(SM_CXFRAME);
  if (dialogFrame()) return m_metrics.metric(SM_CXDLGFRAME);
  if (m_style & WS_BORDER) return m_metrics.metric(SM_CXBORDER);
  return 0;
}

int Frame::captionHeight() const {
  if ((m_style & WS_CAPTION) != WS_CAPTION) return 0;
  return m_metrics.metric((m_exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

RECT Frame::insets(bool withScrollBars) const {
  int edge = borderWidth();
  if (m_exStyle & WS_EX_CLIENTEDGE) edge += m_metrics.metric(SM_CXEDGE);
  if (m_exStyle & WS_EX_STATICEDGE) edge += m_metrics.metric(SM_CXBORDER);
  RECT in{edge, edge + captionHeight(), edge, edge};
  if (withScrollBars) {
    if (m_style & WS_VSCROLL) ((m_exStyle & WS_EX_LEFTSCROLLBAR) ? in.left : in.right) += m_metrics.metric(SM_CXVSCROLL);
    if (m_style & WS_HSCROLL) in.bottom += m_metrics.metric(SM_CYHSCROLL);
  }
  return in;
}

RECT Frame::clientOf(const RECT& window) const {
  const RECT in = insets(true);
  RECT client{movedEdge(window.left, in.left), movedEdge(window.top, in.top), movedEdge(window.right, -in.right),
              movedEdge(window.bottom, -in.bottom)};
  client.right = std::max(client.right, client.left);
  client.bottom = std::max(client.bottom, client.top);
  return client;
}

RECT Frame::scrollBar(const RECT& window, int bar) const {
  const RECT client = clientOf(window);
  if (bar == SB_HORZ && (m_style & WS_HSCROLL))
    return RECT{client.left, client.bottom, client.right, client.bottom + m_metrics.metric(SM_CYHSCROLL)};
  if (bar != SB_VERT || !(m_style & WS_VSCROLL)) return RECT{};
  const int width = m_metrics.metric(SM_CXVSCROLL);
  const int left = (m_exStyle & WS_EX_LEFTSCROLLBAR) ? client.left - width : client.right;
  return RECT{left, client.top, left + width, client.bottom};
}

int Frame::hitTest(const RECT& window, POINT pt) const {
  if (!inside(window, pt)) return HTNOWHERE;
  const RECT client = clientOf(window);
  if (inside(client, pt)) return HTCLIENT;
  const RECT in = insets(false);
  const RECT inner{window.left + in.left, window.top + in.top, window.right - in.right, window.bottom - in.bottom};
  if (inside(inner, pt)) {
    if (inside(scrollBar(window, SB_HORZ), pt)) return HTHSCROLL;
    if (inside(scrollBar(window, SB_VERT), pt)) return HTVSCROLL;
    return HTBORDER;
  }
  const int border = borderWidth();
  const bool inCaptionBand = pt.y >= window.top + border && pt.y < window.top + border + captionHeight();
  if (inCaptionBand && pt.x >= window.left + border && pt.x < window.right - border) return HTCAPTION;
  if (!(m_style & WS_THICKFRAME)) return HTBORDER;
  const bool left = pt.x < window.left + border;
  const bool right = pt.x >= window.right - border;
  const bool top = pt.y < window.top + border;
  const bool bottom = pt.y >= window.bottom - border;
  if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  return left ? HTLEFT : HTRIGHT;
}

}  // namespace plat

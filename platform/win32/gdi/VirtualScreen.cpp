#include <win32/gdi/VirtualScreen.h>

#include <machine/Machine.h>
#include <machine/VideoSurfaces.h>
#include <win32/gdi/DragImage.h>
#include <win32/gdi/WindowClip.h>
#include <win32/gdi/WindowGraphics.h>
#include <win32/user/caret.h>
#include <win32/user/metrics.h>
#include <win32/user/rect.h>
#include <win32/user/window.h>

namespace plat {

namespace {

Pixel blend(Pixel src, Pixel dst, unsigned alpha) {
  Pixel out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const unsigned s = src >> shift & 0xFF;
    const unsigned d = dst >> shift & 0xFF;
    out |= ((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

VirtualScreen& VirtualScreen::current() { return Machine::current().service<VirtualScreen>(); }

int VirtualScreen::width() const { return m_machine.ini().intValue("Screen", "Width", 1024); }
int VirtualScreen::height() const { return m_machine.ini().intValue("Screen", "Height", 768); }

std::vector<HWND> VirtualScreen::topLevelWindows() {
  std::vector<HWND> windows;
  // Any top-level window of this process leads to the first in z-order.
  const HWND any = FindWindowA(nullptr, nullptr);
  for (HWND w = any ? GetWindow(any, GW_HWNDFIRST) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT)) windows.push_back(w);
  return windows;
}

std::shared_ptr<Surface> VirtualScreen::compose() {
  WindowGraphics::current().dropDeadWindows();
  auto frame = std::make_shared<Surface>(width(), height(), PixelFormat::Bgrx32);
  frame->fill(frame->bounds(), pixelFromColorRef(GetSysColor(COLOR_DESKTOP)));
  const std::vector<HWND> windows = topLevelWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if (!IsWindowVisible(*it)) continue;
    composeWindow(*frame, *it);
    composeVideo(*frame, *it);
    composeCaret(*frame, *it);
  }
  composeVideo(*frame, nullptr);
  DragImage::current().drawOn(*frame);
  return frame;
}

void VirtualScreen::composeWindow(Surface& frame, HWND hwnd) {
  WindowGraphics& graphics = WindowGraphics::current();
  RECT r{};
  GetWindowRect(hwnd, &r);
  const std::shared_ptr<Surface> pixels = graphics.surfaceOf(hwnd, SIZE{r.right - r.left, r.bottom - r.top});
  const bool layered = (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  const WindowGraphics::Layering layering = layered ? graphics.layeringOf(hwnd) : WindowGraphics::Layering{};
  const unsigned alpha = layering.alpha ? layering.opacity : 255;
  const Pixel key = pixelFromColorRef(layering.key);
  std::vector<Pixel> src, dst;
  WindowClip::outline(graphics, hwnd).forEachRectIn(frame.bounds(), [&](const RECT& s) {
    const int n = s.right - s.left;
    src.resize(static_cast<std::size_t>(n));
    dst.resize(static_cast<std::size_t>(n));
    for (int y = s.top; y < s.bottom; ++y) {
      pixels->readSpan(s.left - r.left, y - r.top, n, src.data());
      frame.readSpan(s.left, y, n, dst.data());
      for (int i = 0; i < n; ++i) {
        if (layering.colorKey && src[static_cast<std::size_t>(i)] == key) continue;
        dst[static_cast<std::size_t>(i)] = alpha == 255 ? src[static_cast<std::size_t>(i)]
                                                        : blend(src[static_cast<std::size_t>(i)], dst[static_cast<std::size_t>(i)], alpha);
      }
      frame.writeSpan(s.left, y, n, dst.data());
    }
  });
}

void VirtualScreen::composeCaret(Surface& frame, HWND topLevel) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(topLevel, nullptr), &gui) || !(gui.flags & GUI_CARETBLINKING) ||
      !IsWindowVisible(gui.hwndCaret) || GetAncestor(gui.hwndCaret, GA_ROOT) != topLevel)
    return;
  WindowGraphics& graphics = WindowGraphics::current();
  const auto place = WindowClip::place(graphics, gui.hwndCaret, WindowGraphics::Area::Client);
  if (!place) return;
  RECT caret = gui.rcCaret;
  OffsetRect(&caret, place->origin.x, place->origin.y);
  Region shown = place->visible.intersected(caret);
  shown.translate(place->topLevelRect.left, place->topLevelRect.top);
  shown.intersected(WindowClip::outline(graphics, topLevel)).forEachRectIn(frame.bounds(), [&](const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) frame.setPixel(x, y, ~frame.pixel(x, y) & 0xFFFFFF);
  });
}

void VirtualScreen::composeVideo(Surface& frame, HWND topLevel) {
  for (const auto& video : m_machine.service<VideoSurfaces>().all()) {
    const VideoSurface::Placement place = video->placement();
    if (!place.visible || place.fullScreen != (topLevel == nullptr)) continue;
    Region area(frame.bounds());
    RECT target = frame.bounds();
    if (topLevel) {
      if (!IsWindowVisible(place.owner) || GetAncestor(place.owner, GA_ROOT) != topLevel) continue;
      RECT client{};
      GetClientRect(place.owner, &client);
      POINT origin{0, 0};
      ClientToScreen(place.owner, &origin);
      target = RECT{origin.x + place.rect.left, origin.y + place.rect.top, origin.x + place.rect.right,
                    origin.y + place.rect.bottom};
      area = area.intersected(RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom})
                 .intersected(WindowClip::outline(WindowGraphics::current(), topLevel));
    }
    const VideoSurface::Frame picture = video->frame();
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    if (picture.width <= 0 || picture.height <= 0 || w <= 0 || h <= 0) continue;
    area.forEachRectIn(target, [&](const RECT& s) {
      for (int y = s.top; y < s.bottom; ++y) {
        const int sy = static_cast<int>(static_cast<long long>(y - target.top) * picture.height / h);
        for (int x = s.left; x < s.right; ++x) {
          const int sx = static_cast<int>(static_cast<long long>(x - target.left) * picture.width / w);
          frame.setPixel(x, y, picture.pixels[static_cast<std::size_t>(sy) * picture.width + sx] & 0xFFFFFF);
        }
      }
    });
  }
}

}  // namespace plat

#include <win32/gdi/VirtualScreen.h>

#include <machine/Machine.h>
#include <machine/VideoSurfaces.h>
#include <win32/gdi/DragImage.h>
#include <win32/gdi/WindowClip.h>
#include <win32/gdi/WindowGraphics.h>
#include <win32/user/caret.h>
#include <win32/user/metrics.h>
#include <win32/user/WindowGeometry.h>
#include <win32/user/rect.h>
#include <win32/user/window.h>

#include <algorithm>

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

RECT shifted(const RECT& r, POINT by) { return RECT{r.left - by.x, r.top - by.y, r.right - by.x, r.bottom - by.y}; }

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
    composeWindow(*frame, POINT{0, 0}, *it, nullptr);
    composeVideo(*frame, POINT{0, 0}, *it, nullptr);
    composeCaret(*frame, POINT{0, 0}, *it);
  }
  composeVideo(*frame, POINT{0, 0}, nullptr, nullptr);
  DragImage::current().drawOn(*frame);
  return frame;
}

std::optional<VirtualScreen::Layer> VirtualScreen::layerOf(HWND topLevel) {
  RECT window{};
  if (!IsWindowVisible(topLevel) || !GetWindowRect(topLevel, &window)) return std::nullopt;
  const RECT r = WindowGraphics::pixelsOnScreen(window);
  if (r.right <= r.left || r.bottom <= r.top) return std::nullopt;
  Layer layer{r, std::make_shared<Surface>(r.right - r.left, r.bottom - r.top, PixelFormat::Bgrx32), {}};
  layer.cover.assign(static_cast<std::size_t>(layer.pixels->width()) * layer.pixels->height(), 0);
  composeWindow(*layer.pixels, POINT{r.left, r.top}, topLevel, &layer.cover);
  composeVideo(*layer.pixels, POINT{r.left, r.top}, topLevel, &layer.cover);
  composeCaret(*layer.pixels, POINT{r.left, r.top}, topLevel);
  return layer;
}

std::optional<VirtualScreen::Layer> VirtualScreen::fullScreenVideo() {
  // Most pictures of the screen have no full-screen video: they make no layer for it.
  const auto surfaces = m_machine.service<VideoSurfaces>().all();
  if (std::none_of(surfaces.begin(), surfaces.end(), [](const auto& video) {
        const VideoSurface::Placement place = video->placement();
        return place.visible && place.fullScreen;
      }))
    return std::nullopt;
  Layer layer{RECT{0, 0, width(), height()}, std::make_shared<Surface>(width(), height(), PixelFormat::Bgrx32), {}};
  layer.cover.assign(static_cast<std::size_t>(width()) * height(), 0);
  if (!composeVideo(*layer.pixels, POINT{0, 0}, nullptr, &layer.cover)) return std::nullopt;
  return layer;
}

void VirtualScreen::blendOnto(Surface& frame, const Layer& layer) {
  const RECT area{std::max<LONG>(layer.rect.left, 0), std::max<LONG>(layer.rect.top, 0),
                  std::min<LONG>(layer.rect.right, frame.width()), std::min<LONG>(layer.rect.bottom, frame.height())};
  if (area.left >= area.right || area.top >= area.bottom) return;
  const int n = area.right - area.left;
  std::vector<Pixel> src(static_cast<std::size_t>(n)), dst(static_cast<std::size_t>(n));
  for (int y = area.top; y < area.bottom; ++y) {
    const int ly = y - layer.rect.top;
    const int lx = area.left - layer.rect.left;
    layer.pixels->readSpan(lx, ly, n, src.data());
    frame.readSpan(area.left, y, n, dst.data());
    const std::uint8_t* cover = &layer.cover[static_cast<std::size_t>(ly) * layer.pixels->width() + lx];
    for (int i = 0; i < n; ++i) {
      const auto at = static_cast<std::size_t>(i);
      if (cover[i] == 255) dst[at] = src[at];
      else if (cover[i]) dst[at] = blend(src[at], dst[at], cover[i]);
    }
    frame.writeSpan(area.left, y, n, dst.data());
  }
}

void VirtualScreen::composeWindow(Surface& target, POINT origin, HWND hwnd, std::vector<std::uint8_t>* cover) {
  WindowGraphics& graphics = WindowGraphics::current();
  RECT r{};
  GetWindowRect(hwnd, &r);
  const std::shared_ptr<Surface> pixels = graphics.surfaceOf(hwnd, r);
  const bool layered = (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  const WindowGraphics::Layering layering = layered ? graphics.layeringOf(hwnd) : WindowGraphics::Layering{};
  const unsigned alpha = layering.alpha ? layering.opacity : 255;
  const Pixel key = pixelFromColorRef(layering.key);
  std::vector<Pixel> src, dst;
  const RECT onScreen{origin.x, origin.y, origin.x + target.width(), origin.y + target.height()};
  const Region shown = WindowClip::outline(graphics, hwnd).intersected(WindowGraphics::pixelsOnScreen(r));
  shown.forEachRectIn(onScreen, [&](const RECT& screen) {
    const RECT s = shifted(screen, origin);
    const int n = s.right - s.left;
    src.resize(static_cast<std::size_t>(n));
    dst.resize(static_cast<std::size_t>(n));
    for (int y = s.top; y < s.bottom; ++y) {
      pixels->readSpan(screen.left - r.left, y + origin.y - r.top, n, src.data());
      target.readSpan(s.left, y, n, dst.data());
      std::uint8_t* covered = cover ? &(*cover)[static_cast<std::size_t>(y) * target.width() + s.left] : nullptr;
      for (int i = 0; i < n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (layering.colorKey && src[at] == key) continue;
        if (covered) {
          dst[at] = src[at];
          covered[i] = static_cast<std::uint8_t>(alpha);
        } else {
          dst[at] = alpha == 255 ? src[at] : blend(src[at], dst[at], alpha);
        }
      }
      target.writeSpan(s.left, y, n, dst.data());
    }
  });
}

void VirtualScreen::composeCaret(Surface& target, POINT origin, HWND topLevel) {
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
  const RECT onScreen{origin.x, origin.y, origin.x + target.width(), origin.y + target.height()};
  shown.intersected(WindowClip::outline(graphics, topLevel)).forEachRectIn(onScreen, [&](const RECT& r) {
    for (int y = r.top - origin.y; y < r.bottom - origin.y; ++y)
      for (int x = r.left - origin.x; x < r.right - origin.x; ++x) target.setPixel(x, y, ~target.pixel(x, y) & 0xFFFFFF);
  });
}

bool VirtualScreen::composeVideo(Surface& target, POINT origin, HWND topLevel, std::vector<std::uint8_t>* cover) {
  bool drawn = false;
  const RECT onScreen{origin.x, origin.y, origin.x + target.width(), origin.y + target.height()};
  for (const auto& video : m_machine.service<VideoSurfaces>().all()) {
    const VideoSurface::Placement place = video->placement();
    if (!place.visible || place.fullScreen != (topLevel == nullptr)) continue;
    Region area(onScreen);
    RECT screenTarget{0, 0, width(), height()};
    if (topLevel) {
      if (!IsWindowVisible(place.owner) || GetAncestor(place.owner, GA_ROOT) != topLevel) continue;
      RECT client{};
      GetClientRect(place.owner, &client);
      POINT corner{0, 0};
      ClientToScreen(place.owner, &corner);
      // Edges held to the int range, as a window's may lie at either end of it.
      screenTarget = offsetRect(place.rect, corner.x, corner.y);
      area = area.intersected(offsetRect(client, corner.x, corner.y))
                 .intersected(WindowClip::outline(WindowGraphics::current(), topLevel));
    }
    const VideoSurface::Frame picture = video->frame();
    const long long w = static_cast<long long>(screenTarget.right) - screenTarget.left;
    const long long h = static_cast<long long>(screenTarget.bottom) - screenTarget.top;
    if (picture.width <= 0 || picture.height <= 0 || w <= 0 || h <= 0) continue;
    area.forEachRectIn(screenTarget, [&](const RECT& s) {
      for (int y = s.top; y < s.bottom; ++y) {
        const int sy = static_cast<int>((static_cast<long long>(y) - screenTarget.top) * picture.height / h);
        for (int x = s.left; x < s.right; ++x) {
          const int sx = static_cast<int>((static_cast<long long>(x) - screenTarget.left) * picture.width / w);
          target.setPixel(x - origin.x, y - origin.y, picture.pixels[static_cast<std::size_t>(sy) * picture.width + sx] & 0xFFFFFF);
          if (cover) (*cover)[static_cast<std::size_t>(y - origin.y) * target.width() + (x - origin.x)] = 255;
        }
      }
      drawn = true;
    });
  }
  return drawn;
}

}  // namespace plat

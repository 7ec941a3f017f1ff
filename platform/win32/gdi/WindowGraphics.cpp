#include <win32/gdi/WindowGraphics.h>

#include <machine/Machine.h>
#include <win32/error.h>
#include <win32/gdi/DrawingContext.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/VirtualScreen.h>
#include <win32/gdi/WindowClip.h>
#include <win32/user/window.h>

#include <algorithm>
#include <vector>

namespace plat {

WindowGraphics& WindowGraphics::current() { return Machine::current().service<WindowGraphics>(); }

HDC WindowGraphics::openDc(HWND hwnd, Area area, const Region* clip) {
  std::shared_ptr<DrawingContext> dc;
  if (!hwnd) {
    VirtualScreen& screen = VirtualScreen::current();
    dc = DrawingContext::createScreen(SIZE{screen.width(), screen.height()},
                                      [] { return VirtualScreen::current().compose(); });
  } else {
    auto placement = WindowClip::place(*this, hwnd, area);
    if (!placement) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    std::shared_ptr<Surface> surface = surfaceOf(placement->topLevel, placement->topLevelRect);
    // Device coordinates start at the area's top-left; a hidden window shows nothing.
    Region visible = IsWindowVisible(hwnd) ? std::move(placement->visible) : Region();
    visible.translate(-static_cast<long long>(placement->origin.x), -static_cast<long long>(placement->origin.y));
    if (clip) visible = visible.intersected(*clip);
    dc = DrawingContext::createDisplay(std::move(surface), placement->origin, std::move(visible));
  }
  const HDC hdc = static_cast<HDC>(GdiTable::instance().add(dc));
  std::lock_guard guard(m_lock);
  m_openDcs.insert(hdc);
  return hdc;
}

bool WindowGraphics::releaseDc(HDC hdc) {
  {
    std::lock_guard guard(m_lock);
    if (m_openDcs.erase(hdc) == 0) return false;
  }
  return GdiTable::instance().remove(hdc);
}

void WindowGraphics::setRegion(HWND hwnd, std::optional<Region> region) {
  std::lock_guard guard(m_lock);
  if (region)
    m_regions[hwnd] = std::move(*region);
  else
    m_regions.erase(hwnd);
}

std::optional<Region> WindowGraphics::regionOf(HWND hwnd) const {
  std::lock_guard guard(m_lock);
  auto it = m_regions.find(hwnd);
  if (it == m_regions.end()) return std::nullopt;
  return it->second;
}

bool WindowGraphics::regionContains(HWND hwnd, POINT windowPoint) const {
  std::lock_guard guard(m_lock);
  auto it = m_regions.find(hwnd);
  return it == m_regions.end() || it->second.contains(windowPoint.x, windowPoint.y);
}

void WindowGraphics::setLayering(HWND hwnd, const Layering& layering) {
  std::lock_guard guard(m_lock);
  m_layering[hwnd] = layering;
}

WindowGraphics::Layering WindowGraphics::layeringOf(HWND hwnd) const {
  std::lock_guard guard(m_lock);
  auto it = m_layering.find(hwnd);
  return it == m_layering.end() ? Layering{} : it->second;
}

RECT WindowGraphics::pixelsOnScreen(const RECT& window) {
  // 64-bit, as the edges of a window may lie at both ends of the int range.
  const auto side = [](LONG from, LONG to) {
    return static_cast<LONG>(std::clamp<long long>(static_cast<long long>(to) - from, 0, kLargestSide));
  };
  return RECT{window.left, window.top, window.left + side(window.left, window.right),
              window.top + side(window.top, window.bottom)};
}

std::shared_ptr<Surface> WindowGraphics::surfaceOf(HWND topLevel, const RECT& window) {
  const RECT pixels = pixelsOnScreen(window);
  const int width = pixels.right - pixels.left;
  const int height = pixels.bottom - pixels.top;
  std::lock_guard guard(m_lock);
  std::shared_ptr<Surface>& slot = m_surfaces[topLevel];
  if (slot && slot->width() == width && slot->height() == height) return slot;
  auto fresh = std::make_shared<Surface>(width, height, PixelFormat::Bgrx32);
  fresh->fill(fresh->bounds(), kWhitePixel);
  if (slot) {
    // A resized window keeps the pixels that still fit.
    const int w = std::min(width, slot->width());
    std::vector<Pixel> row(static_cast<std::size_t>(std::max(w, 0)));
    for (int y = 0; y < std::min(height, slot->height()) && w > 0; ++y) {
      slot->readSpan(0, y, w, row.data());
      fresh->writeSpan(0, y, w, row.data());
    }
  }
  slot = std::move(fresh);
  return slot;
}

void WindowGraphics::forget(HWND hwnd) {
  std::lock_guard guard(m_lock);
  m_surfaces.erase(hwnd);
  m_regions.erase(hwnd);
  m_layering.erase(hwnd);
}

void WindowGraphics::dropDeadWindows() {
  std::vector<HWND> known;
  {
    std::lock_guard guard(m_lock);
    for (const auto& [hwnd, surface] : m_surfaces) known.push_back(hwnd);
    for (const auto& [hwnd, region] : m_regions) known.push_back(hwnd);
    for (const auto& [hwnd, layering] : m_layering) known.push_back(hwnd);
  }
  std::vector<HWND> dead;
  for (HWND hwnd : known)
    if (!IsWindow(hwnd)) dead.push_back(hwnd);
  for (HWND hwnd : dead) forget(hwnd);
}

}  // namespace plat

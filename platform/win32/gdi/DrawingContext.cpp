#include <win32/gdi/DrawingContext.h>

#include <win32/gdi/StockObjects.h>
#include <win32/gdi/object.h>

namespace plat {

DrawingContext::DrawingContext(bool memory, std::shared_ptr<Surface> surface, POINT origin, Region visible)
    : m_memory(memory), m_surface(std::move(surface)), m_origin(origin), m_visible(std::move(visible)) {
  const StockObjects& stock = StockObjects::instance();
  m_state.pen = Selected<PenObject>(stock.defaultPen(), this);
  m_state.brush = Selected<BrushObject>(stock.defaultBrush(), this);
  m_state.font = Selected<FontObject>(stock.defaultFont(), this);
}

std::shared_ptr<DrawingContext> DrawingContext::createMemory() {
  std::shared_ptr<BitmapObject> bitmap = StockObjects::instance().defaultBitmap();
  std::shared_ptr<DrawingContext> dc(
      new DrawingContext(true, BitmapObject::surfaceOf(bitmap), POINT{0, 0}, Region(bitmap->surface().bounds())));
  dc->m_state.bitmap = Selected<BitmapObject>(bitmap, dc.get());
  return dc;
}

std::shared_ptr<DrawingContext> DrawingContext::createDisplay(std::shared_ptr<Surface> surface, POINT origin,
                                                            Region visible) {
  return std::shared_ptr<DrawingContext>(new DrawingContext(false, std::move(surface), origin, std::move(visible)));
}

std::shared_ptr<DrawingContext> DrawingContext::createScreen(SIZE size, Composer compose) {
  const RECT screen{0, 0, size.cx, size.cy};
  std::shared_ptr<DrawingContext> dc(new DrawingContext(false, nullptr, POINT{0, 0}, Region(screen)));
  dc->m_compose = std::move(compose);
  dc->m_screenSize = size;
  return dc;
}

const std::shared_ptr<Surface>& DrawingContext::composed() const {
  if (!m_surface) m_surface = m_compose();
  return m_surface;
}

RECT DrawingContext::surfaceBounds() const {
  return m_surface ? m_surface->bounds() : RECT{0, 0, m_screenSize.cx, m_screenSize.cy};
}

DWORD DrawingContext::objectType() const { return m_memory ? OBJ_MEMDC : OBJ_DC; }

int DrawingContext::save() {
  m_saved.push_back(m_state);
  return static_cast<int>(m_saved.size());
}

bool DrawingContext::restore(int level) {
  const int count = static_cast<int>(m_saved.size());
  if (level < 0) level = count + 1 + level;
  if (level < 1 || level > count) return false;
  State restored = m_saved[static_cast<std::size_t>(level - 1)];
  m_saved.resize(static_cast<std::size_t>(level - 1));
  m_state = std::move(restored);
  if (m_memory) selectBitmap(m_state.bitmap.shared());
  m_clipCache.reset();
  return true;
}

void DrawingContext::selectBitmap(std::shared_ptr<BitmapObject> bitmap) {
  m_surface = BitmapObject::surfaceOf(bitmap);
  m_visible = Region(bitmap->surface().bounds());
  if (m_state.bitmap.get() != bitmap.get()) m_state.bitmap = Selected<BitmapObject>(std::move(bitmap), this);
  m_clipCache.reset();
}

POINT DrawingContext::toDevice(int x, int y) const {
  return POINT{x - m_state.windowOrg.x + m_state.viewportOrg.x, y - m_state.windowOrg.y + m_state.viewportOrg.y};
}

RECT DrawingContext::toDevice(const RECT& logical) const {
  const POINT a = toDevice(logical.left, logical.top);
  const POINT b = toDevice(logical.right, logical.bottom);
  return RECT{a.x, a.y, b.x, b.y};
}

POINT DrawingContext::toLogical(POINT device) const {
  return POINT{device.x - m_state.viewportOrg.x + m_state.windowOrg.x,
               device.y - m_state.viewportOrg.y + m_state.windowOrg.y};
}

const Region& DrawingContext::clipRegion() const {
  if (!m_clipCache) m_clipCache = m_state.clip ? m_visible.intersected(*m_state.clip) : m_visible;
  return *m_clipCache;
}

void DrawingContext::setClip(std::optional<Region> clip) {
  m_state.clip = std::move(clip);
  m_clipCache.reset();
}

std::optional<POINT> DrawingContext::surfacePoint(int deviceX, int deviceY) const {
  if (!clipRegion().contains(deviceX, deviceY)) return std::nullopt;
  const int sx = deviceX + m_origin.x;
  const int sy = deviceY + m_origin.y;
  const RECT bounds = surfaceBounds();
  if (sx < 0 || sy < 0 || sx >= bounds.right || sy >= bounds.bottom) return std::nullopt;
  return POINT{sx, sy};
}

}  // namespace plat

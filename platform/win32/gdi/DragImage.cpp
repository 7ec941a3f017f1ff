#include <win32/gdi/DragImage.h>

#include <machine/Machine.h>

#include <vector>

namespace plat {

DragImage& DragImage::current() { return Machine::current().service<DragImage>(); }

void DragImage::begin(Surface image, std::optional<Surface> mask, POINT hotspot) {
  std::lock_guard guard(m_lock);
  m_image.emplace(std::move(image));
  m_mask = std::move(mask);
  m_hotspot = hotspot;
  m_shownAt.reset();
}

void DragImage::end() {
  std::lock_guard guard(m_lock);
  m_image.reset();
  m_mask.reset();
  m_shownAt.reset();
}

bool DragImage::isDragging() const {
  std::lock_guard guard(m_lock);
  return m_image.has_value();
}

void DragImage::enter(POINT origin, POINT at) {
  std::lock_guard guard(m_lock);
  m_origin = origin;
  if (m_image) m_shownAt = POINT{origin.x + at.x, origin.y + at.y};
}

void DragImage::move(POINT at) {
  std::lock_guard guard(m_lock);
  if (m_image) m_shownAt = POINT{m_origin.x + at.x, m_origin.y + at.y};
}

void DragImage::hide() {
  std::lock_guard guard(m_lock);
  m_shownAt.reset();
}

void DragImage::drawOn(Surface& frame) const {
  std::lock_guard guard(m_lock);
  if (!m_image || !m_shownAt) return;
  const int left = m_shownAt->x - m_hotspot.x;
  const int top = m_shownAt->y - m_hotspot.y;
  for (int y = 0; y < m_image->height(); ++y) {
    const int fy = top + y;
    if (fy < 0 || fy >= frame.height()) continue;
    for (int x = 0; x < m_image->width(); ++x) {
      const int fx = left + x;
      if (fx < 0 || fx >= frame.width()) continue;
      if (m_mask && m_mask->pixel(x, y) != kBlackPixel) continue;
      frame.setPixel(fx, fy, m_image->pixel(x, y));
    }
  }
}

}  // namespace plat

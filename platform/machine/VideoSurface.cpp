#include <machine/VideoSurface.h>

namespace plat {

VideoSurface::Frame VideoSurface::frame() const {
  std::lock_guard guard(m_lock);
  return m_frame;
}

std::uint64_t VideoSurface::framesShown() const {
  std::lock_guard guard(m_lock);
  return m_frame.number;
}

std::uint32_t VideoSurface::pixel(int x, int y) const {
  std::lock_guard guard(m_lock);
  if (x < 0 || y < 0 || x >= m_frame.width || y >= m_frame.height) return 0;
  return m_frame.pixels[static_cast<size_t>(y) * static_cast<size_t>(m_frame.width) + static_cast<size_t>(x)];
}

VideoSurface::Placement VideoSurface::placement() const {
  std::lock_guard guard(m_lock);
  return m_placement;
}

void VideoSurface::setPlacement(const Placement& placement) {
  std::lock_guard guard(m_lock);
  m_placement = placement;
}

}  // namespace plat

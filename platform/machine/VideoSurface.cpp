#include <machine/VideoSurface.h>

namespace plat {

void VideoSurface::presentLater(int width, int height, const std::uint8_t* bytes, std::size_t length,
                                Convert convert) {
  std::lock_guard guard(m_lock);
  next(width, height);
  m_bytes.assign(bytes, bytes + length);
  m_convert = std::move(convert);
}

void VideoSurface::next(int width, int height) {
  m_frame.width = width;
  m_frame.height = height;
  m_frame.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  ++m_frame.number;
}

void VideoSurface::settle() const {
  if (!m_convert) return;
  m_convert(m_bytes.data(), m_frame.pixels.data());
  m_convert = nullptr;
}

VideoSurface::Frame VideoSurface::frame() const {
  std::lock_guard guard(m_lock);
  settle();
  return m_frame;
}

std::uint64_t VideoSurface::framesShown() const {
  std::lock_guard guard(m_lock);
  return m_frame.number;
}

std::uint32_t VideoSurface::pixel(int x, int y) const {
  std::lock_guard guard(m_lock);
  settle();
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

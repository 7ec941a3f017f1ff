#include <machine/VideoSurfaces.h>

#include <algorithm>

namespace plat {

void VideoSurfaces::add(const std::shared_ptr<VideoSurface>& surface) {
  std::lock_guard guard(m_lock);
  m_surfaces.push_back(surface);
}

void VideoSurfaces::remove(const std::shared_ptr<VideoSurface>& surface) {
  std::lock_guard guard(m_lock);
  std::erase(m_surfaces, surface);
}

std::vector<std::shared_ptr<VideoSurface>> VideoSurfaces::all() const {
  std::lock_guard guard(m_lock);
  return m_surfaces;
}

std::vector<std::shared_ptr<VideoSurface>> VideoSurfaces::ownedBy(HWND owner) const {
  std::vector<std::shared_ptr<VideoSurface>> found;
  std::lock_guard guard(m_lock);
  std::copy_if(m_surfaces.begin(), m_surfaces.end(), std::back_inserter(found),
               [&](const std::shared_ptr<VideoSurface>& s) { return s->placement().owner == owner; });
  return found;
}

}  // namespace plat

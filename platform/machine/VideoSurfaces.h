// The machine's video surfaces, one per video renderer alive: how the compositor and the
// tests find the picture shown over a window. One per machine (Machine::service).
#pragma once

#include <machine/VideoSurface.h>

#include <memory>
#include <mutex>
#include <vector>

namespace plat {

class Machine;

class VideoSurfaces {
 public:
  explicit VideoSurfaces(Machine&) {}

  void add(const std::shared_ptr<VideoSurface>& surface);
  void remove(const std::shared_ptr<VideoSurface>& surface);
  std::vector<std::shared_ptr<VideoSurface>> all() const;
  // The surfaces placed over `owner`, oldest first.
  std::vector<std::shared_ptr<VideoSurface>> ownedBy(HWND owner) const;

 private:
  mutable std::mutex m_lock;
  std::vector<std::shared_ptr<VideoSurface>> m_surfaces;
};

}  // namespace plat

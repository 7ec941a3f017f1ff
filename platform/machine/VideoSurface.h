// A video renderer's picture: the latest frame as 32-bit pixels (0x00RRGGBB, top row
// first) and where it is shown: the owner window, the rectangle in the owner's client
// area, visible or not, full screen or not. The screen's compositor draws visible
// surfaces over their owners; tests read the pixels directly.
#pragma once

#include <win32/types.h>

#include <cstdint>
#include <mutex>
#include <vector>

namespace plat {

class VideoSurface {
 public:
  struct Placement {
    HWND owner = nullptr;
    RECT rect{0, 0, 0, 0};
    bool visible = false;
    bool fullScreen = false;
  };
  struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint64_t number = 0;  // frames shown so far, this one included
  };

  // Fills the next frame through paint(pixels), which writes width * height pixels.
  template <class Paint>
  void present(int width, int height, Paint paint) {
    std::lock_guard guard(m_lock);
    m_frame.width = width;
    m_frame.height = height;
    m_frame.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    paint(m_frame.pixels.data());
    ++m_frame.number;
  }
  Frame frame() const;
  std::uint64_t framesShown() const;
  // The pixel at (x, y) of the latest frame, or 0 outside it.
  std::uint32_t pixel(int x, int y) const;

  Placement placement() const;
  void setPlacement(const Placement& placement);

 private:
  mutable std::mutex m_lock;
  Frame m_frame;
  Placement m_placement;
};

}  // namespace plat

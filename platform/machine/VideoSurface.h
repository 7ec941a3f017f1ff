// A video renderer's picture: the latest frame as 32-bit pixels (0x00RRGGBB, top row
// first) and where it is shown: the owner window, the rectangle in the owner's client
// area, visible or not, full screen or not. The screen's compositor draws visible
// surfaces over their owners; tests read the pixels directly.
#pragma once

#include <win32/types.h>

#include <cstdint>
#include <functional>
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

  // Turns a frame's bytes into its width * height pixels.
  using Convert = std::function<void(const std::uint8_t* bytes, std::uint32_t* pixels)>;

  // Fills the next frame through paint(pixels), over the pixels the last frame left.
  template <class Paint>
  void present(int width, int height, Paint paint) {
    std::lock_guard guard(m_lock);
    settle();
    next(width, height);
    paint(m_frame.pixels.data());
  }
  // Keeps a copy of the next frame's bytes and turns them into pixels only when the frame
  // is first read: a renderer presents far more frames than anything looks at, and the
  // conversion costs more than the copy. convert writes every pixel, so a frame it
  // supersedes unread is never converted.
  void presentLater(int width, int height, const std::uint8_t* bytes, std::size_t length, Convert convert);
  Frame frame() const;
  std::uint64_t framesShown() const;
  // The pixel at (x, y) of the latest frame, or 0 outside it.
  std::uint32_t pixel(int x, int y) const;

  Placement placement() const;
  void setPlacement(const Placement& placement);

 private:
  // Starts the next frame in the pixels of the last one.
  void next(int width, int height);
  // Converts the frame's kept bytes, if any; under the lock.
  void settle() const;

  mutable std::mutex m_lock;
  mutable Frame m_frame;
  std::vector<std::uint8_t> m_bytes;
  mutable Convert m_convert;
  Placement m_placement;
};

}  // namespace plat

#include <support/FrameStepping.h>

#include <chrono>
#include <thread>

namespace test {

bool ShowFrames(plat::Machine& machine, const std::shared_ptr<plat::VideoSurface>& surface, int frames) {
  if (!surface) return false;
  for (int i = 0; i < frames; ++i) {
    const auto before = surface->framesShown();
    machine.clock().advance(40);
    bool shown = false;
    for (int wait = 0; wait < 5000 && !shown; ++wait) {
      shown = surface->framesShown() > before;
      if (!shown) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!shown) return false;
  }
  return true;
}

}  // namespace test

#include <support/FrameStepping.h>

#include <machine/StreamActivity.h>

namespace test {

bool ShowFrames(plat::Machine& machine, const std::shared_ptr<plat::VideoSurface>& surface, int frames) {
  if (!surface) return false;
  plat::StreamActivity& streams = plat::StreamActivity::instance();
  streams.settle(machine.clock());
  for (int i = 0; i < frames; ++i) {
    const auto before = surface->framesShown();
    machine.clock().advance(40);
    streams.settle(machine.clock());
    if (surface->framesShown() <= before) return false;
  }
  return true;
}

}  // namespace test

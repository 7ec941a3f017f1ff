// Stepping a live graph's pictures on the manual clock.
#pragma once

#include <machine/Machine.h>
#include <machine/VideoSurface.h>

#include <memory>

namespace test {

// Moves the clock frame by frame, the streaming threads settled after each, until `frames`
// more were shown on the surface; false when there is no surface or a frame did not come.
bool ShowFrames(plat::Machine& machine, const std::shared_ptr<plat::VideoSurface>& surface, int frames);

}  // namespace test

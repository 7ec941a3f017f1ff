// The whole desktop as the user sees it, across the machine's programs: every program's
// visible top-level windows in one z-order, then the tray's icons, then a dragged image.
// Each program draws its own windows (VirtualScreen::layerOf, full-screen video as its
// front layer); the other programs' come through the window directory, each program's
// windows in their own order, interleaved by the topmost band and the time each was last
// raised.
#pragma once

#include <win32/gdi/VirtualScreen.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace plat {

class Desktop {
 public:
  struct Layer {
    bool topmost = false;
    std::int64_t raisedAt = 0;
    VirtualScreen::Layer picture;
  };

  // The desktop now, the size of the screen.
  static std::shared_ptr<Surface> compose();
  // This program's windows as the other programs draw them: its layers, front first, as
  // bytes (see read()).
  static std::vector<std::uint8_t> thisProgram();
  // Another program's layers from its bytes; those cut short are left out.
  static std::vector<Layer> read(const std::vector<std::uint8_t>& bytes);

 private:
  static std::vector<Layer> layersOfThisProgram();
  static void drawTray(Surface& frame);
};

}  // namespace plat

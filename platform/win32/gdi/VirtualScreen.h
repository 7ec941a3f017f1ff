// The machine's screen as this process shows it: the desktop colour, then every visible
// top-level window of this process from the bottom of the z-order up, each through its
// window region, blended by its layered-window opacity and colour key, with the video
// renderers' pictures shown over their owner windows (scaled to the nearest pixel into
// their rectangles, inside the owner's client area) and the caret shown in it inverted;
// then full-screen video, and a dragged image-list picture over everything. The screen's
// size comes from machine.ini [Screen].
//
// Composition runs on demand (a screenshot, the screen's device context), reading the
// windows' surfaces as they are at that moment. The same pictures, window by window, are
// what this process shows of itself on the whole desktop (plat::Desktop).
#pragma once

#include <win32/gdi/Surface.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace plat {

class Machine;

class VirtualScreen {
 public:
  // A picture as the screen shows it at `rect` (screen coordinates): its pixels, and how
  // much each covers what lies beneath (0 none to 255 all).
  struct Layer {
    RECT rect{};
    std::shared_ptr<Surface> pixels;
    std::vector<std::uint8_t> cover;
  };

  explicit VirtualScreen(Machine& machine) : m_machine(machine) {}
  static VirtualScreen& current();

  int width() const;
  int height() const;
  std::shared_ptr<Surface> compose();
  // This process's top-level windows, top of the z-order first.
  static std::vector<HWND> topLevelWindows();

  // A visible top-level window with its videos over it, as far as its pixels reach
  // (WindowGraphics::pixelsOnScreen); nothing for a hidden window.
  std::optional<Layer> layerOf(HWND topLevel);
  // The full-screen videos over the whole screen; nothing when none shows.
  std::optional<Layer> fullScreenVideo();
  // Puts `layer` on `frame` by its cover.
  static void blendOnto(Surface& frame, const Layer& layer);

 private:
  // Draws the window into `target`, whose top-left lies at `origin` on the screen; with
  // `cover`, writes the window's pixels and their cover there instead of blending.
  void composeWindow(Surface& target, POINT origin, HWND hwnd, std::vector<std::uint8_t>* cover);
  // The caret of the top-level window's thread, when it shows in a visible window of it;
  // the same `origin` as composeWindow.
  void composeCaret(Surface& target, POINT origin, HWND topLevel);
  // The visible video pictures whose owners are `topLevel` or inside it; with a null
  // window, the full-screen ones. The same `origin` and `cover` as composeWindow.
  bool composeVideo(Surface& target, POINT origin, HWND topLevel, std::vector<std::uint8_t>* cover);

  Machine& m_machine;
};

}  // namespace plat

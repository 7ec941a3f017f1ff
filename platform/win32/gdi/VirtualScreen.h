// The machine's screen as the user would see it: the desktop colour, then every visible
// top-level window of this process from the bottom of the z-order up, each through its
// window region, blended by its layered-window opacity and colour key, with the video
// renderers' pictures shown over their owner windows (scaled to the nearest pixel into
// their rectangles, inside the owner's client area) and the caret shown in it inverted;
// then full-screen video, and a dragged image-list picture over everything. The screen's size comes from machine.ini [Screen].
//
// Composition runs on demand (a screenshot, the screen's device context), reading the
// windows' surfaces as they are at that moment.
#pragma once

#include <win32/gdi/Surface.h>

#include <memory>
#include <vector>

namespace plat {

class Machine;

class VirtualScreen {
 public:
  explicit VirtualScreen(Machine& machine) : m_machine(machine) {}
  static VirtualScreen& current();

  int width() const;
  int height() const;
  std::shared_ptr<Surface> compose();
  // This process's top-level windows, top of the z-order first.
  static std::vector<HWND> topLevelWindows();

 private:
  void composeWindow(Surface& frame, HWND hwnd);
  // The caret of the top-level window's thread, when it shows in a visible window of it.
  void composeCaret(Surface& frame, HWND topLevel);
  // The visible video pictures whose owners are `topLevel` or inside it; with a null
  // window, the full-screen ones.
  void composeVideo(Surface& frame, HWND topLevel);

  Machine& m_machine;
};

}  // namespace plat

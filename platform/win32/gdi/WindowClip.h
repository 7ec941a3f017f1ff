// Where a window's device context may draw, inside its top-level window's surface: its
// area, clipped by each ancestor's client area, by its own and its ancestors' window
// regions, by siblings above it when it (or an ancestor) has WS_CLIPSIBLINGS, and by its
// children when it has WS_CLIPCHILDREN, and by the pixels its top-level window keeps (at
// most WindowGraphics::kLargestSide a side). Hidden windows clip nothing. Windows may lie
// anywhere in the int range: sums and differences of their edges are taken in 64 bits.
#pragma once

#include <win32/gdi/Region.h>
#include <win32/gdi/WindowGraphics.h>

#include <optional>

namespace plat {

class WindowClip {
 public:
  struct Placement {
    HWND topLevel;
    RECT topLevelRect;  // screen coordinates
    POINT origin;       // the area's top-left in the top-level surface
    Region visible;     // top-level surface coordinates
  };

  // Nothing when the window does not exist.
  static std::optional<Placement> place(const WindowGraphics& graphics, HWND hwnd, WindowGraphics::Area area);
  // A window's outline on the screen: its rectangle, cut to its region.
  static Region outline(const WindowGraphics& graphics, HWND hwnd);
};

}  // namespace plat

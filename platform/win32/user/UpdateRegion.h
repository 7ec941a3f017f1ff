// A window's update region: the part of its client area waiting for WM_PAINT, kept as
// an exact pixel set, with the two requests that ride along with it: erase the
// background first, and paint the frame (WM_NCPAINT) first.
//
// Invalidation adds to the region (clipped to the client area), validation takes from
// it; BeginPaint takes all of it at once. The window's thread gets WM_PAINT while the
// region is not empty or the frame is owed. Areas are in client coordinates; `nullopt`
// means the whole client area. Every call fails with ERROR_INVALID_WINDOW_HANDLE for a
// window that does not exist.
#pragma once

#include <win32/gdi/Region.h>

#include <optional>

namespace plat {

class UpdateRegion {
 public:
  struct Taken {
    Region region;
    bool erase = false;
    bool frame = false;
  };

  static bool invalidate(HWND hwnd, const std::optional<Region>& area, bool erase);
  // Owes the window a WM_NCPAINT before its next paint.
  static bool invalidateFrame(HWND hwnd);
  // Asks for the background to be erased when something is waiting to be painted.
  static bool requestErase(HWND hwnd);
  // A window left with nothing to paint owes no frame either, so it is not asked again.
  static bool validate(HWND hwnd, const std::optional<Region>& area);
  static std::optional<Region> of(HWND hwnd);
  // Empties the region and clears both requests, for BeginPaint.
  static std::optional<Taken> take(HWND hwnd);
  // The area a child no longer covers (`area`, in the parent's client coordinates, when it
  // was hidden, destroyed, moved or made smaller): the parent and its visible children there,
  // and theirs, repaint it, erasing first; a child whose frame lies in it draws the frame
  // again. Each top-level window's children paint into one surface: without this the
  // parent would go on showing the child's last picture.
  static void invalidateUncovered(HWND parent, const Region& area);
  // Sends an owed WM_ERASEBKGND now, with a device context clipped to the region; the
  // erase stays owed when the window does not erase.
  static void eraseNow(HWND hwnd);
};

}  // namespace plat

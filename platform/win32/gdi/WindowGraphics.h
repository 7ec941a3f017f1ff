// What GDI keeps for the windows of a machine: the pixels of each top-level window (a
// surface the size of the window, which the window and all its children paint into at
// their places, as each top-level window of a composited desktop has its own), window
// regions, layered-window attributes, and the device contexts handed out on windows.
//
// The window system calls in here, and only here:
//   - BeginPaint/EndPaint: openDc(hwnd, Area::Client, &updateRegion) and releaseDc(hdc);
//   - DefWindowProc's WM_ERASEBKGND: FillRect with the class brush on the given DC;
//   - WindowFromPoint: regionContains(hwnd, point relative to the window) to let points
//     outside a window's region fall through.
// What belonged to destroyed windows is dropped when the screen is next composed (window
// handles are never reused). GDI reads windows through the public user32 calls only,
// never under its own lock.
#pragma once

#include <win32/gdi/Region.h>
#include <win32/gdi/Surface.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

namespace plat {

class Machine;

class WindowGraphics {
 public:
  enum class Area { Client, Window };
  struct Layering {
    bool alpha = false;
    BYTE opacity = 255;
    bool colorKey = false;
    COLORREF key = 0;
  };

  explicit WindowGraphics(Machine&) {}
  // The machine's window graphics.
  static WindowGraphics& current();

  // A device context on a window's client or whole area, clipped to what of it can be
  // seen (and to `clip`, in the area's coordinates, when given); null hwnd gives the
  // screen. Null when the window does not exist.
  HDC openDc(HWND hwnd, Area area, const Region* clip = nullptr);
  // False when `hdc` is not a window or screen context handed out here.
  bool releaseDc(HDC hdc);

  // The region is in window coordinates; the window owns it from now on (null removes it).
  void setRegion(HWND hwnd, std::optional<Region> region);
  std::optional<Region> regionOf(HWND hwnd) const;
  // True when the window has no region or its region holds the point (window coordinates).
  bool regionContains(HWND hwnd, POINT windowPoint) const;

  void setLayering(HWND hwnd, const Layering& layering);
  Layering layeringOf(HWND hwnd) const;

  // The most pixels a top-level window keeps a side, from its top-left corner: a window
  // reaching further (as far as the int range allows) shows and takes drawing only there.
  static constexpr int kLargestSide = 8192;
  // Where the pixels of a top-level window lying at `window` (screen) are on the screen.
  static RECT pixelsOnScreen(const RECT& window);
  // The pixels of a top-level window lying at `window` (screen), made or resized (keeping
  // what fits) to their size.
  std::shared_ptr<Surface> surfaceOf(HWND topLevel, const RECT& window);
  // Drops the surface, region and layering of a window as it is destroyed, so that a
  // program opening and closing windows holds no more pixels than its live windows'.
  void forget(HWND hwnd);
  // Drops the surfaces, regions and layering of windows that no longer exist.
  void dropDeadWindows();

 private:
  mutable std::mutex m_lock;
  std::map<HWND, std::shared_ptr<Surface>> m_surfaces;
  std::map<HWND, Region> m_regions;
  std::map<HWND, Layering> m_layering;
  std::set<HDC> m_openDcs;
};

}  // namespace plat

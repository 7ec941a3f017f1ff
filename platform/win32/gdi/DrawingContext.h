// A device context: where drawing goes and with what.
//
// The target is a surface, the origin of the context's device coordinates inside it and
// the visible region (device units) the context may touch at all: the whole bitmap for a
// memory context, the uncovered part of the window for a window context. The state
// (selected objects, colours, modes, origins, current position, clip region) is what
// SaveDC saves. Every drawing call clips to the visible region, the clip region and the
// surface, through forEachSurfaceRect.
#pragma once

#include <win32/gdi/BitmapObject.h>
#include <win32/gdi/BrushObject.h>
#include <win32/gdi/FontObject.h>
#include <win32/gdi/GdiObject.h>
#include <win32/gdi/PenObject.h>
#include <win32/gdi/Region.h>

#include <functional>
#include <optional>
#include <vector>

namespace plat {

class DrawingContext : public GdiObject {
 public:
  struct State {
    Selected<PenObject> pen;
    Selected<BrushObject> brush;
    Selected<FontObject> font;
    Selected<BitmapObject> bitmap;  // memory contexts only
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = 2;        // OPAQUE
    int charExtra = 0;     // pixels after each character of text
    int stretchMode = 1;   // BLACKONWHITE
    int mapMode = 1;       // MM_TEXT
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    POINT brushOrg{0, 0};
    POINT position{0, 0};
    std::optional<Region> clip;  // device units
  };

  // A memory context with the stock objects and the stock 1 × 1 monochrome bitmap.
  static std::shared_ptr<DrawingContext> createMemory();
  // A context on a window.
  static std::shared_ptr<DrawingContext> createDisplay(std::shared_ptr<Surface> surface, POINT origin,
                                                      Region visible);
  // A context on the screen, `size` large: `compose` makes its pixels when something first
  // draws or reads them, so a context taken only for its font, colours or compatible
  // bitmaps never composes the screen.
  using Composer = std::function<std::shared_ptr<Surface>()>;
  static std::shared_ptr<DrawingContext> createScreen(SIZE size, Composer compose);

  DWORD objectType() const override;
  int describe(int, void*) const override { return 0; }

  bool isMemory() const { return m_memory; }
  State& state() { return m_state; }
  const State& state() const { return m_state; }
  int save();
  bool restore(int level);

  Surface& surface() { return *composed(); }
  const Surface& surface() const { return *composed(); }
  const std::shared_ptr<Surface>& sharedSurface() const { return composed(); }
  POINT origin() const { return m_origin; }
  // A memory context's target follows the bitmap selected into it.
  void selectBitmap(std::shared_ptr<BitmapObject> bitmap);

  POINT toDevice(int x, int y) const;
  RECT toDevice(const RECT& logical) const;
  POINT toLogical(POINT device) const;

  // Visible region ∩ clip region, device units.
  const Region& clipRegion() const;
  void setClip(std::optional<Region> clip);
  // The pixel's place on the surface, when it may be drawn.
  std::optional<POINT> surfacePoint(int deviceX, int deviceY) const;

  // Calls fn(RECT) with the drawable parts of a device rectangle, in surface coordinates.
  template <class Fn>
  void forEachSurfaceRect(const RECT& device, Fn&& fn) const {
    const RECT s = surfaceBounds();
    clipRegion().forEachRectIn(device, [&](const RECT& r) {
      RECT t{r.left + m_origin.x, r.top + m_origin.y, r.right + m_origin.x, r.bottom + m_origin.y};
      if (t.left < s.left) t.left = s.left;
      if (t.top < s.top) t.top = s.top;
      if (t.right > s.right) t.right = s.right;
      if (t.bottom > s.bottom) t.bottom = s.bottom;
      if (t.left < t.right && t.top < t.bottom) fn(t);
    });
  }

 private:
  DrawingContext(bool memory, std::shared_ptr<Surface> surface, POINT origin, Region visible);
  const std::shared_ptr<Surface>& composed() const;
  RECT surfaceBounds() const;

  bool m_memory;
  // Null on a screen context until its pixels are first needed.
  mutable std::shared_ptr<Surface> m_surface;
  Composer m_compose;
  SIZE m_screenSize{};
  POINT m_origin;
  Region m_visible;
  State m_state;
  std::vector<State> m_saved;
  mutable std::optional<Region> m_clipCache;
};

}  // namespace plat

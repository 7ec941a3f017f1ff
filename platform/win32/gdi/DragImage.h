// The picture that follows the pointer while an image-list item is dragged: shown from
// ImageList_DragEnter to ImageList_DragLeave, drawn over everything else on the screen.
// One per machine, as there is one pointer.
#pragma once

#include <win32/gdi/Surface.h>

#include <mutex>
#include <optional>

namespace plat {

class Machine;

class DragImage {
 public:
  explicit DragImage(Machine&) {}
  static DragImage& current();

  void begin(Surface image, std::optional<Surface> mask, POINT hotspot);
  void end();
  bool isDragging() const;
  // Shows the image with its hot spot at `at` from `origin` (screen coordinates); move()
  // keeps the origin.
  void enter(POINT origin, POINT at);
  void move(POINT at);
  void hide();
  // Draws the image on a composed screen when shown.
  void drawOn(Surface& frame) const;

 private:
  mutable std::mutex m_lock;
  std::optional<Surface> m_image;
  std::optional<Surface> m_mask;
  POINT m_hotspot{0, 0};
  POINT m_origin{0, 0};
  std::optional<POINT> m_shownAt;
};

}  // namespace plat

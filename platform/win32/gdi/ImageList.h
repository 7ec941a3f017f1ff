// An image list's pixels: the images in one row of a 32-bit surface and, for a masked
// list, the masks in a row of a monochrome surface. Handles are checked against the
// live lists, so a destroyed or made-up handle fails instead of crashing.
#pragma once

#include <win32/gdi/Surface.h>
#include <win32/gdi/imagelist.h>

#include <memory>
#include <mutex>
#include <optional>
#include <set>

namespace plat {

class DrawingContext;

class ImageList {
 public:
  ImageList(int cx, int cy, bool masked) : m_cx(cx), m_cy(cy), m_masked(masked) {}

  static HIMAGELIST add(std::unique_ptr<ImageList> list);
  // Null when the handle names no live list.
  static ImageList* find(HIMAGELIST handle);
  static bool destroy(HIMAGELIST handle);

  int width() const { return m_cx; }
  int height() const { return m_cy; }
  int count() const { return m_count; }
  bool masked() const { return m_masked; }

  // Appends the images cut from `image` (and `mask`, when given); returns the first index.
  int append(const Surface& image, const Surface* mask);
  // One image as a surface of its own, or its mask (nothing for an unmasked list).
  Surface image(int index) const;
  std::optional<Surface> mask(int index) const;

 private:
  void grow(int images);

  int m_cx;
  int m_cy;
  bool m_masked;
  int m_count = 0;
  std::optional<Surface> m_images;
  std::optional<Surface> m_masks;

  static std::mutex s_lock;
  static std::set<ImageList*> s_lists;
};

}  // namespace plat

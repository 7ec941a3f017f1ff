// An image list's pixels: each image a 32-bit surface of its own and, for a masked list,
// each mask a monochrome one, so adding, replacing and removing an image touch only it.
// Handles are checked against the live lists, so a destroyed or made-up handle fails
// instead of crashing.
#pragma once

#include <win32/gdi/Surface.h>
#include <win32/gdi/imagelist.h>

#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

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
  int count() const { return static_cast<int>(m_images.size()); }
  bool masked() const { return m_masked; }

  // Appends the images cut from `image` (and `mask`, when given); returns the first index.
  int append(const Surface& image, const Surface* mask);
  // Replaces image `index` (and its mask) with the first image cut from `image`.
  bool replace(int index, const Surface& image, const Surface* mask);
  // Grows the list with blank (black) images, or cuts it down to `images`.
  void resize(int images);
  // Takes image `index` out; the later images move down by one.
  bool remove(int index);
  // One image as a surface of its own, or its mask (nothing for an unmasked list).
  Surface image(int index) const;
  std::optional<Surface> mask(int index) const;

 private:
  // Image `i` of a strip of images side by side (its mask when `mono`), blank past its end.
  Surface cut(const Surface& strip, int i, bool mono) const;

  int m_cx;
  int m_cy;
  bool m_masked;
  std::vector<Surface> m_images;
  std::vector<Surface> m_masks;

  static std::mutex s_lock;
  static std::set<ImageList*> s_lists;
};

}  // namespace plat

#include <win32/gdi/ImageList.h>

#include <algorithm>
#include <vector>

namespace plat {

std::mutex ImageList::s_lock;
std::set<ImageList*> ImageList::s_lists;

namespace {

void copy(const Surface& from, int fx, int fy, Surface& to, int tx, int ty, int w, int h) {
  std::vector<Pixel> row(static_cast<std::size_t>(std::max(w, 0)));
  for (int y = 0; y < h; ++y) {
    from.readSpan(fx, fy + y, w, row.data());
    to.writeSpan(tx, ty + y, w, row.data());
  }
}

}  // namespace

HIMAGELIST ImageList::add(std::unique_ptr<ImageList> list) {
  std::lock_guard guard(s_lock);
  ImageList* raw = list.release();
  s_lists.insert(raw);
  return reinterpret_cast<HIMAGELIST>(raw);
}

ImageList* ImageList::find(HIMAGELIST handle) {
  std::lock_guard guard(s_lock);
  auto* list = reinterpret_cast<ImageList*>(handle);
  return s_lists.count(list) ? list : nullptr;
}

bool ImageList::destroy(HIMAGELIST handle) {
  std::unique_ptr<ImageList> dying;
  std::lock_guard guard(s_lock);
  auto* list = reinterpret_cast<ImageList*>(handle);
  if (!s_lists.erase(list)) return false;
  dying.reset(list);
  return true;
}

void ImageList::grow(int images) {
  const int width = images * m_cx;
  Surface bigger(width, m_cy, PixelFormat::Bgrx32);
  if (m_images) copy(*m_images, 0, 0, bigger, 0, 0, m_images->width(), m_cy);
  m_images.emplace(std::move(bigger));
  if (m_masked) {
    Surface masks(width, m_cy, PixelFormat::Mono1);
    if (m_masks) copy(*m_masks, 0, 0, masks, 0, 0, m_masks->width(), m_cy);
    m_masks.emplace(std::move(masks));
  }
}

int ImageList::append(const Surface& image, const Surface* mask) {
  const int added = image.width() / m_cx;
  if (added <= 0 || image.height() < m_cy) return -1;
  const int first = m_count;
  grow(m_count + added);
  const int h = std::min(m_cy, image.height());
  for (int i = 0; i < added; ++i) {
    copy(image, i * m_cx, 0, *m_images, (first + i) * m_cx, 0, m_cx, h);
    if (m_masked && mask && mask->width() >= (i + 1) * m_cx && mask->height() >= h)
      copy(*mask, i * m_cx, 0, *m_masks, (first + i) * m_cx, 0, m_cx, h);
  }
  m_count += added;
  return first;
}

Surface ImageList::image(int index) const {
  Surface one(m_cx, m_cy, PixelFormat::Bgrx32);
  copy(*m_images, index * m_cx, 0, one, 0, 0, m_cx, m_cy);
  return one;
}

std::optional<Surface> ImageList::mask(int index) const {
  if (!m_masked) return std::nullopt;
  Surface one(m_cx, m_cy, PixelFormat::Mono1);
  copy(*m_masks, index * m_cx, 0, one, 0, 0, m_cx, m_cy);
  return one;
}

}  // namespace plat

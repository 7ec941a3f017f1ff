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

Surface ImageList::cut(const Surface& strip, int i, bool mono) const {
  Surface one(m_cx, m_cy, mono ? PixelFormat::Mono1 : PixelFormat::Bgrx32);
  const int x = i * m_cx;
  copy(strip, x, 0, one, 0, 0, std::min(m_cx, strip.width() - x), std::min(m_cy, strip.height()));
  return one;
}

int ImageList::append(const Surface& image, const Surface* mask) {
  const int added = image.width() / m_cx;
  if (added <= 0 || image.height() < m_cy) return -1;
  const int first = count();
  for (int i = 0; i < added; ++i) {
    m_images.push_back(cut(image, i, false));
    if (m_masked)
      m_masks.push_back(mask && mask->width() >= (i + 1) * m_cx ? cut(*mask, i, true)
                                                                 : Surface(m_cx, m_cy, PixelFormat::Mono1));
  }
  return first;
}

bool ImageList::replace(int index, const Surface& image, const Surface* mask) {
  if (index < 0 || index >= count() || image.width() < m_cx || image.height() < m_cy) return false;
  m_images[static_cast<std::size_t>(index)] = cut(image, 0, false);
  if (m_masked)
    m_masks[static_cast<std::size_t>(index)] = mask ? cut(*mask, 0, true) : Surface(m_cx, m_cy, PixelFormat::Mono1);
  return true;
}

void ImageList::resize(int images) {
  while (count() > images) {
    m_images.pop_back();
    if (m_masked) m_masks.pop_back();
  }
  while (count() < images) {
    m_images.emplace_back(m_cx, m_cy, PixelFormat::Bgrx32);
    if (m_masked) m_masks.emplace_back(m_cx, m_cy, PixelFormat::Mono1);
  }
}

bool ImageList::remove(int index) {
  if (index < 0 || index >= count()) return false;
  m_images.erase(m_images.begin() + index);
  if (m_masked) m_masks.erase(m_masks.begin() + index);
  return true;
}

Surface ImageList::image(int index) const { return m_images[static_cast<std::size_t>(index)].clone(); }

std::optional<Surface> ImageList::mask(int index) const {
  if (!m_masked) return std::nullopt;
  return m_masks[static_cast<std::size_t>(index)].clone();
}

}  // namespace plat

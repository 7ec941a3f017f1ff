#include <win32/gdi/IconTable.h>

#include <win32/gdi/DibLayout.h>
#include <win32/gdi/PictureFile.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace plat {

namespace {

std::uint32_t le32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }
std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// An image stored as a DIB: the colour bitmap, then the 1-bit AND mask, the header's
// height counting both.
std::optional<IconTable::Icon> iconFromDib(std::span<const std::uint8_t> data) {
  if (data.size() < sizeof(BITMAPINFOHEADER)) return std::nullopt;
  BITMAPINFOHEADER h{};
  std::memcpy(&h, data.data(), sizeof h);
  if (h.biSize < sizeof h || h.biSize > data.size() || h.biHeight <= 0) return std::nullopt;
  h.biHeight /= 2;
  const std::size_t colors = DibLayout::colorBytes(h);
  if (data.size() < h.biSize + colors) return std::nullopt;
  const auto layout = DibLayout::from(h, data.data() + h.biSize, colors);
  if (!layout) return std::nullopt;
  const std::size_t bitsAt = h.biSize + colors;
  const int maskStride = Surface::dibStride(layout->width(), 1);
  const std::size_t maskAt = bitsAt + layout->imageSize();
  if (data.size() < maskAt + static_cast<std::size_t>(maskStride) * layout->height()) return std::nullopt;

  auto image = std::make_shared<Surface>(layout->width(), layout->height(), PixelFormat::Bgrx32);
  auto mask = std::make_shared<Surface>(layout->width(), layout->height(), PixelFormat::Mono1);
  std::vector<Pixel> row(static_cast<std::size_t>(layout->width()));
  for (int y = 0; y < layout->height(); ++y) {
    layout->readRow(data.data() + bitsAt + layout->rowOffset(y), row.data());
    image->writeSpan(0, y, layout->width(), row.data());
    // Bottom-up like the colour rows; most significant bit first.
    std::memcpy(mask->row(y), data.data() + maskAt + static_cast<std::size_t>(layout->height() - 1 - y) * maskStride,
                static_cast<std::size_t>(mask->stride()));
  }
  return IconTable::Icon{std::move(image), std::move(mask), POINT{0, 0}};
}

// A PNG image: its pixels opaque, nothing transparent (the alpha is dropped with the
// rest of GDI).
std::optional<IconTable::Icon> iconFromPng(std::span<const std::uint8_t> data) {
  auto picture = PictureFile::decode(data);
  if (!picture) return std::nullopt;
  auto mask = std::make_shared<Surface>(picture->pixels.width(), picture->pixels.height(), PixelFormat::Mono1);
  auto image = std::make_shared<Surface>(std::move(picture->pixels));
  return IconTable::Icon{std::move(image), std::move(mask), POINT{0, 0}};
}

}  // namespace

IconTable& IconTable::instance() {
  static IconTable table;
  return table;
}

HICON IconTable::addFromFile(std::span<const std::uint8_t> data, int size) {
  if (data.size() < 6 || le16(&data[0]) != 0) return nullptr;
  const std::uint16_t type = le16(&data[2]);
  const std::uint16_t count = le16(&data[4]);
  if ((type != 1 && type != 2) || count == 0 || data.size() < 6 + 16u * count) return nullptr;
  // The entry nearest the wanted size, the deepest of those.
  int best = -1;
  int bestScore = 0;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* e = &data[6 + 16 * static_cast<std::size_t>(i)];
    const int width = e[0] ? e[0] : 256;
    const int depth = type == 1 ? le16(e + 6) : 0;
    const int score = std::abs(width - size) * 1000 - depth;
    if (best < 0 || score < bestScore) {
      best = i;
      bestScore = score;
    }
  }
  const std::uint8_t* e = &data[6 + 16 * static_cast<std::size_t>(best)];
  const std::uint32_t length = le32(e + 8);
  const std::uint32_t offset = le32(e + 12);
  if (offset > data.size() || length > data.size() - offset) return nullptr;
  const auto image = data.subspan(offset, length);
  auto icon = PictureFile::sniff(image) == PictureFile::Format::Png ? iconFromPng(image) : iconFromDib(image);
  if (!icon) return nullptr;
  if (type == 2) icon->hotspot = POINT{le16(e + 4), le16(e + 6)};
  return add(std::move(*icon));
}

HICON IconTable::add(Icon icon) {
  std::lock_guard guard(m_lock);
  m_next += 4;
  const HICON handle = reinterpret_cast<HICON>(m_next);
  m_icons.emplace(handle, std::move(icon));
  return handle;
}

std::optional<IconTable::Icon> IconTable::find(HICON handle) const {
  std::lock_guard guard(m_lock);
  auto it = m_icons.find(handle);
  if (it == m_icons.end()) return std::nullopt;
  return it->second;
}

bool IconTable::remove(HICON handle) {
  std::lock_guard guard(m_lock);
  return m_icons.erase(handle) > 0;
}

std::size_t IconTable::count() const {
  std::lock_guard guard(m_lock);
  return m_icons.size();
}

}  // namespace plat

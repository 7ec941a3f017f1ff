#include "PictureFiles.h"

#include <machine/FileReplacement.h>

#include <stdexcept>

namespace skingen {

namespace {

void put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(Bytes& out, unsigned value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

// BITMAPINFOHEADER; an icon image gives twice its height (colour rows and mask rows).
void putInfoHeader(Bytes& out, int width, int height, unsigned bits, unsigned imageSize) {
  put32(out, 40);
  put32(out, static_cast<unsigned>(width));
  put32(out, static_cast<unsigned>(height));
  put16(out, 1);
  put16(out, bits);
  for (unsigned value : {0u, imageSize, 2835u, 2835u, 0u, 0u}) put32(out, value);
}

Bytes iconImage(const IconImage& image) {
  const int size = image.colour.width();
  const unsigned maskStride = ((static_cast<unsigned>(size) + 31) / 32) * 4;
  Bytes out;
  putInfoHeader(out, size, size * 2, 32, static_cast<unsigned>(size * size * 4) + maskStride * size);
  // Pixels the mask lets through are black, so drawing by mask and exclusive or (the
  // way without alpha) leaves the screen there as it was.
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x) {
      const std::uint8_t alpha = image.coverage.pixel(x, y).r;
      const Rgb c = alpha < 128 ? Rgb{} : image.colour.pixel(x, y);
      out.insert(out.end(), {c.b, c.g, c.r, alpha});
    }
  for (int y = size - 1; y >= 0; --y) {
    Bytes row(maskStride, 0);
    for (int x = 0; x < size; ++x)
      if (image.coverage.pixel(x, y).r < 128) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

Bytes encodeBitmap(const Canvas& canvas) {
  const unsigned stride = (static_cast<unsigned>(canvas.width()) * 3 + 3) & ~3u;
  const unsigned imageSize = stride * static_cast<unsigned>(canvas.height());
  Bytes out = {'B', 'M'};
  put32(out, 54 + imageSize);
  put32(out, 0);
  put32(out, 54);
  putInfoHeader(out, canvas.width(), canvas.height(), 24, imageSize);
  for (int y = canvas.height() - 1; y >= 0; --y) {
    const std::size_t start = out.size();
    for (int x = 0; x < canvas.width(); ++x) {
      const Rgb c = canvas.pixel(x, y);
      out.insert(out.end(), {c.b, c.g, c.r});
    }
    out.resize(start + stride, 0);
  }
  return out;
}

Bytes encodeIcon(const std::vector<IconImage>& images) {
  Bytes out;
  put16(out, 0);
  put16(out, 1);
  put16(out, static_cast<unsigned>(images.size()));
  std::vector<Bytes> bodies;
  for (const IconImage& image : images) bodies.push_back(iconImage(image));
  unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = images[i].colour.width();
    out.push_back(static_cast<std::uint8_t>(size >= 256 ? 0 : size));
    out.push_back(static_cast<std::uint8_t>(size >= 256 ? 0 : size));
    out.insert(out.end(), {0, 0});
    put16(out, 1);
    put16(out, 32);
    put32(out, static_cast<unsigned>(bodies[i].size()));
    put32(out, offset);
    offset += static_cast<unsigned>(bodies[i].size());
  }
  for (const Bytes& body : bodies) out.insert(out.end(), body.begin(), body.end());
  return out;
}

void writeWholeFile(const std::filesystem::path& file, const Bytes& bytes) {
  std::filesystem::create_directories(file.parent_path());
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (plat::FileReplacement::replace(file, text) != 0) throw std::runtime_error("cannot write " + file.string());
}

void writeWholeFile(const std::filesystem::path& file, const std::string& text) {
  writeWholeFile(file, Bytes(text.begin(), text.end()));
}

}  // namespace skingen

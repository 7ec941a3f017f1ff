#include <win32/gdi/PngCodec.h>

#include <png.h>

#include <vector>

namespace plat {

std::optional<PictureFile::Picture> PngCodec::decode(std::span<const std::uint8_t> data) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) return std::nullopt;
  if (!PictureFile::sizeAllowed(image.width, image.height)) {
    png_image_free(&image);
    return std::nullopt;
  }
  const bool alpha = image.format & PNG_FORMAT_FLAG_ALPHA;
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint8_t> bgra(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bgra.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  const int width = static_cast<int>(image.width);
  const int height = static_cast<int>(image.height);
  Surface pixels(width, height, PixelFormat::Bgrx32);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = pixels.row(y);
    const std::uint8_t* in = &bgra[static_cast<std::size_t>(y) * width * 4];
    for (int x = 0; x < width * 4; x += 4) {
      row[x] = in[x];
      row[x + 1] = in[x + 1];
      row[x + 2] = in[x + 2];
      row[x + 3] = 0;
    }
  }
  return PictureFile::Picture{std::move(pixels), alpha ? 32 : 24};
}

bool PngCodec::save(const Surface& surface, const std::filesystem::path& file) {
  const int width = surface.width();
  const int height = surface.height();
  if (width <= 0 || height <= 0) return false;
  std::vector<std::uint8_t> bgr(static_cast<std::size_t>(width) * height * 3);
  std::vector<Pixel> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    surface.readSpan(0, y, width, row.data());
    std::uint8_t* out = &bgr[static_cast<std::size_t>(y) * width * 3];
    for (int x = 0; x < width; ++x) {
      out[3 * x] = static_cast<std::uint8_t>(row[static_cast<std::size_t>(x)]);
      out[3 * x + 1] = static_cast<std::uint8_t>(row[static_cast<std::size_t>(x)] >> 8);
      out[3 * x + 2] = static_cast<std::uint8_t>(row[static_cast<std::size_t>(x)] >> 16);
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_BGR;
  const bool ok = png_image_write_to_file(&image, file.c_str(), 0, bgr.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

}  // namespace plat

#include "PngReader.h"

#include <png.h>

#include <cstring>

const char* PngReader::read(std::span<const std::uint8_t> file, DecodedPicture& out) {
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return "not a PNG file";
  if (!CxImagePixels::sizeAllowed(image.width, image.height)) {
    png_image_free(&image);
    return "picture size out of range";
  }
  image.format = PNG_FORMAT_BGR;
  out.resize(static_cast<int>(image.width), static_cast<int>(image.height));
  const png_color white{255, 255, 255};
  if (!png_image_finish_read(&image, &white, out.rows.data(), static_cast<png_int_32>(out.stride()), nullptr)) {
    png_image_free(&image);
    return "damaged or truncated PNG";
  }
  return nullptr;
}

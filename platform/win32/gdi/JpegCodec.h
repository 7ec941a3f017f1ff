// JPEG files through libjpeg: baseline and progressive, greyscale or colour, decoded to
// RGB. A file that ends early fails instead of showing grey where its data stops.
#pragma once

#include <win32/gdi/PictureFile.h>

namespace plat {

class JpegCodec {
 public:
  static std::optional<PictureFile::Picture> decode(std::span<const std::uint8_t> data);
};

}  // namespace plat

// Windows bitmap files (".bmp"): the file header, a core (12-byte) or later (40 to
// 124-byte) header, the colour table or masks, and the bits, plain or RLE-compressed.
#pragma once

#include <win32/gdi/PictureFile.h>

namespace plat {

class BmpCodec {
 public:
  static std::optional<PictureFile::Picture> decode(std::span<const std::uint8_t> data);
};

}  // namespace plat

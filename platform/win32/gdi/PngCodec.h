// PNG files through libpng: any PNG read as 8-bit colour (alpha dropped: GDI's bitmaps
// have none), and surfaces saved as 24-bit PNG for screenshots.
#pragma once

#include <win32/gdi/PictureFile.h>

namespace plat {

class PngCodec {
 public:
  static std::optional<PictureFile::Picture> decode(std::span<const std::uint8_t> data);
  // False when the file cannot be written.
  static bool save(const Surface& surface, const std::filesystem::path& file);
};

}  // namespace plat

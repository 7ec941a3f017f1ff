// Picture files as pixels: Windows bitmaps (1, 4, 8, 16, 24 and 32 bits, top-down or
// bottom-up, RLE4/RLE8, the core and the later headers), JPEG and PNG, told apart by
// their first bytes. A truncated or malformed file gives nothing, never a crash; so does
// a picture above 32767 pixels a side or 64 megapixels.
//
// The loaders behind LoadImageA, OleLoadPicture and the picture libraries' stand-ins.
#pragma once

#include <win32/gdi/Surface.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace plat {

class PictureFile {
 public:
  enum class Format { Unknown, Bmp, Png, Jpeg };
  struct Picture {
    Surface pixels;    // top-down; monochrome for a 1-bit black-and-white bitmap
    int bitCount;      // of the file's pixels
  };

  static Format sniff(std::span<const std::uint8_t> data);
  static std::optional<Picture> decode(std::span<const std::uint8_t> data);
  static std::optional<Picture> load(const std::filesystem::path& file);
  // The whole file, or nothing when it cannot be read.
  static std::optional<std::vector<std::uint8_t>> readFile(const std::filesystem::path& file);

  static constexpr int kMaxSide = 32767;
  static constexpr long long kMaxPixels = 64ll * 1024 * 1024;
  static bool sizeAllowed(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
  }
};

}  // namespace plat

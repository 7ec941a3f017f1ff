// The files the generator writes: 24-bit bitmap files (bottom-up rows padded to four
// bytes, as the picture loader and the resource compiler read them), icon files with a
// 32 × 32 and a 16 × 16 image, and whole-file replacement of any output.
#pragma once

#include "Canvas.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace skingen {

using Bytes = std::vector<std::uint8_t>;

Bytes encodeBitmap(const Canvas& canvas);

// One image of an icon: its colours and how much of each pixel covers the screen
// (the red level of `coverage`, 0 clear to 255 opaque).
struct IconImage {
  Canvas colour;
  Canvas coverage;
};
Bytes encodeIcon(const std::vector<IconImage>& images);

// Replaces the file whole: written beside it first and renamed over it, so a reader
// never sees half a file. Makes the folder when it is missing. Throws on failure.
void writeWholeFile(const std::filesystem::path& file, const Bytes& bytes);
void writeWholeFile(const std::filesystem::path& file, const std::string& text);

}  // namespace skingen

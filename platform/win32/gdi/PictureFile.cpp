#include <win32/gdi/PictureFile.h>

#include <win32/gdi/BmpCodec.h>
#include <win32/gdi/JpegCodec.h>
#include <win32/gdi/PngCodec.h>

#include <fstream>
#include <iterator>

namespace plat {

PictureFile::Format PictureFile::sniff(std::span<const std::uint8_t> data) {
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') return Format::Bmp;
  if (data.size() >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G') return Format::Png;
  if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return Format::Jpeg;
  return Format::Unknown;
}

std::optional<PictureFile::Picture> PictureFile::decode(std::span<const std::uint8_t> data) {
  switch (sniff(data)) {
    case Format::Bmp:
      return BmpCodec::decode(data);
    case Format::Png:
      return PngCodec::decode(data);
    case Format::Jpeg:
      return JpegCodec::decode(data);
    case Format::Unknown:
      break;
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> PictureFile::readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::optional<PictureFile::Picture> PictureFile::load(const std::filesystem::path& file) {
  const auto bytes = readFile(file);
  if (!bytes) return std::nullopt;
  return decode(*bytes);
}

}  // namespace plat

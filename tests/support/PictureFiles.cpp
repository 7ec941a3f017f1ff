#include "support/PictureFiles.h"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>

namespace test {

namespace {

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// File and information headers of a BMP with `entries` palette colours.
std::vector<std::uint8_t> bmpHeaders(int width, int height, int bits, std::size_t entries, std::size_t image) {
  const std::size_t offset = 14 + 40 + entries * 4;
  std::vector<std::uint8_t> out(offset + image, 0);
  out[0] = 'B';
  out[1] = 'M';
  put32(out, 2, static_cast<std::uint32_t>(out.size()));
  put32(out, 10, static_cast<std::uint32_t>(offset));
  put32(out, 14, 40);
  put32(out, 18, static_cast<std::uint32_t>(width));
  put32(out, 22, static_cast<std::uint32_t>(height));
  put16(out, 26, 1);
  put16(out, 28, static_cast<std::uint16_t>(bits));
  put32(out, 34, static_cast<std::uint32_t>(image));
  put32(out, 46, static_cast<std::uint32_t>(entries));
  return out;
}

}  // namespace

TestPicture TestPicture::ramps(int width, int height, int seed) {
  TestPicture p{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* px = p.at(x, y);
      px[0] = static_cast<std::uint8_t>((x * 255 / std::max(1, width - 1) + seed * 37) & 0xFF);
      px[1] = static_cast<std::uint8_t>((y * 255 / std::max(1, height - 1) + seed * 91) & 0xFF);
      px[2] = static_cast<std::uint8_t>(((x + y) * 127 / std::max(1, width + height - 2) + seed * 53) & 0xFF);
    }
  return p;
}

TestPicture TestPicture::solid(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  TestPicture p{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
  for (std::size_t i = 0; i < p.bgr.size(); i += 3) {
    p.bgr[i] = b;
    p.bgr[i + 1] = g;
    p.bgr[i + 2] = r;
  }
  return p;
}

std::vector<std::uint8_t> BmpBytes(const TestPicture& picture, bool topDown) {
  const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
  auto out = bmpHeaders(picture.width, topDown ? -picture.height : picture.height, 24, 0, stride * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    const int stored = topDown ? y : picture.height - 1 - y;
    std::memcpy(&out[54 + stored * stride], picture.at(0, y), static_cast<std::size_t>(picture.width) * 3);
  }
  return out;
}

std::vector<std::uint8_t> PaletteBmpBytes(const TestPicture& picture) {
  std::map<std::uint32_t, std::uint8_t> colours;
  const std::size_t stride = (static_cast<std::size_t>(picture.width) + 3) & ~std::size_t{3};
  auto out = bmpHeaders(picture.width, picture.height, 8, 256, stride * picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t* px = picture.at(x, y);
      const std::uint32_t key = px[0] | px[1] << 8 | px[2] << 16;
      auto found = colours.find(key);
      if (found == colours.end() && colours.size() < 256) {
        const auto index = static_cast<std::uint8_t>(colours.size());
        found = colours.emplace(key, index).first;
        std::memcpy(&out[54 + index * 4], px, 3);
      }
      out[54 + 1024 + (picture.height - 1 - y) * stride + x] = found == colours.end() ? 0 : found->second;
    }
  return out;
}

std::vector<std::uint8_t> JpegBytes(const TestPicture& picture, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(picture.at(0, static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

std::vector<std::uint8_t> PngBytes(const TestPicture& picture) {
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_BGR;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, picture.bgr.data(), 0, nullptr);
  std::vector<std::uint8_t> out(size);
  png_image_write_to_memory(&image, out.data(), &size, 0, picture.bgr.data(), 0, nullptr);
  out.resize(size);
  return out;
}

TestPicture ReadPngFile(const std::filesystem::path& file) {
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  TestPicture picture;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return picture;
  image.format = PNG_FORMAT_BGR;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return picture;
  }
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.bgr = std::move(pixels);
  return picture;
}

void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace test

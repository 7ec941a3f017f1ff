#include <win32/gdi/JpegCodec.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace plat {

namespace {

// libjpeg reports errors by calling error_exit, which must not return: it jumps back
// to the decoder. Everything the decoder keeps lives in this block, reached through a
// pointer that does not change after setjmp.
struct Decoder {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  std::jmp_buf jump{};
  bool truncated = false;
  std::vector<std::uint8_t> rgb;
  int width = 0;
  int height = 0;
};

void onError(j_common_ptr info) {
  Decoder* d = reinterpret_cast<Decoder*>(reinterpret_cast<char*>(info->err) - offsetof(Decoder, errors));
  std::longjmp(d->jump, 1);
}

void onMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
    Decoder* d = reinterpret_cast<Decoder*>(reinterpret_cast<char*>(info->err) - offsetof(Decoder, errors));
    d->truncated = true;
  }
}

bool run(Decoder* d, std::span<const std::uint8_t> data) {
  if (setjmp(d->jump)) return false;
  jpeg_create_decompress(&d->info);
  jpeg_mem_src(&d->info, data.data(), static_cast<unsigned long>(data.size()));
  if (jpeg_read_header(&d->info, TRUE) != JPEG_HEADER_OK) return false;
  d->info.out_color_space = JCS_RGB;
  if (!PictureFile::sizeAllowed(d->info.image_width, d->info.image_height)) return false;
  jpeg_start_decompress(&d->info);
  d->width = static_cast<int>(d->info.output_width);
  d->height = static_cast<int>(d->info.output_height);
  d->rgb.resize(static_cast<std::size_t>(d->width) * d->height * 3);
  while (d->info.output_scanline < d->info.output_height) {
    JSAMPROW row = &d->rgb[static_cast<std::size_t>(d->info.output_scanline) * d->width * 3];
    jpeg_read_scanlines(&d->info, &row, 1);
  }
  jpeg_finish_decompress(&d->info);
  return !d->truncated;
}

}  // namespace

std::optional<PictureFile::Picture> JpegCodec::decode(std::span<const std::uint8_t> data) {
  auto d = std::make_unique<Decoder>();
  d->info.err = jpeg_std_error(&d->errors);
  d->errors.error_exit = onError;
  d->errors.emit_message = onMessage;
  const bool ok = run(d.get(), data);
  jpeg_destroy_decompress(&d->info);
  if (!ok) return std::nullopt;
  Surface pixels(d->width, d->height, PixelFormat::Bgrx32);
  std::vector<Pixel> row(static_cast<std::size_t>(d->width));
  for (int y = 0; y < d->height; ++y) {
    const std::uint8_t* in = &d->rgb[static_cast<std::size_t>(y) * d->width * 3];
    for (int x = 0; x < d->width; ++x)
      row[static_cast<std::size_t>(x)] = static_cast<Pixel>(in[3 * x] << 16 | in[3 * x + 1] << 8 | in[3 * x + 2]);
    pixels.writeSpan(0, y, d->width, row.data());
  }
  return PictureFile::Picture{std::move(pixels), 24};
}

}  // namespace plat

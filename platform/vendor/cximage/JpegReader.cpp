#include "JpegReader.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg reports errors through error_exit, which must not return: it jumps back here.
// The whole decoding state lives in one block whose address does not change after setjmp.
struct Session {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  std::jmp_buf jump{};
  bool truncated = false;
  const char* why = nullptr;
};

Session* sessionOf(j_common_ptr info) {
  return reinterpret_cast<Session*>(reinterpret_cast<char*>(info->err) - offsetof(Session, errors));
}

void onError(j_common_ptr info) { std::longjmp(sessionOf(info)->jump, 1); }

void onMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) sessionOf(info)->truncated = true;
}

// Decodes into `out` (or only reads the header when `out` is null); false on any error.
bool run(Session* s, std::span<const std::uint8_t> file, int denominator, DecodedPicture* out) {
  if (setjmp(s->jump)) {
    if (!s->why) s->why = "damaged JPEG data";
    return false;
  }
  jpeg_create_decompress(&s->info);
  jpeg_mem_src(&s->info, file.data(), static_cast<unsigned long>(file.size()));
  if (jpeg_read_header(&s->info, TRUE) != JPEG_HEADER_OK) {
    s->why = "no JPEG header";
    return false;
  }
  if (!CxImagePixels::sizeAllowed(s->info.image_width, s->info.image_height)) {
    s->why = "picture size out of range";
    return false;
  }
  if (!out) return true;
  s->info.out_color_space = JCS_EXT_BGR;
  s->info.scale_num = 1;
  s->info.scale_denom = static_cast<unsigned>(denominator);
  jpeg_start_decompress(&s->info);
  out->resize(static_cast<int>(s->info.output_width), static_cast<int>(s->info.output_height));
  while (s->info.output_scanline < s->info.output_height) {
    JSAMPROW row = out->row(static_cast<int>(s->info.output_scanline));
    jpeg_read_scanlines(&s->info, &row, 1);
    if (s->truncated) break;
  }
  if (!s->truncated) jpeg_finish_decompress(&s->info);
  if (s->truncated) {
    s->why = "truncated JPEG";
    return false;
  }
  return true;
}

const char* decode(std::span<const std::uint8_t> file, int denominator, DecodedPicture* out, int* width, int* height) {
  if (file.empty()) return "empty file";
  auto s = std::make_unique<Session>();
  s->info.err = jpeg_std_error(&s->errors);
  s->errors.error_exit = onError;
  s->errors.emit_message = onMessage;
  const bool ok = run(s.get(), file, denominator, out);
  if (ok && width) *width = static_cast<int>(s->info.image_width);
  if (ok && height) *height = static_cast<int>(s->info.image_height);
  jpeg_destroy_decompress(&s->info);
  return ok ? nullptr : s->why;
}

}  // namespace

const char* JpegReader::readSize(std::span<const std::uint8_t> file, int& width, int& height) {
  return decode(file, 1, nullptr, &width, &height);
}

const char* JpegReader::read(std::span<const std::uint8_t> file, int denominator, DecodedPicture& out) {
  return decode(file, denominator, &out, nullptr, nullptr);
}

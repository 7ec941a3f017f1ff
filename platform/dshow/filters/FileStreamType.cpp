#include <dshow/filters/FileStreamType.h>

#include <dshow/mediafiles.h>
#include <dshow/uuids.h>

#include <cstring>

namespace plat {

namespace {

bool startsWith(const std::uint8_t* at, std::size_t size, const char* text, std::size_t offset = 0) {
  const std::size_t length = std::strlen(text);
  return size >= offset + length && std::memcmp(at + offset, text, length) == 0;
}

bool startCode(const std::uint8_t* at, std::size_t size, std::uint8_t code) {
  return size >= 4 && at[0] == 0 && at[1] == 0 && at[2] == 1 && at[3] == code;
}

}  // namespace

bool FileStreamType::isMpegAudioFrame(const std::uint8_t* at, std::size_t size) {
  if (size < 4 || at[0] != 0xFF || (at[1] & 0xE0) != 0xE0) return false;
  const int layer = (at[1] >> 1) & 3;
  const int bitrate = at[2] >> 4;
  const int rate = (at[2] >> 2) & 3;
  return layer != 0 && bitrate != 15 && rate != 3;
}

GUID FileStreamType::of(const std::uint8_t* head, std::size_t size) {
  if (!head) return GUID_NULL;
  if (startsWith(head, size, "RIFF") && startsWith(head, size, "AVI ", 8)) return MEDIASUBTYPE_Avi;
  if (startsWith(head, size, "RIFF") && startsWith(head, size, "WAVE", 8)) return MEDIASUBTYPE_WAVE;
  // A pack header: MPEG-2 marks its system clock field with the bits 01, MPEG-1 with 0010.
  if (startCode(head, size, 0xBA) && size > 4) return (head[4] & 0xC0) == 0x40 ? MEDIASUBTYPE_MPEG2_PROGRAM : MEDIASUBTYPE_MPEG1System;
  if (startCode(head, size, 0xB3)) return MEDIASUBTYPE_MPEG1Video;
  if (startsWith(head, size, "ID3")) return MEDIASUBTYPE_MPEG1Audio;  // a tag in front of MP3 frames
  return isMpegAudioFrame(head, size) ? MEDIASUBTYPE_MPEG1Audio : GUID_NULL;
}

}  // namespace plat

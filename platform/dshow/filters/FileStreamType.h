// The byte-stream subtype of a file, told from its first bytes as the file source
// reports it: AVI, WAVE, MPEG-1 system or MPEG-2 program stream, MPEG video or audio
// elementary stream; GUID_NULL when the bytes are none of these.
#pragma once

#include <com/guid.h>

#include <cstddef>
#include <cstdint>

namespace plat {

class FileStreamType {
 public:
  static GUID of(const std::uint8_t* head, std::size_t size);
  // How many leading bytes `of` looks at.
  static constexpr std::size_t kHeadSize = 4096;

 private:
  static bool isMpegAudioFrame(const std::uint8_t* at, std::size_t size);
};

}  // namespace plat

// Test media written with FFmpeg's encoders: a picture of one colour and a steady tone,
// in an MPEG program stream, an AVI of uncompressed YUY2 and PCM, an MP3 or a WAV file.
#pragma once

#include <filesystem>

namespace dstest {

class MediaFileWriter {
 public:
  enum class Kind { MpegProgram, Avi, Mp3, Wave };
  struct Colour {
    int y, u, v;
  };
  static constexpr Colour kRed = {81, 90, 240};

  // False when FFmpeg could not write it.
  static bool write(const std::filesystem::path& file, Kind kind, double seconds, int width = 176, int height = 144,
                    Colour colour = kRed);
};

}  // namespace dstest

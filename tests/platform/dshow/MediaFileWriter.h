// Test media written with FFmpeg's encoders: a picture of one colour and a steady tone,
// in an MPEG program stream, an AVI of uncompressed YUY2 and PCM, an MP3 or a WAV file.
#pragma once

#include <filesystem>
#include <vector>

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
  // An AVI of uncompressed pictures and no sound, each of `pictures` shown for
  // `secondsEach`: hours, or centuries, of clip in a few kilobytes.
  static bool writeSlides(const std::filesystem::path& file, int secondsEach, const std::vector<Colour>& pictures,
                          int width = 32, int height = 24);
};

}  // namespace dstest

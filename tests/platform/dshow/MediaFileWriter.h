// Test media written with FFmpeg's encoders: a picture of one colour and a steady tone,
// in an MPEG program stream, an AVI of uncompressed YUY2 and PCM, an MP3 or a WAV file;
// slides; and numbered pictures (NumberedPicture) in each of the ways the program's
// writers and other programs store video.
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

  // How numbered pictures are stored: MPEG-2 with MPEG audio in a program stream, as the
  // recorder writes; Motion JPEG with A-law sound in an AVI, as a render with the
  // compressors writes; uncompressed YUY2 with PCM in an AVI, as a render without them;
  // 24-bit RGB in an AVI without sound, its rows stored from the top (a negative height,
  // as FFmpeg stores them) or from the bottom (a positive height, as bitmaps are).
  enum class Coding { Mpeg2, MjpegAvi, Yuy2Avi, RgbTopDownAvi, RgbBottomUpAvi };

  // False when FFmpeg could not write it.
  static bool write(const std::filesystem::path& file, Kind kind, double seconds, int width = 176, int height = 144,
                    Colour colour = kRed);
  // An AVI of uncompressed pictures and no sound, each of `pictures` shown for
  // `secondsEach`: hours, or centuries, of clip in a few kilobytes.
  static bool writeSlides(const std::filesystem::path& file, int secondsEach, const std::vector<Colour>& pictures,
                          int width = 32, int height = 24);
  // `frames` numbered pictures from 0 at rateNum / rateDen frames a second, with a tone as
  // long as them where the coding carries sound.
  static bool writeNumbered(const std::filesystem::path& file, Coding coding, int frames, int rateNum = 25,
                            int rateDen = 1, int width = 256, int height = 144);
  // The height a file's first video stream header stores (its sign says which way the
  // rows go); 0 when there is none.
  static int storedHeight(const std::filesystem::path& file);
};

}  // namespace dstest

// One media file as a timeline source reads it: its picture and sound formats, and the
// picture or the sound at a position of the file's own time line (100-ns units from the
// file's first time), decoded with FFmpeg. Reading forwards decodes on from where the
// last read stopped; reading backwards or far ahead seeks first.
#pragma once

#include <win32/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace plat {

class ClipReader {
 public:
  struct Info {
    bool video = false;
    int width = 0;
    int height = 0;
    int rateNum = 25;  // frames a second, as a fraction
    int rateDen = 1;
    bool audio = false;
    int sampleRate = 0;
    int channels = 0;
    std::int64_t duration = 0;  // 100-ns units; read through the file when its header has none
  };

  // False when the file cannot be read as media.
  static bool probe(const std::string& linuxPath, Info& info);

  // Opens the file for its picture (`video`) or its sound; null when it has none.
  static std::unique_ptr<ClipReader> open(const std::string& linuxPath, bool video);
  ~ClipReader();
  ClipReader(const ClipReader&) = delete;
  ClipReader& operator=(const ClipReader&) = delete;

  // The picture shown at `time`, as YUY2 of width × height into `out` (width × 2 a row);
  // false when the file has no picture at or before it.
  bool picture(std::int64_t time, int width, int height, BYTE* out);
  // `count` frames of 16-bit sound from sample `first` (at `rate`), `channels` interleaved;
  // what the file does not have is silence.
  void sound(std::int64_t first, int count, int rate, int channels, std::int16_t* out);

 private:
  ClipReader() = default;
  // Moves to a key frame at or before `time` and decodes the first frame into m_next.
  bool seek(std::int64_t time);
  // Forgets what was decoded, after the file moved.
  void restart();
  // Decodes the next frame of the stream; false at the end of the file.
  bool decode(AVFrame* frame);
  std::int64_t timeOf(const AVFrame& frame) const;
  void takeSound(const AVFrame& frame, int channels);

  AVFormatContext* m_format = nullptr;
  AVCodecContext* m_codec = nullptr;
  AVPacket* m_packet = nullptr;
  AVFrame* m_current = nullptr;  // the picture shown now
  AVFrame* m_next = nullptr;     // the picture after it, decoded ahead
  SwsContext* m_scaler = nullptr;
  int m_stream = -1;
  std::int64_t m_origin = 0;  // the file's first time, in the stream's units
  bool m_hasCurrent = false;
  bool m_hasNext = false;
  bool m_ended = false;
  std::int64_t m_shownTime = -1;  // the picture last converted into `m_converted`
  std::vector<BYTE> m_converted;
  // Decoded sound not yet used: frames from m_soundFirst on, interleaved.
  std::vector<std::int16_t> m_sound;
  std::int64_t m_soundFirst = -1;
};

}  // namespace plat

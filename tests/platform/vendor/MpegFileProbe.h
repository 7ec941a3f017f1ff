// Reads an MPEG file back with libavformat and libavcodec, as a player would: its
// container, its streams with their packets, and one decoded picture.
#pragma once

#include <cstdint>
#include <string>

namespace rectest {

class MpegFileProbe {
 public:
  struct Stream {
    bool found = false;
    std::string codec;  // libavcodec's codec name ("mpeg1video", "mpeg2video", "mp2")
    int width = 0;
    int height = 0;
    int sampleRate = 0;
    int channels = 0;
    int packets = 0;
    double seconds = 0;  // from the first packet's start to the last packet's end
    std::int64_t bytes = 0;  // of all its packets
  };
  struct Pixel {
    std::uint8_t y, u, v;
  };

  // Opens and reads the whole file; ok() tells whether it could.
  explicit MpegFileProbe(const std::string& path);

  bool ok() const { return m_ok; }
  const std::string& container() const { return m_container; }
  const Stream& video() const { return m_video; }
  const Stream& audio() const { return m_audio; }
  // A pixel of the first decoded picture (YUV 4:2:0).
  Pixel firstPicturePixel(int x, int y) const;

 private:
  void decodeFirstPicture(const std::string& path);

  bool m_ok = false;
  std::string m_container;
  Stream m_video;
  Stream m_audio;
  std::string m_firstPicture;  // the planes of the first picture, Y then U then V
};

}  // namespace rectest

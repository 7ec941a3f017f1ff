// A container read with libavformat through the file source's IAsyncReader: the
// streams the platform can deliver (MPEG-1/2 video, Motion JPEG, uncompressed YUY2 and
// RGB video, MPEG audio, 16-bit PCM and A-law sound) with their media types, packets in
// file order with times on the file's own time line (100-ns units from the first
// packet), and seeking.
#pragma once

#include <dshow/baseclasses/CMediaType.h>
#include <dshow/filters/AsyncReaderIO.h>
#include <dshow/filters/PacketBytes.h>

#include <memory>
#include <vector>

struct AVFormatContext;
struct AVPacket;

namespace plat {

class Demuxer {
 public:
  struct Stream {
    int index;  // the container's stream number
    CMediaType type;
    bool video;
  };
  // Holds its bytes: `data` stays valid while `bytes` does, wherever they are moved.
  struct Packet {
    int stream = -1;
    BYTE* data = nullptr;
    int size = 0;
    PacketBytes bytes;
    bool timed = false;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    bool key = false;
  };

  explicit Demuxer(IAsyncReader* reader);
  ~Demuxer();
  Demuxer(const Demuxer&) = delete;
  Demuxer& operator=(const Demuxer&) = delete;

  // VFW_E_UNSUPPORTED_STREAM when the bytes are no container read here or hold no
  // stream the platform delivers.
  HRESULT open();
  const std::vector<Stream>& streams() const { return m_streams; }
  REFERENCE_TIME duration() const { return m_duration; }
  // False at the end of the file (or when it cannot be read further).
  bool read(Packet& packet);
  // To the key frame at or before the position: the first picture read after it is
  // one the decoder can start from.
  HRESULT seek(REFERENCE_TIME position);

 private:
  REFERENCE_TIME toUnits(std::int64_t timestamp, int stream) const;
  HRESULT rewind();
  bool seekVideo(std::int64_t timestamp);
  std::int64_t lastKeyFrame(std::int64_t until);

  AsyncReaderIO m_io;
  AVFormatContext* m_format = nullptr;
  AVPacket* m_packet = nullptr;
  std::vector<Stream> m_streams;
  REFERENCE_TIME m_origin = 0;  // the file's first time, in 100-ns units
  REFERENCE_TIME m_duration = 0;
  // The MPEG video stream whose key frames seeks look for; -1 when the container's own
  // seeking is trusted.
  int m_keyStream = -1;
  bool m_awaitKey = false;  // after a seek, that stream's packets before its first key frame are left out
};

}  // namespace plat

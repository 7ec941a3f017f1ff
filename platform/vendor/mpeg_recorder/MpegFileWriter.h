// Encodes pictures and sound into an MPEG program stream file: MPEG-1 video in an
// MPEG-1 system stream, or MPEG-2 video in a DVD-style program stream, with MP2 sound
// beside it. Pictures (YUY2, or bottom-up RGB24 rows padded to four bytes) are scaled
// and converted to the encoder's size; PCM is cut into the sound encoder's frames.
// Timestamps come from the samples' start times (100 ns units from the run's start):
// a picture whose time gives a frame number already written is dropped. Safe to call
// from the two input pins' threads at once.
//
// Pictures are converted on the caller's thread and encoded on the writer's own encoding
// thread, so that the stream feeding it prepares its next picture meanwhile; at most
// kPicturesAhead wait there, and a writer whose encoding has fallen that far behind holds
// the caller until one is done. The encoding thread runs on the machine clock with the
// streaming threads (StreamActivity): settling waits until it has encoded what was given. A picture that fails to encode fails the next write, or
// finish(). Sound is encoded on the caller's thread; the two meet only in the file.
#pragma once

#include "EncoderSettings.h"

#include <dshow/strmif.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVStream;
struct AVFrame;
struct SwsContext;

namespace plat {

class MpegFileWriter {
 public:
  struct Picture {
    LONG width;
    LONG height;
    bool yuy2;  // else RGB24
  };
  struct Sound {
    LONG rate;
    LONG channels;
  };

  ~MpegFileWriter();
  MpegFileWriter(const MpegFileWriter&) = delete;
  MpegFileWriter& operator=(const MpegFileWriter&) = delete;

  // Creates the file at the Linux path and writes its header; null with `hr` set on failure.
  // The video encoder runs `threads` slice threads (0: one per core, up to eight).
  static std::unique_ptr<MpegFileWriter> create(const std::string& path, const EncoderSettings& settings,
                                                const Picture* picture, const Sound* sound, HRESULT& hr,
                                                int threads = 0);

  static constexpr std::size_t kPicturesAhead = 3;

  HRESULT writePicture(const BYTE* data, LONG size, REFERENCE_TIME start);
  HRESULT writeSound(const BYTE* data, LONG size, REFERENCE_TIME start);
  // Drains the encoders and finishes the file; later writes fail.
  HRESULT finish();
  // Pictures taken for the file so far, encoded or on their way.
  LONG picturesEncoded() const;

 private:
  MpegFileWriter() = default;
  HRESULT openVideo(const EncoderSettings& settings, const Picture& picture, int threads);
  HRESULT openAudio(const EncoderSettings& settings, const Sound& sound);
  HRESULT encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame);
  HRESULT encodeSoundFrames();
  // The encoding thread: encodes the waiting pictures in order until told to stop.
  void encodePictures();
  // Under m_lock: a picture buffer to convert into; null when none can be made.
  AVFrame* sparePicture();
  // Ends the encoding thread once it has encoded what waits.
  void stopEncoding();
  void release();

  mutable std::mutex m_lock;
  std::mutex m_fileLock;  // the file's packets, from the encoding thread and the sound's
  std::deque<AVFrame*> m_waiting;    // converted, in frame order; the front is being encoded
  std::vector<AVFrame*> m_spare;     // buffers to convert into
  std::thread m_encoder;
  bool m_stopEncoding = false;
  HRESULT m_encodeResult = S_OK;     // the first failure of the encoding thread
  AVFormatContext* m_format = nullptr;
  AVCodecContext* m_video = nullptr;
  AVCodecContext* m_audio = nullptr;
  AVStream* m_videoStream = nullptr;
  AVStream* m_audioStream = nullptr;
  AVFrame* m_sound = nullptr;
  SwsContext* m_scaler = nullptr;
  Picture m_input{};
  int m_rateNum = 25;
  int m_rateDen = 1;
  std::int64_t m_nextPicture = 0;  // the lowest frame number still free
  LONG m_pictures = 0;
  std::vector<BYTE> m_pcm;          // sound not yet a whole encoder frame
  std::int64_t m_nextSample = -1;   // the pending sound's first sample number; -1 before any
  bool m_finished = false;
};

}  // namespace plat

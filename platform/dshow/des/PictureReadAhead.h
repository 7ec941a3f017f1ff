// Makes a stream's pictures on a thread of its own, a few ahead of the stream that takes
// them, so that decoding and scaling the next pictures overlaps with what the stream does
// with the last one (an encoder downstream). Pictures are made in order, 0, 1, 2, ..., by
// the function given to start(), which alone touches the decoders while the read-ahead
// runs; at most kAhead wait to be taken.
//
// start() and stop() are called by the thread that takes the pictures, never while it
// waits in take().
#pragma once

#include <win32/types.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace plat {

class PictureReadAhead {
 public:
  // Fills `out` with picture `index`; false when there is no such picture (the end).
  using Make = std::function<bool(std::int64_t index, BYTE* out)>;
  static constexpr std::size_t kAhead = 3;

  explicit PictureReadAhead(std::size_t pictureBytes) : m_bytes(pictureBytes) {}
  ~PictureReadAhead() { stop(); }
  PictureReadAhead(const PictureReadAhead&) = delete;
  PictureReadAhead& operator=(const PictureReadAhead&) = delete;

  // Stops what runs and starts again at picture 0 of `make`.
  void start(Make make);
  // Ends the thread, throwing away what it made ahead.
  void stop();
  // Copies the next picture into `out` once made; false when the pictures have ended.
  bool take(BYTE* out);

 private:
  void run();

  const std::size_t m_bytes;
  Make m_make;
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::deque<std::vector<BYTE>> m_ready;
  std::vector<std::vector<BYTE>> m_spare;
  bool m_stopping = false;
  bool m_ended = false;
  std::thread m_thread;
};

}  // namespace plat

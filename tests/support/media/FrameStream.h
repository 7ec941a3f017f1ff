// The output of the tests' and benchmarks' own sources: numbered frames pushed as fast as
// downstream takes them, frame n stamped from n x 40 ms to (n + 1) x 40 ms, the stream
// ended after the last. Each run starts again at frame 0. The derived stream offers its
// types, says how large its buffers are and fills each frame.
#pragma once

#include <dshow/baseclasses/CSourceStream.h>

namespace test {

class FrameStream : public CSourceStream {
 public:
  // `frames` a run, through an allocator of `buffers` buffers; the pin is "Out".
  FrameStream(CSource* filter, int frames, long buffers);

  // How many frames the next run pushes.
  void setFrames(int frames) { m_frames = frames; }

  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props) override;
  HRESULT OnThreadStartPlay() override;
  HRESULT FillBuffer(IMediaSample* sample) override;

 protected:
  // The size of each buffer, asked once the pin is connected.
  virtual long bufferBytes() = 0;
  // Writes frame `frame` into the sample and sets its length.
  virtual void fill(IMediaSample* sample, int frame) = 0;

 private:
  int m_frames;
  long m_buffers;
  int m_next = 0;
};

}  // namespace test

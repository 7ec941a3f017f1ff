// A source for the fan-out tests: one output "Out" that pushes `frames` samples (frame n:
// every byte n) from an allocator of `buffers` buffers, then ends the stream. It offers
// its first type and accepts any of its types, records the sample objects it delivered
// in order, can attach a new type to one of them, and answers IMediaSeeking (ten seconds long, positions recorded) and quality
// messages (recorded) as an upstream pin would.
#pragma once

#include <dshow/baseclasses/streams.h>

#include <mutex>
#include <vector>

namespace fanout {

class TestSource : public CSource {
 public:
  struct QualityNote {
    IBaseFilter* sender;
    Quality quality;
  };

  TestSource(std::vector<CMediaType> types, int frames, int buffers = 4);

  IPin* output();
  // Frame `frame` carries `type` as a change of type.
  void changeTypeAt(int frame, const CMediaType& type);
  std::vector<IMediaSample*> delivered() const;
  std::vector<QualityNote> qualityNotes() const;
  std::vector<LONGLONG> seeks() const;
  // The allocator the output pin settled on (no reference of the caller's).
  IMemAllocator* allocator() const;

 private:
  class Stream;
  Stream* m_stream;  // the filter deletes its pins
};

}  // namespace fanout

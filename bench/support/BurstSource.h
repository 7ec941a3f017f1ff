// A source for the benchmarks' hot paths: samples of one type pushed as fast as downstream
// takes them (no clock), their bytes as the allocator gives them, stamped 40 ms apart;
// after the run's number of samples it ends the stream.
#pragma once

#include <dshow/baseclasses/streams.h>

namespace bench {

class BurstSource : public CSource {
 public:
  // Samples of `type` (its sample size each) through an allocator of `buffers` buffers.
  BurstSource(const CMediaType& type, long buffers);
  IPin* output();
  // How many samples the next run pushes.
  void setFrames(int frames);

 private:
  class Stream;
  Stream* m_stream;  // the filter deletes its pins
};

}  // namespace bench

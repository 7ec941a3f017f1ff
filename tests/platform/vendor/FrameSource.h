// A source for the filter module tests: one output "Out" of a fixed video type that
// pushes the given pictures, one sample each, then ends the stream. A read-only source
// tells the pin downstream that its buffers must not be changed, as a tee does.
#pragma once

#include <dshow/baseclasses/streams.h>

#include <vector>

namespace vendortest {

class FrameSource : public CSource {
 public:
  FrameSource(const CMediaType& type, std::vector<std::vector<BYTE>> frames, bool readOnly = false);
  IPin* output();

 private:
  class Stream;
  Stream* m_stream;  // the filter deletes its pins
};

}  // namespace vendortest

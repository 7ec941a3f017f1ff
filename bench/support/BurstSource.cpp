#include "support/BurstSource.h"

#include <support/media/FrameStream.h>

namespace bench {

class BurstSource::Stream : public test::FrameStream {
 public:
  Stream(BurstSource* filter, const CMediaType& type, long buffers) : FrameStream(filter, 0, buffers), m_type(type) {}

  HRESULT GetMediaType(CMediaType* type) override {
    *type = m_type;
    return S_OK;
  }

 protected:
  long bufferBytes() override { return static_cast<long>(m_type.GetSampleSize()); }
  void fill(IMediaSample* sample, int) override { sample->SetActualDataLength(sample->GetSize()); }

 private:
  CMediaType m_type;
};

BurstSource::BurstSource(const CMediaType& type, long buffers)
    : CSource("Burst source", nullptr, GUID_NULL), m_stream(new Stream(this, type, buffers)) {}

IPin* BurstSource::output() { return m_stream; }

void BurstSource::setFrames(int frames) { m_stream->setFrames(frames); }

}  // namespace bench

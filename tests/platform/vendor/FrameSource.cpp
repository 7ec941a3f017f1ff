#include "FrameSource.h"

#include <algorithm>
#include <cstring>

namespace vendortest {

class FrameSource::Stream : public CSourceStream {
 public:
  Stream(FrameSource* source, const CMediaType& type, std::vector<std::vector<BYTE>> frames, bool readOnly)
      : CSourceStream("Frame source stream", nullptr, source, L"Out"),
        m_type(type),
        m_frames(std::move(frames)),
        m_readOnly(readOnly) {}

  HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override {
    const HRESULT hr = CSourceStream::DecideAllocator(pPin, ppAlloc);
    if (SUCCEEDED(hr) && m_readOnly) return pPin->NotifyAllocator(*ppAlloc, TRUE);
    return hr;
  }

  HRESULT CheckMediaType(const CMediaType* pmt) override { return *pmt == m_type ? S_OK : S_FALSE; }
  HRESULT GetMediaType(int position, CMediaType* pmt) override {
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *pmt = m_type;
    return S_OK;
  }
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props) override {
    ALLOCATOR_PROPERTIES wanted = *props;
    wanted.cBuffers = 2;
    wanted.cbBuffer = 16;
    for (const auto& frame : m_frames) wanted.cbBuffer = std::max<long>(wanted.cbBuffer, static_cast<long>(frame.size()));
    ALLOCATOR_PROPERTIES actual{};
    return alloc->SetProperties(&wanted, &actual);
  }
  HRESULT OnThreadStartPlay() override {
    m_next = 0;
    return S_OK;
  }
  HRESULT FillBuffer(IMediaSample* sample) override {
    if (m_next >= m_frames.size()) return S_FALSE;
    const std::vector<BYTE>& frame = m_frames[m_next++];
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::memcpy(data, frame.data(), frame.size());
    sample->SetActualDataLength(static_cast<long>(frame.size()));
    return S_OK;
  }

 private:
  CMediaType m_type;
  std::vector<std::vector<BYTE>> m_frames;
  bool m_readOnly;
  size_t m_next = 0;
};

FrameSource::FrameSource(const CMediaType& type, std::vector<std::vector<BYTE>> frames, bool readOnly)
    : CSource("Frame source", nullptr, GUID_NULL), m_stream(new Stream(this, type, std::move(frames), readOnly)) {}

IPin* FrameSource::output() { return m_stream; }

}  // namespace vendortest
